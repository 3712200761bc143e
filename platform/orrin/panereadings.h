#pragma once
// The readings of a text document's words, kept on its characters (see
// wordreadings.h): the entry writer marks the words of the result pane, and
// whatever reads a part of the pane aloud hands the marked words to the
// voice with their readings.

#include "orrin/wordreadings.h"

#include <QList>
#include <QString>

class QTextDocument;

namespace panereadings {

// The characters from..from+length of `document` are read `reading`.
void mark(QTextDocument *document, int from, int length, const QString &reading);

// The dictionary line's readings (wordreadings::fromDictionaryLine) marked on
// the text the line was written as, from `from` to the end of the document:
// each piece is looked for after the one before it.
void markLine(QTextDocument *document, int from, const QList<wordreadings::Reading> &readings);

struct Span {
    int start = 0; // document position
    int length = 0;
    QString reading;
};
// The marked words that lie wholly within from..to, in order.
QList<Span> within(const QTextDocument *document, int from, int to);

// `text` with the spans (positions within `text`) annotated with their
// readings; spans that do not fit in it are left out.
QString annotate(const QString &text, const QList<Span> &spans);

// The document's text from..to, as QTextDocument::toPlainText gives it, with
// its marked words annotated.
QString annotatedRange(const QTextDocument *document, int from, int to);

} // namespace panereadings
