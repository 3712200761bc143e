#include "orrin/panereadings.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace panereadings {

void mark(QTextDocument *document, int from, int length, const QString &reading)
{
    static int serial = 0;
    QTextCursor c(document);
    c.setPosition(from);
    c.setPosition(from + length, QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setProperty(wordreadings::ReadingProperty, reading);
    f.setProperty(wordreadings::ReadingSerialProperty, ++serial);
    c.mergeCharFormat(f);
}

void markLine(QTextDocument *document, int from, const QList<wordreadings::Reading> &readings)
{
    if (readings.isEmpty())
        return;
    const int end = document->characterCount() - 1;
    if (from >= end)
        return;
    QTextCursor c(document);
    c.setPosition(from);
    c.setPosition(end, QTextCursor::KeepAnchor);
    // The selection's text holds one character for each of the document's.
    const QString text = c.selectedText();
    qsizetype at = 0;
    for (const wordreadings::Reading &r : readings) {
        const qsizetype found = text.indexOf(r.text, at);
        if (found < 0)
            continue;
        mark(document, from + int(found), int(r.text.size()), r.reading);
        at = found + r.text.size();
    }
}

QList<Span> within(const QTextDocument *document, int from, int to)
{
    QList<Span> out;
    if (from >= to)
        return out;
    int current = 0; // serial of the span being gathered
    for (QTextBlock b = document->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= from)
                continue;
            if (f.position() >= to)
                break;
            const QTextCharFormat format = f.charFormat();
            const int serial = format.intProperty(wordreadings::ReadingSerialProperty);
            if (serial == 0) {
                current = 0;
                continue;
            }
            if (serial == current && !out.isEmpty() && out.last().start + out.last().length == f.position()) {
                out.last().length += f.length();
            } else {
                out.append({f.position(), f.length(), format.stringProperty(wordreadings::ReadingProperty)});
                current = serial;
            }
        }
    }
    // Only words that lie wholly within the range: half a word has no
    // reading of its own.
    out.removeIf([from, to](const Span &s) { return s.start < from || s.start + s.length > to; });
    return out;
}

QString annotate(const QString &text, const QList<Span> &spans)
{
    QString out;
    qsizetype done = 0;
    for (const Span &s : spans) {
        if (s.start < done || s.start + s.length > text.size() || s.length <= 0)
            continue;
        out += QStringView(text).mid(done, s.start - done);
        out += wordreadings::annotated(text.mid(s.start, s.length), s.reading);
        done = s.start + s.length;
    }
    if (done == 0)
        return text;
    out += QStringView(text).mid(done);
    return out;
}

QString annotatedRange(const QTextDocument *document, int from, int to)
{
    to = std::min(to, document->characterCount() - 1);
    if (from >= to)
        return {};
    QTextCursor c(const_cast<QTextDocument *>(document));
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    QString text = c.selectedText();
    for (QChar &ch : text)
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = u'\n';
    QList<Span> spans = within(document, from, to);
    for (Span &s : spans)
        s.start -= from;
    return annotate(text, spans);
}

} // namespace panereadings
