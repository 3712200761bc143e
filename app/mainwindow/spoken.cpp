#include "mainwindow/spoken.h"

#include "codepage/codepage.h"
#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "orrin/orrinvoice.h"

namespace spoken {

void Speak(MainForm &form, const QString &text, int mode)
{
    if (form.Voice1)
        form.Voice1->Speak(text, mode);
}

void SpeakMarked(MainForm &form, const QString &text)
{
    Speak(form, text + QChar(codepage::SpeechEndMarker));
}

void StopSpeech(MainForm &form)
{
    if (form.Voice1)
        form.Voice1->StopSpeech();
}

void Settle(MainForm &form)
{
    // An announcement is heard to its end before the next key is taken, so
    // the handler that announced is never run again inside its own wait.
    eventloop::UserInputHold hold;
    if (form.Voice1)
        form.Voice1->Settle();
}

void Signal(MainForm &form, int value, int code, int flag)
{
    if (form.Voice1)
        form.Voice1->Signal(value, code, flag);
}

void LockSpeech(MainForm &form)
{
    if (form.Voice1)
        form.Voice1->LockSpeech();
}

void UnlockSpeech(MainForm &form)
{
    if (form.Voice1)
        form.Voice1->UnlockSpeech();
}

} // namespace spoken
