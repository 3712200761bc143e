// The freedesktop form: desktop entries in the applications folder of the
// user's data home, in the autostart folder of the configuration home, and
// in the desktop folder that xdg-user-dirs names.

#include "shell/desktopentry.h"
#include "shell/shortcuts.h"

#include "files/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace shell {

namespace {

const QString FileName = QStringLiteral("wordlamp-shortcut.desktop");
constexpr qint64 MostEntrySize = 64 * 1024;

QString home()
{
    return QDir::homePath();
}

QString baseFolder(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // The XDG base directory rules ignore a relative path.
    return QDir::isAbsolutePath(value) ? value : home() + u'/' + fallback;
}

// The desktop folder as xdg-user-dir reports it; none when the tool is
// missing, does not answer, or names the home folder itself (a desktop
// turned off).
QString desktopFolder()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-user-dir"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("DESKTOP")});
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    const QString folder = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder) || QDir(folder) == QDir(home()))
        return {};
    return QDir::cleanPath(folder);
}

class XdgShortcuts : public Shortcuts {
public:
    XdgShortcuts()
        : menu_(baseFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/applications")),
          startup_(baseFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/autostart")),
          desktop_(desktopFolder())
    {
    }

    QString folder(Place place) const override
    {
        switch (place) {
        case Place::Menu: return menu_;
        case Place::Startup: return startup_;
        case Place::Desktop: return desktop_;
        }
        return {};
    }

    QString path(Place place) const override
    {
        const QString f = folder(place);
        return f.isEmpty() ? QString() : f + u'/' + FileName;
    }

    bool exists(Place place) const override
    {
        const QFileInfo info(path(place));
        return !info.filePath().isEmpty() && (info.exists() || info.isSymLink());
    }

    bool isOurs(Place place) const override
    {
        const QString p = path(place);
        // Only a regular file of our own, never what a link points at.
        if (p.isEmpty() || QFileInfo(p).isSymLink() || !files::isRegularFile(p))
            return false;
        QFile file(p);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        return isOwnEntry(file.read(MostEntrySize));
    }

    Outcome create(Place place, const Shortcut &shortcut) override
    {
        const QString dir = folder(place);
        if (dir.isEmpty())
            return {Failure::NoFolder, {}};
        // The menu and autostart folders are made when missing; a desktop
        // folder is the user's to make.
        if (!QFileInfo(dir).isDir()) {
            if (place == Place::Desktop)
                return {Failure::NoFolder, dir};
            if (!QDir().mkpath(dir))
                return {Failure::FolderNotMade, dir};
        }
        const QString p = path(place);
        if (exists(place))
            return {Failure::Exists, p};
        const QByteArray entry = desktopEntry(shortcut);
        if (entry.isEmpty())
            return {Failure::WriteFailed, p};
        QSaveFile file(p);
        file.setDirectWriteFallback(false);
        if (!file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size()) {
            file.cancelWriting();
            return {Failure::WriteFailed, p};
        }
        // Something may have appeared meanwhile: it is kept.
        if (exists(place)) {
            file.cancelWriting();
            return {Failure::Exists, p};
        }
        if (!file.commit())
            return {Failure::WriteFailed, p};
        // A launcher on the desktop is started only when it may be run.
        if (place == Place::Desktop)
            QFile::setPermissions(p, QFile::permissions(p) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        return {};
    }

    Outcome remove(Place place) override
    {
        const QString p = path(place);
        if (!exists(place))
            return {};
        if (!isOurs(place))
            return {Failure::NotOurs, p};
        if (!QFile::remove(p))
            return {Failure::RemoveFailed, p};
        return {};
    }

private:
    QString menu_, startup_, desktop_;
};

} // namespace

std::unique_ptr<Shortcuts> Shortcuts::create()
{
    return std::make_unique<XdgShortcuts>();
}

} // namespace shell
