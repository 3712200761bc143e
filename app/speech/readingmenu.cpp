// The Reading menu, the wide caret and the lock of the window during a
// range command.

#include "speech/reading.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "orrin/orrinvoice.h"
#include "orrin/orrnusr.h"
#include "speech/imecomposition.h"
#include "speech/speechlayer.h"
#include "speech/systemutil.h"
#include "speech/widecaret.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

namespace {
const char *const ReadingItems[] = {"mnu_yomi_all_top",    "mnu_yomi_english",  "mnu_yomi_all",
                                    "mnu_yomi_para",       "mnu_yomi_line",     "mnu_yomi_speed",
                                    "mnu_yomi_cursolmove", "mnu_yomi_cursolpos"};
}

void Reading::connectCommands()
{
    const auto on = [this](const char *name, void (Reading::*handler)()) {
        connect(form_.action(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    on("mnu_yomi_all_top", &Reading::mnu_yomi_all_top_Click);
    on("mnu_yomi_english", &Reading::mnu_yomi_english_Click);
    on("mnu_yomi_all", &Reading::mnu_yomi_all_Click);
    on("mnu_yomi_para", &Reading::mnu_yomi_para_Click);
    on("mnu_yomi_line", &Reading::mnu_yomi_line_Click);
    on("mnu_yomi_speed", &Reading::mnu_yomi_speed_Click);
    on("mnu_yomi_cursolmove", &Reading::mnu_yomi_cursolmove_Click);
    on("mnu_yomi_cursolpos", &Reading::mnu_yomi_cursolpos_Click);
    connect(form_.menu(QStringLiteral("mnu_yomi")), &QMenu::aboutToShow, this, &Reading::mnu_yomi_Open);
    connect(&form_.Timer1, &QTimer::timeout, this, &Reading::Timer1_Timer);
}

void Reading::SetYomiMenu(bool tFlag)
{
    for (const char *name : ReadingItems)
        form_.action(QString::fromLatin1(name))->setEnabled(tFlag);
}

void Reading::mnu_yomi_Open()
{
    form_.AllReadFlag = false;
    layer_.SapiCancel();
    const auto item = [this](const char *name) { return form_.action(QString::fromLatin1(name)); };
    if (OrvLoaded()) {
        SetYomiMenu(true);
        if (form_.Text2->toPlainText().isEmpty())
            item("mnu_yomi_all_top")->setEnabled(false);
        if (form_.Text1Enable)
            for (const char *name : {"mnu_yomi_all", "mnu_yomi_english", "mnu_yomi_para", "mnu_yomi_line"})
                item(name)->setEnabled(false);
    } else {
        SetYomiMenu(false);
    }
    item("mnu_yomi_english")->setEnabled(form_.EnglishMode && !form_.Text1Enable);
}

void Reading::mnu_yomi_all_top_Click()
{
    QTextCursor c = form_.Text2->textCursor();
    c.setPosition(0);
    form_.Text2->setTextCursor(c);
    form_.Text2->setFocus();
    AllRead();
}

void Reading::mnu_yomi_all_Click()
{
    if (form_.action(QStringLiteral("mnu_yomi_all"))->isEnabled())
        AllRead();
}

void Reading::readAllKey()
{
    // The key reaches the program as Alt+F10, which reads from the cursor of
    // the result pane when the pane is active and no range command waits.
    if (!form_.QevSelMode && !form_.Text1Enable)
        AllRead();
}

void Reading::mnu_yomi_para_Click()
{
    layer_.AllCancel();
    if (*alive_)
        ParaYomi();
}

void Reading::mnu_yomi_line_Click()
{
    layer_.AllCancel();
    if (*alive_)
        ORRNCOMMAND(QStringLiteral("ReadCurLine"), 1, 1);
}

void Reading::screenReaderStep(const std::function<void()> &call)
{
    if (ImeComposition::active() || !form_.Voice1)
        return;
    form_.Voice1->StopSpeech();
    form_.Voice1->Signal(100, 11, 0);
    form_.Voice1->StopSpeech();
    call();
}

void Reading::mnu_yomi_speed_Click()
{
    screenReaderStep([] { ORRNSETSTATUS(OrrnStatusItem, OrrnSpeedNext, 1); });
}

void Reading::mnu_yomi_cursolmove_Click()
{
    screenReaderStep([] { ORRNSETSTATUS(OrrnStatusItem, OrrnCursorReadNext, 1); });
}

void Reading::mnu_yomi_cursolpos_Click()
{
    screenReaderStep([] { ORRNCOMMAND(QStringLiteral("ReadCurPos"), 1, 1); });
}

void Reading::QevSelSet(bool setFlag)
{
    form_.Toolbar1->setEnabled(!setFlag);
    for (const char *name : {"mnu_file", "mnu_edit", "mnu_yomi", "mnu_view", "mnu_kankyo", "mnu_help"})
        form_.menu(QString::fromLatin1(name))->menuAction()->setEnabled(!setFlag);
    form_.Text1->setEnabled(!setFlag);
}

void Reading::setCursol(RichTextBox *box)
{
    if (!*alive_ || !box || ImeComposition::active() || form_.AllReadFlag)
        return;
    const double size = box->font().pointSizeF() > 0 ? box->font().pointSizeF() : box->font().pixelSize();
    const QTextCursor cursor = box->textCursor();
    QSize caret;
    if (cursor.hasSelection()) {
        const int defaultWidth = std::max(1, box->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, box));
        caret = wideCaretSize(size, true, true, 0, defaultWidth);
    } else {
        const double heightFactor = OsLevel() == 5 ? double(form_.CaretScale) : 1.35;
        // The character under the caret; a space at the end of the text (and
        // while the box is being filled anew, when its caret has no place).
        const QString text = box->toPlainText();
        const int pos = cursor.position();
        char32_t ch = u' ';
        if (pos >= 0 && pos < text.size()) {
            ch = text.at(pos).unicode();
            if (text.at(pos).isHighSurrogate() && pos + 1 < text.size())
                ch = QChar::surrogateToUcs4(text.at(pos), text.at(pos + 1));
            if (ch == u'\n')
                ch = u'\r';
        }
        caret = wideCaretSize(size, false, isSingleByteCharacter(ch), heightFactor, 1);
    }
    box->setCaretShape(caret);
    box->setCaretVisible(true);
    form_.Timer1.start();
}

void Reading::Timer1_Timer()
{
    setCursol(form_.Text1Enable ? form_.Text1 : form_.Text2);
    form_.Timer1.stop();
}
