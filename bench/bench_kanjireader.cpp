// How long the kanji readings take for one long dictionary entry: the text
// the speech-dispatcher back end converts before a read-all.
//
//   bench_kanjireader [repetitions]

#include "orrin/kanjireader.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 50;

    // An entry as the result pane holds it: headwords, readings in braces,
    // English glosses and Japanese examples, over several lines.
    const QString line =
        QStringLiteral("■閑静 : 閑静{かんせい}な住宅街 a quiet residential area。林檎{りんご}を食べる to eat an apple。"
                       "彼は東京の大学で経済学を勉強している。\n");
    QString entry;
    while (entry.size() < 2000)
        entry += line;
    entry.truncate(2000);

    QElapsedTimer t;
    t.start();
    QString error;
    std::unique_ptr<KanjiReader> reader = KanjiReader::load({}, &error);
    const double loadMs = t.nsecsElapsed() / 1e6;
    if (!reader) {
        std::fprintf(stderr, "MeCab could not be loaded: %s\n", qPrintable(error));
        return 1;
    }

    std::vector<double> ms;
    QString spoken;
    for (int i = 0; i < repetitions; ++i) {
        t.restart();
        spoken = reader->toReadings(entry);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("kanji readings of a %lld-character entry (%lld characters spoken), %d runs\n", qlonglong(entry.size()),
                qlonglong(spoken.size()), repetitions);
    std::printf("  loading MeCab and its dictionary: %.2f ms\n", loadMs);
    std::printf("  converting: min %.2f ms, median %.2f ms, max %.2f ms\n", ms.front(), ms[ms.size() / 2], ms.back());
    return 0;
}
