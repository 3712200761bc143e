#include "mainwindow/editcommands.h"

#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/messagebox.h"
#include "form/richtextbox.h"
#include "mainwindow/edittext.h"
#include "mainwindow/inputbox.h"
#include "mainwindow/rangecommand.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"
#include "mainwindow/windowsteps.h"

#include <QAction>
#include <QMenu>
#include <QTextCursor>

EditCommands::EditCommands(MainForm &form, SearchWindow &search, RangeCommand &range)
    : form_(form), search_(search), range_(range)
{
    const auto item = [this](const char *name) { return form_.action(QString::fromLatin1(name)); };
    connect(form_.menu(QStringLiteral("mnu_edit")), &QMenu::aboutToShow, this, &EditCommands::mnu_edit_Click);
    connect(form_.menu(QStringLiteral("mnu_file")), &QMenu::aboutToShow, this, &EditCommands::mnu_file_Click);
    connect(item("mnu_edit_cut"), &QAction::triggered, this, &EditCommands::mnu_edit_cut_Click);
    connect(item("mnu_edit_copy"), &QAction::triggered, this, &EditCommands::mnu_edit_copy_Click);
    connect(item("mnu_edit_paste"), &QAction::triggered, this, &EditCommands::mnu_edit_paste_Click);
    connect(item("mnu_edit_clear"), &QAction::triggered, this, &EditCommands::mnu_edit_clear_Click);
    connect(item("mnu_edit_allcopy"), &QAction::triggered, this, &EditCommands::mnu_edit_allcopy_Click);
    connect(item("mnu_file_select"), &QAction::triggered, this, &EditCommands::mnu_file_select_Click);
    connect(item("mnu_file_clip"), &QAction::triggered, this, &EditCommands::mnu_file_clip_Click);
    connect(item("mnu_file_yomi"), &QAction::triggered, this, &EditCommands::mnu_file_yomi_Click);
}

void EditCommands::mnu_edit_Click()
{
    form_.AllReadFlag = false;
    form_.speech().SapiCancel();
    mnu_edit_disp();
}

void EditCommands::mnu_edit_disp()
{
    QAction *clear = form_.action(QStringLiteral("mnu_edit_clear"));
    QAction *allCopy = form_.action(QStringLiteral("mnu_edit_allcopy"));
    if (form_.Text1Enable) {
        clear->setEnabled(!form_.Text1->toPlainText().isEmpty());
        allCopy->setEnabled(false);
    } else {
        allCopy->setEnabled(!form_.Text2->toPlainText().isEmpty());
        clear->setEnabled(false);
    }
}

void EditCommands::mnu_file_Click()
{
    form_.AllReadFlag = false;
    form_.speech().SapiCancel();
    form_.action(QStringLiteral("mnu_file_select"))
        ->setEnabled(!form_.Text1Enable && !form_.Text2->toPlainText().trimmed().isEmpty());
    form_.action(QStringLiteral("mnu_file_clip"))->setEnabled(panes::clipboardHasText());
}

void EditCommands::mnu_edit_cut_Click()
{
    if (form_.QevSelMode)
        return;
    form_.speech().AllCancel();
    // Only the input box can be cut from: the result pane is read-only.
    if (!form_.Text1Enable)
        return;
    QTextCursor c = form_.Text1->textCursor();
    if (!c.hasSelection())
        return; // nothing to cut; the clipboard keeps what it holds
    edittext::putOnClipboard(edittext::selectedText(form_.Text1));
    c.removeSelectedText();
    form_.Text1->setTextCursor(c);
    form_.editPaste = panes::clipboardHasText();
    windowsteps::EditSetting(form_);
}

void EditCommands::mnu_edit_copy_Click()
{
    if (form_.QevSelMode)
        return;
    form_.speech().AllCancel();
    eventloop::DoEvents();
    if (form_.QevSelMode)
        return;
    RichTextBox *pane = form_.Text1Enable ? form_.Text1 : form_.Text2;
    const QString text = edittext::selectedText(pane);
    if (!form_.Text1Enable && text.trimmed().isEmpty()) {
        range_.start(RangeCommand::Copy);
        return;
    }
    if (text.isEmpty())
        return; // nothing to copy; the clipboard keeps what it holds
    spoken::Speak(form_, QStringLiteral("コピー"));
    spoken::Settle(form_);
    edittext::putOnClipboard(text);
    if (!panes::clipboardHasText())
        form_.editPaste = false;
    else if (form_.Text1Enable)
        form_.editPaste = true;
    windowsteps::EditSetting(form_);
}

void EditCommands::mnu_edit_paste_Click()
{
    if (form_.QevSelMode)
        return;
    form_.speech().AllCancel();
    if (form_.PasteTyped) {
        // The Ctrl+V that brought us here was the box's own to handle.
        form_.PasteTyped = false;
        return;
    }
    // Only the clipboard's plain text is pasted, never its formatting.
    const QString text = edittext::clipboardText();
    if (text.isEmpty()) {
        // Nothing to paste (an empty clipboard, or an image only): the
        // panes stay as they are.
        spoken::Signal(form_, 100, 3, 0);
        return;
    }
    if (form_.Text1Enable) {
        QTextCursor c = form_.Text1->textCursor();
        c.insertText(text);
        form_.Text1->setTextCursor(c);
    } else {
        if (form_.KensakuEnable) {
            // The entry is still being written into the pane.
            spoken::Signal(form_, 10, 1, 0);
            return;
        }
        pasteIntoResult(text);
    }
    spoken::Speak(form_, QStringLiteral("貼り付け"));
}

void EditCommands::pasteIntoResult(const QString &text)
{
    const QMessageBox::StandardButton answer = showMessage(
        &form_, QMessageBox::Warning, QStringLiteral("検索結果への貼り付け"),
        QStringLiteral("クリップボードの内容を強制的に貼り付けますか?"), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    RichTextBox *pane = form_.Text2;
    pane->clear();
    pane->setTextColor(form_.TextColor);
    QTextCursor c = pane->textCursor();
    c.setPosition(0);
    pane->setTextCursor(c);
    pane->insertPlainText(text);
}

void EditCommands::mnu_edit_clear_Click()
{
    if (form_.QevSelMode)
        return;
    form_.Text1->clear();
}

void EditCommands::mnu_edit_allcopy_Click()
{
    if (form_.QevSelMode)
        return;
    form_.speech().AllCancel();
    const QString text = form_.Text2->toPlainText();
    if (text.isEmpty())
        return; // no result: the clipboard keeps what it holds
    edittext::putOnClipboard(text);
}

void EditCommands::mnu_file_select_Click()
{
    if (form_.QevSelMode)
        return;
    form_.speech().AllCancel();
    if (form_.Text1Enable)
        return;
    QString word = edittext::selectedText(form_.Text2);
    if (word.trimmed().isEmpty()) {
        range_.start(RangeCommand::Search);
        return;
    }
    form_.Text1->setPlainText(word);
    search_.Kensaku(word, true);
}

void EditCommands::mnu_file_clip_Click()
{
    if (form_.QevSelMode)
        return;
    form_.speech().AllCancel();
    QString word = edittext::clipboardText();
    form_.Text1->setPlainText(word);
    if (word.trimmed().isEmpty()) {
        spoken::Signal(form_, 100, 3, 0);
        return;
    }
    search_.Kensaku(word, true);
}

void EditCommands::mnu_file_yomi_Click()
{
    form_.speech().AllCancel();
    form_.Text1->setFocus();
}
