#include "lookup/dicstrconv.h"

#include "codepage/codepage.h"
#include "lookup/normalize.h"
#include "orrin/orrinsupport.h"

namespace lookup {

EntrySink::~EntrySink() = default;

EntryFormat headwordFormat(bool modeReverse)
{
    return {0, modeReverse ? HeadwordColorReversed : HeadwordColor};
}

EntryFormat bodyFormat(int DicMode, bool modeReverse, double fontPointSize)
{
    const double factor = DicMode == JapaneseEnglish ? 8 : 4;
    return {factor * fontPointSize, modeReverse ? BodyColorReversed : BodyColor};
}

bool isPronunciationLine(const QString &line)
{
    return line.contains(u"【＠】") || line.contains(u"【発音】");
}

namespace {

// The English-Japanese line as displayed: readings removed when DicKana is
// on, and a "■C " line through the screen reader's replacement.
QString englishDisplayLine(const QString &line, bool DicKana)
{
    QString t = DicKana ? codepage::decode(cnvDelKakko(codepage::encode(line))) : line;
    if (t.startsWith(u"■C "))
        t = codepage::decode(cnvStrSafe(codepage::encode(t)));
    return t;
}

} // namespace

void DicStrConv(const LookupState &state, EntrySink &sink)
{
    const PositionRecord &r = state.record;
    const EntryFormat head = headwordFormat(state.modeReverse);
    const EntryFormat body = bodyFormat(state.DicMode, state.modeReverse, sink.fontPointSize());
    for (const QString &line : r.HitLines) {
        EntryFormat format = head;
        QString t;
        if (state.DicMode == EnglishJapanese) {
            if (isPronunciationLine(line))
                continue;
            t = englishDisplayLine(line, state.DicKana);
        } else {
            t = line;
        }
        QString buffer;
        int s = 0; // 1: the previous character was a separator; 2: dropping spaces after one
        for (QChar c : std::as_const(t)) {
            bool drop = false;
            if (s == 1) {
                sink.append(trimSpaces(buffer).toString(), format);
                buffer.clear();
                if (c == u' ')
                    drop = true;
                format = body;
                s = 2;
            } else if (s == 2 && c == u' ') {
                drop = true;
            } else {
                s = 0;
            }
            if (drop)
                continue;
            if (c == u'●') {
                buffer += QStringLiteral("\r\n");
            } else if (c == u'■') {
                // dropped
            } else if (c == u':') {
                buffer += QStringLiteral("\r\n");
                s = 1;
            } else {
                buffer += c;
            }
        }
        sink.append(buffer + QStringLiteral("\r\n"), format);
        sink.annotateLine(wordreadings::fromDictionaryLine(line));
    }
}

} // namespace lookup
