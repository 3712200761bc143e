#include "dictionarywriter.h"

#include "codepage/codepage.h"
#include "lookup/entrykey.h"
#include "orrin/orrinsupport.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>

namespace testdict {

QByteArray keyBytes(const QString &line)
{
    return codepage::encode(lookup::GetTango(line).value_or(QString()));
}

QStringList sorted(QStringList lines)
{
    QList<std::pair<QByteArray, QString>> keyed;
    keyed.reserve(lines.size());
    for (const QString &line : lines)
        keyed.append({keyBytes(line), line});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return cStrComp(a.first, b.first) < 0; });
    lines.clear();
    for (const auto &k : std::as_const(keyed))
        lines.append(k.second);
    return lines;
}

QByteArray bytes(const QStringList &lines, const QByteArray &lineEnd)
{
    QByteArray out;
    for (const QString &line : lines)
        out += codepage::encode(line) + lineEnd;
    return out;
}

QList<qint64> positions(const QStringList &lines, const QByteArray &lineEnd)
{
    QList<qint64> out;
    qint64 pos = 1;
    for (const QString &line : lines) {
        out.append(pos);
        pos += codepage::encode(line).size() + lineEnd.size();
    }
    return out;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

namespace {

QString pick(QRandomGenerator &rng, const QString &alphabet, int minLen, int maxLen)
{
    QString s;
    const int n = int(rng.bounded(minLen, maxLen + 1));
    for (int i = 0; i < n; ++i)
        s += alphabet[rng.bounded(int(alphabet.size()))];
    return s;
}

QString headword(QRandomGenerator &rng)
{
    static const QString latin = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    static const QString hiragana = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをんがぎゅょっー");
    static const QString katakana = QStringLiteral(
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲンガギュョッー");
    static const QString kanji = QStringLiteral("林檎走閑静愛日本語辞書検索英和漢字読書");
    switch (rng.bounded(10)) {
    case 0: {
        QString w = pick(rng, latin, 1, 8);
        w[0] = w[0].toUpper();
        return w;
    }
    case 1: return pick(rng, hiragana, 1, 4);
    case 2: return pick(rng, katakana, 1, 5);
    case 3: return pick(rng, kanji, 1, 3) + pick(rng, hiragana, 0, 2);
    case 4: return QStringLiteral("_") + pick(rng, latin, 1, 4);
    case 5: return pick(rng, latin, 1, 6) + QStringLiteral(" {名}");
    case 6: return pick(rng, hiragana, 1, 3) + QStringLiteral("；") + pick(rng, kanji, 1, 2);
    case 7: return pick(rng, latin, 1, 5) + u' ' + pick(rng, latin, 1, 5);
    default: return pick(rng, latin, 1, 7);
    }
}

QString body(QRandomGenerator &rng)
{
    static const QString chars = QStringLiteral("abc defgh ijk 走る見捨てる林檎{りんご}●:、。あいうアイウ");
    return pick(rng, chars, 1, 150);
}

} // namespace

QStringList randomDictionary(int count, QRandomGenerator &rng)
{
    QStringList lines;
    while (lines.size() < count) {
        const QString head = headword(rng);
        const int same = rng.bounded(5) == 0 ? int(rng.bounded(2, 5)) : 1;
        for (int i = 0; i < same && lines.size() < count; ++i)
            lines.append(QStringLiteral("■") + head + QStringLiteral(" : ") + body(rng));
    }
    return sorted(lines);
}

} // namespace testdict
