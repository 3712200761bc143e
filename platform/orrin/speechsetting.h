#pragma once
// How the speech back end is chosen: the environment variable
// WORDLAMP_SPEECH holds "speechd" (the default) or "transcript:PATH",
// optionally followed by "@N" to model N milliseconds of speaking time per
// character (default 50; "@0" makes every text take no time at all).

#include <QString>

struct SpeechSetting {
    enum class Kind { Speechd, Transcript, Invalid };
    Kind kind = Kind::Speechd;
    QString path;       // transcript file
    int msPerChar = 50; // modelled speaking time
    QString error;      // why the value is invalid

    static SpeechSetting parse(const QString &value);
    static SpeechSetting fromEnvironment();
};
