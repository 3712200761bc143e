#pragma once
// The entry writer's sink for a rich-text result pane: pieces are inserted at
// the end of a QTextEdit with the colour of their part of the entry and the
// left indent of their paragraph.

#include "lookup/entrysink.h"

#include <QPointer>

class QTextEdit;

namespace lookup {

class TextPaneSink : public EntrySink {
public:
    explicit TextPaneSink(QTextEdit *pane);

    void clear() override;
    double fontPointSize() const override;
    void append(const QString &text, const EntryFormat &format) override;
    // Keeps the readings on the words' characters (see panereadings.h).
    void annotateLine(const QList<wordreadings::Reading> &readings) override;
    QString text() const override;

    // Twips (1/1440 inch) as pixels of the pane's screen.
    static double twipsToPixels(double twips, int logicalDpi);

private:
    QPointer<QTextEdit> pane_;
    int lineStart_ = -1; // where the line being written began
};

} // namespace lookup
