#pragma once
// The shortcuts of the program ("スタートメニューの設定"): in the
// applications menu, among the programs started with the session (resident
// in the notification area, ready for captures), and on the desktop. A box
// is grey when its shortcut exists; clearing it deletes the shortcut,
// ticking an empty one creates it, and the set button does both.

#include "dialogs/optiondialog.h"
#include "shell/shortcuts.h"

#include <memory>

class QCheckBox;
class QPushButton;

namespace dialogs {

class StMenu : public OptionDialog {
    Q_OBJECT
public:
    StMenu(MainForm &form, DialogHost &host, std::unique_ptr<shell::Shortcuts> shortcuts);
    ~StMenu() override;

    QCheckBox *CheckMenu = nullptr, *CheckUp = nullptr, *CheckDesk = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr;

protected:
    bool controlKey(QWidget *control, QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void GetMenuMode();
    void Command1_Click();
    QCheckBox *box(shell::Place place) const;

    std::unique_ptr<shell::Shortcuts> shortcuts_;
    bool existed_[3] = {false, false, false};
};

} // namespace dialogs
