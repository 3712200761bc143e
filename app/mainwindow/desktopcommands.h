#pragma once
// Commands that reach outside the window: the live update starts the update
// program from the program's folder (the program ends when it starts; a
// message says when it cannot be run). The environment menu's folder item
// has no command of its own (the dictionary folder is chosen in the search
// options): it stays greyed.

#include <QObject>
#include <QString>

class MainForm;

class DesktopCommands : public QObject {
    Q_OBJECT
public:
    static inline const QString UpdateProgram = QStringLiteral("wlupdate");

    explicit DesktopCommands(MainForm &form);

    void mnu_help_update_Click();
    // Tests: where the update program is looked for (default: the program's folder).
    void setProgramFolder(const QString &folder) { folder_ = folder; }

private:
    MainForm &form_;
    QString folder_;
};
