#include "mainwindow/searchwindow.h"

#include "eventloop/doevents.h"

#include "form/mainform.h"
#include "form/messagebox.h"
#include "form/richtextbox.h"
#include "lookup/dicstrconv.h"
#include "mainwindow/extbox.h"
#include "mainwindow/history.h"
#include "mainwindow/tips.h"
#include "mainwindow/trayresidence.h"
#include "mainwindow/windowsteps.h"
#include "orrin/orrinvoice.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTextCursor>
#include <QToolButton>

ResultPaneSink::ResultPaneSink(MainForm &form) : form_(form), pane_(form.Text2)
{
}

void ResultPaneSink::clear()
{
    const bool acting = form_.Text2Change;
    form_.Text2Change = false;
    pane_.clear();
    form_.Text2Change = acting;
}

void ResultPaneSink::append(const QString &text, const lookup::EntryFormat &format)
{
    form_.Text2Change = false;
    pane_.append(text, format);
    form_.Text2Change = true;
}

void ResultPaneSink::annotateLine(const QList<wordreadings::Reading> &readings)
{
    form_.Text2Change = false;
    pane_.annotateLine(readings);
    form_.Text2Change = true;
}

SearchWindow::SearchWindow(MainForm &form, History &history, Tips &tips, TrayResidence &tray, ExtBox &extBox,
                           desktop::Windows &windows)
    : form_(form), history_(history), tips_(tips), tray_(tray), extBox_(extBox), windows_(windows), sink_(form),
      engine_(form.Lookup, *this, &sink_, nullptr)
{
}

SearchWindow::~SearchWindow() = default;

bool SearchWindow::Kensaku(QString &str, bool rirekiFlag)
{
    // The speech object is made at start-up, after this object.
    engine_.setVoice(form_.Voice1.get());
    form_.Lookup.CaptureActive = form_.CaptureActive;
    const bool found = engine_.Kensaku(str, rirekiFlag);
    // The lookup only ever ends a capture (a word that was not found).
    if (!form_.Lookup.CaptureActive)
        form_.CaptureActive = false;
    return found;
}

int SearchWindow::hitCount() const
{
    return form_.Lookup.record.HitCount();
}

void SearchWindow::rewriteEntry()
{
    sink_.clear();
    lookup::DicStrConv(form_.Lookup, sink_);
}

QString SearchWindow::Text1() const
{
    return form_.Text1->toPlainText();
}

void SearchWindow::setText1(const QString &text)
{
    form_.Text1->setPlainText(text);
}

void SearchWindow::DummyScreen()
{
    windowsteps::DummyScreen(form_);
}

void SearchWindow::hidePicture1()
{
    form_.Picture1->hide();
}

void SearchWindow::setQuietFocus(bool on)
{
    form_.QuietFocus = on;
}

void SearchWindow::SetResident(bool on)
{
    tray_.SetResident(on);
}

void SearchWindow::ShowMe()
{
    windowsteps::ShowMe(form_);
    // A captured word: the user is in another application, whose window
    // manager may refuse a program that asks for the focus on its own.
    if (form_.CaptureActive)
        windows_.activate(form_.effectiveWinId());
}

void SearchWindow::focusText2()
{
    form_.Text2->setFocus();
}

void SearchWindow::setText2SelStart(int position)
{
    QTextCursor c = form_.Text2->textCursor();
    c.setPosition(qBound(0, position, form_.Text2->document()->characterCount() - 1));
    form_.Text2->setTextCursor(c);
}

void SearchWindow::RirekiKosin(const QString &word)
{
    history_.RirekiKosin(word);
}

void SearchWindow::RirekiSetting()
{
    history_.RirekiSetting();
}

void SearchWindow::RollSetting(bool ExecRoll)
{
    history_.RollSetting(ExecRoll);
}

void SearchWindow::setStatusText(const QString &text)
{
    form_.setStatusText(text);
}

void SearchWindow::AllRead()
{
    form_.speech().AllRead();
}

void SearchWindow::ShowExtBox(const QString &text)
{
    extBox_.ShowExtBox(text);
}

void SearchWindow::ShowTips(const QString &text)
{
    tips_.ShowTips(text);
}

void SearchWindow::updateCopyButton()
{
    form_.toolButton(QStringLiteral("コピー"))->setEnabled(form_.editCopy);
}

void SearchWindow::letEventsRun()
{
    // A key that arrives during the lookup is handled; a second lookup is
    // refused while this one runs.
    eventloop::DoEvents();
}

void SearchWindow::lookUpDropped(const QString &text)
{
    form_.AllReadFlag = false;
    // A drag from one of the window's own panes is still inside that pane's
    // handler here.
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            form_.Text1->setPlainText(text);
            QString word = text;
            Kensaku(word, true);
        },
        Qt::QueuedConnection);
}

void SearchWindow::showDicFileError(const lookup::DicFileError &error)
{
    // The lookup keeps the screen reader quiet; the message must be heard.
    const bool locked = form_.Voice1 && form_.Voice1->isLocked();
    if (locked)
        form_.Voice1->UnlockSpeech();
    showMessage(&form_, QMessageBox::Critical, error.title(), error.message());
    if (locked)
        form_.Voice1->LockSpeech();
}
