#pragma once
// Builds the two dictionary files from EDICT entries: Japanese-English lines
// under each word's written form and under its reading, English-Japanese
// lines under each English gloss. Every line is "■headword : body" in
// Shift-JIS; each file is sorted by EntryKey under cStrComp (among lines of
// one key, common words first, then English headwords that are the first
// gloss of their entry, then EDICT's order), so the same input always gives
// the same bytes.

#include "edict.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace dictbuild {

inline constexpr char JapaneseEnglishFile[] = "waei.dic";
inline constexpr char EnglishJapaneseFile[] = "wordmere.dic";
inline constexpr char AttributionFile[] = "EDICT-COPYRIGHT.txt";
// Lines kept for one EntryKey: what one lookup can gather.
inline constexpr int MaxLinesPerKey = 1001;

enum Direction { JapaneseEnglish = 0, EnglishJapanese = 1 };

struct Counts {
    int edictLines = 0;            // entry lines read (without the header)
    int entries = 0;               // of them, entries taken apart
    int malformed = 0;             // lines that are no entry
    int markerHeadwords = 0;       // entries dropped: the written form or reading holds ■, ● or :
    int glossesReplaced = 0;       // glosses whose ":", "●" or "■" were replaced
    int unholdable[2] = {};        // lines dropped: characters code page 932 cannot hold
    int duplicates[2] = {};        // lines dropped: the same line again
    int overLimit[2] = {};         // lines dropped: more than MaxLinesPerKey for one key
    int variantForms = 0;          // entries of an out-dated or irregular spelling or reading: no
                                   // English-Japanese lines (the entry of the usual form gives them)
    int variantLinesShortened = 0; // their lines under the usual form's headword, without the glosses
    int readingsJoined = 0;        // English-Japanese lines that differed only in the reading, joined
    int written[2] = {};           // lines in the files
};

class Builder {
public:
    // Takes one line of the EDICT file (without its line end), in EUC-JP
    // unless setInputUtf8(true) was called.
    void addEdictLine(QByteArrayView line);
    void setInputUtf8(bool utf8) { utf8_ = utf8; }
    // Takes one entry (for tests, and from addEdictLine).
    void add(const edict::Entry &entry);
    // Sorts both directions and drops what a lookup could not use.
    void finish();

    // The bytes of a file (after finish()): Shift-JIS lines ending in CR LF.
    QByteArray fileBytes(Direction d) const;
    const Counts &counts() const { return counts_; }
    // The header line of the EDICT file, which names its copyright holder and date.
    QString edictHeader() const { return header_; }

    // The lines an entry gives, as text.
    static QStringList japaneseLines(const edict::Entry &entry);
    struct EnglishLine {
        QString text;
        bool primary; // from the first gloss of the entry
        // The line is head + "{reading}" + tail; lines that differ only in
        // the reading are written once, with the readings joined by "・".
        // An empty reading: a word written in kana only.
        QString head;
        QString reading;
        QString tail;
        int rank = 0; // lower first among the lines of one headword
    };
    static QList<EnglishLine> englishLines(const edict::Entry &entry);
    // True when EDICT marks the entry's written form or reading as out-dated
    // or irregular ((ok), (oK), (ik), (iK), (io)). Such an entry repeats the
    // glosses of the usual form's entry.
    static bool isVariantForm(const edict::Entry &entry);
    static bool isVariantTag(const QString &tag);
    // The label a gloss gets in English-Japanese headwords ("名", "動" ...),
    // empty when its parts of speech have none.
    static QString posLabel(const QStringList &pos, bool glossStartsWithTo);

private:
    struct Line {
        QByteArray key;
        QByteArray bytes;
        int rank; // lower first among lines of one key
        qint64 seq;
    };
    // Index of the new line in lines_[d], -1 when it was dropped.
    qsizetype addLine(Direction d, const QString &text, int rank);
    void addEnglishLine(const EnglishLine &line, int rank);

    std::vector<Line> lines_[2];
    QSet<QByteArray> seen_[2];
    struct Readings {
        qsizetype index; // in lines_[EnglishJapanese]
        QStringList readings;
    };
    QHash<QString, Readings> englishReadings_; // by head + tail
    // Written forms and readings of the entries that are no variant form.
    QSet<QString> mainForms_;
    struct VariantLine {
        QString sharedForm; // the headword shared with the usual form
        QString fullLine;
        QString shortLine;
        int rank;
    };
    std::vector<VariantLine> variantLines_;
    Counts counts_;
    QString header_;
    qint64 seq_ = 0;
    bool headerSeen_ = false;
    bool utf8_ = false;
};

// The attribution and licence text written beside the dictionary files.
QString attributionText(const QString &edictHeader);

} // namespace dictbuild
