#pragma once
// Every message box of the program goes through here, so that tests can see
// what would have been shown and give the answer a user would.

#include <QMessageBox>
#include <QString>

#include <functional>

struct MessageRecord {
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

// Shows a modal message box; returns the button the user chose.
QMessageBox::StandardButton showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Tests: while set, message boxes are not shown; the handler receives each
// one and returns the answer.
using MessageHandler = std::function<QMessageBox::StandardButton(const MessageRecord &)>;
void setMessageHandler(MessageHandler handler);
