#include "mainwindow/capture.h"

#include "codepage/codepage.h"
#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/extbox.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTextCursor>

Capture::Capture(MainForm &form, HookBinding &hook, SearchWindow &search, ExtBox &extBox, desktop::Windows &windows)
    : form_(form), hook_(hook), search_(search), extBox_(extBox), windows_(windows)
{
    connect(&form_.TimerAppSetFocus, &QTimer::timeout, this, &Capture::TimerAppSetFocus_Timer);
}

QString Capture::receivedText(const QByteArray &buffer)
{
    const qsizetype nul = buffer.indexOf('\0');
    const QByteArrayView bytes(buffer.constData(), nul < 0 ? buffer.size() : nul);
    qsizetype whole = 0; // bytes of whole characters
    while (whole < bytes.size()) {
        const qsizetype step = codepage::isLeadByte(static_cast<unsigned char>(bytes[whole])) ? 2 : 1;
        if (whole + step > bytes.size())
            break;
        whole += step;
    }
    return codepage::decode(bytes.first(whole));
}

void Capture::TimerHook_Capture()
{
    if (!hook_.isBound())
        return;
    QByteArray buffer(BufferSize, '\0');
    CaptureCode = hook_.api().GetString(buffer.data(), BufferSize);
    if (CaptureCode == 0)
        return;

    const desktop::WindowId active = windows_.activeWindow();
    if (active != 0 && active == form_.effectiveWinId())
        return; // our own window was in front
    form_.SourceWindow = active;

    if (form_.QevSelMode) {
        spoken::Signal(form_, 100, 3, 0);
        return;
    }
    CapturedText = receivedText(buffer);
    ReceivedLength = hook_.api().GetStrLength();
    if (CapturedText.trimmed().isEmpty() || ReceivedLength == 0) {
        extBox_.ShowExtBox(NothingToSearch);
        spoken::Signal(form_, 100, 3, 0);
        return;
    }

    if (form_.CaptureActive)
        return; // a capture search is still running
    form_.CaptureActive = true;
    if (form_.AllReadFlag) {
        form_.AllReadFlag = false;
        eventloop::DoEvents();
    }

    QString word;
    switch (CaptureCode) {
    case wlhook::CaptureFromCaret:
        word = firstWord(CapturedText);
        if (word.isEmpty()) {
            spoken::Signal(form_, 100, 3, 0);
            form_.CaptureActive = false;
            extBox_.ShowExtBox(NothingToSearch);
            return;
        }
        break;
    case wlhook::CaptureClipboard: word = CapturedText.left(ClipboardLimit); break;
    default: word = CapturedText; break;
    }
    form_.Text1->setPlainText(word);
    search_.Kensaku(word, true);
}

QString Capture::firstWord(const QString &text)
{
    // The word at the start of the text, taken the way the result pane's
    // word-at-cursor command takes it: the pane holds the captured text for
    // the moment (its own text and caret are kept aside, as in a hidden
    // pane), nothing of it is painted or announced.
    RichTextBox &pane = *form_.Text2;
    const bool acting = form_.Text2Change;
    form_.Text2Change = false;
    pane.setUpdatesEnabled(false);
    const bool blocked = pane.blockSignals(true);
    const QString Text3 = pane.toHtml();
    const int caret = pane.textCursor().position();

    pane.setPlainText(text);
    QTextCursor start = pane.textCursor();
    start.setPosition(0);
    pane.setTextCursor(start);
    const QString word = form_.speech().GetCurStr().trimmed();

    pane.setHtml(Text3);
    QTextCursor back = pane.textCursor();
    back.setPosition(qBound(0, caret, pane.document()->characterCount() - 1));
    pane.setTextCursor(back);
    pane.blockSignals(blocked);
    pane.setUpdatesEnabled(true);
    form_.Text2Change = acting;
    return word;
}

void Capture::applicationDeactivated()
{
    form_.CaptureActive = false;
    form_.AllReadFlag = false;
    eventloop::DoEvents();
    // The program's dialogs (the quick guide, the option dialogs, the
    // version dialog) close; a message box waits for its answer.
    const auto dialogs = form_.findChildren<QDialog *>();
    for (QDialog *d : dialogs) {
        QPointer<QDialog> dialog(d);
        if (dialog && dialog->isVisible() && !qobject_cast<QMessageBox *>(dialog))
            dialog->reject();
    }
}

void Capture::TimerAppSetFocus_Timer()
{
    form_.TimerAppSetFocus.stop();
    // A window that has gone since the capture is simply not found.
    if (form_.SourceWindow != 0)
        windows_.activate(form_.SourceWindow);
}
