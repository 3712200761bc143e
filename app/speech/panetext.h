#pragma once
// The result pane's text as the reading commands see it. The pane keeps one
// character for a line break; the reading rules speak of a carriage return
// followed by a line feed. PaneText writes every line break as "\r\n" and
// maps positions both ways: a pane position on a line break is the carriage
// return, and the line feed maps to the start of the next line.

#include <QList>
#include <QString>

class PaneText {
public:
    PaneText() = default;
    // `plain` as QTextEdit::toPlainText() gives it (line breaks as "\n").
    explicit PaneText(const QString &plain);

    const QString &text() const { return text_; }
    int size() const { return int(text_.size()); }
    int toReading(int panePosition) const;
    int toPane(int readingPosition) const;

private:
    QString text_;
    QList<int> breaks_; // pane positions of the line breaks, ascending
};
