#include "speech/readingtext.h"

#include "lookup/normalize.h"

#include <QStringView>

namespace reading {

using lookup::EngFlag;
using lookup::JpnFlag;

namespace {
bool in(QChar ch, QStringView set)
{
    return !ch.isNull() && set.contains(ch);
}

QChar at(const QString &text, int i)
{
    return i >= 0 && i < text.size() ? text.at(i) : QChar();
}
} // namespace

bool isEnglishLetter(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isRunContinuation(QChar ch)
{
    return in(ch, u" -,\"'_$?!.") || (ch >= u'0' && ch <= u'9');
}

bool isNumberPunctuation(QChar ch)
{
    return in(ch, u"，,.．");
}

bool isJapaneseChunkEnd(QChar ch)
{
    return in(ch, u"、。を､｡?？･・");
}

bool isSpace(QChar ch)
{
    return in(ch, u" 　");
}

bool isDigit(QChar ch)
{
    return (ch >= u'0' && ch <= u'9') || (ch >= u'０' && ch <= u'９');
}

bool isSentenceDelimiter(QChar ch)
{
    return in(ch, u"\r\n・･？?｡､を。、");
}

int AbsX(int n)
{
    return n > 0 ? n : 0;
}

int rev(const QString &text, int pos, bool *startReached)
{
    if (pos <= 0) {
        if (startReached)
            *startReached = true;
        return 0;
    }
    if (startReached)
        *startReached = false;
    --pos;
    if (at(text, pos) == u'\n' && at(text, pos - 1) == u'\r')
        --pos;
    return pos;
}

int readBackTarget(const QString &text, int pos)
{
    bool start = false;
    int c = rev(text, std::min<int>(pos, int(text.size())), &start);
    if (start)
        return c;
    while (c > 0 && (isSentenceDelimiter(at(text, c)) || isSpace(at(text, c))))
        --c;
    while (c > 0 && !isSentenceDelimiter(at(text, c)))
        --c;
    return c;
}

int readBack100Target(const QString &text, int pos)
{
    if (pos <= 100)
        return 0;
    int c = std::min<int>(pos, int(text.size())) - 100;
    while (c > 0 && !isSentenceDelimiter(at(text, c)))
        --c;
    return c;
}

int readSkipTarget(const QString &text, int pos)
{
    if (pos < 0 || pos >= text.size())
        return pos;
    QStringView rest = QStringView(text).mid(pos);
    int dropped = 0;
    int returns = 0;
    for (;;) {
        const qsizetype i = rest.indexOf(u'\r');
        if (i < 0)
            break;
        if (i == rest.size() - 1)
            return pos; // the return ends the text: nothing to skip to
        rest = rest.mid(i + 1);
        dropped += int(i) + 1;
        if (dropped > 100 || ++returns >= 11)
            break;
    }
    int target = pos + dropped;
    if (dropped > 0 && at(text, target) == u'\n')
        ++target;
    return target;
}

namespace {
bool isParticle(QChar ch)
{
    return in(ch, u"がのをにへとでやは");
}

bool isTwoCharacterParticle(QChar a, QChar b)
{
    static const char16_t *const pairs[] = {u"より", u"から", u"こそ", u"また", u"こと", u"ない", u"れば",
                                            u"した", u"まで", u"され", u"なさ", u"させ", u"さえ", u"ぐら",
                                            u"くら", u"みた", u"しか", u"など", u"して"};
    for (const char16_t *p : pairs)
        if (a == QChar(p[0]) && b == QChar(p[1]))
            return true;
    return false;
}
} // namespace

QString wordAt(const QString &text, int pos)
{
    const int n = int(text.size());
    if (n == 0 || pos < 0 || pos >= n)
        return {};
    if (EngFlag(text.at(pos)) == 1) {
        int start = pos;
        while (start > 0 && EngFlag(text.at(start - 1)) != 0)
            --start;
        while (start < pos && EngFlag(text.at(start)) == 2)
            ++start;
        int end = start;
        while (end < n && EngFlag(text.at(end)) != 0)
            ++end;
        return text.mid(start, end - start);
    }
    const int cls = JpnFlag(text.at(pos));
    if (cls == 0)
        return {};
    int start = pos;
    while (start > 0 && JpnFlag(text.at(start - 1)) == cls)
        --start;
    int end = pos + 1;
    while (end < n && JpnFlag(text.at(end)) == cls)
        ++end;
    if (cls == 3) {
        while (end < n && JpnFlag(text.at(end)) == 1 && !isParticle(text.at(end)) &&
               !isTwoCharacterParticle(text.at(end), at(text, end + 1)))
            ++end;
    }
    return text.mid(start, end - start);
}

QString paragraphAt(const QString &text, int pos, int *startOut)
{
    const int n = int(text.size());
    if (startOut)
        *startOut = 0;
    if (n == 0)
        return {};
    pos = std::clamp(pos, 0, n);
    int start = std::min(pos, n - 1);
    while (start > 0 && text.at(start) != u'\n')
        --start;
    int end = pos;
    while (end < n && text.at(end) != u'\r')
        ++end;
    if (startOut)
        *startOut = start;
    return text.mid(start, std::min(end + 1, n) - start);
}

QString englishFrom(const QString &text, int pos)
{
    QString out;
    for (int i = std::max(pos, 0); i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (isEnglishLetter(ch) || in(ch, u" -,\"'_$") || (ch >= u'0' && ch <= u'9'))
            out += ch;
        else if (ch == u'.')
            out += u':';
        else
            break;
    }
    return out;
}

} // namespace reading
