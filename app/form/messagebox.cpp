#include "form/messagebox.h"

namespace {
MessageHandler &handler()
{
    static MessageHandler h;
    return h;
}
} // namespace

QMessageBox::StandardButton showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons)
{
    if (handler())
        return handler()({icon, title, text});
    QMessageBox box(icon, title, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

void setMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}
