// Start-up cost of the English voice: creating the Qt TextToSpeech engine
// and listing its English voices, as the start-up check does. The engine is
// the one the program would choose (flite when installed); set
// WORDLAMP_ENGLISH_ENGINE to measure another (with speechd, only against a
// running speech-dispatcher whose configuration you trust).
//
//   bench_englishvoice

#include "englishvoice/englishvoice.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("WORDLAMP_SPEECH", "speechd"); // the real engines, not the transcript
    QCoreApplication app(argc, argv);
    QElapsedTimer clock;
    clock.start();
    QString error;
    std::unique_ptr<EnglishVoice> voice = EnglishVoice::create(&error);
    const double created = clock.nsecsElapsed() / 1e6;
    if (!voice) {
        std::printf("no English voice: %s\n", qPrintable(error));
        return 1;
    }
    QStringList names;
    for (int i = 1; i <= voice->count(); ++i)
        names << voice->voiceName(i);
    const double listed = clock.nsecsElapsed() / 1e6;
    std::printf("English voice ready in %.1f ms, %lld voices listed by %.1f ms: %s\n", created,
                static_cast<long long>(names.size()), listed, qPrintable(names.join(QStringLiteral(", "))));
    return 0;
}
