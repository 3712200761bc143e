#pragma once
// The buttons of the image menu, the row of seven picture buttons beside
// the status bar that control reading aloud (play, stop, back about 100
// characters, back a sentence, on to the next chunk, skip lines) and wake
// an outside program. Each shows one of two pictures, released or pressed;
// which one is up to the image menu's handlers, not to the button's own
// pressed state. The pictures are drawn at the button's size, so they stay
// sharp at every size and screen scale.

#include <QAbstractButton>

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int Count = 7;
    // Side of a picture, in pixels at scale 1.
    static constexpr int Side = 17;

    ImageButton(int index, QWidget *parent = nullptr);

    int index() const { return index_; }
    void setPressedPicture(bool pressed);
    bool showsPressedPicture() const { return pressedPicture_; }

    QSize sizeHint() const override { return {Side, Side}; }

    // Draws picture `index` (0 to 6), released or pressed, into `rect`.
    static void paintPicture(QPainter &p, const QRectF &rect, int index, bool pressed, const QPalette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int index_;
    bool pressedPicture_ = false;
};
