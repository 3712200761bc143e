#include "lookup/normalize.h"

#include "codepage/codepage.h"

#include <iterator>

namespace lookup {
namespace {

bool inRange(char16_t c, char16_t first, char16_t last)
{
    return c >= first && c <= last;
}

// Full-width forms of the half-width katakana block U+FF61 to U+FF9F.
constexpr char16_t HalfKanaToFull[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, // ｡｢｣､･ｦｧｨ
    0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, // ｩｪｫｬｭｮｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, // ｱｲｳｴｵｶｷｸ
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, // ｹｺｻｼｽｾｿﾀ
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA, // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,         // ﾙﾚﾛﾜﾝﾞﾟ
};
static_assert(std::size(HalfKanaToFull) == 0xFF9F - 0xFF61 + 1);

constexpr char16_t VoicedMark = 0xFF9E;
constexpr char16_t SemiVoicedMark = 0xFF9F;

// The kana that a voiced sound mark turns into its voiced form (the voiced
// form is the next code point), and the one exception ウ → ヴ.
bool takesVoicedMark(char16_t kana)
{
    // The small ッ lies among them but has no voiced form (the code after it
    // is ツ).
    return (inRange(kana, 0x30AB, 0x30C8) && kana != 0x30C3) || inRange(kana, 0x30CF, 0x30DB);
}

bool takesSemiVoicedMark(char16_t kana)
{
    return inRange(kana, 0x30CF, 0x30DB);
}

// Full-width form of one ASCII or Latin-1 character, 0 when it has none.
char16_t fullWidthOf(char16_t c)
{
    switch (c) {
    case u' ': return 0x3000;
    case u'\'': return 0x2019; // ’, which ZenToHan narrows back
    case u'"': return 0x201D;  // ”
    case u'\\': return 0xFFE5; // the yen sign that code page 932 shows for 0x5C
    case 0x00A2: return 0xFFE0;
    case 0x00A3: return 0xFFE1;
    case 0x00A5: return 0xFFE5;
    case 0x00AC: return 0xFFE2;
    default: break;
    }
    if (inRange(c, 0x21, 0x7E))
        return char16_t(c - 0x21 + 0xFF01);
    return 0;
}

} // namespace

bool CheckEng(QStringView str)
{
    for (QChar qc : str) {
        const char16_t c = qc.unicode();
        const bool english = inRange(c, u'a', u'z') || inRange(c, u'A', u'Z') || inRange(c, 0xFF41, 0xFF5A) ||
                             inRange(c, 0xFF21, 0xFF3A) || c == u' ' || c == 0x3000 || c == u',' || c == u'.' ||
                             c == u'-' || c == u'_' || c == u'\'' || c == 0xFF0C || c == 0xFF0E || c == 0xFF0D ||
                             c == 0x2019;
        if (!english)
            return false;
    }
    return true;
}

QString ZenToHan(QStringView str)
{
    QString out = str.toString();
    for (QChar &qc : out) {
        const char16_t c = qc.unicode();
        if (inRange(c, 0xFF21, 0xFF3A) || inRange(c, 0xFF41, 0xFF5A))
            qc = QChar(char16_t(c - 0xFF01 + 0x21));
        else if (c == 0x3000)
            qc = u' ';
        else if (c == 0xFF0E)
            qc = u'.';
        else if (c == 0xFF0C)
            qc = u',';
        else if (c == 0xFF0D)
            qc = u'-';
        else if (c == 0x2019)
            qc = u'\'';
    }
    return out;
}

QString Hkana2Zkana(QStringView str)
{
    bool hasHalfKana = false;
    for (QChar qc : str)
        if (inRange(qc.unicode(), 0xFF67, 0xFF9D)) {
            hasHalfKana = true;
            break;
        }
    if (!hasHalfKana)
        return str.toString();

    QString out;
    out.reserve(str.size());
    for (qsizetype i = 0; i < str.size(); ++i) {
        const char16_t c = str[i].unicode();
        if (inRange(c, 0xFF61, 0xFF9F)) {
            char16_t kana = HalfKanaToFull[c - 0xFF61];
            const char16_t next = i + 1 < str.size() ? str[i + 1].unicode() : 0;
            if (next == VoicedMark && takesVoicedMark(kana)) {
                kana = char16_t(kana + 1);
                ++i;
            } else if (next == VoicedMark && kana == 0x30A6) { // ウ + ﾞ
                kana = 0x30F4;
                ++i;
            } else if (next == SemiVoicedMark && takesSemiVoicedMark(kana)) {
                kana = char16_t(kana + 2);
                ++i;
            }
            out.append(QChar(kana));
        } else if (const char16_t wide = fullWidthOf(c)) {
            out.append(QChar(wide));
        } else {
            out.append(QChar(c));
        }
    }
    return out;
}

int EngFlag(QChar ch)
{
    const char16_t c = ch.unicode();
    if (inRange(c, u'a', u'z') || inRange(c, u'A', u'Z') || inRange(c, 0xFF21, 0xFF3A) || inRange(c, 0xFF41, 0xFF5A))
        return 1;
    if (c == u'-' || c == 0xFF0D || c == u'_' || c == u'\'' || c == 0x2019)
        return 2;
    return 0;
}

int JpnFlag(QChar ch)
{
    // The bounds are the codes of 亜 and 黑; codes and bounds compare as
    // signed 16-bit values.
    static const qint16 first = qint16(codepage::cp932Code(U'亜'));
    static const qint16 last = qint16(codepage::cp932Code(U'黑'));
    const char16_t c = ch.unicode();
    int flag = 0;
    if (c == u' ' || c == 0x3000 || c == u'を' || c == u'ヲ')
        flag = 0;
    else if (inRange(c, u'ぁ', u'ん'))
        flag = 1;
    else if (inRange(c, u'ァ', u'ヶ') || c == u'ー')
        flag = 2;
    const int code = codepage::cp932Code(c);
    if (code > 0xFF) {
        const qint16 signedCode = qint16(quint16(code));
        if (signedCode >= first && signedCode <= last)
            flag = 3;
    }
    return flag;
}

QString hira2kana(QStringView str)
{
    for (QChar c : str)
        if (EngFlag(c) != 0 || JpnFlag(c) == 3)
            return QString();
    QString out = str.toString();
    for (QChar &qc : out) {
        const char16_t c = qc.unicode();
        if (inRange(c, 0x3041, 0x3096) || c == 0x309D || c == 0x309E)
            qc = QChar(char16_t(c + 0x60));
    }
    return out;
}

QString CutTxt(const QString &str)
{
    return str.size() > 5 ? str.left(str.size() - 4) : str;
}

QStringView trimSpaces(QStringView str)
{
    qsizetype b = 0;
    qsizetype e = str.size();
    while (b < e && str[b] == u' ')
        ++b;
    while (e > b && str[e - 1] == u' ')
        --e;
    return str.sliced(b, e - b);
}

QStringView trimWordSpaces(QStringView str)
{
    auto blank = [](QChar c) { return c == u' ' || c == u'\u3000'; };
    qsizetype b = 0;
    qsizetype e = str.size();
    while (b < e && blank(str[b]))
        ++b;
    while (e > b && blank(str[e - 1]))
        --e;
    return str.sliced(b, e - b);
}

QString englishQueryKey(QStringView word)
{
    return ZenToHan(trimWordSpaces(word).toString().toLower());
}

QString japaneseQueryKey(QStringView word)
{
    const QString wide = Hkana2Zkana(trimWordSpaces(word));
    return ZenToHan(trimWordSpaces(wide).toString().toLower());
}

} // namespace lookup
