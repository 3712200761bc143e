#include "form/richtextbox.h"

#include "eventloop/doevents.h"

#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>

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

bool RichTextBox::event(QEvent *event)
{
    eventloop::EventLoopGuard inHandler;
    return QTextEdit::event(event);
}

bool RichTextBox::viewportEvent(QEvent *event)
{
    eventloop::EventLoopGuard inHandler;
    return QTextEdit::viewportEvent(event);
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText();
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    const QString text = source->text();
    if (text.isEmpty())
        return;
    textCursor().insertText(text);
    ensureCursorVisible();
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
    const QRect caret(line.left(), line.bottom() + 1 - caretShape_.height(), caretShape_.width(), caretShape_.height());
    p.fillRect(caret, Qt::white);
}

void RichTextBox::followBoxFont()
{
    const qreal size = font().pointSizeF();
    if (currentCharFormat().fontPointSize() != size)
        setFontPointSize(size);
    // Only when a character differs: a change of format is a change of the
    // document, which the box's change handlers hear of.
    bool differs = false;
    for (QTextBlock b = document()->begin(); b.isValid() && !differs; b = b.next())
        for (auto it = b.begin(); !it.atEnd() && !differs; ++it)
            differs = it.fragment().charFormat().fontPointSize() != size;
    if (!differs)
        return;
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    QTextCharFormat f;
    f.setFontPointSize(size);
    all.mergeCharFormat(f);
}
