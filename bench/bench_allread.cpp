// Read-all over a result pane of 2,000 characters, with the speech
// transcript at zero speaking time: the cost of the reading itself (chunk
// rules, highlighting, the transcript), printed in milliseconds.
//
//   bench_allread [runs]

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "orrin/transcript.h"
#include "speech/speech.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("WORDLAMP_SPEECH", QStringLiteral("transcript:%1@0").arg(dir.filePath(QStringLiteral("t.txt"))).toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

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
