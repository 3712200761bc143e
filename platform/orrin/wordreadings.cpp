#include "orrin/wordreadings.h"

#include "orrin/speechtext.h"

#include <QRegularExpression>

namespace wordreadings {

QString annotated(const QString &word, const QString &reading)
{
    return QChar(Anchor) + word + QChar(Separator) + reading + QChar(Terminator);
}

namespace {

// Calls word(text) for the text outside annotations and note(word, reading)
// for each annotation.
template <typename Plain, typename Note> void walk(QStringView text, Plain plain, Note note)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype anchor = text.indexOf(QChar(Anchor), i);
        if (anchor < 0) {
            plain(text.mid(i));
            return;
        }
        plain(text.mid(i, anchor - i));
        const qsizetype sep = text.indexOf(QChar(Separator), anchor + 1);
        const qsizetype end = sep < 0 ? -1 : text.indexOf(QChar(Terminator), sep + 1);
        const qsizetype nextAnchor = text.indexOf(QChar(Anchor), anchor + 1);
        if (end < 0 || (nextAnchor >= 0 && nextAnchor < end)) {
            // Broken: the anchor alone is dropped, the rest read as it is.
            i = anchor + 1;
            continue;
        }
        note(text.mid(anchor + 1, sep - anchor - 1), text.mid(sep + 1, end - sep - 1));
        i = end + 1;
    }
}

bool isWordCharacter(QChar c)
{
    const char32_t u = c.unicode();
    return speechtext::isKanji(u) || speechtext::isKana(u) || c.isLetterOrNumber() || c.isSurrogate();
}

bool allKana(QStringView text)
{
    bool kana = !text.isEmpty();
    speechtext::forEachCharacter(text, [&kana](char32_t ch) { kana = kana && speechtext::isKana(ch); });
    return kana;
}

// The word's stretches of kanji with their part of the reading, matched at
// the word's kana; the whole word when they do not match.
QList<Reading> aligned(const QString &word, const QString &reading)
{
    QString pattern = QStringLiteral("^");
    QList<qsizetype> starts; // of the non-kana stretches, in `word`
    QList<qsizetype> lengths;
    qsizetype i = 0;
    while (i < word.size()) {
        const bool kana = speechtext::isKana(word[i].unicode());
        qsizetype j = i;
        while (j < word.size() && speechtext::isKana(word[j].unicode()) == kana)
            ++j;
        if (kana) {
            pattern += QRegularExpression::escape(toHiragana(QStringView(word).mid(i, j - i)));
        } else {
            pattern += QStringLiteral("(.+?)");
            starts << i;
            lengths << j - i;
        }
        i = j;
    }
    pattern += u'$';
    const QRegularExpressionMatch m = QRegularExpression(pattern).match(toHiragana(reading));
    if (!m.hasMatch())
        return {{word, reading}};
    QList<Reading> out;
    for (qsizetype k = 0; k < starts.size(); ++k) {
        const QString piece = word.mid(starts[k], lengths[k]);
        if (speechtext::containsKanji(piece))
            out.append({piece, reading.mid(m.capturedStart(int(k + 1)), m.capturedLength(int(k + 1)))});
    }
    return out;
}

} // namespace

QString shown(QStringView text)
{
    QString out;
    walk(
        text, [&out](QStringView plain) { out += plain; }, [&out](QStringView word, QStringView) { out += word; });
    return out;
}

QString spoken(QStringView text)
{
    QString out;
    walk(
        text, [&out](QStringView plain) { out += plain; },
        [&out](QStringView, QStringView reading) { out += reading; });
    return out;
}

QString toHiragana(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= 0x30A1 && u <= 0x30F6)
            c = QChar(char16_t(u - 0x60));
    }
    return out;
}

QList<Reading> fromDictionaryLine(QStringView line)
{
    QList<Reading> out;
    for (qsizetype open = line.indexOf(u'{'); open >= 0; open = line.indexOf(u'{', open + 1)) {
        qsizetype wordEnd = open;
        if (wordEnd > 0 && line[wordEnd - 1] == u' ')
            --wordEnd; // "金 {かね}": a Japanese headword
        qsizetype wordStart = wordEnd;
        while (wordStart > 0 && isWordCharacter(line[wordStart - 1]))
            --wordStart;
        const qsizetype close = line.indexOf(u'}', open + 1);
        if (close < 0)
            break; // unclosed: no reading here, nor after it
        const QStringView group = line.mid(open + 1, close - open - 1);
        if (group.contains(u'{')) {
            open = close; // an unclosed brace swallows the group after it, as on display
            continue;
        }
        const QString word = line.mid(wordStart, wordEnd - wordStart).toString();
        const qsizetype dot = group.indexOf(u'・');
        const QStringView first = (dot < 0 ? group : group.first(dot)).trimmed();
        if (wordEnd < open && allKana(word) && speechtext::containsKanji(first)) {
            // "かね {金}": a reading as the headword, its written form in braces.
            out += aligned(first.toString(), word);
            continue;
        }
        if (word.isEmpty() || !speechtext::containsKanji(word) || !allKana(first))
            continue;
        out += aligned(word, first.toString());
    }
    return out;
}

} // namespace wordreadings
