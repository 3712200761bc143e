#include "mainwindow/helpmenu.h"

#include "datapaths/datapaths.h"
#include "form/mainform.h"
#include "form/messagebox.h"
#include "mainwindow/versiondialog.h"
#include "orrin/orrnusr.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace manuals {

QStringList list(const QString &folder)
{
    QStringList names;
    if (folder.isEmpty())
        return names;
    const QDir dir(folder);
    const QStringList entries =
        dir.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : entries) {
        if (names.size() == MaxItems)
            break;
        if (QFileInfo::exists(dir.filePath(name))) // a name that did not decode cannot be opened
            names << name;
    }
    return names;
}

QString CutTxt(const QString &name)
{
    return name.size() > 5 ? name.left(name.size() - 4) : name;
}

} // namespace manuals

HelpMenu::HelpMenu(MainForm &form)
    : form_(form), start_([](const QString &program, const QStringList &arguments) {
          return QProcess::startDetached(program, arguments);
      }),
      view_([](const QUrl &file) { return QDesktopServices::openUrl(file); })
{
    connect(form_.menu(QStringLiteral("mnu_help")), &QMenu::aboutToShow, this, &HelpMenu::mnu_help_Click);
    connect(form_.action(QStringLiteral("mnu_help_version")), &QAction::triggered, this,
            &HelpMenu::mnu_help_version_Click);
    for (int i = 0; i < manuals::MaxItems; ++i)
        connect(form_.action(QStringLiteral("Manuals%1").arg(i)), &QAction::triggered, this,
                [this, i] { Manuals_Click(i); });
}

void HelpMenu::mnu_help_Click()
{
    form_.AllReadFlag = false;
    form_.speech().SapiCancel();
}

void HelpMenu::ManualSet()
{
    // The folder the installer names, else the program's own manuals.
    folder_ = settings::ReadManualFolder();
    if (folder_.isEmpty())
        folder_ = datapaths::manualFolder();
    names_ = manuals::list(folder_);
    for (int i = 0; i < manuals::MaxItems; ++i) {
        QAction *item = form_.action(QStringLiteral("Manuals%1").arg(i));
        if (i < names_.size()) {
            // A "&" in a file name is a character, not an access key.
            item->setText(manuals::CutTxt(names_.at(i)).replace(u'&', QStringLiteral("&&")));
            item->setVisible(true);
        } else {
            item->setVisible(false);
        }
    }
    // An empty submenu would open on silence: it is greyed instead.
    form_.action(QStringLiteral("mnu_help_doc"))->setEnabled(!names_.isEmpty());
    const QString productDir = settings::ReadMachineThenUser(QStringLiteral("Software\\QLM\\Norvel\\Directories"),
                                                             QStringLiteral("ProductDir"));
    NorvelExe =
        productDir.isEmpty() ? QString() : QStandardPaths::findExecutable(QStringLiteral("norvel"), {productDir});
    if (!productDir.isEmpty() && NorvelExe.isEmpty())
        NorvelExe = QDir(productDir).filePath(QStringLiteral("norvel.exe")); // its start fails and says so
}

void HelpMenu::Manuals_Click(int index)
{
    if (index < 0 || index >= names_.size())
        return;
    const QString file = QDir(folder_).filePath(names_.at(index));
    if (!NorvelExe.isEmpty()) {
        QStringList arguments{QStringLiteral("/ro")};
        if (OrvLoaded())
            arguments << QStringLiteral("/ar");
        arguments << QDir::toNativeSeparators(file);
        if (start_(NorvelExe, arguments))
            return;
        showMessage(&form_, QMessageBox::Critical, QStringLiteral("マニュアルを開く"),
                    QStringLiteral("ノルベルが起動できません"));
    }
    view_(QUrl::fromLocalFile(file)); // a failure here is not reported
}

void HelpMenu::mnu_help_version_Click()
{
    VerInfoEnable = true;
    showVersionDialog(form_);
    VerInfoEnable = false;
}
