#include "consolehost.h"

#include "orrin/orrinvoice.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

ConsoleHost::ConsoleHost(const lookup::EntrySink &pane, OrrinVoice *voice) : pane_(pane), voice_(voice)
{
}

void ConsoleHost::startWord()
{
    tips_.clear();
    errors_.clear();
}

void ConsoleHost::letEventsRun()
{
    QCoreApplication::processEvents();
}

void ConsoleHost::AllRead()
{
#ifdef WORDLAMP_LOOKUP_SPEECH
    if (!voice_)
        return;
    const QStringList lines = pane_.text().split(QStringLiteral("\r\n"));
    for (const QString &line : lines)
        if (!line.trimmed().isEmpty())
            voice_->Speak(line, 0);
    waitForSpeech();
#endif
}

void ConsoleHost::waitForSpeech()
{
#ifdef WORDLAMP_LOOKUP_SPEECH
    if (!voice_)
        return;
    // Never wait on speech without a bound: a voice that does not end is
    // given up after two minutes.
    const QDeadlineTimer deadline(120 * 1000);
    while (voice_->IsSpeaking() && !deadline.hasExpired()) {
        QEventLoop loop;
        QObject::connect(voice_, &OrrinVoice::speakingChanged, &loop, &QEventLoop::quit);
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
#endif
}
