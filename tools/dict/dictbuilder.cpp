#include "dictbuilder.h"

#include "codepage/codepage.h"
#include "lookup/entrykey.h"
#include "lookup/normalize.h"
#include "orrin/orrinsupport.h"
#include "tagnames.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace dictbuild {
namespace {

// Characters that would break the line format: ":" starts a new part of the
// body, "●" breaks a line, "■" marks a line start. In text they become the
// full-width colon, a white circle and a white square.
bool needsReplacing(const QString &text)
{
    return text.contains(u':') || text.contains(u'●') || text.contains(u'■');
}

QString safeText(QString text)
{
    text.replace(u':', u'：');
    text.replace(u'●', u'○');
    text.replace(u'■', u'□');
    return text;
}

// Full-width digits as ASCII ones.
QString narrowDigits(QString text)
{
    for (QChar &c : text)
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            c = QChar(char16_t(c.unicode() - 0xFF10 + u'0'));
    return text;
}

// A headword as the query normalisation will meet it: half-width kana
// widened, full-width Latin letters and punctuation narrowed; in a word with
// a Latin letter the digits too ("３Ｄ" is typed as 3D).
QString headwordText(const QString &word)
{
    const QString text = lookup::ZenToHan(lookup::Hkana2Zkana(word));
    const bool latin = std::any_of(text.begin(), text.end(),
                                   [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); });
    return latin ? narrowDigits(text) : text;
}

bool isVerb(const QString &tag)
{
    return tag.startsWith(u'v') && tag != u"vi" && tag != u"vt";
}

QString labelOf(const QString &tag)
{
    if (isVerb(tag))
        return QStringLiteral("動");
    if (tag == u"pn")
        return QStringLiteral("代");
    if (tag == u"n" || tag.startsWith(u"n-"))
        return QStringLiteral("名");
    if (tag.startsWith(u"adj"))
        return QStringLiteral("形");
    if (tag.startsWith(u"adv"))
        return QStringLiteral("副");
    if (tag == u"int")
        return QStringLiteral("感");
    if (tag == u"conj")
        return QStringLiteral("接");
    if (tag == u"prt")
        return QStringLiteral("助");
    if (tag == u"ctr")
        return QStringLiteral("助数");
    if (tag == u"pref")
        return QStringLiteral("接頭");
    if (tag == u"suf")
        return QStringLiteral("接尾");
    if (tag.startsWith(u"aux") || tag.startsWith(u"cop"))
        return QStringLiteral("助動");
    if (tag == u"num")
        return QStringLiteral("数");
    if (tag == u"exp")
        return QStringLiteral("句");
    return QString();
}

// Splits a closing parenthetical note off a gloss: "Japan (country)" gives
// "Japan" and "country". False when the gloss does not end in one.
bool splitNote(const QString &text, QString *head, QString *note)
{
    if (!text.endsWith(u')'))
        return false;
    int depth = 0;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i] == u')')
            ++depth;
        else if (text[i] == u'(' && --depth == 0) {
            if (i < 2 || text[i - 1] != u' ')
                return false;
            *head = text.left(i - 1).trimmed();
            *note = text.mid(i + 1, text.size() - i - 2).trimmed();
            return !head->isEmpty();
        }
    }
    return false;
}

} // namespace

QString Builder::posLabel(const QStringList &pos, bool glossStartsWithTo)
{
    if (glossStartsWithTo)
        for (const QString &tag : pos)
            if (isVerb(tag))
                return QStringLiteral("動");
    for (const QString &tag : pos) {
        const QString label = labelOf(tag);
        if (!label.isEmpty())
            return label;
    }
    return QString();
}

bool Builder::isVariantTag(const QString &tag)
{
    return tag == u"ok" || tag == u"oK" || tag == u"ik" || tag == u"iK" || tag == u"io";
}

bool Builder::isVariantForm(const edict::Entry &entry)
{
    if (entry.senses.isEmpty() || entry.senses.first().glosses.isEmpty())
        return false;
    const QStringList tags = edict::splitTags(entry.senses.first().glosses.first()).tags;
    return std::any_of(tags.begin(), tags.end(), isVariantTag);
}

QStringList Builder::japaneseLines(const edict::Entry &entry)
{
    QStringList senses;
    for (const edict::Sense &s : entry.senses) {
        QStringList glosses;
        for (const QString &g : s.glosses)
            glosses.append(safeText(withLanguageNames(withJapaneseTags(g))));
        senses.append(glosses.join(QStringLiteral("; ")));
    }
    const QString body = senses.join(u'●');
    const QString reading = headwordText(entry.reading);
    if (entry.written.isEmpty())
        return {QStringLiteral("■%1 : %2").arg(reading, body)};
    const QString written = headwordText(entry.written);
    return {QStringLiteral("■%1 {%2} : %3").arg(written, reading, body),
            QStringLiteral("■%1 {%2} : %3").arg(reading, written, body)};
}

