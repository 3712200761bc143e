// The English voice: its voice names, the choice of engine, the transcript
// form that tests speak to, and the Qt TextToSpeech form with flite.

#include "englishvoice/englishvoice.h"
#include "englishvoice/qtenglishvoice.h"
#include "englishvoice/transcriptenglishvoice.h"
#include "englishvoice/voicename.h"
#include "orrin/transcript.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextToSpeech>

class TestEnglishVoice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void names_data();
    void names();
    void engineChoice_data();
    void engineChoice();
    void transcriptRecordsCalls();
    void transcriptModelsSpeakingTime();
    void transcriptFailureAndRelease();
    void fliteVoices();

private:
    std::unique_ptr<EnglishVoice> make(int msPerChar);
    QTemporaryDir dir_;
    QString path_;
};

void TestEnglishVoice::init()
{
    path_ = dir_.filePath(QStringLiteral("%1.txt").arg(QTest::currentTestFunction()));
    Transcript::resetShared();
}

void TestEnglishVoice::cleanup()
{
    Transcript::resetShared();
}

std::unique_ptr<EnglishVoice> TestEnglishVoice::make(int msPerChar)
{
    qputenv("WORDLAMP_SPEECH", QStringLiteral("transcript:%1@%2").arg(path_).arg(msPerChar).toUtf8());
    return EnglishVoice::create();
}

void TestEnglishVoice::names_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("gender");
    QTest::addColumn<QString>("full");
    QTest::newRow("flite") << QLocale(QLocale::English, QLocale::UnitedStates) << "kal" << int(QVoice::Adult)
                           << int(QVoice::Male) << "English-American: kal (Adult Male)";
    QTest::newRow("British") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "rms" << int(QVoice::Senior)
                             << int(QVoice::Female) << "English-British: rms (Senior Female)";
    QTest::newRow("unknown age and gender")
        << QLocale(QLocale::English, QLocale::India) << " en-in " << int(QVoice::Other) << int(QVoice::Unknown)
        << "English-Indian: en-in (Other Unknown)";
    QTest::newRow("territory without adjective")
        << QLocale(QLocale::English, QLocale::Singapore) << "x" << int(QVoice::Child) << int(QVoice::Male)
        << "English-Singapore: x (Child Male)";
}

void TestEnglishVoice::names()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, name);
    QFETCH(int, age);
    QFETCH(int, gender);
    QFETCH(QString, full);
    QCOMPARE(englishVoiceName(locale, name, QVoice::Age(age), QVoice::Gender(gender)), full);
}

void TestEnglishVoice::engineChoice_data()
{
    QTest::addColumn<QStringList>("engines");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("flite first") << QStringList{"speechd", "flite"} << ""
                                 << "flite";
    QTest::newRow("speech-dispatcher last") << QStringList{"speechd", "other"} << ""
                                            << "other";
    QTest::newRow("speech-dispatcher alone") << QStringList{"speechd"} << ""
                                             << "speechd";
    QTest::newRow("asked for") << QStringList{"speechd", "flite"} << "speechd"
                               << "speechd";
    QTest::newRow("asked for, missing") << QStringList{"flite"} << "speechd"
                                        << "";
    QTest::newRow("none") << QStringList() << ""
                          << "";
}

void TestEnglishVoice::engineChoice()
{
    QFETCH(QStringList, engines);
    QFETCH(QString, wanted);
    QFETCH(QString, chosen);
    QCOMPARE(QtEnglishVoice::chooseEngine(engines, wanted), chosen);
}

void TestEnglishVoice::transcriptRecordsCalls()
{
    std::unique_ptr<EnglishVoice> v = make(0);
    QVERIFY(v);
    QCOMPARE(v->count(), 4);
    QCOMPARE(v->voiceName(2), QStringLiteral("English-American: kal (Adult Male)"));
    QCOMPARE(v->voiceName(0), QString());
    QCOMPARE(v->voiceName(5), QString());
    QVERIFY(!v->setCurrentVoice(5));
    QVERIFY(v->setCurrentVoice(3));
    QCOMPARE(v->currentVoice(), 3);
    v->setSpeed(99);
    QCOMPARE(v->speed(), v->maxSpeed());
    QVERIFY(v->speak(QStringLiteral("Hello\tworld")));
    v->stop();
    QCOMPARE(testsupport::readLines(path_), (QStringList{"SapiVoice\t3\tEnglish-American: slt (Adult Female)",
                                                         "SapiSpeed\t10", "SapiSpeak\tHello\\tworld\t0", "SapiStop"}));
}

