#include "mainwindow/buttonrowkeys.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {
bool takesTab(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
}
} // namespace

ButtonRowKeys::ButtonRowKeys(QList<QAbstractButton *> buttons, QWidget *escapeTarget, QObject *parent)
    : QObject(parent), buttons_(std::move(buttons)), escapeTarget_(escapeTarget)
{
    for (QAbstractButton *b : buttons_)
        b->installEventFilter(this);
}

QAbstractButton *ButtonRowKeys::neighbour(QAbstractButton *from, int step) const
{
    const int n = int(buttons_.size());
    const int start = int(buttons_.indexOf(from));
    for (int i = 1; i < n; ++i) {
        QAbstractButton *b = buttons_.at(((start + step * i) % n + n) % n);
        if (takesTab(b))
            return b;
    }
    return nullptr;
}

void ButtonRowKeys::leave(bool forward)
{
    // The first control outside the row that Tab stops at, after the row's
    // last button or before its first.
    QWidget *const start = forward ? buttons_.last() : buttons_.first();
    QWidget *w = start;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w == start)
            return;
        if (w->window() == start->window() && takesTab(w) && !buttons_.contains(qobject_cast<QAbstractButton *>(w))) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool ButtonRowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *button = static_cast<QAbstractButton *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (mods != Qt::NoModifier)
            return false;
        if (QAbstractButton *next = neighbour(button, key->key() == Qt::Key_Right ? 1 : -1))
            next->setFocus(Qt::TabFocusReason);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (mods & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        leave(key->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
        return true;
    case Qt::Key_Escape:
        if (mods != Qt::NoModifier)
            return false;
        escapeTarget_->setFocus(Qt::OtherFocusReason);
        return true;
    default: return false;
    }
}
