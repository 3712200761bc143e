// The speech-dispatcher back end against a real server of the test's own:
// what reaches the synthesiser, when speech counts as speaking, and that no
// failure of the server (killed, frozen, absent) can hang the caller.

#include "orrin/orrinvoice.h"
#include "orrin/orrnusr.h"
#include "orrin/speechdvoice.h"
#include "orrin/speechtext.h"
#include "orrin/wordreadings.h"
#include "privatespeechd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using testsupport::PrivateSpeechd;

namespace {
constexpr int Patience = 10000; // ms: generous for a loaded two-core machine
}

class TestSpeechdVoice : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void speaksInOrder();
    void stopDropsCurrentAndQueued();
    void speakingIsBoundedWithoutEnd();
    void kanjiReachTheSynthesiserAsReadings();
    void kanjiReadingsCanBeTurnedOff();
    void signsAndDotsAreNotNamed();
    void speechGoesOnWithoutMecab();
    void loneCharacter();
    void rateAndCursorReadingCycles();
    void signalLeavesSpeechAlone();
    void commandsGoToTheHandler();
    void createdAsTheScreenReader();
    void callsReturnAtOnce();
    void recoversFromAKilledServer();
    void unservedSocketFailsQuickly();
    void frozenServerNeverHangsTheCaller();
    void frozenServerCostsOneSession();
    void textWaitsForTheServerToComeBack();
    void autospawnStartsTheServer();

private:
    SpeechdVoice::Options options() const;
    std::unique_ptr<SpeechdVoice> make(const SpeechdVoice::Options &o);
    std::unique_ptr<SpeechdVoice> make() { return make(options()); }

    PrivateSpeechd server_;
    QTemporaryDir dir_;
    QByteArray speechSetting_;
};

SpeechdVoice::Options TestSpeechdVoice::options() const
{
    SpeechdVoice::Options o;
    o.autospawn = false; // never start a server with the machine's configuration
    o.connectTimeoutMs = 5000;
    o.commandTimeoutMs = 3000;
    o.retryIntervalMs = 0;
    o.waitForServerMs = 2000;
    o.soundFolder = dir_.filePath(QStringLiteral("signals"));
    return o;
}

std::unique_ptr<SpeechdVoice> TestSpeechdVoice::make(const SpeechdVoice::Options &o)
{
    QString error;
    std::unique_ptr<SpeechdVoice> v = SpeechdVoice::create(o, &error);
    if (!v)
        qWarning("%s", qPrintable(error));
    return v;
}

void TestSpeechdVoice::initTestCase()
{
    QVERIFY(dir_.isValid());
    QVERIFY(server_.isValid());
    QElapsedTimer t;
    t.start();
    QVERIFY2(server_.start(), "speech-dispatcher did not start");
    qInfo("private speech-dispatcher ready after %lld ms", t.elapsed());
    speechSetting_ = qgetenv("WORDLAMP_SPEECH");
}

void TestSpeechdVoice::init()
{
    // A fresh server for every test: nothing left over from the one before.
    qputenv("SPEECHD_ADDRESS", server_.address().toUtf8());
    server_.stop();
    server_.clearRecording();
    QVERIFY(server_.start());
}

void TestSpeechdVoice::cleanup()
{
    server_.resume();
    qputenv("WORDLAMP_SPEECH", speechSetting_);
    qunsetenv("WORDLAMP_SPEECHD_AUTOSPAWN");
}

