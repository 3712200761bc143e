#include "lookup/dicfileset.h"

#include "lookup/entrykey.h"
#include "lookup/lookupstate.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>

namespace lookup {

QString dicFilePatterns(int DicMode)
{
    return DicMode == EnglishJapanese ? QStringLiteral("ei*.txt;wordmere.dic") : QStringLiteral("waei*.txt;waei.dic");
}

bool matchesDicFileSet(const QString &fileName, int DicMode)
{
    auto compile = [](int mode) {
        QList<QRegularExpression> list;
        for (const QString &pattern : dicFilePatterns(mode).split(u';'))
            list.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                           QRegularExpression::CaseInsensitiveOption));
        return list;
    };
    static const QList<QRegularExpression> english = compile(EnglishJapanese);
    static const QList<QRegularExpression> japanese = compile(JapaneseEnglish);
    for (const QRegularExpression &re : DicMode == EnglishJapanese ? english : japanese)
        if (re.match(fileName).hasMatch())
            return true;
    return false;
}

DicFileListing listDicFileSet(const QString &folder, int DicMode)
{
    DicFileListing listing;
    // The folder as the file paths will name it, so that listing and opening
    // agree even for an empty folder path.
    const QString dirPath = AddYen(folder);
    const QFileInfo info(folder.isEmpty() ? dirPath : folder);
    if (!info.exists()) {
        listing.error = QStringLiteral("the folder %1 does not exist").arg(folder);
        return listing;
    }
    if (!info.isDir()) {
        listing.error = QStringLiteral("%1 is not a folder").arg(folder);
        return listing;
    }
    if (!info.isReadable()) {
        listing.error = QStringLiteral("the folder %1 cannot be read").arg(folder);
        return listing;
    }
    // Listed here rather than by QDir, which gives an empty list for a folder
    // it cannot read (no file descriptor left, say) as for an empty one.
    // Unreadable files are listed too: opening them reports the error.
    DIR *d = ::opendir(QFile::encodeName(dirPath).constData());
    if (!d) {
        listing.error = QStringLiteral("the folder %1 cannot be listed: %2")
                            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
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
        if (QFileInfo(dirPath + name).isFile())
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
