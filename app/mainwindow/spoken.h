#pragma once
// The screen reader's speech operations as the window's procedures call them
// (on MainForm::Voice1). Before start-up has made the speech object, and
// after shutdown, they do nothing.

#include <QString>

class MainForm;

namespace spoken {

void Speak(MainForm &form, const QString &text, int mode = 0);
// The text followed by the speech end marker.
void SpeakMarked(MainForm &form, const QString &text);
void StopSpeech(MainForm &form);
void Settle(MainForm &form);
void Signal(MainForm &form, int value, int code, int flag);
void LockSpeech(MainForm &form);
void UnlockSpeech(MainForm &form);

} // namespace spoken
