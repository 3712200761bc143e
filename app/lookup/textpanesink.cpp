#include "lookup/textpanesink.h"

#include "orrin/panereadings.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace lookup {

TextPaneSink::TextPaneSink(QTextEdit *pane) : pane_(pane)
{
}

void TextPaneSink::clear()
{
    if (pane_)
        pane_->clear();
    lineStart_ = -1;
}

double TextPaneSink::fontPointSize() const
{
    if (!pane_)
        return 0;
    const QFont font = pane_->font();
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    // A font sized in pixels: its size in points on this screen.
    return font.pixelSize() * 72.0 / pane_->logicalDpiY();
}

double TextPaneSink::twipsToPixels(double twips, int logicalDpi)
{
    return twips * logicalDpi / 1440.0;
}

void TextPaneSink::append(const QString &text, const EntryFormat &format)
{
    if (!pane_)
        return;
    QTextCursor cursor = pane_->textCursor();
    cursor.movePosition(QTextCursor::End);
    if (lineStart_ < 0)
        lineStart_ = cursor.position();
    QTextBlockFormat block = cursor.blockFormat();
    block.setLeftMargin(twipsToPixels(format.indentTwips, pane_->logicalDpiX()));
    cursor.setBlockFormat(block);
    QTextCharFormat chars = cursor.charFormat();
    chars.setForeground(QColor(format.color.red, format.color.green, format.color.blue));
    cursor.insertText(text, chars);
    pane_->setTextCursor(cursor);
}

void TextPaneSink::annotateLine(const QList<wordreadings::Reading> &readings)
{
    const int from = lineStart_;
    lineStart_ = -1;
    if (pane_ && from >= 0)
        panereadings::markLine(pane_->document(), from, readings);
}

QString TextPaneSink::text() const
{
    return pane_ ? pane_->toPlainText() : QString();
}

} // namespace lookup
