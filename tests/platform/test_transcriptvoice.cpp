// The transcript back end of the screen reader: what it records and how it
// models speaking time.

#include "codepage/codepage.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinvoice.h"
#include "orrin/orrnusr.h"
#include "orrin/speechsetting.h"
#include "orrin/transcript.h"
#include "orrin/transcriptvoice.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestTranscriptVoice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void setting_data();
    void setting();
    void recordsEveryCall();
    void escaping();
    void speakingTimeIsModelled();
    void speechQueuesBehindSpeech();
    void unwritableTranscriptFailsCreation();
    void eventsCanStopCommands();

private:
    std::unique_ptr<OrrinVoice> make(int msPerChar);
    QTemporaryDir dir_;
    QString path_;
};

void TestTranscriptVoice::init()
{
    Transcript::resetShared();
    path_ = dir_.filePath(QStringLiteral("t%1.txt").arg(QTest::currentTestFunction()));
}

void TestTranscriptVoice::cleanup()
{
    Transcript::resetShared();
}

std::unique_ptr<OrrinVoice> TestTranscriptVoice::make(int msPerChar)
{
    qputenv("WORDLAMP_SPEECH", QStringLiteral("transcript:%1@%2").arg(path_).arg(msPerChar).toUtf8());
    QString error;
    std::unique_ptr<OrrinVoice> v = OrrinVoice::create(&error);
    if (!v)
        qWarning("%s", qPrintable(error));
    return v;
}

void TestTranscriptVoice::setting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("ms");
    QTest::newRow("default") << QString() << int(SpeechSetting::Kind::Speechd) << QString() << 50;
    QTest::newRow("speechd") << QStringLiteral("speechd") << int(SpeechSetting::Kind::Speechd) << QString() << 50;
    QTest::newRow("transcript") << QStringLiteral("transcript:/x/t.txt") << int(SpeechSetting::Kind::Transcript)
                                << QStringLiteral("/x/t.txt") << 50;
    QTest::newRow("timed") << QStringLiteral("transcript:/x/t.txt@0") << int(SpeechSetting::Kind::Transcript)
                           << QStringLiteral("/x/t.txt") << 0;
    QTest::newRow("at in path") << QStringLiteral("transcript:/x@y/t.txt@20") << int(SpeechSetting::Kind::Transcript)
                                << QStringLiteral("/x@y/t.txt") << 20;
    QTest::newRow("no path") << QStringLiteral("transcript:") << int(SpeechSetting::Kind::Invalid) << QString() << 50;
    QTest::newRow("unknown") << QStringLiteral("sapi") << int(SpeechSetting::Kind::Invalid) << QString() << 50;
}

void TestTranscriptVoice::setting()
{
    QFETCH(QString, value);
    QFETCH(int, kind);
    QFETCH(QString, path);
    QFETCH(int, ms);
    const SpeechSetting s = SpeechSetting::parse(value);
    QCOMPARE(int(s.kind), kind);
    if (s.kind == SpeechSetting::Kind::Transcript) {
        QCOMPARE(s.path, path);
        QCOMPARE(s.msPerChar, ms);
    }
    QCOMPARE(s.error.isEmpty(), s.kind != SpeechSetting::Kind::Invalid);
}

void TestTranscriptVoice::recordsEveryCall()
{
    auto v = make(0);
    QVERIFY(v);
    QVERIFY(v->Setup(97));
    v->Speak(QStringLiteral("りんご"), 0);
    v->Settle();
    v->LockSpeech();
    v->UnlockSpeech();
    v->Signal(10, 1, 0);
    v->StopSpeech();
    QCOMPARE(ORRNSETSTATUS(OrrnStatusItem, OrrnSpeedNext, 1), 0);
    ORRNCOMMAND(QStringLiteral("ReadCurLine"), 1, 1);
    QVERIFY(OrvLoaded());
    const QStringList expected{
        QStringLiteral("Setup\t97"),
        QStringLiteral("Speak\tりんご\t0\t0"),
        QStringLiteral("Settle"),
        QStringLiteral("LockSpeech"),
        QStringLiteral("UnlockSpeech"),
        QStringLiteral("Signal\t10\t1\t0"),
        QStringLiteral("StopSpeech"),
        QStringLiteral("ORRNSETSTATUS\t65538\t20\t1"),
        QStringLiteral("ORRNCOMMAND\tReadCurLine\t1\t1"),
    };
    QCOMPARE(testsupport::readLines(path_), expected);
    v.reset();
    QVERIFY(!OrvLoaded());
}

