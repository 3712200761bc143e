// How kanji are heard: for 20 English and 20 Japanese words looked up in
// the dictionary, every entry line that gives a reading is written into a
// result pane as the window writes it (readings hidden, as by default) and
// converted as the speech-dispatcher back end converts what it is handed.
// Counted twice: as the pane's text alone (MeCab guesses every kanji) and
// with the readings the entry gives its words (what the program speaks).
//
//   bench_readings [--dict DIR] [--show]
//
// A line is "misread" when a reading the dictionary gives for it is not
// heard; a text "holds a kanji" when a kanji would reach the synthesiser,
// which reads it as "Chinese letter". --show prints every misread line.

#include "lookup/dicstrconv.h"
#include "lookup/kensaku.h"
#include "lookup/textpanesink.h"
#include "orrin/kanjireader.h"
#include "orrin/panereadings.h"
#include "orrin/speechtext.h"
#include "orrin/wordreadings.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>

namespace {

const char *const EnglishWords[] = {"money", "eat",  "gold",  "water", "book",   "read", "write",
                                    "house", "time", "day",   "see",   "go",     "come", "person",
                                    "hand",  "big",  "small", "new",   "school", "child"};
const char *const JapaneseWords[] = {"金",     "日本", "学校", "先生", "水",   "本",     "食べる",
                                     "見る",   "行く", "来る", "人",   "手",   "大きい", "小さい",
                                     "新しい", "車",   "時間", "家",   "今日", "かね"};

// What the back end hands the synthesiser for one text (see speechdsession.cpp).
QStringList synthesised(const QString &text, const KanjiReader &reader)
{
    QStringList out;
    for (const speechtext::Run &run : speechtext::runs(speechtext::cleaned(wordreadings::spoken(text)))) {
        if (run.language == u"ja")
            out << reader.toReadings(speechtext::withPauses(speechtext::withTagWords(run.text)));
        else
            out << run.text;
    }
    return out;
}

struct Counts {
    int lines = 0;   // lines that give a reading
    int misread = 0; // of them, heard with another reading
    int texts = 0;   // texts handed to the synthesiser
    int kanji = 0;   // of them, holding a kanji
};

void measure(const QString &line, int DicMode, bool withReadings, const KanjiReader &reader, Counts &c, bool show)
{
    const QList<wordreadings::Reading> readings = wordreadings::fromDictionaryLine(line);
    if (readings.isEmpty())
        return;
    QTextEdit pane;
    lookup::TextPaneSink sink(&pane);
    lookup::LookupState state;
    state.DicMode = DicMode;
    state.DicKana = true;
    state.record.HitLines = {line};
    lookup::DicStrConv(state, sink);
    // Each pane line is one text, as a line read aloud is.
    QString heard;
    const QTextDocument *doc = pane.document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.text().trimmed().isEmpty())
            continue;
        const QString text =
            withReadings ? panereadings::annotatedRange(doc, b.position(), b.position() + b.length() - 1) : b.text();
        for (const QString &t : synthesised(text, reader)) {
            ++c.texts;
            if (speechtext::containsKanji(t))
                ++c.kanji;
            heard += t + u' ';
        }
    }
    ++c.lines;
    const QString heardKana = wordreadings::toHiragana(heard);
    qsizetype at = 0;
    for (const wordreadings::Reading &r : readings) {
        at = heardKana.indexOf(wordreadings::toHiragana(r.reading), at);
        if (at < 0) {
            ++c.misread;
            if (show)
                std::printf("  %s: %s -> %s\n", withReadings ? "with readings" : "pane text", qPrintable(line),
                            qPrintable(heard));
            return;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString dict = QCoreApplication::applicationDirPath();
    bool show = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--dict" && i + 1 < args.size())
            dict = args[++i];
        else if (args[i] == u"--show")
            show = true;
    }
    QString error;
    const std::unique_ptr<KanjiReader> reader = KanjiReader::load({}, &error);
    if (!reader) {
        std::fprintf(stderr, "MeCab could not be loaded: %s\n", qPrintable(error));
        return 1;
    }

    Counts before, after;
    int words = 0, found = 0;
    lookup::LookupState state;
    state.FilePath = dict;
    lookup::KensakuHost host;
    const auto run = [&](const char *word) {
        ++words;
        QString w = QString::fromUtf8(word);
        host.setText1(w);
        lookup::LookupEngine engine(state, host, nullptr, nullptr);
        if (!engine.Kensaku(w, false))
            return;
        ++found;
        for (const QString &line : std::as_const(state.record.HitLines)) {
            measure(line, state.DicMode, false, *reader, before, show);
            measure(line, state.DicMode, true, *reader, after, show);
        }
    };
    for (const char *w : EnglishWords)
        run(w);
    for (const char *w : JapaneseWords)
        run(w);

    std::printf("kanji heard for %d words (%d found) in %s\n", words, found, qPrintable(dict));
    std::printf("  entry lines that give a reading: %d\n", after.lines);
    std::printf("  pane text only (MeCab):  %d lines misread, %d of %d texts hold a kanji\n", before.misread,
                before.kanji, before.texts);
    std::printf("  with the entry readings: %d lines misread, %d of %d texts hold a kanji\n", after.misread,
                after.kanji, after.texts);
    return found == 0 ? 1 : 0;
}
