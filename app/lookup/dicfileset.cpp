#include "lookup/dicfileset.h"

#include "lookup/entrykey.h"
#include "lookup/lookupstate.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

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
    // Unreadable files are listed too: opening them reports the error.
    const QStringList all = QDir(dirPath).entryList(QDir::Files, QDir::NoSort);
    for (const QString &name : all)
        if (matchesDicFileSet(name, DicMode))
            listing.names.append(name);
    std::sort(listing.names.begin(), listing.names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return listing;
}

} // namespace lookup
