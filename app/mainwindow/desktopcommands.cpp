#include "mainwindow/desktopcommands.h"

#include "form/mainform.h"
#include "form/messagebox.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

DesktopCommands::DesktopCommands(MainForm &form) : form_(form)
{
    connect(form_.action(QStringLiteral("mnu_help_update")), &QAction::triggered, this,
            &DesktopCommands::mnu_help_update_Click);
    form_.action(QStringLiteral("mnu_kankyo_wordmere"))->setEnabled(false);
}

void DesktopCommands::mnu_help_update_Click()
{
    const QString folder = folder_.isEmpty() ? QCoreApplication::applicationDirPath() : folder_;
    const QString program = QDir(folder).filePath(UpdateProgram);
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable() && QProcess::startDetached(program, {}, folder)) {
        form_.close(); // the update replaces the running program
        return;
    }
    showMessage(&form_, QMessageBox::Critical, QStringLiteral("実行エラー"),
                QStringLiteral("アップデートプログラムを実行できません"));
}
