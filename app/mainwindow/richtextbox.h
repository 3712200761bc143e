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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize caretShape_;
    bool caretVisible_ = true;
};