// The text of a parenthesised group that opens `text` ("(regular) screw"
// gives "regular" and leaves "screw"); false when `text` does not open with
// one or holds nothing after it.
bool splitLeadingNote(QString &text, QString *note)
{
    if (!text.startsWith(u'('))
        return false;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'(')
            ++depth;
        else if (text[i] == u')' && --depth == 0) {
            const QString rest = text.mid(i + 1).trimmed();
            if (rest.isEmpty())
                return false;
            *note = text.mid(1, i - 1).trimmed();
            text = rest;
            return true;
        }
    }
    return false;
}

QList<Builder::EnglishLine> Builder::englishLines(const edict::Entry &entry)
{
    const bool kanaOnly = entry.written.isEmpty();
    QList<EnglishLine> lines;
    bool first = true;
    for (qsizetype si = 0; si < entry.senses.size(); ++si) {
        const edict::Sense &s = entry.senses[si];
        // The register of the sense: its tags stand on its first gloss.
        QStringList senseTags;
        for (const QString &gloss : s.glosses)
            senseTags += edict::splitTags(gloss).tags;
        const bool marked = std::any_of(senseTags.begin(), senseTags.end(), isMarkedRegister);
        for (qsizetype gi = 0; gi < s.glosses.size(); ++gi) {
            const bool primary = first;
            first = false;
            const edict::Gloss split = edict::splitTags(s.glosses[gi]);
            // Notes come out of the headword into the body, so that the key is
            // the word as it is typed: dialects, notes before the word
            // ("(tradem) Frappuccino") and after it, the word's origin.
            QStringList notes;
            for (const QString &tag : split.tags)
                if (isDialectTag(tag))
                    notes.append(tagName(tag));
            QString key = safeText(withLanguageNames(split.text));
            QString note;
            while (splitLeadingNote(key, &note))
                notes.append(note);
            QStringList trailing;
            QString head;
            while (splitNote(key, &head, &note)) {
                trailing.prepend(note);
                key = head;
            }
            notes += trailing;
            const bool startsWithTo = key.startsWith(QStringLiteral("to ")) && key.size() > 3;
            const QString label = posLabel(s.pos, startsWithTo);
            if (label == u"動" && startsWithTo) {
                key = key.mid(3);
                while (splitLeadingNote(key, &note)) // "to (add a) border"
                    notes.insert(notes.size() - trailing.size(), note);
            }
            key = narrowDigits(lookup::ZenToHan(key)).trimmed();
            // A gloss that is a note and nothing else names no word to type.
            if (key.isEmpty() || key.startsWith(u'('))
                continue;
            QString lineHead = u'■' + key;
            if (!label.isEmpty())
                lineHead += QStringLiteral(" {") + label + u'}';
            lineHead += QStringLiteral(" : ") + (kanaOnly ? entry.reading : entry.written);
            const QString reading = kanaOnly ? QString() : entry.reading;
            QString tail;
            for (const QString &n : std::as_const(notes))
                tail += QStringLiteral(" (") + n + u')';
            const QString lineText = reading.isEmpty() ? lineHead + tail : lineHead + u'{' + reading + u'}' + tail;
            // Among the lines of one headword: common words first, then words
            // of no special register, without a note, from the first sense,
            // as the first gloss of their sense; then a basic word before a
            // special one: it has many senses, and few glosses in the sense
            // that names the headword.
            const int basic = int(std::clamp<qsizetype>(entry.senses.size() - s.glosses.size(), -31, 31));
            const int rank = (entry.common ? 0 : 1 << 16) | (marked ? 1 << 15 : 0) | (notes.isEmpty() ? 0 : 1 << 14) |
                             (si > 0 ? 1 << 13 : 0) | (gi > 0 ? 1 << 12 : 0) | (31 - basic);
            lines.append({lineText, primary, lineHead, reading, tail, rank});
        }
    }
    return lines;
}

