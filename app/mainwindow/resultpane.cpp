#include "mainwindow/resultpane.h"

#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/editcommands.h"
#include "mainwindow/inputbox.h"
#include "mainwindow/keycodes.h"
#include "mainwindow/quickguide.h"
#include "mainwindow/rangecommand.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"
#include "mainwindow/syscolors.h"
#include "mainwindow/windowsteps.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTextCursor>
#include <QToolButton>

using namespace keys;

namespace {
bool isMovementKey(int key)
{
    switch (key) {
    case Up:
    case Down:
    case Left:
    case Right:
    case Home:
    case End:
    case Tab:
    case PageUp:
    case PageDown: return true;
    default: return false;
    }
}
} // namespace

ResultPane::ResultPane(MainForm &form, QuickGuide &quickGuide, SearchWindow &search, EditCommands &edit,
                       RangeCommand &range)
    : form_(form), quickGuide_(quickGuide), search_(search), edit_(edit), range_(range)
{
    RichTextBox *pane = form_.Text2;
    pane->setReadOnly(true);
    pane->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    pane->viewport()->setAcceptDrops(true);
    pane->setAcceptDrops(true);
    form_.Shape1->setFrameShadow(QFrame::Plain);
    form_.Shape1->setAutoFillBackground(true);
    connect(pane, &QTextEdit::textChanged, this, &ResultPane::Text2_Change);
    connect(pane, &QTextEdit::cursorPositionChanged, this, &ResultPane::Text2_SelChange);
    connect(pane, &QTextEdit::selectionChanged, this, &ResultPane::Text2_SelChange);
}

bool ResultPane::onFirstLine() const
{
    const QString text = form_.Text2->toPlainText();
    const int firstBreak = int(text.indexOf(u'\n'));
    return firstBreak < 0 || firstBreak >= form_.Text2->textCursor().position();
}

bool ResultPane::onLastLine() const
{
    const QString text = form_.Text2->toPlainText();
    return text.indexOf(u'\n', form_.Text2->textCursor().position()) < 0;
}

void ResultPane::postKey(int virtualKey, int shift)
{
    const Qt::Key key = keys::qtKey(virtualKey);
    const Qt::KeyboardModifiers m = keys::modifiers(shift);
    QCoreApplication::postEvent(form_.Text2, new QKeyEvent(QEvent::KeyPress, key, m));
    QCoreApplication::postEvent(form_.Text2, new QKeyEvent(QEvent::KeyRelease, key, m));
}

void ResultPane::Text2_KeyDown(int &KeyCode, int Shift)
{
    if (KeyCode == Tab && form_.AllReadFlag)
        form_.speech().AllCancel();
    if (KeyCode == Up && onFirstLine()) {
        KeyCode = 0;
        spoken::StopSpeech(form_);
        spoken::Speak(form_, QStringLiteral("上端"));
        spoken::Settle(form_);
        return;
    }
    if (KeyCode == Down && onLastLine()) {
        KeyCode = 0;
        spoken::StopSpeech(form_);
        spoken::Speak(form_, QStringLiteral("下端"));
        spoken::Settle(form_);
        return;
    }
    if (isMovementKey(KeyCode)) {
        if (form_.AllReadFlag) {
            form_.AllReadFlag = false;
            spoken::StopSpeech(form_);
            form_.speech().SapiCancel();
        }
        if (Shift == 0 && form_.RangeSelecting) {
            // A pending range selection grows instead.
            if (KeyCode != Tab)
                postKey(KeyCode, ShiftBit);
            KeyCode = 0;
        }
        return;
    }
    switch (KeyCode) {
    case Insert:
    case Delete:
    case Back:
    case KeyG:
    case KeyA:
    case KeyV:
    case KeyC:
    case KeyZ:
    case KeyX: KeyCode = 0; return;
    default: break;
    }
    if (KeyCode > 128)
        KeyCode = 0;
}

void ResultPane::Text2_KeyPress(int &KeyAscii)
{
    if (KeyAscii == Escape) {
        escape();
    } else if (KeyAscii == Return && form_.QevSelMode) {
        range_.enterKey();
    }
    KeyAscii = 0;
}

void ResultPane::escape()
{
    if (form_.QevSelMode) {
        range_.cancel();
    } else if (form_.CaptureActive) {
        if (form_.AllReadFlag) {
            form_.AllReadFlag = false;
        } else {
            spoken::Speak(form_, QStringLiteral("パス"));
            spoken::Settle(form_);
            form_.TimerAppSetFocus.start();
        }
    } else if (form_.AllReadFlag) {
        form_.AllReadFlag = false;
    } else {
        postKey(Tab, 0);
    }
}

