#include "form/imagebutton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

// A triangle pointing right (dir 1) or left (dir -1), its flat side at x.
QPainterPath triangle(double x, double top, double bottom, double width, int dir)
{
    QPainterPath path;
    path.moveTo(x, top);
    path.lineTo(x + dir * width, (top + bottom) / 2);
    path.lineTo(x, bottom);
    path.closeSubpath();
    return path;
}

// The symbol of each button, in a 17 by 17 square.
QPainterPath symbol(int index)
{
    QPainterPath path;
    switch (index) {
    case 0: path.addPath(triangle(5.5, 4, 13, 7, 1)); break; // play
    case 1: path.addRect(4.5, 4.5, 8, 8); break;             // stop
    case 2:                                                  // back about 100 characters
        path.addPath(triangle(8.5, 4.5, 12.5, 5, -1));
        path.addPath(triangle(13.5, 4.5, 12.5, 5, -1));
        break;
    case 3: // back to the sentence before
        path.addRect(3.5, 4.5, 2, 8);
        path.addPath(triangle(12.5, 4.5, 12.5, 6.5, -1));
        break;
    case 4: // on to the next chunk
        path.addPath(triangle(4.5, 4.5, 12.5, 6.5, 1));
        path.addRect(11.5, 4.5, 2, 8);
        break;
    case 5: // skip lines ahead
        path.addPath(triangle(3.5, 4.5, 12.5, 5, 1));
        path.addPath(triangle(8.5, 4.5, 12.5, 5, 1));
        break;
    default: // the outside program: a lamp
        path.addEllipse(QPointF(8.5, 7.5), 4, 4);
        path.addRect(6.5, 11.5, 4, 2.5);
        break;
    }
    path.setFillRule(Qt::WindingFill);
    return path;
}

} // namespace

ImageButton::ImageButton(int index, QWidget *parent) : QAbstractButton(parent), index_(index)
{
    setObjectName(QStringLiteral("ImageX%1").arg(index));
    setFocusPolicy(Qt::TabFocus);
}

void ImageButton::setPressedPicture(bool pressed)
{
    if (pressedPicture_ == pressed)
        return;
    pressedPicture_ = pressed;
    update();
}

void ImageButton::paintPicture(QPainter &p, const QRectF &rect, int index, bool pressed, const QPalette &palette)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.topLeft());
    p.scale(rect.width() / Side, rect.height() / Side);
    const QColor face = palette.color(QPalette::Button);
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    // The face, raised or sunk.
    p.setPen(Qt::NoPen);
    p.setBrush(pressed ? face.darker(115) : face);
    p.drawRect(QRectF(0, 0, Side, Side));
    const double w = 1.0;
    p.setBrush(pressed ? dark : light);
    p.drawRect(QRectF(0, 0, Side, w));
    p.drawRect(QRectF(0, 0, w, Side));
    p.setBrush(pressed ? light : dark);
    p.drawRect(QRectF(0, Side - w, Side, w));
    p.drawRect(QRectF(Side - w, 0, w, Side));
    // The symbol, moved down and right when pressed.
    if (pressed)
        p.translate(0.75, 0.75);
    p.setBrush(palette.color(pressed ? QPalette::Highlight : QPalette::ButtonText));
    p.drawPath(symbol(index));
    p.restore();
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    paintPicture(p, rect(), index_, pressedPicture_, palette());
    if (hasFocus()) {
        QStyleOptionFocusRect o;
        o.initFrom(this);
        o.rect = rect().adjusted(1, 1, -1, -1);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, o);
    }
}

void ImageButton::keyPressEvent(QKeyEvent *event)
{
    // Enter presses and releases the button, as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
