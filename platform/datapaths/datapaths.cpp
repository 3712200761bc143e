#include "datapaths/datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The program folder when it holds `file` (the build folder); else the
// installed folder at `relative` to it when that exists; else the program
// folder, so that messages name where the file was looked for first.
QString folderHolding(const QString &file, const char *relative)
{
    const QString program = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(QDir(program).filePath(file)))
        return program;
    const QString installed = QDir::cleanPath(program + u'/' + QLatin1String(relative));
    if (QFileInfo(installed).isDir())
        return installed;
    return program;
}

} // namespace

QString datapaths::libraryFolder()
{
    return folderHolding(QStringLiteral(WORDLAMP_HOOK_FILE), WORDLAMP_LIBRARY_RELATIVE);
}

QString datapaths::dataFolder()
{
    return folderHolding(QStringLiteral("wordlampbr.ini"), WORDLAMP_DATA_RELATIVE);
}

QString datapaths::dictionaryFolder()
{
    const QString program = QCoreApplication::applicationDirPath();
    for (const char *file : {"waei.dic", "wordmere.dic"})
        if (QFileInfo::exists(QDir(program).filePath(QLatin1String(file))))
            return program;
    return folderHolding(QStringLiteral("waei.dic"), WORDLAMP_DATA_RELATIVE);
}

QString datapaths::manualFolder()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("manual"));
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' + QLatin1String(WORDLAMP_DATA_RELATIVE) +
                           QStringLiteral("/manual"));
}