void TestSpeechdVoice::speaksInOrder()
{
    auto v = make();
    QVERIFY(v);
    QVERIFY(v->loaded());
    QVERIFY(v->Setup(97));
    QSignalSpy spy(v.get(), &OrrinVoice::speakingChanged);

    const QString first = QStringLiteral("Hello world.");
    const QString second = QStringLiteral("A second sentence, queued behind the first.");
    QElapsedTimer t;
    t.start();
    v->Speak(first);
    QVERIFY(v->IsSpeaking());
    v->Speak(second);
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({first, second}), Patience);
    for (const auto &s : server_.recording())
        QCOMPARE(s.language, QStringLiteral("en"));
    // The server's notifications end the speaking, long before the bound
    // that stands in for them would.
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
    QVERIFY(t.elapsed() < speechtext::expectedDurationMs(first, 0) + speechtext::expectedDurationMs(second, 0));
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(1).at(0).toBool(), false);

    // Nothing to say: no speech, no speaking.
    v->Speak(QStringLiteral(" \uF8F2 "));
    QVERIFY(!v->IsSpeaking());
    v->Speak(QStringLiteral("Done\uF8F2"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts().size(), 3, Patience);
    QCOMPARE(server_.recordedTexts().last(), QStringLiteral("Done"));
}

void TestSpeechdVoice::stopDropsCurrentAndQueued()
{
    auto v = make();
    QVERIFY(v);
    const QString held = QStringLiteral("HOLD a long reading");
    v->Speak(held);
    v->Speak(QStringLiteral("queued behind it"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({held}), Patience);
    QVERIFY(v->IsSpeaking());

    QSignalSpy spy(v.get(), &OrrinVoice::speakingChanged);
    v->StopSpeech();
    QVERIFY(!v->IsSpeaking());
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);

    // What was queued is gone: the next text follows the stopped one directly.
    const QString after = QStringLiteral("after stopping");
    v->Speak(after);
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({held, after}), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
    QCOMPARE(server_.recordedTexts(), QStringList({held, after}));
}

void TestSpeechdVoice::speakingIsBoundedWithoutEnd()
{
    // A server without working sound may never report the end of speech;
    // speaking still ends once the text has had time enough.
    auto v = make();
    QVERIFY(v);
    const QString held = QStringLiteral("HOLD");
    QSignalSpy spy(v.get(), &OrrinVoice::speakingChanged);
    QElapsedTimer t;
    t.start();
    v->Speak(held);
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({held}), Patience);
    QVERIFY(v->IsSpeaking());
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
    QVERIFY(t.elapsed() + 2 >= speechtext::expectedDurationMs(held, 0)); // both clocks count whole ms
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(1).at(0).toBool(), false);
    v->StopSpeech();
}

void TestSpeechdVoice::kanjiReachTheSynthesiserAsReadings()
{
    auto v = make();
    QVERIFY(v);
    v->Speak(QStringLiteral("林檎を食べる。"));
    v->Speak(QStringLiteral("apple"));
    v->Speak(QStringLiteral("apple 林檎{りんご}"));
    v->Speak(QStringLiteral("りんご"));
    // English inside a Japanese text goes to the English voice.
    QTRY_COMPARE_WITH_TIMEOUT(server_.recording().size(), 5, Patience);
    const auto r = server_.recording();
    QCOMPARE(r[0].text, QStringLiteral("リンゴをタベル。"));
    QCOMPARE(r[0].language, QStringLiteral("ja"));
    QCOMPARE(r[1].text, QStringLiteral("apple"));
    QCOMPARE(r[1].language, QStringLiteral("en"));
    QCOMPARE(r[2].text, QStringLiteral("apple"));
    QCOMPARE(r[2].language, QStringLiteral("en"));
    QCOMPARE(r[3].text, QStringLiteral("リンゴ{りんご}"));
    QCOMPARE(r[3].language, QStringLiteral("ja"));
    QCOMPARE(r[4].text, QStringLiteral("りんご"));
    QCOMPARE(r[4].language, QStringLiteral("ja"));
}

