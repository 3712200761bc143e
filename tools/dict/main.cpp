// wordlamp-dict: builds Wordlamp's dictionary files from EDICT.
//
//   wordlamp-dict [--edict FILE] [--out DIR]
//
// Writes waei.dic (Japanese-English), wordmere.dic (English-Japanese) and the
// attribution file EDICT-COPYRIGHT.txt into DIR (default: the program's
// folder), and nothing else. The EDICT file is EUC-JP, or UTF-8 (found out
// from its bytes). Exit status 0 on success, 1 when the EDICT file cannot be
// read, is no EDICT or gives no lines, or the files cannot be written (the
// files in DIR are then left as they were), 3 on bad options.

#include "console/console.h"
#include "datapaths/datapaths.h"
#include "dictbuilder.h"
#include "dictwriter.h"
#include "edictinput.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void writeErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// Progress on a terminal only: one line, rewritten in place.
class Progress {
public:
    Progress() : shown_(console::stderrIsTerminal()) {}
    void show(const QString &text)
    {
        if (shown_)
            writeErr(u'\r' + text + QStringLiteral("\x1b[K"));
    }
    void done()
    {
        if (shown_)
            writeErr(QStringLiteral("\r\x1b[K"));
    }

private:
    bool shown_;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("wordlamp-dict"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WORDLAMP_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds Wordlamp's dictionary files (waei.dic, wordmere.dic) and their attribution file\n"
                       "EDICT-COPYRIGHT.txt from the EDICT file of Debian's edict package."));
    const QCommandLineOption edictOption(QStringLiteral("edict"),
                                         QStringLiteral("The EDICT file (EUC-JP). Default: /usr/share/edict/edict."),
                                         QStringLiteral("FILE"), QStringLiteral("/usr/share/edict/edict"));
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("Folder for the files. Default: the dictionary folder (the "
                                                      "program's folder in a build, else\nshare/wordlamp)."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({edictOption, outOption});
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        writeErr(QStringLiteral("wordlamp-dict: %1\nTry wordlamp-dict --help.\n")
                     .arg(parser.errorText().isEmpty() ? QStringLiteral("unexpected argument") : parser.errorText()));
        return 3;
    }
    if (parser.isSet(help)) {
        const QByteArray text = parser.helpText().toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs("wordlamp-dict " WORDLAMP_VERSION "\n", stdout);
        return 0;
    }
    const QString edictPath = parser.value(edictOption);
    const QString outDir = parser.isSet(outOption) ? parser.value(outOption) : datapaths::dictionaryFolder();

    QElapsedTimer clock;
    clock.start();
    Progress progress;
    dictbuild::Builder builder;
    const dictbuild::EdictReadResult read = dictbuild::readEdict(edictPath, builder, [&progress](int percent) {
        progress.show(QStringLiteral("wordlamp-dict: reading EDICT, %1%").arg(percent));
    });
    if (!read.ok) {
        progress.done();
        writeErr(QStringLiteral("wordlamp-dict: %1; nothing written\n").arg(read.error));
        return 1;
    }
    progress.show(QStringLiteral("wordlamp-dict: sorting"));
    builder.finish();
    using dictbuild::EnglishJapanese;
    using dictbuild::JapaneseEnglish;
    if (builder.counts().written[JapaneseEnglish] == 0 || builder.counts().written[EnglishJapanese] == 0) {
        progress.done();
        writeErr(QStringLiteral("wordlamp-dict: %1 gives no dictionary lines (%2 entries read); nothing written\n")
                     .arg(edictPath)
                     .arg(builder.counts().entries));
        return 1;
    }
    progress.show(QStringLiteral("wordlamp-dict: writing"));
    QString error;
    const bool written = dictbuild::writeFilesAtomically(
        outDir,
        {{QLatin1String(dictbuild::JapaneseEnglishFile), builder.fileBytes(JapaneseEnglish)},
         {QLatin1String(dictbuild::EnglishJapaneseFile), builder.fileBytes(EnglishJapanese)},
         {QLatin1String(dictbuild::AttributionFile), dictbuild::attributionText(builder.edictHeader()).toUtf8()}},
        edictPath, &error);
    progress.done();
    if (!written) {
        writeErr(QStringLiteral("wordlamp-dict: %1\n").arg(error));
        return 1;
    }

    const dictbuild::Counts &c = builder.counts();
    QString report;
    report += QStringLiteral("wordlamp-dict: read %1 EDICT entries from %2%3")
                  .arg(c.entries)
                  .arg(edictPath, read.utf8 ? QStringLiteral(" (UTF-8)") : QString());
    if (c.malformed)
        report += QStringLiteral(" (skipped, no headword or no gloss: %1 lines)").arg(c.malformed);
    report += u'\n';
    report += QStringLiteral("  %1: %2 lines (Japanese-English)\n")
                  .arg(QLatin1String(dictbuild::JapaneseEnglishFile))
                  .arg(c.written[JapaneseEnglish]);
    report += QStringLiteral("  %1: %2 lines (English-Japanese)\n")
                  .arg(QLatin1String(dictbuild::EnglishJapaneseFile))
                  .arg(c.written[EnglishJapanese]);
    report += QStringLiteral("  dropped: %1 + %2 lines with characters code page 932 cannot hold\n")
                  .arg(c.unholdable[JapaneseEnglish])
                  .arg(c.unholdable[EnglishJapanese]);
    report += QStringLiteral("  dropped: %1 + %2 repeated lines\n")
                  .arg(c.duplicates[JapaneseEnglish])
                  .arg(c.duplicates[EnglishJapanese]);
    report += QStringLiteral("  dropped: %1 + %2 lines beyond %3 for one headword\n")
                  .arg(c.overLimit[JapaneseEnglish])
                  .arg(c.overLimit[EnglishJapanese])
                  .arg(dictbuild::MaxLinesPerKey);
    report += QStringLiteral("  English-Japanese lines not made for %1 entries of an out-dated or irregular form\n")
                  .arg(c.variantForms);
    report += QStringLiteral("  shortened: %1 Japanese-English lines of such a form under the usual form's headword\n")
                  .arg(c.variantLinesShortened);
    report +=
        QStringLiteral("  joined: %1 English-Japanese lines into the line of the same word with another reading\n")
            .arg(c.readingsJoined);
    report +=
        QStringLiteral("  dropped: %1 entries whose headword holds \":\", \"●\" or \"■\"\n").arg(c.markerHeadwords);
    report += QStringLiteral("  replaced: \":\", \"●\" or \"■\" in %1 glosses (as \"：\", \"○\", \"□\")\n")
                  .arg(c.glossesReplaced);
    report += QStringLiteral("  (dropped counts are Japanese-English + English-Japanese)\n");
    report += QStringLiteral("  written to %1 in %2 s\n").arg(outDir).arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1);
    writeErr(report);
    return 0;
}
