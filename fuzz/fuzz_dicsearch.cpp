// The dictionary search over an arbitrary file: the input's first line is the
// query (a trailing * for a prefix search), the rest the dictionary file.
#include "lookup/findkey.h"
#include "lookup/normalize.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    const QString query = QString::fromUtf8(newline < 0 ? input : input.left(newline));
    const QString path = dir.filePath(QStringLiteral("fuzz.dic"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(newline < 0 ? QByteArray() : input.mid(newline + 1));
    file.close();
    lookup::LookupState state;
    state.ZenpoFlag = query.endsWith(u'*');
    const QString key = lookup::CheckEng(query) ? lookup::englishQueryKey(query) : lookup::japaneseQueryKey(query);
    lookup::FileSearch search(state, nullptr);
    QString error;
    search.FindKey(path, key, &error);
    return 0;
}
