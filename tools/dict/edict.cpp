#include "edict.h"

#include "codepage/codepage.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <string_view>

namespace edict {
namespace {

constexpr QChar Unholdable(0xFFFD);

// The Unicode character of each JIS X 0208 code (row and cell 1..94) as code
// page 932 decodes it, U+FFFD when it has none; and of each half-width kana.
class JisTable {
public:
    JisTable()
    {
        for (int j1 = 0x21; j1 <= 0x7E; ++j1)
            for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
                const int s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
                const int s2 = j2 + ((j1 & 1) ? (j2 < 0x60 ? 0x1F : 0x20) : 0x7E);
                const char sjis[2] = {char(s1), char(s2)};
                const codepage::Decoded d = codepage::fromCp932(QByteArrayView(sjis, 2));
                table_[size_t((j1 - 0x21) * 94 + (j2 - 0x21))] = d.ok() && d.text.size() == 1 ? d.text[0] : Unholdable;
            }
        for (int k = 0xA1; k <= 0xDF; ++k) {
            const char b = char(k);
            const codepage::Decoded d = codepage::fromCp932(QByteArrayView(&b, 1));
            kana_[size_t(k - 0xA1)] = d.ok() && d.text.size() == 1 ? d.text[0] : Unholdable;
        }
    }
    QChar jis(int j1, int j2) const { return table_[size_t((j1 - 0x21) * 94 + (j2 - 0x21))]; }
    QChar kana(int k) const { return kana_[size_t(k - 0xA1)]; }

private:
    std::array<QChar, 94 * 94> table_;
    std::array<QChar, 0xDF - 0xA1 + 1> kana_;
};

const JisTable &jisTable()
{
    static const JisTable table;
    return table;
}

bool isMiscTag(QStringView tag)
{
    // Notes that EDICT puts before a gloss: usage, field, dialect, and
    // remarks on the written form or reading.
    static const QSet<QString> tags{
        QStringLiteral("uk"),     QStringLiteral("uK"),     QStringLiteral("comp"),    QStringLiteral("arch"),
        QStringLiteral("abbr"),   QStringLiteral("on-mim"), QStringLiteral("yoji"),    QStringLiteral("obsc"),
        QStringLiteral("col"),    QStringLiteral("sl"),     QStringLiteral("id"),      QStringLiteral("food"),
        QStringLiteral("Buddh"),  QStringLiteral("Shinto"), QStringLiteral("proverb"), QStringLiteral("ok"),
        QStringLiteral("oK"),     QStringLiteral("io"),     QStringLiteral("iK"),      QStringLiteral("ik"),
        QStringLiteral("ateji"),  QStringLiteral("gikun"),  QStringLiteral("math"),    QStringLiteral("med"),
        QStringLiteral("hon"),    QStringLiteral("hum"),    QStringLiteral("pol"),     QStringLiteral("ling"),
        QStringLiteral("sports"), QStringLiteral("music"),  QStringLiteral("sumo"),    QStringLiteral("derog"),
        QStringLiteral("baseb"),  QStringLiteral("astron"), QStringLiteral("physics"), QStringLiteral("obs"),
        QStringLiteral("chem"),   QStringLiteral("mahj"),   QStringLiteral("biol"),    QStringLiteral("law"),
        QStringLiteral("sens"),   QStringLiteral("MA"),     QStringLiteral("X"),       QStringLiteral("fem"),
        QStringLiteral("male"),   QStringLiteral("m-sl"),   QStringLiteral("vulg"),    QStringLiteral("poet"),
        QStringLiteral("rare"),   QStringLiteral("joc"),    QStringLiteral("fam"),     QStringLiteral("chn"),
        QStringLiteral("ktb"),    QStringLiteral("ksb"),    QStringLiteral("kyb"),     QStringLiteral("osb"),
        QStringLiteral("kyu"),    QStringLiteral("thb"),    QStringLiteral("tsb"),     QStringLiteral("tsug"),
        QStringLiteral("rkb"),    QStringLiteral("hob"),    QStringLiteral("nab"),     QStringLiteral("geom"),
        QStringLiteral("gram"),   QStringLiteral("anat"),   QStringLiteral("archit"),  QStringLiteral("bot"),
        QStringLiteral("bus"),    QStringLiteral("econ"),   QStringLiteral("engr"),    QStringLiteral("finc"),
        QStringLiteral("geol"),   QStringLiteral("mil"),    QStringLiteral("zool"),    QStringLiteral("shogi"),
        QStringLiteral("go"),     QStringLiteral("comp"),   QStringLiteral("cards"),   QStringLiteral("hanaf"),
        QStringLiteral("aux"),    QStringLiteral("P"),      QStringLiteral("wasei"),   QStringLiteral("net-sl"),
        QStringLiteral("dated"),  QStringLiteral("hist"),   QStringLiteral("rK"),      QStringLiteral("sK"),
        QStringLiteral("sk"),     QStringLiteral("eK"),     QStringLiteral("ek"),      QStringLiteral("work"),
        QStringLiteral("char"),   QStringLiteral("ent"),    QStringLiteral("ev"),      QStringLiteral("group")};
    // A view on the tag's characters, without a copy: the lines' tags are
    // looked up by the million.
    return tags.contains(QString::fromRawData(tag.data(), tag.size()));
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiLowerOrDigit(QChar c)
{
    return (c >= u'a' && c <= u'z') || isAsciiDigit(c);
}

} // namespace

QString decodeEucJp(QByteArrayView line, int *unholdable)
{
    const JisTable &table = jisTable();
    QString out;
    out.reserve(line.size());
    int bad = 0;
    auto add = [&](QChar c) {
        if (c == Unholdable)
            ++bad;
        out.append(c);
    };
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(line[i]);
        const int next = i + 1 < n ? static_cast<unsigned char>(line[i + 1]) : -1;
        if (b < 0x80) {
            out.append(QChar(b));
            i += 1;
        } else if (b == 0x8E && next >= 0xA1 && next <= 0xDF) { // half-width kana
            add(table.kana(next));
            i += 2;
        } else if (b == 0x8F) { // JIS X 0212: no code page 932 character
            add(Unholdable);
            i += 3;
        } else if (b >= 0xA1 && b <= 0xFE && next >= 0xA1 && next <= 0xFE) {
            add(table.jis(b - 0x80, next - 0x80));
            i += 2;
        } else {
            add(Unholdable);
            i += 1;
        }
    }
    if (unholdable)
        *unholdable = bad;
    return out;
}

