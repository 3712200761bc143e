#pragma once
// Where the entry writer puts an entry: the result pane of the window, or
// plain text for the command line. The writer only ever appends at the end,
// one piece at a time, each piece with the indent of its paragraph and its
// colour.

#include "orrin/wordreadings.h"

#include <QString>

namespace lookup {

struct EntryColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const EntryColor &, const EntryColor &) = default;
};

struct EntryFormat {
    // Left indent of the paragraph the piece goes into, in twips (1/1440 inch).
    double indentTwips = 0;
    EntryColor color;
    friend bool operator==(const EntryFormat &, const EntryFormat &) = default;
};

class EntrySink {
public:
    virtual ~EntrySink();
    // Empties the pane.
    virtual void clear() = 0;
    // Size of the pane's font in points (the body indent is a multiple of it).
    virtual double fontPointSize() const = 0;
    // Moves the caret to the end, gives the paragraph there the indent and the
    // text inserted there the colour of `format`, and inserts `text` (line
    // breaks are CR LF).
    virtual void append(const QString &text, const EntryFormat &format) = 0;
    // The readings the dictionary line written last (by the appends since the
    // previous call) gives its words, for the voice; a sink that is not read
    // aloud ignores them.
    virtual void annotateLine(const QList<wordreadings::Reading> &readings) { Q_UNUSED(readings); }
    // Everything in the pane.
    virtual QString text() const = 0;
};

// The sink of the command line: the text alone.
class PlainTextSink : public EntrySink {
public:
    void clear() override { text_.clear(); }
    double fontPointSize() const override { return pointSize_; }
    void setFontPointSize(double points) { pointSize_ = points; }
    void append(const QString &text, const EntryFormat &) override { text_ += text; }
    QString text() const override { return text_; }

private:
    QString text_;
    double pointSize_ = 12;
};

} // namespace lookup