void TestSpeechdVoice::kanjiReadingsCanBeTurnedOff()
{
    auto o = options();
    o.kanjiReadings = QStringLiteral("0");
    auto v = make(o);
    QVERIFY(v);
    v->Speak(QStringLiteral("林檎を食べる"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recording().size(), 1, Patience);
    QCOMPARE(server_.recording()[0].text, QStringLiteral("林檎を食べる"));
    QCOMPARE(server_.recording()[0].language, QStringLiteral("ja"));
}

void TestSpeechdVoice::signsAndDotsAreNotNamed()
{
    auto o = options();
    o.kanjiReadings = QStringLiteral("0");
    auto v = make(o);
    QVERIFY(v);
    for (const char *piece : {"(", ")", ";", "-", "(名・スル) (1)", "end"})
        v->Speak(QString::fromUtf8(piece));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts().size(), 2, Patience);
    QCOMPARE(server_.recordedTexts(), QStringList({QStringLiteral("(名詞、スル) (1)"), QStringLiteral("end")}));
}

void TestSpeechdVoice::speechGoesOnWithoutMecab()
{
    auto o = options();
    o.mecabDictionary = dir_.filePath(QStringLiteral("no-dictionary"));
    auto v = make(o);
    QVERIFY(v);
    v->Speak(QStringLiteral("林檎を食べる"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({QStringLiteral("林檎を食べる")}), Patience);
}

void TestSpeechdVoice::loneCharacter()
{
    // Mode 1, the character at the caret: spoken by its name where it has one
    // (the synthesiser gets the character itself); a kanji by its reading. A
    // blank goes as the character "space", which is the synthesiser's to name.
    auto v = make();
    QVERIFY(v);
    v->Speak(QStringLiteral("a"), 1);
    v->Speak(QStringLiteral("林"), 1);
    v->Speak(wordreadings::annotated(QStringLiteral("金"), QStringLiteral("かね")), 1); // the entry's reading
    v->Speak(QStringLiteral(" "), 1);
    v->Speak(QStringLiteral("more than one"), 1);
    auto words = [this] {
        QStringList texts = server_.recordedTexts();
        texts.removeIf([](const QString &t) { return t.trimmed().isEmpty() || t == u"space"; });
        return texts;
    };
    const QStringList spoken = {QStringLiteral("a"), QStringLiteral("ハヤシ"), QStringLiteral("かね"),
                                QStringLiteral("more than one")};
    QTRY_COMPARE_WITH_TIMEOUT(words(), spoken, Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
}

void TestSpeechdVoice::rateAndCursorReadingCycles()
{
    auto v = make();
    QVERIFY(v);
    QCOMPARE(v->rate(), 0);
    QCOMPARE(v->setStatus(OrrnStatusItem, OrrnSpeedNext, 1), 0);
    QCOMPARE(v->rate(), 25);
    v->Speak(QStringLiteral("a little faster"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recording().size(), 1, Patience);
    QCOMPARE(server_.recording()[0].rate.toDouble(), 25.0);

    QList<int> rates;
    for (int i = 0; i < 5; ++i) {
        v->setStatus(OrrnStatusItem, OrrnSpeedNext, 1);
        rates << v->rate();
    }
    QCOMPARE(rates, QList<int>({50, 75, -25, 0, 25}));

    using R = SpeechdVoice::CursorReading;
    QCOMPARE(v->cursorReading(), R::Character);
    QList<R> modes;
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(v->setStatus(OrrnStatusItem, OrrnCursorReadNext, 1), 0);
        modes << v->cursorReading();
    }
    QCOMPARE(modes, QList<R>({R::Word, R::Line, R::Character}));

    // Anything else does nothing.
    QCOMPARE(v->setStatus(1, OrrnSpeedNext, 1), 0);
    QCOMPARE(v->setStatus(OrrnStatusItem, 99, 1), 0);
    QCOMPARE(v->rate(), 25);
    QCOMPARE(v->cursorReading(), R::Character);
}

void TestSpeechdVoice::signalLeavesSpeechAlone()
{
    auto v = make();
    QVERIFY(v);
    v->Signal(100, 3, 0);
    v->Signal(10, 1, 0);
    v->Signal(100, 11, 0);
    const QString after = QStringLiteral("after the signals, <plain> & text");
    v->Speak(after);
    // The sounds are no speech: the synthesiser gets only the text, as text.
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({after}), Patience);
    QCOMPARE(QDir(options().soundFolder).entryList({QStringLiteral("*.wav")}).size(), 3);

    // Without a place for the sounds the signal is silent, and nothing breaks.
    auto o = options();
    o.soundFolder = QStringLiteral("/proc/no-such-folder");
    auto w = make(o);
    QVERIFY(w);
    w->Signal(100, 3, 0);
    w->Speak(QStringLiteral("still speaking"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({after, QStringLiteral("still speaking")}),
                              Patience);
}

void TestSpeechdVoice::commandsGoToTheHandler()
{
    auto v = make();
    QVERIFY(v);
    QCOMPARE(v->command(QStringLiteral("ReadCurLine"), 1, 1), 0);
    QStringList seen;
    v->setCommandHandler([&seen](const QString &name, int a, int b) {
        seen << QStringLiteral("%1 %2 %3").arg(name).arg(a).arg(b);
        return 7;
    });
    QCOMPARE(ORRNCOMMAND(QStringLiteral("ReadCurPos"), 1, 1), 7);
    QCOMPARE(seen, QStringList({QStringLiteral("ReadCurPos 1 1")}));

    v->LockSpeech();
    QVERIFY(v->isLocked());
    v->UnlockSpeech();
    QVERIFY(!v->isLocked());
    QCOMPARE(v->Settle(), 0);
}

void TestSpeechdVoice::createdAsTheScreenReader()
{
    qputenv("WORDLAMP_SPEECH", "speechd");
    qputenv("WORDLAMP_SPEECHD_AUTOSPAWN", "0");
    QString error;
    std::unique_ptr<OrrinVoice> v = OrrinVoice::create(&error);
    QVERIFY2(v, qPrintable(error));
    auto *speechd = qobject_cast<SpeechdVoice *>(v.get());
    QVERIFY(speechd);
    QVERIFY(v->Setup(97));
    QVERIFY(OrvLoaded());
    QCOMPARE(speechd->outputModule(), QStringLiteral("recorder"));
    QCOMPARE(ORRNSETSTATUS(OrrnStatusItem, OrrnSpeedNext, 1), 0);
    QCOMPARE(speechd->rate(), 25);
    v->Speak(QStringLiteral("through the screen reader"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({QStringLiteral("through the screen reader")}),
                              Patience);
}

void TestSpeechdVoice::callsReturnAtOnce()
{
    QElapsedTimer t;
    t.start();
    auto v = make();
    QVERIFY(v);
    qInfo("connecting to a running server took %lld ms", t.elapsed());

    QString entry;
    while (entry.size() < 2000)
        entry += QStringLiteral("■apple : 林檎{りんご}、リンゴの木。the apple of one's eye 掌中の珠。");
    qint64 slowest = 0;
    qint64 total = 0;
    const int calls = 50;
    for (int i = 0; i < calls; ++i) {
        t.restart();
        v->Speak(entry);
        const qint64 ns = t.nsecsElapsed();
        slowest = std::max(slowest, ns);
        total += ns;
    }
    v->StopSpeech();
    qInfo("Speak of a 2,000-character entry: %.3f ms on average, %.3f ms at most", total / 1e6 / calls, slowest / 1e6);
    QVERIFY(slowest < 50 * 1000 * 1000); // a few ms at most in practice; room for a loaded machine
}

void TestSpeechdVoice::recoversFromAKilledServer()
{
    auto v = make();
    QVERIFY(v);
    v->Speak(QStringLiteral("before the crash"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts().size(), 1, Patience);

    server_.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!v->loaded(), Patience);
    QVERIFY(!OrvLoaded());
    v->Speak(QStringLiteral("while the server is gone"));
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);

    // A new voice cannot be made now, and says so at once.
    QString error;
    QElapsedTimer t;
    t.start();
    QVERIFY(!SpeechdVoice::create(options(), &error));
    QVERIFY(t.elapsed() < 3000);
    QVERIFY(!error.isEmpty());

    // The server comes back: the next text reconnects.
    QVERIFY(server_.start());
    server_.clearRecording();
    v->Speak(QStringLiteral("after the restart"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({QStringLiteral("after the restart")}), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(v->loaded(), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
}

void TestSpeechdVoice::unservedSocketFailsQuickly()
{
    const QString socket = dir_.filePath(QStringLiteral("nobody.sock"));
    qputenv("SPEECHD_ADDRESS", QByteArray("unix_socket:") + socket.toUtf8());
    QString error;
    QElapsedTimer t;
    t.start();
    QVERIFY(!SpeechdVoice::create(options(), &error));
    const qint64 ms = t.elapsed();
    qInfo("connecting to a socket nobody serves failed after %lld ms: %s", ms, qPrintable(error));
    QVERIFY(ms < 3000);
    QVERIFY2(error.contains(socket), qPrintable(error));
}

void TestSpeechdVoice::frozenServerNeverHangsTheCaller()
{
    auto o = options();
    o.commandTimeoutMs = 1000;
    auto v = make(o);
    QVERIFY(v);
    server_.suspend();

    // Connecting gives up after its time limit.
    auto frozen = options();
    frozen.connectTimeoutMs = 1000;
    QString error;
    QElapsedTimer t;
    t.start();
    QVERIFY(!SpeechdVoice::create(frozen, &error));
    qInfo("connecting to a frozen server gave up after %lld ms: %s", t.elapsed(), qPrintable(error));
    QVERIFY(t.elapsed() < 3000);

    // The voice made before: every call returns at once, or within its limit.
    t.restart();
    v->Speak(QStringLiteral("into the void"));
    v->Signal(10, 1, 0);
    v->setStatus(OrrnStatusItem, OrrnSpeedNext, 1);
    v->StopSpeech();
    v->Speak(QStringLiteral("still nothing"));
    QVERIFY(t.elapsed() < 100);
    t.restart();
    QVERIFY(!v->Setup(97));
    QVERIFY(t.elapsed() < 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!v->loaded(), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);

    server_.resume();
    const QString awake = QStringLiteral("after waking up");
    v->Speak(awake);
    QTRY_VERIFY_WITH_TIMEOUT(server_.recordedTexts().contains(awake), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(v->loaded(), Patience);
}

namespace {
// Threads and open files of this process.
int entries(const char *dir)
{
    return int(QDir(QString::fromLatin1(dir)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}
} // namespace

void TestSpeechdVoice::frozenServerCostsOneSession()
{
    // A server that stops answering during a reading: the window's thread is
    // never held up (Settle at each line end included), and at most one
    // session is left behind however long the server stays frozen.
    auto o = options();
    o.commandTimeoutMs = 500;
    o.connectTimeoutMs = 1000;
    auto v = make(o);
    QVERIFY(v);
    v->Speak(QStringLiteral("before"));
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
    const int threads = entries("/proc/self/task");
    const int files = entries("/proc/self/fd");
    server_.suspend();
    // The longest time the thread's events did not run.
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    tick.start(10);
    QElapsedTimer run;
    run.start();
    int afterFirst = -1;
    while (run.elapsed() < 6000) {
        v->Speak(QStringLiteral("a line of the reading"));
        v->Settle(); // as at the end of each line of a read-all
        v->IsSpeaking();
        v->loaded();
        if (afterFirst < 0 && run.elapsed() > 3000)
            afterFirst = entries("/proc/self/task");
        QTest::qWait(50);
    }
    tick.stop();
    qInfo("frozen server: events held up %lld ms at most; threads %d -> %d -> %d, files %d -> %d", longestGap, threads,
          afterFirst, entries("/proc/self/task"), files, entries("/proc/self/fd"));
    QVERIFY2(longestGap < 250, "the window's thread was held up"); // 100 ms unloaded; room for a busy machine
    QVERIFY(entries("/proc/self/task") <= afterFirst);
    QVERIFY(entries("/proc/self/fd") <= files + 4);
    QElapsedTimer quit;
    quit.start();
    v.reset();
    QVERIFY(quit.elapsed() <= 2000);
}

void TestSpeechdVoice::textWaitsForTheServerToComeBack()
{
    // The server dies in the middle of a reading: the next text is not
    // reported as spoken while there is no server, and reaches the server
    // once it is back.
    auto o = options();
    o.waitForServerMs = 20000;
    auto v = make(o);
    QVERIFY(v);
    v->Speak(QStringLiteral("first"));
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
    server_.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!v->loaded(), Patience);
    v->Speak(QStringLiteral("second"));
    QTest::qWait(3000);
    QVERIFY(v->IsSpeaking());
    server_.clearRecording();
    QVERIFY(server_.start());
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({QStringLiteral("second")}), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);
    QVERIFY(v->loaded());

    // Stopping ends the wait at once.
    server_.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!v->loaded(), Patience);
    v->Speak(QStringLiteral("third"));
    QTest::qWait(500);
    v->StopSpeech();
    QVERIFY(!v->IsSpeaking());
    server_.clearRecording();
    QVERIFY(server_.start());
    v->Speak(QStringLiteral("fourth"));
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), QStringList({QStringLiteral("fourth")}), Patience);
}

void TestSpeechdVoice::autospawnStartsTheServer()
{
    // A server that is not running is started by libspeechd; the user's
    // configuration (here a temporary one) tells it what to use.
    PrivateSpeechd spawned;
    QTemporaryDir xdg;
    QVERIFY(spawned.writeUserConfig(xdg.filePath(QStringLiteral("config"))));
    QVERIFY(QDir().mkpath(xdg.filePath(QStringLiteral("runtime"))));
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CONFIG_HOME", xdg.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", xdg.filePath(QStringLiteral("runtime")).toUtf8());
    qputenv("SPEECHD_ADDRESS", spawned.address().toUtf8());

    auto o = options();
    o.autospawn = true;
    o.connectTimeoutMs = 15000;
    QElapsedTimer t;
    t.start();
    auto v = make(o);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    QVERIFY(v);
    qInfo("starting the server on demand and connecting took %lld ms", t.elapsed());

    const qint64 pid = PrivateSpeechd::autospawnedPid(xdg.filePath(QStringLiteral("runtime")));
    QVERIFY(pid > 0);
    v->Speak(QStringLiteral("spoken by a server started on demand"));
    QTRY_COMPARE_WITH_TIMEOUT(spawned.recordedTexts(),
                              QStringList({QStringLiteral("spoken by a server started on demand")}), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), Patience);

    // It dies while nothing is said: the next text starts it again.
    ::kill(pid_t(pid), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!v->loaded(), Patience);
    spawned.clearRecording();
    qputenv("XDG_CONFIG_HOME", xdg.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", xdg.filePath(QStringLiteral("runtime")).toUtf8());
    t.restart();
    v->Speak(QStringLiteral("spoken again"));
    QTRY_COMPARE_WITH_TIMEOUT(spawned.recordedTexts(), QStringList({QStringLiteral("spoken again")}), Patience);
    const qint64 back = t.elapsed();
    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    qInfo("a server that died was started again and spoke after %lld ms", back);
    QVERIFY(back < 3000);
    const qint64 again = PrivateSpeechd::autospawnedPid(xdg.filePath(QStringLiteral("runtime")));
    v.reset();
    QVERIFY(PrivateSpeechd::endServer(again));
}

QTEST_GUILESS_MAIN(TestSpeechdVoice)
#include "test_speechdvoice.moc"
