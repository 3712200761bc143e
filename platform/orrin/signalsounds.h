#pragma once
// The short sounds of the screen reader's Signal call: one pattern of tones
// per code, so that "nothing to look up", "busy, refused" and "a command is
// coming" sound different, and a length that grows with the value.
//
//   code 1   two short low beeps        (refused while busy)
//   code 3   a falling pair of tones    (nothing found, capture failed, stopped)
//   code 11  one short high click       (before a command, around a mouse action)
//   other    one middle tone
//
// The sounds are made here as 16-bit mono WAV data and written once to a
// folder the speech server can read.

#include <QByteArray>
#include <QString>

namespace signalsounds {

inline constexpr int SampleRate = 22050;

// The complete WAV file of one signal.
QByteArray wav(int value, int code);

// Length of the signal's sound in milliseconds.
int durationMs(int value, int code);

// The file that holds the signal's sound in `folder`, written if it is not
// there yet. Empty when it cannot be written, or when something other than
// a regular file (a link, a pipe, a folder) is in its place.
QString file(int value, int code, const QString &folder);

// The default folder: "wordlamp/signals" in the user's cache folder.
QString defaultFolder();

} // namespace signalsounds
