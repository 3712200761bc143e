#include "mainwindow/inputbox.h"

#include "codepage/codepage.h"
#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/historypopup.h"
#include "mainwindow/imecolours.h"
#include "mainwindow/keycodes.h"
#include "mainwindow/quickguide.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"
#include "mainwindow/syscolors.h"
#include "mainwindow/windowsteps.h"
#include "speech/systemutil.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QToolButton>

using namespace keys;

namespace panes {

void setLabelColours(QWidget *label, int backgroundIndex, int textIndex)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, syscolors::systemColour(backgroundIndex));
    p.setColor(QPalette::WindowText, syscolors::systemColour(textIndex));
    label->setPalette(p);
    label->setAutoFillBackground(true);
}

bool clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

void showEditMenu(MainForm &form, QWidget *pane)
{
    pane->setFocus();
    // Opening the menu refreshes its items as when it opens from the bar.
    form.menu(QStringLiteral("mnu_edit"))->exec(QCursor::pos());
}

} // namespace panes

InputBox::InputBox(MainForm &form, ImeColours &ime, QuickGuide &quickGuide, SearchWindow &search,
                   HistoryPopup &historyPopup)
    : form_(form), ime_(ime), quickGuide_(quickGuide), search_(search), historyPopup_(historyPopup)
{
    connect(form_.Text1, &QTextEdit::textChanged, this, &InputBox::Text1_Change);
    connect(form_.Text1, &QTextEdit::cursorPositionChanged, this, &InputBox::Text1_SelChange);
    connect(form_.Text1, &QTextEdit::selectionChanged, this, &InputBox::Text1_SelChange);
    form_.Label1->setFrameShape(QFrame::NoFrame);
}

void InputBox::Text1_KeyDown(int &KeyCode, int Shift)
{
    switch (KeyCode) {
    case Up:
    case Insert: KeyCode = 0; break;
    case Left:
        if (form_.Text1->textCursor().position() == 0)
            KeyCode = 0;
        break;
    case Down:
        if (Shift == 0 && !ime_.IMMuse()) {
            openHistoryList();
            KeyCode = 0;
        }
        break;
    default: break;
    }
}

void InputBox::Text1_KeyPress(int &KeyAscii)
{
    if (KeyAscii == Return) {
        KeyAscii = 0;
        QString word = form_.Text1->toPlainText();
        search_.Kensaku(word, true);
    } else if (KeyAscii == Escape) {
        form_.Text1->clear();
        spoken::Speak(form_, QStringLiteral("クリア"));
        KeyAscii = 0;
    } else if (KeyAscii > 0x7F && codepage::cp932Code(char32_t(KeyAscii)) > 0xFF) {
        form_.WideTyped = true;
    }
}

void InputBox::Text1_KeyUp(int &KeyCode, int Shift)
{
    if (KeyCode == Up && (Shift & ShiftBit) == 0) {
        KeyCode = 0;
    } else if (KeyCode == F1) {
        form_.speech().AllCancel();
        quickGuide_.show(helptext::inputBox(), quickGuide_.position(form_.Text1, QuickGuide::Place::Below));
        KeyCode = 0;
    }
}

void InputBox::openHistoryList()
{
    historyPopup_.open();
}

void InputBox::Text1_Change()
{
    if (inChange_)
        return;
    inChange_ = true;
    eventloop::EventLoopGuard inNotification;
    RichTextBox *box = form_.Text1;
    box->setTextColor(form_.TextColor);
    box->followBoxFont();
    if (!ime_.IMMuse() && form_.Text1Enable) {
        form_.speech().setCursol(box);
        form_.toolButton(QStringLiteral("検索"))->setEnabled(!box->toPlainText().isEmpty());
    }
    if (form_.WideTyped) {
        // The character just typed takes the box's formatting.
        QTextCursor c = box->textCursor();
        if (c.position() > 0 && !c.hasSelection()) {
            QTextCursor typed = c;
            typed.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
            QTextCharFormat f;
            f.setForeground(form_.TextColor);
            f.setFontPointSize(box->font().pointSizeF());
            typed.mergeCharFormat(f);
        }
        form_.WideTyped = false;
    }
    inChange_ = false;
}

void InputBox::Text1_SelChange()
{
    if (inChange_ || inSelChange_)
        return;
    inSelChange_ = true;
    eventloop::EventLoopGuard inNotification;
    form_.Text1->setTextColor(form_.TextColor);
    form_.editCopy = form_.editCut = form_.Text1->textCursor().hasSelection();
    windowsteps::EditSetting(form_);
    if (!ime_.IMMuse())
        form_.speech().setCursol(form_.Text1);
    inSelChange_ = false;
}

void InputBox::Text1_GotFocus()
{
    RichTextBox *box = form_.Text1;
    form_.toolButton(QStringLiteral("検索"))->setEnabled(!box->toPlainText().isEmpty());
    form_.setStatusText(QStringLiteral("検索語を入力してください　(*:前方一致検索)"));
    form_.Text1Enable = true;
    panes::setLabelColours(form_.Label1, syscolors::ActiveCaption, syscolors::CaptionText);
    QTextCursor c = box->textCursor();
    c.clearSelection();
    box->setTextCursor(c);
    box->setTextColor(form_.TextColor);
    form_.Text2->setTextColor(form_.TextColor);
    form_.action(QStringLiteral("mnu_edit_clear"))->setEnabled(true);
    form_.editCopy = form_.editCut = box->textCursor().hasSelection();
    form_.editPaste = panes::clipboardHasText();
    windowsteps::EditSetting(form_);
    form_.speech().setCursol(box);
    spoken::StopSpeech(form_);
    if (form_.QuietFocus) {
        form_.QuietFocus = false;
    } else {
        spoken::StopSpeech(form_);
        spoken::SpeakMarked(form_, QStringLiteral("読みかたの入力"));
        const QString text = box->toPlainText();
        if (!text.isEmpty()) {
            const int at = box->textCursor().position();
            spoken::Speak(form_, at < text.size() ? QString(text.at(at)) : QStringLiteral(" "), 1);
            spoken::Settle(form_);
        }
    }
    form_.speech().setCursol(box);
}

void InputBox::Text1_LostFocus()
{
    const bool xpScheme = syscolors::CheckDefColor() && ::OsLevel() == 5;
    panes::setLabelColours(form_.Label1, xpScheme ? syscolors::InactiveCaptionText : syscolors::ButtonFace,
                           syscolors::ButtonText);
}

void InputBox::Text1_Click()
{
    form_.speech().setCursol(form_.Text1Enable ? form_.Text1 : form_.Text2);
}

void InputBox::Text1_RightButtonDown()
{
    panes::showEditMenu(form_, form_.Text1);
}

void InputBox::Text1_OLEDragDrop(const QString &text)
{
    search_.lookUpDropped(text);
}
