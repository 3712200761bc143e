#pragma once
// The Environment menu's three dialogs: search options, the English voice,
// and the shortcuts in the menu, the autostart folder and on the desktop.
// Each opens modally over the window; this role gives them the quick guide
// and the capture hook.

#include "dialogs/dialoghost.h"

#include <QObject>

class HookBinding;
class MainForm;
class QuickGuide;

class OptionDialogs : public QObject, public dialogs::DialogHost {
    Q_OBJECT
public:
    OptionDialogs(MainForm &form, QuickGuide &guide, HookBinding &hook);

    void mnu_kankyo_option_Click();
    void mnu_kankyo_StMenu_Click();
    void mnu_kankyo_english_Click();

    void showQuickGuide(const QString &text, QPoint topLeft, QWidget *owner) override;
    bool reinstallHook(int keyFunc) override;

private:
    MainForm &form_;
    QuickGuide &guide_;
    HookBinding &hook_;
};
