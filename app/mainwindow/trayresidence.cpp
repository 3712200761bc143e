#include "mainwindow/trayresidence.h"

#include "form/mainform.h"
#include "mainwindow/appicon.h"
#include "mainwindow/windowsteps.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>

TrayResidence::TrayResidence(MainForm &form) : form_(form)
{
}

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
        windowsteps::ShowMe(form_);
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