void Builder::addEdictLine(QByteArrayView raw)
{
    if (raw.endsWith('\r'))
        raw.chop(1);
    if (raw.trimmed().isEmpty())
        return;
    // Characters the code page cannot hold come out as U+FFFD; the lines
    // that contain them are dropped when they are encoded.
    QString line = utf8_ ? edict::fromUtf8(raw) : edict::decodeEucJp(raw);
    // A control character (a CR inside the line, a tab) would end up inside a
    // dictionary line: it is a space.
    for (QChar &ch : line)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            ch = u' ';
    if (!headerSeen_ && edict::isHeaderLine(line)) {
        headerSeen_ = true;
        header_ = line;
        return;
    }
    headerSeen_ = true;
    ++counts_.edictLines;
    const std::optional<edict::Entry> entry = edict::parseLine(line);
    if (!entry) {
        ++counts_.malformed;
        return;
    }
    add(*entry);
}

void Builder::add(const edict::Entry &entry)
{
    ++counts_.entries;
    for (const QString &form : {entry.written, entry.reading})
        if (needsReplacing(form)) {
            ++counts_.markerHeadwords;
            return;
        }
    for (const edict::Sense &s : entry.senses)
        for (const QString &g : s.glosses)
            if (needsReplacing(g))
                ++counts_.glossesReplaced;
    const int common = entry.common ? 0 : 1 << 16;
    const QStringList japanese = japaneseLines(entry);
    if (!isVariantForm(entry)) {
        mainForms_.insert(entry.written);
        mainForms_.insert(entry.reading);
        for (const QString &line : japanese)
            addLine(JapaneseEnglish, line, common);
    } else {
        // The old or irregular form keeps its entry under its own headword.
        // Under the headword it shares with the usual form (林檎 for the old
        // reading りゅうごう, りんご for the irregular spelling 林語) it gets one
        // short line, when the usual form has an entry that gives the glosses:
        // which is known only when all entries are in (finish()).
        ++counts_.variantForms;
        if (entry.written.isEmpty()) {
            addLine(JapaneseEnglish, japanese.first(), common);
        } else {
            const QStringList tags = edict::splitTags(entry.senses.first().glosses.first()).tags;
            const bool readingVariant = tags.contains(QStringLiteral("ok")) || tags.contains(QStringLiteral("ik"));
            const int shared = readingVariant ? 0 : 1; // the line under the written form, or under the reading
            addLine(JapaneseEnglish, japanese[1 - shared], common);
            QStringList names;
            for (const QString &tag : tags)
                if (isVariantTag(tag) && !names.contains(tagName(tag)))
                    names.append(tagName(tag));
            const QString head = japanese[shared].left(japanese[shared].indexOf(QStringLiteral(" : ")));
            variantLines_.push_back({readingVariant ? entry.written : entry.reading, japanese[shared],
                                     head + QStringLiteral(" : (") + names.join(u'・') + u')', common});
        }
        // Under an English headword it would only repeat the usual form
        // ("apple: 林檎 (fruit)" once for every old reading of 林檎).
        return;
    }
    for (const EnglishLine &line : englishLines(entry))
        addEnglishLine(line, line.rank);
}

// One word written the same way with several readings (苹果 is ひょうか, へいか
// and りんご) gives one line under an English headword: "苹果{ひょうか・へいか・りんご}".
// Read without its readings, the line would otherwise be heard once per reading.
void Builder::addEnglishLine(const EnglishLine &line, int rank)
{
    if (line.reading.isEmpty()) {
        addLine(EnglishJapanese, line.text, rank);
        return;
    }
    const QString group = line.head + u'\x1f' + line.tail;
    const auto it = englishReadings_.find(group);
    if (it == englishReadings_.end()) {
        const qsizetype index = addLine(EnglishJapanese, line.text, rank);
        if (index >= 0)
            englishReadings_.insert(group, {index, {line.reading}});
        return;
    }
    if (it->readings.contains(line.reading)) {
        ++counts_.duplicates[EnglishJapanese];
        return;
    }
    const QStringList readings = it->readings + QStringList{line.reading};
    const codepage::Encoded e = codepage::toCp932(line.head + u'{' + readings.join(u'・') + u'}' + line.tail);
    if (!e.ok()) { // this reading has a character the code page lacks; the others stay
        ++counts_.unholdable[EnglishJapanese];
        return;
    }
    Line &merged = lines_[EnglishJapanese][std::size_t(it->index)];
    merged.bytes = e.bytes;
    merged.rank = std::min(merged.rank, rank);
    it->readings = readings;
    ++counts_.readingsJoined;
}

