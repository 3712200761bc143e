#pragma once
// The speech commands for window tests: the screen reader comes from
// WORDLAMP_SPEECH (the test's transcript); reading commands are recorded.

#include "speechcommands.h"

#include <QStringList>

class MainForm;

class TestSpeech : public SpeechCommands {
public:
    explicit TestSpeech(MainForm &form) : form_(form) {}

    bool createScreenReader() override;
    void stopForShutdown() override;
    void sayFarewell() override;
    void AllCancel() override;
    void AllRead() override;
    QString GetCurStr() override;

    QStringList calls;

private:
    MainForm &form_;
};
