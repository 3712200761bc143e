// Lookup benchmark: 1,000 words sampled (fixed seed) from the dictionary
// built from EDICT, looked up through the engine as typed words, beside a
// plain binary search over the same files (the floor) and Debian's `look` on
// copies of them. Prints median, 99th percentile and worst time per lookup
// and the bytes read per lookup.
//
//   wordlamp-lookupbench [--folder DIR] [--words N] [--seed S] [--no-look]
//
// Every other word is made one that is not in the dictionary (a letter or
// kana added at its end), so found and not-found words are both measured.
//
// DIR defaults to the program's folder, where the `dictionary` target puts
// the files.

#include "binarysearch.h"
#include "lookbaseline.h"

#include "codepage/codepage.h"
#include "lookup/entrykey.h"
#include "lookup/kensaku.h"
#include "lookup/normalize.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

struct Sample {
    QString word;
};

struct Figures {
    QList<qint64> nanos;
    QList<quint64> bytes;
    int found = 0;
};

template <typename T> T percentile(QList<T> values, double p)
{
    if (values.isEmpty())
        return T();
    std::sort(values.begin(), values.end());
    const qsizetype i = std::min<qsizetype>(values.size() - 1, qsizetype(p * double(values.size() - 1) + 0.5));
    return values[i];
}

void print(const char *name, const Figures &f)
{
    if (f.nanos.isEmpty()) {
        std::printf("%-24s (not run)\n", name);
        return;
    }
    std::printf("%-24s %9.1f %9.1f %9.1f   %8.1f %8.1f %8.1f   %5d\n", name, percentile(f.nanos, 0.5) / 1000.0,
                percentile(f.nanos, 0.99) / 1000.0, *std::max_element(f.nanos.begin(), f.nanos.end()) / 1000.0,
                percentile(f.bytes, 0.5) / 1024.0, percentile(f.bytes, 0.99) / 1024.0,
                *std::max_element(f.bytes.begin(), f.bytes.end()) / 1024.0, f.found);
}

