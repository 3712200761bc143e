#pragma once
// The screen reader's status and command functions, and its presence test.
// They act on the screen reader that OrrinVoice::current() names and do
// nothing (returning 0 or false) when there is none.

#include <QString>

// Status items and values the program uses.
inline constexpr int OrrnStatusItem = 65538;
inline constexpr int OrrnSpeedNext = 20;     // step the speech rate
inline constexpr int OrrnCursorReadNext = 5; // step the reading on cursor movement

int ORRNSETSTATUS(int item, int value, int flag);
// Runs "ReadCurLine", "ReadCurPos" or "ReadInputSts".
int ORRNCOMMAND(const QString &name, int a, int b);
bool OrvLoaded();

// The screen reader's own reading of the program's windows (announcer.h)
// carries out the cursor-reading switch and the reading commands; it
// registers here. One at a time; nullptr unregisters.
class OrrnReader {
public:
    virtual ~OrrnReader();
    virtual void stepCursorReading() = 0;               // ORRNSETSTATUS(65538, 5, 1)
    virtual void speedStepped(const QString &name) = 0; // ORRNSETSTATUS(65538, 20, 1): says the new speed
    virtual void runCommand(const QString &name) = 0;   // ORRNCOMMAND
};
void setOrrnReader(OrrnReader *reader);
