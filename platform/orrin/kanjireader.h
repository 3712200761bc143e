#pragma once
// Kanji readings for voices that cannot read kanji (espeak-ng reads each one
// as "Chinese letter"). MeCab splits the text into words; every word that
// holds a kanji is replaced by its reading in katakana, and everything else
// (kana, punctuation, Latin text, white space) is kept as it is:
// 林檎を食べる。 becomes リンゴをタベル。 A kanji MeCab has no reading for,
// even on its own, is left out: the voice could only call it a "Chinese
// letter".
//
// MeCab is loaded at run time, so a machine without it still speaks, only
// without the readings. One reader must be used by one thread at a time.

#include <QString>

#include <memory>

class KanjiReader {
public:
    // Loads MeCab with the IPA dictionary (UTF-8) found in `dictionaryDir`, or
    // in the usual places when it is empty. Returns nullptr, with the reason
    // in `error`, when MeCab or the dictionary cannot be loaded.
    static std::unique_ptr<KanjiReader> load(const QString &dictionaryDir = {}, QString *error = nullptr);
    ~KanjiReader();

    // The text with every word that holds a kanji replaced by its reading.
    // Words MeCab has no reading for stay as they are.
    QString toReadings(const QString &text) const;

    // Whether speech should get readings: WORDLAMP_KANJI_READINGS "0", "off"
    // or "false" turns them off and "1", "on" or "true" on; otherwise they
    // are on unless the speech module reads kanji itself (Open JTalk).
    static bool wanted(const QString &setting, const QString &outputModule);

    KanjiReader(const KanjiReader &) = delete;
    KanjiReader &operator=(const KanjiReader &) = delete;

private:
    struct Api;
    KanjiReader(std::unique_ptr<Api> api, void *tagger);
    QString convertLine(const QString &line) const;
    QString characterReadings(const QString &word) const;

    std::unique_ptr<Api> api_;
    void *tagger_;
};
