#include "mainwindow/edittext.h"

#include "form/richtextbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>

namespace edittext {

QString clipboardText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() ? data->text() : QString();
}

void putOnClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString selectedText(const RichTextBox *box)
{
    QString text = box->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void clearSelection(RichTextBox *box)
{
    QTextCursor c = box->textCursor();
    if (!c.hasSelection())
        return;
    c.setPosition(c.selectionStart());
    box->setTextCursor(c);
}

} // namespace edittext
