#pragma once
// Notification-area mode: the window hides and one icon in the notification
// area stands for it; a left click on the icon brings the window back. Where
// the desktop has no notification area the window still hides, and the next
// start of the program brings it back.

#include <QObject>
#include <QString>

class MainForm;
class QSystemTrayIcon;

class TrayResidence : public QObject {
    Q_OBJECT
public:
    static inline const QString Tip = QStringLiteral("ランプの英和・和英辞典");

    explicit TrayResidence(MainForm &form);
    ~TrayResidence() override;

    // Enter (true) or leave (false) notification-area mode; any other
    // combination with the current mode does nothing.
    void SetResident(bool on);
    // The icon while resident, else nullptr.
    QSystemTrayIcon *icon() const { return icon_; }
    // Removes the icon (at shutdown).
    void removeIcon();

private:
    MainForm &form_;
    QSystemTrayIcon *icon_ = nullptr;
};