void ResultPane::Text2_KeyUp(int &KeyCode, int Shift)
{
    (void)Shift;
    const int shift = form_.LastShift;
    const bool alt = shift == AltBit;
    const bool ctrl = shift == CtrlBit;
    switch (KeyCode) {
    case F1:
        form_.speech().AllCancel();
        quickGuide_.show(helptext::resultPane(), quickGuide_.position(form_.Text2, QuickGuide::Place::IntoPane));
        KeyCode = 0;
        return;
    case F9:
        if (alt)
            form_.speech().ParaYomi();
        return;
    case F7:
        if (alt && form_.EnglishMode)
            form_.speech().mnu_yomi_english_Click();
        return;
    case F10:
        if (alt && !form_.QevSelMode)
            form_.speech().AllRead();
        return;
    case Delete:
    case Insert: KeyCode = 0; return;
    case KeyC:
    case KeyV:
        if (ctrl && !form_.QevSelMode) {
            if (KeyCode == KeyC)
                edit_.mnu_edit_copy_Click();
            else
                edit_.mnu_edit_paste_Click();
            KeyCode = 0;
        } else if (KeyCode == KeyV) {
            form_.PasteTyped = false; // the typed Ctrl+V ends here
        }
        return;
    case KeyX:
        if (ctrl && !form_.QevSelMode)
            KeyCode = 0;
        return;
    default: break;
    }
    if (KeyCode == PageDown && form_.Text2->textCursor().atEnd()) {
        // The screen reader reads the position again.
        postKey(Left, 0);
        postKey(Right, 0);
    }
    if (isMovementKey(KeyCode) && shift == 0 && form_.RangeSelecting)
        KeyCode = 0;
}

void ResultPane::Text2_Change()
{
    eventloop::EventLoopGuard inNotification;
    if (form_.Text2Change)
        form_.speech().setCursol(form_.Text2);
}

void ResultPane::Text2_SelChange()
{
    if (!form_.Text2Change || inSelChange_)
        return;
    inSelChange_ = true;
    eventloop::EventLoopGuard inNotification;
    form_.speech().setCursol(form_.Text2);
    inSelChange_ = false;
}

void ResultPane::Text2_GotFocus()
{
    form_.toolButton(QStringLiteral("検索"))->setEnabled(true);
    form_.Text1Enable = false;
    form_.editCopy = !form_.Text2->toPlainText().trimmed().isEmpty();
    form_.editPaste = panes::clipboardHasText();
    form_.editCut = false;
    windowsteps::EditSetting(form_);
    form_.action(QStringLiteral("mnu_edit_clear"))->setEnabled(false);
    form_.speech().setCursol(form_.Text2);
    panes::setLabelColours(form_.Label2, syscolors::ActiveCaption, syscolors::CaptionText);
    panes::setLabelColours(form_.Shape1, syscolors::ActiveCaption, syscolors::ActiveCaption);
    if (form_.QuietFocus || form_.CaptureActive) {
        form_.QuietFocus = false;
    } else {
        form_.setStatusText(QStringLiteral("検索結果 (Shift+Ctrl+F12:カーソル位置検索)"));
        spoken::Speak(form_, QStringLiteral("検索結果"));
    }
    form_.speech().setCursol(form_.Text2);
}

void ResultPane::Text2_LostFocus()
{
    panes::setLabelColours(form_.Label2, syscolors::InactiveCaption, syscolors::InactiveCaptionText);
    panes::setLabelColours(form_.Shape1, syscolors::InactiveCaption, syscolors::InactiveCaption);
    form_.AllReadFlag = false;
}

void ResultPane::Text2_Click()
{
    form_.AllReadFlag = false;
    spoken::StopSpeech(form_);
    form_.speech().SapiCancel();
    form_.ReadClickPos = form_.Text2->textCursor().position();
    form_.speech().setCursol(form_.Text1Enable ? form_.Text1 : form_.Text2);
}

bool ResultPane::Text2_MouseDown(bool rightButton)
{
    // While a range command waits, the pane's own selection by dragging
    // still works, but the window's menu does not open.
    if (form_.QevSelMode)
        return false;
    if (rightButton) {
        panes::showEditMenu(form_, form_.Text2);
        return true;
    }
    return false;
}

void ResultPane::Text2_MouseMove()
{
    if (form_.QevSelMode)
        form_.Text2->viewport()->setCursor(Qt::BusyCursor);
    else
        form_.Text2->viewport()->setCursor(Qt::IBeamCursor);
}

void ResultPane::Text2_MouseUp()
{
    range_.mouseUp();
}

bool ResultPane::ResultWndProc_KeyUp(int KeyCode)
{
    return range_.holdKeyRelease(KeyCode);
}

void ResultPane::Text2_OLEDragDrop(const QString &text)
{
    if (form_.QevSelMode)
        return;
    search_.lookUpDropped(text);
}

void ResultPane::Label1_Click()
{
    form_.Text1->setFocus();
}

void ResultPane::Label2_Click()
{
    form_.Text2->setFocus();
}

void ResultPane::Label3_Click()
{
    form_.speech().mnu_yomi_english_Click();
}

void ResultPane::Label3_DblClick()
{
    form_.speech().AllCancel();
    quickGuide_.show(helptext::resultBand(), quickGuide_.position(form_.Text2, QuickGuide::Place::IntoBand));
}

void ResultPane::Form_Click()
{
    form_.speech().setCursol(form_.Text1Enable ? form_.Text1 : form_.Text2);
}
