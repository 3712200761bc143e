#include "orrin/speechtext.h"

#include "codepage/codepage.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace speechtext {

bool isKanji(char32_t ch)
{
    return (ch >= 0x4E00 && ch <= 0x9FFF)      // unified ideographs
           || (ch >= 0x3400 && ch <= 0x4DBF)   // extension A
           || (ch >= 0xF900 && ch <= 0xFAFF)   // compatibility ideographs
           || (ch >= 0x20000 && ch <= 0x3134F) // extensions B to G
           || ch == 0x3005 || ch == 0x3006;    // 々 〆
}

bool isKana(char32_t ch)
{
    return (ch >= 0x3041 && ch <= 0x309F)     // hiragana
           || (ch >= 0x30A0 && ch <= 0x30FF)  // katakana, including ー
           || (ch >= 0x31F0 && ch <= 0x31FF)  // small katakana for Ainu
           || (ch >= 0xFF66 && ch <= 0xFF9F); // half-width katakana
}

bool containsKanji(QStringView text)
{
    bool found = false;
    forEachCharacter(text, [&found](char32_t ch) { found = found || isKanji(ch); });
    return found;
}

QString language(QStringView text)
{
    bool japanese = false;
    forEachCharacter(text, [&japanese](char32_t ch) { japanese = japanese || isKana(ch) || isKanji(ch); });
    return japanese ? QStringLiteral("ja") : QStringLiteral("en");
}

namespace {
enum class Script { Neutral, Japanese, English };

Script scriptOf(char32_t ch)
{
    if (isKana(ch) || isKanji(ch) || (ch >= 0x3000 && ch <= 0x303F) // Japanese punctuation
        || (ch >= 0xFF01 && ch <= 0xFF0F) || (ch >= 0xFF1A && ch <= 0xFF20) || (ch >= 0xFF3B && ch <= 0xFF40) ||
        (ch >= 0xFF5B && ch <= 0xFF65))
        return Script::Japanese;
    if ((ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z') || (ch >= 0xFF21 && ch <= 0xFF3A) ||
        (ch >= 0xFF41 && ch <= 0xFF5A) || (ch >= 0xC0 && ch <= 0x24F && ch != 0xD7 && ch != 0xF7))
        return Script::English;
    return Script::Neutral;
}

QString languageOf(Script s)
{
    return s == Script::English ? QStringLiteral("en") : QStringLiteral("ja");
}
} // namespace

QList<Run> runs(QStringView text)
{
    QList<Run> out;
    Script current = Script::Neutral;
    qsizetype start = 0;        // of the current run
    qsizetype neutralFrom = -1; // where the signs after the run's last letter begin
    const auto close = [&](qsizetype end, Script script) {
        const QString piece = text.mid(start, end - start).trimmed().toString();
        if (!piece.isEmpty())
            out.append({piece, languageOf(script)});
        start = end;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t ch = text[i].unicode();
        const qsizetype at = i;
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ch = QChar::surrogateToUcs4(char16_t(ch), text[++i].unicode());
        const Script s = scriptOf(ch);
        if (s == Script::Neutral) {
            if (neutralFrom < 0)
                neutralFrom = at;
            continue;
        }
        if (current != Script::Neutral && s != current) {
            // The signs between the two runs are cut at their last space.
            qsizetype cut = at;
            for (qsizetype j = at - 1; j >= neutralFrom && neutralFrom >= 0; --j) {
                if (text[j].isSpace()) {
                    cut = j;
                    break;
                }
            }
            close(cut, current);
        }
        current = s;
        neutralFrom = -1;
    }
    close(text.size(), current == Script::Neutral ? Script::English : current);
    return out;
}

bool onlySigns(QStringView text)
{
    bool sign = true;
    forEachCharacter(text, [&sign](char32_t ch) { sign = sign && !QChar::isLetterOrNumber(ch); });
    return sign;
}

QString withPauses(QString japanese)
{
    return japanese.replace(u'\u30FB', u'\u3001').replace(u'\uFF65', u'\u3001');
}

QString withTagWords(const QString &japanese)
{
    static const QHash<QString, QString> words{
        {QStringLiteral("名"), QStringLiteral("名詞")},     {QStringLiteral("代"), QStringLiteral("代名詞")},
        {QStringLiteral("動"), QStringLiteral("動詞")},     {QStringLiteral("自"), QStringLiteral("自動詞")},
        {QStringLiteral("他"), QStringLiteral("他動詞")},   {QStringLiteral("形"), QStringLiteral("形容詞")},
        {QStringLiteral("副"), QStringLiteral("副詞")},     {QStringLiteral("感"), QStringLiteral("感動詞")},
        {QStringLiteral("接"), QStringLiteral("接続詞")},   {QStringLiteral("助"), QStringLiteral("助詞")},
        {QStringLiteral("助数"), QStringLiteral("助数詞")}, {QStringLiteral("助動"), QStringLiteral("助動詞")},
        {QStringLiteral("接頭"), QStringLiteral("接頭辞")}, {QStringLiteral("接尾"), QStringLiteral("接尾辞")},
        {QStringLiteral("数"), QStringLiteral("数詞")},     {QStringLiteral("句"), QStringLiteral("句")},
        {QStringLiteral("略"), QStringLiteral("略語")},
    };
    static const QRegularExpression group(QStringLiteral("[(（{]([^()（）{}]{1,24})[)）}]"));
    QString out;
    qsizetype done = 0;
    for (auto it = group.globalMatch(japanese); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QStringList parts = m.captured(1).split(u'・');
        bool tags = true;
        bool changed = false;
        for (QString &p : parts) {
            const auto found = words.constFind(p);
            if (found != words.cend()) {
                changed = changed || *found != p;
                p = *found;
            } else if (p.isEmpty() || p.size() > 6 || scriptOf(p.at(0).unicode()) != Script::Japanese) {
                tags = false; // words or a note, not a group of tags
            }
        }
        if (!tags || !changed)
            continue;
        out += QStringView(japanese).mid(done, m.capturedStart(1) - done);
        out += parts.join(u'・');
        done = m.capturedEnd(1);
    }
    if (done == 0)
        return japanese;
    out += QStringView(japanese).mid(done);
    return out;
}

QString cleaned(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += u'\n';
        } else if (c == u'\n') {
            out += u'\n';
        } else if (c == u'\t') {
            out += u' ';
        } else if (c < 0x20 || c == 0x7F || c == codepage::SpeechEndMarker) {
            continue;
        } else {
            out += QChar(c);
        }
    }
    return out.trimmed();
}

qint64 expectedDurationMs(QStringView text, int rate)
{
    // Slow speech for each kind of character (a kanji often stands for two or
    // three syllables), then stretched for slow rates and shortened for fast
    // ones, with a fixed allowance for the synthesiser to start.
    qint64 ms = 0;
    forEachCharacter(text, [&ms](char32_t ch) {
        if (isKanji(ch))
            ms += 400;
        else if (isKana(ch))
            ms += 200;
        else if (ch > 0x7F)
            ms += 150;
        else
            ms += 100;
    });
    rate = std::clamp(rate, -100, 100);
    if (rate < 0)
        ms = ms * (100 - 2 * rate) / 100; // -100 is three times as long
    else
        ms = ms * 100 / (100 + rate); // +100 is half as long
    return 2000 + ms;
}

} // namespace speechtext
