#include "mainwindow/rangecommand.h"

#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/edittext.h"
#include "mainwindow/keycodes.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"
#include "mainwindow/tips.h"
#include "orrin/orrnusr.h"

#include <QTextCursor>

#include <utility>

RangeCommand::RangeCommand(MainForm &form, Tips &tips, SearchWindow &search) : form_(form), tips_(tips), search_(search)
{
}

void RangeCommand::start(const QString &command)
{
    if (form_.QevSelMode)
        return;
    if (form_.KensakuEnable) {
        // The entry is still being written: a range chosen now would point
        // into text that is about to change.
        spoken::Signal(form_, 10, 1, 0);
        return;
    }
    form_.QevSelMode = true;
    form_.QevSelCount = 0;
    form_.speech().QevSelSet(true);
    tips_.ShowTips(command + QStringLiteral(" どこから？"));
    spoken::Speak(form_, command + QStringLiteral(" どこから"));
    form_.QevSelCommand = command;
}

void RangeCommand::enterKey()
{
    RichTextBox *pane = form_.Text2;
    if (form_.QevSelCount == 0) {
        form_.QevSelCount = 1;
        QTextCursor c = pane->textCursor();
        form_.QevSelStart = c.selectionStart();
        c.setPosition(form_.QevSelStart);
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        pane->setTextCursor(c);
        form_.RangeSelecting = true;
        tips_.ShowTips(form_.QevSelCommand + QStringLiteral(" どこまで？"));
        ORRNCOMMAND(QStringLiteral("ReadCurPos"), 1, 1);
        spoken::Settle(form_);
        spoken::Speak(form_, QStringLiteral("から どこまで"));
    } else if (form_.QevSelCount == 1) {
        form_.QevSelCount = 2;
        spoken::StopSpeech(form_);
        form_.RangeSelecting = false;
        // The movement keys sent to grow the selection land first.
        eventloop::DoEvents();
        if (!form_.QevSelMode)
            return; // cancelled meanwhile
        form_.QevSelEnd = pane->textCursor().selectionStart();
        if (form_.QevSelEnd < form_.QevSelStart)
            std::swap(form_.QevSelStart, form_.QevSelEnd);
        tips_.TimerTips_Timer();
        unlock();
        finish(edittext::selectedText(pane), false);
    }
}

void RangeCommand::cancel()
{
    const QString command = form_.QevSelCommand;
    tips_.ShowTips(command + QStringLiteral(" 中止"));
    spoken::Speak(form_, QStringLiteral("パス ") + command + QStringLiteral(" 中止"));
    unlock();
    edittext::clearSelection(form_.Text2);
    form_.RangeSelecting = false;
}

void RangeCommand::mouseUp()
{
    if (!form_.QevSelMode)
        return;
    const QString text = edittext::selectedText(form_.Text2);
    if (text.isEmpty())
        return; // no range yet: the command still waits
    // A drag after the first Enter ends the keyboard selection too.
    form_.RangeSelecting = false;
    unlock();
    finish(text, true);
}

bool RangeCommand::holdKeyRelease(int keyCode)
{
    if (!form_.RangeSelecting || keyCode < keys::PageUp || keyCode > keys::Down)
        return false;
    spoken::StopSpeech(form_);
    return true;
}

void RangeCommand::unlock()
{
    form_.QevSelMode = false;
    form_.speech().QevSelSet(false);
}

void RangeCommand::finish(const QString &text, bool byMouse)
{
    RichTextBox *pane = form_.Text2;
    if (text.isEmpty()) {
        // Start and end on the same point: nothing to copy or look up, and
        // the clipboard keeps what it held.
        spoken::Signal(form_, 100, 3, 0);
        return;
    }
    if (form_.QevSelCommand == Search) {
        form_.Text1->setPlainText(text);
        if (!byMouse)
            edittext::clearSelection(pane);
        QString word = text;
        search_.Kensaku(word, true);
        if (byMouse)
            edittext::clearSelection(pane);
    } else {
        edittext::putOnClipboard(text);
        if (byMouse) {
            tips_.ShowTips(QStringLiteral("マウス選択範囲をコピーしました"));
        } else {
            tips_.ShowTips(QStringLiteral("コピーしました"));
            spoken::Speak(form_, QStringLiteral("コピー"));
        }
        edittext::clearSelection(pane);
    }
}