void TestTranscriptVoice::escaping()
{
    auto v = make(0);
    QVERIFY(v);
    const QString text = QStringLiteral("a\tb\r\nc\\d") + QChar(codepage::SpeechEndMarker);
    v->Speak(text, 1);
    const QStringList lines = testsupport::readLines(path_);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0], QStringLiteral("Speak\ta\\tb\\r\\nc\\\\d\\m\t1\t0"));
    QCOMPARE(Transcript::unescape(lines[0].split(u'\t')[1]), text);
}

void TestTranscriptVoice::speakingTimeIsModelled()
{
    auto v = make(20);
    QVERIFY(v);
    QSignalSpy changed(v.get(), &OrrinVoice::speakingChanged);
    QVERIFY(!v->IsSpeaking());
    v->Speak(QStringLiteral("0123456789"), 0); // 200 ms
    QVERIFY(v->IsSpeaking());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toBool(), true);
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), 2000);
    QTRY_COMPARE(changed.size(), 2);
    QCOMPARE(changed[1][0].toBool(), false);

    v->Speak(QStringLiteral("0123456789"), 0);
    QVERIFY(v->IsSpeaking());
    v->StopSpeech();
    QVERIFY(!v->IsSpeaking());
    QCOMPARE(testsupport::readLines(path_).last(), QStringLiteral("StopSpeech"));
}

void TestTranscriptVoice::speechQueuesBehindSpeech()
{
    auto v = make(30);
    QVERIFY(v);
    QElapsedTimer t;
    t.start();
    v->Speak(QStringLiteral("12345"), 0); // 150 ms
    v->Speak(QStringLiteral("12345"), 0); // then 150 ms more
    QTRY_VERIFY_WITH_TIMEOUT(!v->IsSpeaking(), 3000);
    QVERIFY2(t.elapsed() >= 290, qPrintable(QString::number(t.elapsed())));
}

void TestTranscriptVoice::unwritableTranscriptFailsCreation()
{
    path_ = dir_.filePath(QStringLiteral("no/such/folder/t.txt"));
    qputenv("WORDLAMP_SPEECH", QStringLiteral("transcript:%1").arg(path_).toUtf8());
    QString error;
    QVERIFY(!OrrinVoice::create(&error));
    QVERIFY(error.contains(path_));
    qputenv("WORDLAMP_SPEECH", "nonsense");
    QVERIFY(!OrrinVoice::create(&error));
    QVERIFY(error.contains(QStringLiteral("nonsense")));
}

void TestTranscriptVoice::eventsCanStopCommands()
{
    OrrinEvents events;
    QCOMPARE(OrrinEvents::current(), &events);
    QCOMPARE(events.raiseKeyBack(QStringLiteral("ReadAll")), 1);
    connect(&events, &OrrinEvents::KeyBack, this, [](const QString &info, int &exec) {
        if (info == u"ReadAll")
            exec = 0;
    });
    QCOMPARE(events.raiseKeyBack(QStringLiteral("ReadAll")), 0);
    QCOMPARE(events.raiseKeyBack(QStringLiteral("ReadCurLine")), 1);
    events.Shutdown();
    QVERIFY(!OrrinEvents::current());
    QCOMPARE(events.raiseKeyBack(QStringLiteral("ReadAll")), 1);
}

QTEST_GUILESS_MAIN(TestTranscriptVoice)
#include "test_transcriptvoice.moc"
