#include "speech/imecomposition.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QWidget>

namespace {
ImeComposition *&instance()
{
    static ImeComposition *watcher = nullptr;
    return watcher;
}
} // namespace

ImeComposition::ImeComposition()
{
    instance() = this;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

ImeComposition::~ImeComposition()
{
    if (instance() == this)
        instance() = nullptr;
}

bool ImeComposition::active()
{
    const ImeComposition *w = instance();
    return w && w->composing_ && w->composing_ == QApplication::focusWidget();
}

bool ImeComposition::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::InputMethod) {
        if (auto *widget = qobject_cast<QWidget *>(watched)) {
            const auto *im = static_cast<QInputMethodEvent *>(event);
            if (!im->preeditString().isEmpty())
                composing_ = widget;
            else if (composing_ == widget)
                composing_ = nullptr;
        }
    }
    return QObject::eventFilter(watched, event);
}
