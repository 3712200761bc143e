// Read-all over a result pane of 2,000 characters, with the speech
// transcript at zero speaking time: the cost of the reading itself (chunk
// rules, highlighting, the transcript), printed in milliseconds.
//
//   bench_allread [runs]
//   bench_allread --cpu SECONDS
//       the processor time the program takes while it reads aloud for
//       SECONDS, with speaking time modelled (60 ms a character): what a
//       read-all costs while the user listens.

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "orrin/transcript.h"
#include "speech/speech.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>

#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    const bool cpu = argc > 2 && qstrcmp(argv[1], "--cpu") == 0;
    const int msPerChar = cpu ? 60 : 0;
    qputenv("WORDLAMP_SPEECH",
            QStringLiteral("transcript:%1@%2").arg(dir.filePath(QStringLiteral("t.txt"))).arg(msPerChar).toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);
    const int runs = cpu ? 1 : argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    MainForm form;
    auto owned = std::make_unique<Speech>(form);
    Speech &speech = *owned;
    form.setSpeech(std::move(owned));
    if (!speech.createScreenReader() || !speech.checkEnglishVoice())
        return 1;
    form.EnglishMode = form.EngUse = true;

    // A dictionary entry of Japanese and English, 2,000 characters long.
    const QString line =
        QStringLiteral("林檎{りんご}、apple; an apple a day keeps the doctor away. 3.5と1,000です。本を読む\n");
    QString text;
    while (text.size() < 2000)
        text += line;
    text.truncate(2000);
    form.Text2->setPlainText(text);

    if (cpu) {
        const int seconds = std::max(1, atoi(argv[2]));
        QTimer::singleShot(seconds * 1000, &form, [&speech] { speech.AllCancel(); });
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        QElapsedTimer clock;
        clock.start();
        speech.AllRead();
        const double wall = clock.nsecsElapsed() / 1e9;
        getrusage(RUSAGE_SELF, &after);
        const auto secs = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
        const double used = secs(after.ru_utime) - secs(before.ru_utime) + secs(after.ru_stime) - secs(before.ru_stime);
        std::printf("read-all for %.1f s (60 ms a character): %.2f s of processor time, %.2f%% of one core\n", wall,
                    used, 100 * used / wall);
        return 0;
    }

    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QTextCursor c = form.Text2->textCursor();
        c.setPosition(0);
        form.Text2->setTextCursor(c);
        QElapsedTimer clock;
        clock.start();
        speech.AllRead();
        times << clock.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("AllRead over %lld characters, %d runs: median %.1f ms, best %.1f ms, worst %.1f ms\n",
                static_cast<long long>(text.size()), runs, times[times.size() / 2], times.front(), times.back());
    return 0;
}
