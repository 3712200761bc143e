// wordlamp-lookup: looks words up in the dictionary as the program does when
// a word is typed into its input box, and prints the entries.
//
//   wordlamp-lookup [--folder DIR] [--raw] [--speak] WORD...
//   wordlamp-lookup [--folder DIR] [--raw] [--speak] --interactive
//
// Exit status: 0 every word was found; 1 a word was not found; 2 a dictionary
// file error; 3 the command could not run (bad options, no speech).

#include "consolehost.h"
#include "lookup/kensaku.h"
#include "orrin/orrinvoice.h"
#include "settings/settingsstore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

enum Status { Found = 0, NotFound = 1, FileError = 2, CannotRun = 3 };

void writeOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void writeErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

class Lookup {
public:
    Lookup(lookup::LookupState &state, OrrinVoice *voice, bool raw)
        : state_(state), host_(pane_, voice), engine_(state, host_, &pane_, voice), raw_(raw)
    {
    }

    // Looks one word up, prints the outcome, and returns its status.
    Status run(const QString &word)
    {
        host_.startWord();
        pane_.clear();
        host_.setText1(word);
        QString str = word;
        const bool found = engine_.Kensaku(str, false);
        if (found) {
            if (raw_) {
                for (const QString &line : std::as_const(state_.record.HitLines))
                    writeOut(line + u'\n');
            } else {
                writeOut(QString(pane_.text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            }
            return Found;
        }
        host_.waitForSpeech();
        if (!host_.errors().isEmpty()) {
            QStringList printed;
            for (const lookup::DicFileError &e : host_.errors()) {
                // The reason names the file; the box's first line is enough.
                const QString line = e.title() + QStringLiteral(": ") + e.message().section(u'\n', 0, 0) +
                                     QStringLiteral(" (") + e.reason() + QStringLiteral(")\n");
                if (!printed.contains(line)) {
                    printed.append(line);
                    writeErr(line);
                }
            }
            return FileError;
        }
        if (host_.tips().isEmpty()) {
            writeErr(QStringLiteral("wordlamp-lookup: an empty word is not looked up\n"));
            return NotFound;
        }
        for (const QString &tip : host_.tips())
            writeErr(tip + u'\n');
        return NotFound;
    }

private:
    lookup::LookupState &state_;
    lookup::PlainTextSink pane_;
    ConsoleHost host_;
    lookup::LookupEngine engine_;
    bool raw_;
};

#ifndef WORDLAMP_LOOKUP_SPEECH
// With --speak the program with speech, beside this one, takes over; false
// when it cannot be started.
bool handOverForSpeech(char *argv[])
{
    bool speak = false;
    for (int i = 1; argv[i]; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--speak") == 0 || std::strcmp(argv[i], "-speak") == 0)
            speak = true;
    }
    if (!speak)
        return true;
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return false;
    std::string path(self, size_t(n));
    path = path.substr(0, path.rfind('/') + 1) + "wordlamp-lookup-speech";
    ::execv(path.c_str(), argv);
    return false;
}
#endif

} // namespace

int main(int argc, char *argv[])
{
#ifndef WORDLAMP_LOOKUP_SPEECH
    if (!handOverForSpeech(argv)) {
        writeErr(
            QStringLiteral("wordlamp-lookup: speech is not available: wordlamp-lookup-speech cannot be started\n"));
        return CannotRun;
    }
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("wordlamp-lookup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WORDLAMP_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Looks words up in the Wordlamp dictionary as a word typed into the program's input box is looked up:\n"
        "English words in the English-Japanese files, everything else in the Japanese-English files; a\n"
        "trailing * searches by prefix. Entries go to standard output, \"not found\" messages and dictionary\n"
        "file errors to standard error.\n"
        "Exit status: 0 all found, 1 a word was not found, 2 dictionary file error, 3 cannot run."));
    const QCommandLineOption folder(QStringLiteral("folder"),
                                    QStringLiteral("Dictionary folder (default: the \"Wordmere\" setting, else the "
                                                   "program's folder)."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption raw(QStringLiteral("raw"),
                                 QStringLiteral("Print the dictionary lines found, one per line."));
    const QCommandLineOption interactive(
        QStringLiteral("interactive"), QStringLiteral("Read words from standard input, one per line, after a prompt."));
    const QCommandLineOption speak(QStringLiteral("speak"), QStringLiteral("Read each entry aloud."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({folder, raw, interactive, speak});
    parser.addPositionalArgument(QStringLiteral("WORD"), QStringLiteral("Words to look up."),
                                 QStringLiteral("WORD..."));

    if (!parser.parse(QCoreApplication::arguments())) {
        writeErr(QStringLiteral("wordlamp-lookup: %1\nTry wordlamp-lookup --help.\n").arg(parser.errorText()));
        return CannotRun;
    }
    if (parser.isSet(help)) {
        writeOut(parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        writeOut(QStringLiteral("wordlamp-lookup " WORDLAMP_VERSION "\n"));
        return 0;
    }
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty() && !parser.isSet(interactive)) {
        writeErr(QStringLiteral("wordlamp-lookup: no word to look up\nTry wordlamp-lookup --help.\n"));
        return CannotRun;
    }

    lookup::LookupState state;
    if (parser.isSet(folder)) {
        state.FilePath = parser.value(folder);
    } else {
        state.FilePath = settings::readText(settings::Key::Wordmere);
        if (state.FilePath.isEmpty())
            state.FilePath = QCoreApplication::applicationDirPath();
    }
    state.DicKana = settings::readBool(settings::Key::DicKana);
    state.ZenpoMax = settings::readInt(settings::Key::ZenpoMax);

    std::unique_ptr<OrrinVoice> voice;
#ifdef WORDLAMP_LOOKUP_SPEECH
    if (parser.isSet(speak)) {
        QString error;
        voice = OrrinVoice::create(&error);
        if (!voice || !voice->Setup(97)) {
            writeErr(QStringLiteral("wordlamp-lookup: speech is not available: %1\n")
                         .arg(error.isEmpty() ? QStringLiteral("the screen reader failed to start") : error));
            return CannotRun;
        }
    }
#endif

    Lookup lookup(state, voice.get(), parser.isSet(raw));
    int status = Found;
    auto note = [&status](Status s) { status = std::max(status, int(s)); };
    for (const QString &word : words)
        note(lookup.run(word));
    if (parser.isSet(interactive)) {
        QTextStream in(stdin);
        in.setEncoding(QStringConverter::Utf8);
        for (;;) {
            writeOut(QStringLiteral("> "));
            QString line;
            if (!in.readLineInto(&line))
                break;
            if (line.trimmed().isEmpty())
                continue;
            note(lookup.run(line));
        }
    }
    return status;
}
