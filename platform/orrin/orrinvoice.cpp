#include "orrin/orrinvoice.h"

#include "orrin/orrinevents.h"
#include "orrin/orrnusr.h"
#include "orrin/speechdvoice.h"
#include "orrin/speechsetting.h"
#include "orrin/transcriptvoice.h"

#include "eventloop/doevents.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

namespace {
QPointer<OrrinVoice> &currentVoice()
{
    static QPointer<OrrinVoice> voice;
    return voice;
}
QPointer<OrrinEvents> &currentEvents()
{
    static QPointer<OrrinEvents> events;
    return events;
}
} // namespace

OrrinVoice::OrrinVoice()
{
    currentVoice() = this;
}

OrrinVoice::~OrrinVoice() = default;

OrrinVoice *OrrinVoice::current()
{
    return currentVoice().data();
}

void OrrinVoice::waitWhileSpeaking(int capMs)
{
    // Where the window's events may not run, the text goes on in the
    // background rather than be waited for.
    if (!IsSpeaking() || !eventloop::mayRunEvents())
        return;
    QEventLoop loop;
    connect(this, &OrrinVoice::speakingChanged, &loop, [&loop](bool speaking) {
        if (!speaking)
            loop.quit();
    });
    // The back ends bound their speaking state themselves; the poll catches an
    // end that comes without a signal, the cap a back end that never ends.
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
        if (!IsSpeaking())
            loop.quit();
    });
    poll.start(50);
    QTimer::singleShot(capMs, &loop, &QEventLoop::quit);
    loop.exec(eventloop::waitFlags());
}

QString OrrinVoice::speedNameOf(int step)
{
    static const char *const names[SpeedSteps] = {"普通", "やや速い", "速い", "とても速い", "遅い"};
    return QStringLiteral("速度 ") + QString::fromUtf8(names[((step % SpeedSteps) + SpeedSteps) % SpeedSteps]);
}

void OrrinVoice::LockSpeech()
{
    locked_ = true;
}

void OrrinVoice::UnlockSpeech()
{
    locked_ = false;
}

void OrrinVoice::announce(const QString &text, int mode)
{
    StopSpeech();
    Speak(text, mode);
}

std::unique_ptr<OrrinVoice> OrrinVoice::create(QString *error)
{
    const SpeechSetting s = SpeechSetting::fromEnvironment();
    switch (s.kind) {
    case SpeechSetting::Kind::Transcript: return TranscriptVoice::create(s, error);
    case SpeechSetting::Kind::Speechd: return SpeechdVoice::create(error);
    case SpeechSetting::Kind::Invalid: break;
    }
    if (error)
        *error = s.error;
    return nullptr;
}

OrrinEvents::OrrinEvents(QObject *parent) : QObject(parent)
{
    currentEvents() = this;
}

OrrinEvents::~OrrinEvents() = default;

OrrinEvents *OrrinEvents::current()
{
    OrrinEvents *e = currentEvents().data();
    return e && !e->isShutDown() ? e : nullptr;
}

void OrrinEvents::Shutdown()
{
    shutDown_ = true;
}

int OrrinEvents::raiseKeyBack(const QString &keyInfo)
{
    int exec = 1;
    if (!shutDown_)
        emit KeyBack(keyInfo, exec);
    return exec;
}

int OrrinEvents::raiseVoiceBack(qint32 voiceInfo)
{
    int exec = 1;
    if (!shutDown_)
        emit VoiceBack(voiceInfo, exec);
    return exec;
}

namespace {
OrrnReader *&currentReader()
{
    static OrrnReader *reader = nullptr;
    return reader;
}
} // namespace

OrrnReader::~OrrnReader()
{
    if (currentReader() == this)
        currentReader() = nullptr;
}

void setOrrnReader(OrrnReader *reader)
{
    currentReader() = reader;
}

int ORRNSETSTATUS(int item, int value, int flag)
{
    OrrinVoice *v = OrrinVoice::current();
    const int result = v ? v->setStatus(item, value, flag) : 0;
    if (v && currentReader() && item == OrrnStatusItem && value == OrrnCursorReadNext)
        currentReader()->stepCursorReading();
    if (v && currentReader() && item == OrrnStatusItem && value == OrrnSpeedNext)
        currentReader()->speedStepped(v->speedName());
    return result;
}

int ORRNCOMMAND(const QString &name, int a, int b)
{
    OrrinVoice *v = OrrinVoice::current();
    const int result = v ? v->command(name, a, b) : 0;
    if (v && currentReader())
        currentReader()->runCommand(name);
    return result;
}

bool OrvLoaded()
{
    OrrinVoice *v = OrrinVoice::current();
    return v && v->loaded();
}
