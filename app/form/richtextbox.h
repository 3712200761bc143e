#pragma once
// A rich-text box that draws its own caret, so the caret can be as wide and
// as tall as a low-vision user needs (the platform caret is one pixel).

#include <QSize>
#include <QTextEdit>

class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    // The caret drawn at the cursor: `size` in pixels; an empty size draws the
    // platform's default caret.
    void setCaretShape(QSize size);
    QSize caretShape() const { return caretShape_; }
    void setCaretVisible(bool visible);
    bool caretVisible() const { return caretVisible_; }

    // Every character, and what is typed next, in the box's font size: text
    // typed at one size keeps its size when the box's font changes unless it
    // is told.
    void followBoxFont();

protected:
    // The box's own handlers run with the window's events held back: a key,
    // paste or paint let in while the document is being changed would work on
    // a half-changed document.
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // Only plain text is pasted or dropped; a clipboard with no text (empty,
    // or an image) leaves the box as it is.
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    QSize caretShape_;
    bool caretVisible_ = true;
};