QString fromUtf8(QByteArrayView line)
{
    QString text = QString::fromUtf8(line);
    for (QChar &ch : text) {
        switch (ch.unicode()) {
        case 0x301C: ch = QChar(0xFF5E); break; // 〜 ～
        case 0x2016: ch = QChar(0x2225); break; // ‖ ∥
        case 0x2212: ch = QChar(0xFF0D); break; // − －
        case 0x2014: ch = QChar(0x2015); break; // — ―
        case 0x00A2: ch = QChar(0xFFE0); break; // ¢
        case 0x00A3: ch = QChar(0xFFE1); break; // £
        case 0x00AC: ch = QChar(0xFFE2); break; // ¬
        default: break;
        }
    }
    return text;
}

bool isHeaderLine(const QString &line)
{
    return line.startsWith(QStringLiteral("　？？？ /"));
}

bool isSenseNumber(QStringView tag)
{
    return !tag.isEmpty() && tag.size() <= 3 && std::all_of(tag.begin(), tag.end(), isAsciiDigit);
}

bool isPartOfSpeech(QStringView tag)
{
    // A word class ("adj", "v5r" ...), then perhaps a hyphen and a
    // qualifier of lower-case letters, digits and hyphens ("adj-i", "v5k-s").
    const qsizetype hyphen = tag.indexOf(u'-');
    const QStringView head = hyphen < 0 ? tag : tag.first(hyphen);
    if (hyphen >= 0) {
        const QStringView qualifier = tag.sliced(hyphen + 1);
        if (qualifier.isEmpty() || !std::all_of(qualifier.begin(), qualifier.end(),
                                                [](QChar c) { return c == u'-' || isAsciiLowerOrDigit(c); }))
            return false;
    }
    if (head.startsWith(u'v'))
        return std::all_of(head.begin() + 1, head.end(), isAsciiLowerOrDigit);
    static constexpr std::array<std::u16string_view, 16> classes{u"adj",  u"adv", u"aux", u"cop", u"conj", u"ctr",
                                                                 u"exp",  u"int", u"iv",  u"n",   u"num",  u"pn",
                                                                 u"pref", u"prt", u"suf", u"unc"};
    return std::any_of(classes.begin(), classes.end(), [head](std::u16string_view c) { return head == c; });
}

