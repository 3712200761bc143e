#include "lookup/dicfileset.h"

#include "lookup/entrykey.h"
#include "lookup/lookupstate.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>

namespace lookup {

QString dicFilePatterns(int DicMode)
{
    return DicMode == EnglishJapanese ? QStringLiteral("ei*.txt;wordmere.dic") : QStringLiteral("waei*.txt;waei.dic");
}

namespace {

// A name against a pattern whose only wildcard is one "*", letter case
// ignored.
bool matchesPattern(QStringView name, QStringView pattern)
{
    const qsizetype star = pattern.indexOf(u'*');
    if (star < 0)
        return name.compare(pattern, Qt::CaseInsensitive) == 0;
    const QStringView before = pattern.first(star);
    const QStringView after = pattern.sliced(star + 1);
    return name.size() >= before.size() + after.size() && name.startsWith(before, Qt::CaseInsensitive) &&
           name.endsWith(after, Qt::CaseInsensitive);
}

} // namespace

bool matchesDicFileSet(const QString &fileName, int DicMode)
{
    static const QStringList english = dicFilePatterns(EnglishJapanese).split(u';');
    static const QStringList japanese = dicFilePatterns(JapaneseEnglish).split(u';');
    for (const QString &pattern : DicMode == EnglishJapanese ? english : japanese)
        if (matchesPattern(fileName, pattern))
            return true;
    return false;
}

DicFileListing listDicFileSet(const QString &folder, int DicMode)
{
    DicFileListing listing;
    // The folder as the file paths will name it, so that listing and opening
    // agree even for an empty folder path.
    const QString dirPath = AddYen(folder);
    // Listed here rather than by QDir, which gives an empty list for a folder
    // it cannot read (no file descriptor left, say) as for an empty one.
    // Unreadable files are listed too: opening them reports the error.
    DIR *d = ::opendir(QFile::encodeName(dirPath).constData());
    if (!d) {
        const int error = errno;
        if (error == ENOENT)
            listing.error = QStringLiteral("the folder %1 does not exist").arg(folder);
        else if (error == ENOTDIR)
            listing.error = QStringLiteral("%1 is not a folder").arg(folder);
        else if (error == EACCES)
            listing.error = QStringLiteral("the folder %1 cannot be read").arg(folder);
        else
            listing.error = QStringLiteral("the folder %1 cannot be listed: %2")
                                .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
        return listing;
    }
    for (;;) {
        errno = 0;
        const dirent *e = ::readdir(d);
        if (!e)
            break;
        const QString name = QFile::decodeName(e->d_name);
        if (!matchesDicFileSet(name, DicMode))
            continue;
        // Files, and links to files, as QDir::Files has them.
        if (e->d_type == DT_REG ||
            ((e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) && QFileInfo(dirPath + name).isFile()))
            listing.names.append(name);
    }
    const int readError = errno;
    ::closedir(d);
    if (readError != 0) {
        listing.names.clear();
        listing.error = QStringLiteral("the folder %1 cannot be listed: %2")
                            .arg(folder, QString::fromLocal8Bit(std::strerror(readError)));
        return listing;
    }
    std::sort(listing.names.begin(), listing.names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return listing;
}

} // namespace lookup
