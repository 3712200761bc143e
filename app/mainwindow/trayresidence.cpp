#include "mainwindow/trayresidence.h"

#include "form/mainform.h"
#include "mainwindow/appicon.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>

TrayResidence::TrayResidence(MainForm &form, MainWindow &window) : form_(form), window_(window) {}

TrayResidence::~TrayResidence()
{
    removeIcon();
}

void TrayResidence::SetResident(bool on)
{
    if (on && !form_.TrayResident) {
        icon_ = new QSystemTrayIcon(appIcon(), this);
        icon_->setObjectName(QStringLiteral("TrayIcon"));
        icon_->setToolTip(Tip);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            // The left button released over the icon.
            if (reason == QSystemTrayIcon::Trigger)
                SetResident(false);
        });
        if (QSystemTrayIcon::isSystemTrayAvailable())
            icon_->show();
        form_.TrayResident = true;
        form_.hide();
    } else if (!on && form_.TrayResident) {
        removeIcon();
        form_.show();
        window_.lifecycle().ShowMe();
        form_.TrayResident = false;
    }
}

void TrayResidence::removeIcon()
{
    if (icon_) {
        icon_->hide();
        delete icon_;
        icon_ = nullptr;
    }
}
