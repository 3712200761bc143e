#include "mainwindow/optiondialogs.h"

#include "dialogs/dicoption.h"
#include "dialogs/sapioption.h"
#include "dialogs/stmenu.h"
#include "form/mainform.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/quickguide.h"

#include <QAction>

OptionDialogs::OptionDialogs(MainForm &form, QuickGuide &guide, HookBinding &hook)
    : form_(form), guide_(guide), hook_(hook)
{
    connect(form_.action(QStringLiteral("mnu_kankyo_option")), &QAction::triggered, this,
            &OptionDialogs::mnu_kankyo_option_Click);
    connect(form_.action(QStringLiteral("mnu_kankyo_StMenu")), &QAction::triggered, this,
            &OptionDialogs::mnu_kankyo_StMenu_Click);
    connect(form_.action(QStringLiteral("mnu_kankyo_english")), &QAction::triggered, this,
            &OptionDialogs::mnu_kankyo_english_Click);
}

void OptionDialogs::mnu_kankyo_option_Click()
{
    dialogs::DicOption dialog(form_, *this);
    dialog.exec();
    form_.activateWindow(); // the window takes the keys again
}

void OptionDialogs::mnu_kankyo_StMenu_Click()
{
    dialogs::StMenu dialog(form_, *this, shell::Shortcuts::create());
    dialog.exec();
    form_.activateWindow();
}

void OptionDialogs::mnu_kankyo_english_Click()
{
    form_.speech().SapiCancel();
    dialogs::SapiOption dialog(form_, *this);
    if (dialog.opened())
        dialog.exec();
    form_.activateWindow();
}

void OptionDialogs::showQuickGuide(const QString &text, QPoint topLeft, QWidget *owner)
{
    guide_.show(text, topLeft, owner);
}

bool OptionDialogs::reinstallHook(int keyFunc)
{
    hook_.UnHookKeyHandler();
    return hook_.HookKeyHandler(WlhookWindow(form_.winId()), keyFunc) != 0;
}