Gloss splitTags(const QString &gloss)
{
    Gloss g;
    QStringView rest(gloss);
    for (;;) {
        rest = rest.trimmed();
        if (!rest.startsWith(u'('))
            break;
        const qsizetype close = rest.indexOf(u')');
        if (close < 0)
            break;
        const QStringView inside = rest.sliced(1, close - 1);
        if (inside.isEmpty() || inside.contains(u' ') || inside.contains(u'('))
            break;
        // A dialect is written with a colon: "(ksb:)".
        auto tagOf = [](QStringView part) {
            return part.size() > 1 && part.endsWith(u':') && isMiscTag(part.chopped(1)) ? part.chopped(1) : part;
        };
        bool allTags = true;
        for (const QStringView part : inside.tokenize(u',')) {
            const QStringView tag = tagOf(part);
            if (!isPartOfSpeech(tag) && !isSenseNumber(tag) && !isMiscTag(tag)) {
                allTags = false;
                break;
            }
        }
        if (!allTags)
            break;
        for (const QStringView part : inside.tokenize(u','))
            g.tags.append(tagOf(part).toString());
        rest = rest.sliced(close + 1);
    }
    g.text = rest.trimmed().toString();
    return g;
}

std::optional<Entry> parseLine(const QString &line)
{
    const qsizetype slash = line.indexOf(QStringLiteral(" /"));
    if (slash <= 0)
        return std::nullopt;
    Entry e;
    const QString head = line.left(slash).trimmed();
    const qsizetype bracket = head.indexOf(QStringLiteral(" ["));
    if (bracket > 0 && head.endsWith(u']')) {
        e.written = head.left(bracket).trimmed();
        e.reading = head.mid(bracket + 2, head.size() - bracket - 3).trimmed();
    } else {
        e.reading = head;
    }
    if (e.reading.isEmpty())
        return std::nullopt;

    const QStringList glosses = line.mid(slash + 2).split(u'/');
    for (const QString &raw : glosses) {
        const QString gloss = raw.trimmed();
        if (gloss.isEmpty())
            continue;
        if (gloss == QStringLiteral("(P)")) {
            e.common = true;
            continue;
        }
        const Gloss g = splitTags(gloss);
        bool numbered = false;
        QStringList pos;
        for (const QString &t : g.tags) {
            if (isSenseNumber(t))
                numbered = true;
            else if (isPartOfSpeech(t))
                pos.append(t);
        }
        if (e.senses.isEmpty() || (numbered && !e.senses.back().glosses.isEmpty())) {
            Sense s;
            // A numbered sense without its own parts of speech keeps those of
            // the sense before.
            s.pos = pos.isEmpty() && !e.senses.isEmpty() ? e.senses.back().pos : pos;
            e.senses.append(s);
        } else if (!pos.isEmpty() && e.senses.back().pos.isEmpty()) {
            e.senses.back().pos = pos;
        }
        e.senses.back().glosses.append(gloss);
    }
    if (e.senses.isEmpty())
        return std::nullopt;
    return e;
}

} // namespace edict