void TestEnglishVoice::transcriptModelsSpeakingTime()
{
    std::unique_ptr<EnglishVoice> v = make(10);
    QSignalSpy start(v.get(), &EnglishVoice::audioStart);
    QSignalSpy end(v.get(), &EnglishVoice::audioEnd);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(v->speak(QStringLiteral("ten chars.")));
    QVERIFY(v->isSpeaking());
    QCOMPARE(start.size(), 0); // reported a moment later, as engines do
    QTRY_COMPARE(start.size(), 1);
    QTRY_COMPARE(end.size(), 1);
    QVERIFY(clock.elapsed() >= 95);
    QVERIFY(!v->isSpeaking());
    // Stopping ends the audio at once.
    QVERIFY(v->speak(QStringLiteral("a longer text to stop")));
    v->stop();
    QVERIFY(!v->isSpeaking());
    QCOMPARE(end.size(), 2);
}

void TestEnglishVoice::transcriptFailureAndRelease()
{
    std::unique_ptr<EnglishVoice> v = make(0);
    auto *t = static_cast<TranscriptEnglishVoice *>(v.get());
    t->setFailing(true);
    QVERIFY(!v->speak(QStringLiteral("lost")));
    QVERIFY(!v->setCurrentVoice(1));
    t->setFailing(false);
    QVERIFY(v->available());
    QVERIFY(v->release());
    QVERIFY(!v->available());
    QVERIFY(!v->speak(QStringLiteral("after")));
    QCOMPARE(testsupport::readLines(path_), QStringList());
}

void TestEnglishVoice::fliteVoices()
{
    if (!QTextToSpeech::availableEngines().contains(u"flite"))
        QSKIP("the flite engine of Qt TextToSpeech is not installed");
    qputenv("WORDLAMP_SPEECH", "speechd");
    qputenv("WORDLAMP_ENGLISH_ENGINE", "flite");
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<EnglishVoice> v = EnglishVoice::create();
    qInfo("the flite English voice was ready in %lld ms", clock.elapsed());
    qunsetenv("WORDLAMP_ENGLISH_ENGINE");
    QVERIFY(v);
    QVERIFY(dynamic_cast<QtEnglishVoice *>(v.get()));
    QStringList names;
    for (int i = 1; i <= v->count(); ++i)
        names << v->voiceName(i);
    QVERIFY2(names.contains(QStringLiteral("English-American: kal (Adult Male)")), qPrintable(names.join(u", ")));
    const int kal = int(names.indexOf(QStringLiteral("English-American: kal (Adult Male)"))) + 1;
    QVERIFY(v->setCurrentVoice(kal));
    QCOMPARE(v->currentVoice(), kal);
    QVERIFY(!v->setCurrentVoice(v->count() + 1));
    v->setSpeed(v->minSpeed());
    QCOMPARE(v->speed(), -10);
    QVERIFY(!v->isSpeaking());

    // A text asked for is speaking at once, until the engine ends it; an
    // engine that cannot play (no audio device here) says so at its first
    // failure and is not available afterwards.
    v->setSpeed(0);
    QSignalSpy failed(v.get(), &EnglishVoice::cannotPlay);
    QVERIFY(v->speak(QStringLiteral("hello")));
    QVERIFY(v->isSpeaking());
    QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty() || !v->isSpeaking(), 10000);
    if (failed.isEmpty())
        QSKIP("this machine has an audio device: the failure cannot be seen");
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), QStringLiteral("hello"));
    QVERIFY(!v->available());
    QVERIFY(!v->isSpeaking());
}

QTEST_MAIN(TestEnglishVoice)
#include "test_englishvoice.moc"