qsizetype Builder::addLine(Direction d, const QString &text, int rank)
{
    const codepage::Encoded e = codepage::toCp932(text);
    if (!e.ok()) { // U+FFFD from the decoding, or anything else the code page lacks
        ++counts_.unholdable[d];
        return -1;
    }
    if (seen_[d].contains(e.bytes)) {
        ++counts_.duplicates[d];
        return -1;
    }
    seen_[d].insert(e.bytes);
    Line line{QByteArray(), e.bytes, rank, seq_++};
    if (lookup::EntryKeyBytes::ofLine(line.bytes, line.key) != lookup::EntryKeyBytes::Status::Ok)
        return -1; // cannot happen: every line is built with " : "
    lines_[d].push_back(std::move(line));
    return qsizetype(lines_[d].size()) - 1;
}

void Builder::finish()
{
    for (const VariantLine &v : variantLines_) {
        if (mainForms_.contains(v.sharedForm)) {
            if (addLine(JapaneseEnglish, v.shortLine, v.rank | 1 << 17) >= 0)
                ++counts_.variantLinesShortened;
        } else {
            addLine(JapaneseEnglish, v.fullLine, v.rank);
        }
    }
    variantLines_.clear();
    mainForms_.clear();
    for (int d = 0; d < 2; ++d) {
        std::vector<Line> &lines = lines_[d];
        std::sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) {
            const int c = cStrComp(a.key, b.key);
            if (c != 0)
                return c < 0;
            if (a.rank != b.rank)
                return a.rank < b.rank;
            return a.seq < b.seq;
        });
        // At most MaxLinesPerKey lines of one key.
        std::vector<Line> kept;
        kept.reserve(lines.size());
        qsizetype run = 0;
        QByteArray runKey;
        for (Line &line : lines) {
            if (run > 0 && line.key == runKey) {
                ++run;
            } else {
                run = 1;
                runKey = line.key;
            }
            if (run > MaxLinesPerKey) {
                ++counts_.overLimit[d];
                continue;
            }
            kept.push_back(std::move(line));
        }
        lines = std::move(kept);
        counts_.written[d] = int(lines.size());
        seen_[d].clear();
    }
    englishReadings_.clear();
}

QByteArray Builder::fileBytes(Direction d) const
{
    qsizetype size = 0;
    for (const Line &l : lines_[d])
        size += l.bytes.size() + 2;
    QByteArray out;
    out.reserve(size);
    for (const Line &l : lines_[d]) {
        out += l.bytes;
        out += "\r\n";
    }
    return out;
}

QString attributionText(const QString &edictHeader)
{
    QFile debian(QStringLiteral(":/wordlamp-dict/edict-copyright.txt"));
    QString copyright;
    if (debian.open(QIODevice::ReadOnly))
        copyright = QString::fromUtf8(debian.readAll());
    QString header = edictHeader;
    header.remove(QStringLiteral("　？？？ /"));
    header.replace(u'/', QStringLiteral("\n  "));
    return QStringLiteral("Wordlamp dictionary files: waei.dic (Japanese-English) and wordmere.dic (English-Japanese)\n"
                          "\n"
                          "These files are made by wordlamp-dict from EDICT, the Japanese-English Electronic\n"
                          "Dictionary File of the Electronic Dictionary Research and Development Group (EDRDG),\n"
                          "as installed by Debian's \"edict\" package (/usr/share/edict/edict). The EDICT file\n"
                          "used says of itself:\n"
                          "  %1\n"
                          "\n"
                          "The entries are EDICT's. wordlamp-dict has rearranged them: every Japanese word is\n"
                          "listed under its written form and under its reading, every English gloss is listed\n"
                          "as an English headword with the Japanese word and its readings in braces (entries\n"
                          "of an out-dated or irregular spelling or reading are listed under the Japanese word\n"
                          "only, and under the usual form's headword by their note alone); the notes of a gloss\n"
                          "follow the Japanese word; EDICT's tags and notes of origin are written in Japanese\n"
                          "(\"(n)\" as \"(名)\", \"(uk)\" as \"(かな書き)\", \"(lat:)\" as \"(ラテン語)\");\n"
                          "colons and the marks ● and ■ in the glosses are written as ：, ○\n"
                          "and □; the text is in Shift-JIS (code page 932). Like EDICT itself, these files\n"
                          "may be used under the Creative Commons Attribution-ShareAlike Licence, version 3.0\n"
                          "(http://creativecommons.org/licenses/by-sa/3.0/), under the terms of the EDRDG\n"
                          "licence statement reproduced below (current version:\n"
                          "https://www.edrdg.org/edrdg/licence.html).\n"
                          "\n"
                          "Debian's copyright file for the edict package follows.\n"
                          "------------------------------------------------------------------------------\n"
                          "%2")
        .arg(header.trimmed(), copyright);
}

} // namespace dictbuild
