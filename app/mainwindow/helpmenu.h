#pragma once
// The Help menu: its opening stops the reading, the online manuals (the
// text files of the manual folder, opened in the maker's editor when one is
// installed, else in the desktop's viewer) and the version dialog.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class MainForm;
class QUrl;

namespace manuals {
inline constexpr int MaxItems = 10;
// The manuals of `folder`: the names of its "*.txt" files in name order, at
// most MaxItems. Files whose names this system cannot give back as they
// are (not valid in the file system's encoding) are left out.
QStringList list(const QString &folder);
// A menu caption from a file name: the last four characters (".txt") are
// dropped from a name longer than five characters.
QString CutTxt(const QString &name);
} // namespace manuals

class HelpMenu : public QObject {
    Q_OBJECT
public:
    explicit HelpMenu(MainForm &form);

    // Fills the manuals submenu; at start-up.
    void ManualSet();
    void Manuals_Click(int index);
    void mnu_help_Click();
    void mnu_help_version_Click();

    // The folder the manuals were listed from, and the maker's editor (empty
    // when none is installed).
    QString manualFolder() const { return folder_; }
    QString NorvelExe;

    bool VerInfoEnable = false; // true while the version dialog is open

    // How programs are started and files shown; tests record the calls.
    using Starter = std::function<bool(const QString &program, const QStringList &arguments)>;
    using Viewer = std::function<bool(const QUrl &file)>;
    void setStarter(Starter starter) { start_ = std::move(starter); }
    void setViewer(Viewer viewer) { view_ = std::move(viewer); }

private:
    MainForm &form_;
    QString folder_;
    QStringList names_;
    Starter start_;
    Viewer view_;
};
