#include "richtextbox.h"

#include <QPainter>

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
}

void RichTextBox::setCaretShape(QSize size)
{
    caretShape_ = size;
    setCursorWidth(size.isEmpty() ? 1 : 0);
    viewport()->update();
}

void RichTextBox::setCaretVisible(bool visible)
{
    caretVisible_ = visible;
    viewport()->update();
}

void RichTextBox::paintEvent(QPaintEvent *event)
{
    QTextEdit::paintEvent(event);
    if (caretShape_.isEmpty() || !caretVisible_ || !hasFocus())
        return;
    // Like a system caret, the block inverts what it covers, so it shows in
    // both colour modes. Its bottom sits on the bottom of the line it marks.
    const QRect line = cursorRect();
    QPainter p(viewport());
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QRect caret(line.left(), line.bottom() + 1 - caretShape_.height(), caretShape_.width(),
                      caretShape_.height());
    p.fillRect(caret, Qt::white);
}