QList<qint64> lineStarts(const QByteArray &data)
{
    QList<qint64> starts;
    qint64 pos = 0;
    while (pos < data.size()) {
        starts.append(pos);
        const qint64 lf = data.indexOf('\n', pos);
        if (lf < 0)
            break;
        pos = lf + 1;
    }
    return starts;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Benchmarks dictionary lookups."));
    parser.addHelpOption();
    const QCommandLineOption folderOpt(QStringLiteral("folder"), QStringLiteral("Dictionary folder."),
                                       QStringLiteral("DIR"), QCoreApplication::applicationDirPath());
    const QCommandLineOption wordsOpt(QStringLiteral("words"), QStringLiteral("Number of words."), QStringLiteral("N"),
                                      QStringLiteral("1000"));
    const QCommandLineOption seedOpt(QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("S"),
                                     QStringLiteral("20240607"));
    const QCommandLineOption noLookOpt(QStringLiteral("no-look"), QStringLiteral("Leave out the runs of look."));
    parser.addOptions({folderOpt, wordsOpt, seedOpt, noLookOpt});
    parser.process(app);
    const QString folder = parser.value(folderOpt);
    const int count = parser.value(wordsOpt).toInt();
    const quint32 seed = parser.value(seedOpt).toUInt();

    // The two files and their lines.
    const QString files[2] = {QDir(folder).filePath(QStringLiteral("wordmere.dic")),
                              QDir(folder).filePath(QStringLiteral("waei.dic"))};
    QByteArray data[2];
    QList<qint64> starts[2];
    for (int i = 0; i < 2; ++i) {
        QFile f(files[i]);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr,
                         "cannot read %s: build the dictionary first (cmake --build <dir> --target dictionary)\n",
                         qPrintable(files[i]));
            return 1;
        }
        data[i] = f.readAll();
        starts[i] = lineStarts(data[i]);
    }

    // The words: EntryKeys of lines drawn uniformly from both files, typed as
    // they are (their direction is decided from their characters, as always).
    QRandomGenerator rng(seed);
    const qint64 total = starts[0].size() + starts[1].size();
    QList<Sample> samples;
    while (samples.size() < count) {
        qint64 n = qint64(rng.bounded(quint64(total)));
        const int file = n < starts[0].size() ? 0 : 1;
        if (file == 1)
            n -= starts[0].size();
        const qint64 s = starts[file][n];
        const qint64 e = data[file].indexOf('\n', s);
        QByteArray line = data[file].mid(s, e - s);
        if (line.endsWith('\r'))
            line.chop(1);
        const std::optional<QString> key = lookup::GetTango(codepage::decode(line));
        if (!key || lookup::trimSpaces(*key).isEmpty())
            continue;
        // Every other word is one that is not there: the key with a letter
        // (or, for a Japanese word, a kana) more, which sorts right after it.
        if (samples.size() % 2 == 1)
            samples.append({*key + (lookup::CheckEng(*key) ? QStringLiteral("q") : QStringLiteral("ゑ"))});
        else
            samples.append({*key});
    }

    std::printf("Lookup benchmark: %d words (seed %u) from %s\n", count, seed, qPrintable(folder));
    std::printf("  wordmere.dic %lld lines, %.1f MB; waei.dic %lld lines, %.1f MB\n", qint64(starts[0].size()),
                data[0].size() / 1e6, qint64(starts[1].size()), data[1].size() / 1e6);

    // The engine, as wordlamp-lookup runs it. One pass to warm the caches,
    // one measured.
    lookup::LookupState state;
    state.FilePath = folder;
    lookup::KensakuHost host;
    lookup::PlainTextSink pane;
    lookup::LookupEngine engine(state, host, &pane, nullptr);
    Figures engineFigures;
    Figures engineFound;
    Figures engineNotFound;
    QElapsedTimer clock;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Sample &s : std::as_const(samples)) {
            QString word = s.word;
            host.setText1(word);
            const quint64 before = engine.bytesRead();
            clock.start();
            const bool found = engine.Kensaku(word, false);
            const qint64 ns = clock.nsecsElapsed();
            if (pass == 1) {
                engineFigures.nanos.append(ns);
                engineFigures.bytes.append(engine.bytesRead() - before);
                engineFigures.found += found ? 1 : 0;
                Figures &part = found ? engineFound : engineNotFound;
                part.nanos.append(ns);
                part.bytes.append(engineFigures.bytes.back());
                part.found += found ? 1 : 0;
            }
        }
    }

    // The floor: a plain binary search in the file of the word's direction.
    Figures binaryFigures;
    int disagree = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Sample &s : std::as_const(samples)) {
            const bool english = lookup::CheckEng(s.word);
            const QString key = english ? lookup::englishQueryKey(s.word) : lookup::japaneseQueryKey(s.word);
            clock.start();
            const BinarySearchResult r = binarySearch(files[english ? 0 : 1], key, false, 0);
            const qint64 ns = clock.nsecsElapsed();
            if (pass == 1) {
                binaryFigures.nanos.append(ns);
                binaryFigures.bytes.append(r.bytesRead);
                binaryFigures.found += r.lines.isEmpty() ? 0 : 1;
                // The same lines as the engine found, when it found the word directly.
                QString word = s.word;
                host.setText1(word);
                if (engine.Kensaku(word, false) && state.record.HitLines != r.lines && !r.lines.isEmpty())
                    ++disagree;
            }
        }
    }

    // look, on copies of the files.
    Figures lookFigures;
    const QString look = QStandardPaths::findExecutable(QStringLiteral("look"));
    QTemporaryDir copies;
    if (!look.isEmpty() && copies.isValid() && !parser.isSet(noLookOpt)) {
        QByteArray copyPath[2];
        for (int i = 0; i < 2; ++i) {
            const QString path = copies.filePath(QFileInfo(files[i]).fileName());
            QFile::copy(files[i], path);
            copyPath[i] = QFile::encodeName(path);
        }
        for (const Sample &s : std::as_const(samples)) {
            const bool english = lookup::CheckEng(s.word);
            const QString key = english ? lookup::englishQueryKey(s.word) : lookup::japaneseQueryKey(s.word);
            // Every line of the key starts with "■" + key + " " (the
            // separator or an annotation follows).
            const QByteArray string = codepage::encode(QString(u'■' + key + u' '));
            clock.start();
            const int rc = runLook(QFile::encodeName(look), string, copyPath[english ? 0 : 1]);
            lookFigures.nanos.append(clock.nsecsElapsed());
            lookFigures.bytes.append(0);
            lookFigures.found += rc == 0 ? 1 : 0;
        }
    }

    std::printf("\n%-24s %9s %9s %9s   %8s %8s %8s   %5s\n", "per lookup", "median", "p99", "max", "KiB med", "KiB p99",
                "KiB max", "found");
    std::printf("%-24s %9s %9s %9s\n", "", "(us)", "(us)", "(us)");
    print("engine (Kensaku)", engineFigures);
    print("  words found", engineFound);
    print("  words not found", engineNotFound);
    print("plain binary search", binaryFigures);
    print("look (new process)", lookFigures);
    std::printf("  (look: a process per word, on copies of the files; bytes not measured, it maps the file;\n"
                "   it compares whole lines, so keys whose lines sort otherwise are not found)\n");
    const double ratio = double(percentile(engineFigures.nanos, 0.5)) / double(percentile(binaryFigures.nanos, 0.5));
    std::printf("\nengine median / binary search median: %.1f x\n", ratio);
    std::printf("lookups reading more than 64 KiB: %lld of %d\n",
                qint64(std::count_if(engineFigures.bytes.begin(), engineFigures.bytes.end(),
                                     [](quint64 b) { return b > 64 * 1024; })),
                count);
    std::printf("binary search and engine disagreeing on found lines: %d\n", disagree);
    return 0;
}
