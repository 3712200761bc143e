// The speech output layer: which voice speaks, the English voice's failure
// count, the start-up checks and messages, the screen reader's events, the
// presence indicator, the waits, and shutdown.

#include "speechfixture.h"

#include "englishvoice/transcriptenglishvoice.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinsupport.h"
#include "orrin/transcript.h"
#include "orrin/transcriptvoice.h"
#include "settings/settingsstore.h"
#include "speech/speechlayer.h"
#include "speech/systemutil.h"

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <sys/resource.h>

class TestSpeechLayer : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void sapiGoChoosesTheVoice_data();
    void sapiGoChoosesTheVoice();
    void sapiFailuresSwitchEnglishOff();
    void sapiCancel();
    void allCancel();
    void englishCheck_data();
    void englishCheck();
    void screenReaderMissing();
    void englishVoiceMissing();
    void englishEngineBroken();
    void brailleMessageOncePerUser();
    void voiceBack_data();
    void voiceBack();
    void presenceIndicator();
    void waitsEndWhenReadingIsStopped();
    void waitDoesNotSpin();
    void shutdownAndFarewell();
    void postKey();
};

namespace {
// Makes the English voice offer `voices` (in this order).
void offerVoices(const QStringList &voices)
{
    EnglishVoice::setFactory([voices](QString *error) {
        std::unique_ptr<EnglishVoice> v = TranscriptEnglishVoice::create(error);
        if (auto *t = dynamic_cast<TranscriptEnglishVoice *>(v.get()))
            t->setVoices(voices);
        return v;
    });
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
} // namespace

void TestSpeechLayer::cleanup()
{
    EnglishVoice::setFactory({});
}

void TestSpeechLayer::sapiGoChoosesTheVoice_data()
{
    QTest::addColumn<bool>("englishMode");
    QTest::addColumn<bool>("engUse");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("English voice") << true << true
                                   << QStringList{"StopSpeech", "SapiSpeak\thello\t0", "Signal\t100\t11\t0"};
    QTest::newRow("English reading not wanted") << true << false << QStringList{"StopSpeech", "Speak\thello\t0\t0"};
    QTest::newRow("no English voice") << false << true << QStringList{"StopSpeech", "Speak\thello\t0\t0"};
}

void TestSpeechLayer::sapiGoChoosesTheVoice()
{
    QFETCH(bool, englishMode);
    QFETCH(bool, engUse);
    QFETCH(QStringList, lines);
    SpeechFixture f;
    QVERIFY(f.start());
    f.setEnglish(englishMode, engUse);
    f.speech().SapiGo(QStringLiteral("hello"));
    QCOMPARE(f.lines(), lines);
}

void TestSpeechLayer::sapiFailuresSwitchEnglishOff()
{
    SpeechFixture f;
    QVERIFY(f.start());
    QVERIFY(f.form().EnglishMode);
    f.english()->setFailing(true);
    for (int i = 0; i < 5; ++i)
        f.speech().SapiGo(QStringLiteral("fail"));
    f.english()->setFailing(false);
    f.speech().SapiGo(QStringLiteral("works")); // one success resets the count
    QCOMPARE(f.speech().layer().sapiErrorCount(), 0);
    f.english()->setFailing(true);
    f.mark();
    for (int i = 0; i < 10; ++i)
        f.speech().SapiGo(QStringLiteral("fail"));
    QVERIFY(f.form().EnglishMode); // ten in a row keep English on
    QCOMPARE(f.speech().layer().sapiErrorCount(), 10);
    // A failed text is not spoken by anyone.
    QCOMPARE(f.lines().filter(QStringLiteral("fail")), QStringList());
    QCOMPARE(f.lines().filter(QStringLiteral("Signal")), QStringList());
    f.speech().SapiGo(QStringLiteral("fail"));
    QVERIFY(!f.form().EnglishMode); // the eleventh switches it off
    f.mark();
    f.speech().SapiGo(QStringLiteral("now the screen reader"));
    QCOMPARE(f.lines(), (QStringList{"StopSpeech", "Speak\tnow the screen reader\t0\t0"}));
}

void TestSpeechLayer::sapiCancel()
{
    SpeechFixture f(20);
    QVERIFY(f.start());
    f.speech().SapiCancel(); // nothing is being said
    QCOMPARE(f.lines(), QStringList());
    f.speech().SapiGo(QStringLiteral("a long English sentence"));
    QVERIFY(f.english()->isSpeaking());
    f.form().EngUse = false;
    f.mark();
    f.speech().SapiCancel(); // English reading not wanted: left alone
    QCOMPARE(f.lines(), QStringList());
    f.form().EngUse = true;
    f.speech().SapiCancel();
    QCOMPARE(f.lines(), QStringList{"SapiStop"});
    QVERIFY(!f.english()->isSpeaking());
}

void TestSpeechLayer::allCancel()
{
    SpeechFixture f;
    QVERIFY(f.start());
    f.speech().AllCancel(); // nothing reading
    QCOMPARE(f.lines(), QStringList());
    f.form().AllReadFlag = true;
    f.form().AllReadIdle = false;
    f.speech().AllCancel();
    QVERIFY(!f.form().AllReadFlag);
    QCOMPARE(f.lines(), (QStringList{"StopSpeech", "StopSpeech"}));
}

void TestSpeechLayer::englishCheck_data()
{
    QTest::addColumn<QStringList>("voices");
    QTest::addColumn<QString>("stored"); // empty: never stored
    QTest::addColumn<int>("index");      // 0: no English mode
    QTest::addColumn<QString>("name");

    const QStringList standard = TranscriptEnglishVoice::defaultVoices();
    QTest::newRow("never stored: the first English voice")
        << standard << "" << 2 << "English-American: kal (Adult Male)";
    QTest::newRow("never stored: the default voice when there")
        << QStringList{"English-American: kal (Adult Male)", "English-American: Reed (Adult Male)"} << "" << 2
        << "English-American: Reed (Adult Male)";
    QTest::newRow("never stored, no English voice")
        << QStringList{"Japanese-Japan: mei (Adult Female)"} << "" << 0 << "English-American: Reed (Adult Male)";
    QTest::newRow("stored name matches") << standard << "English-American: slt (Adult Female)" << 3
                                         << "English-American: slt (Adult Female)";
    QTest::newRow("stored name differs in case")
        << standard << "english-american: kal (adult male)" << 0 << "english-american: kal (adult male)";
    QTest::newRow("stored default not installed")
        << standard << "English-American: Reed (Adult Male)" << 0 << "English-American: Reed (Adult Male)";
    QTest::newRow("no voices at all") << QStringList() << "" << 0 << "English-American: Reed (Adult Male)";
}

void TestSpeechLayer::englishCheck()
{
    QFETCH(QStringList, voices);
    QFETCH(QString, stored);
    QFETCH(int, index);
    QFETCH(QString, name);
    SpeechFixture f;
    if (!stored.isEmpty())
        settings::writeText(settings::Key::SapiEngine, stored);
    offerVoices(voices);
    QVERIFY(f.start());
    QCOMPARE(f.messages.size(), 0);
    QCOMPARE(f.form().EnglishMode, index != 0);
    QCOMPARE(f.form().SapiEngineName, name);
    QCOMPARE(f.form().action(QStringLiteral("mnu_yomi_english"))->isEnabled(), index != 0);
    if (index != 0) {
        QCOMPARE(f.form().SapiEngineID, QString::number(index));
        QCOMPARE(f.english()->currentVoice(), index);
    }
    // The chosen name is not written back: a default stays a default.
    QCOMPARE(settings::get(settings::SettingsSection, settings::name(settings::Key::SapiEngine), QStringLiteral("-")),
             stored.isEmpty() ? QStringLiteral("-") : stored);

    // The voice dialog's menu item follows English mode when the
    // Environment menu opens; opening it also stops a read-all.
    f.form().show();
    f.form().AllReadFlag = true;
    QMenu *menu = f.form().menu(QStringLiteral("mnu_kankyo"));
    menu->popup(QPoint(0, 0));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(f.form().action(QStringLiteral("mnu_kankyo_english"))->isEnabled(), index != 0);
    QVERIFY(!f.form().AllReadFlag);
    menu->hide();
}

void TestSpeechLayer::screenReaderMissing()
{
    SpeechFixture f;
    qputenv("WORDLAMP_SPEECH", "nonsense");
    QVERIFY(!f.start());
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(f.messages[0].title, QStringLiteral("起動エラー"));
    QCOMPARE(f.messages[0].text, QStringLiteral("Orrinがインストールされていません"));
    QVERIFY(!f.form().Voice1);
}

void TestSpeechLayer::englishVoiceMissing()
{
    SpeechFixture f;
    EnglishVoice::setFactory([](QString *) { return std::unique_ptr<EnglishVoice>(); });
    QVERIFY(!f.start());
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(f.messages[0].title, QStringLiteral("起動エラー"));
    QCOMPARE(f.messages[0].text, QStringLiteral("SAPI4.0がインストールされていません"));
}

void TestSpeechLayer::englishEngineBroken()
{
    // An engine that failed is given up; the program starts without English.
    SpeechFixture f;
    EnglishVoice::setFactory([](QString *error) {
        std::unique_ptr<EnglishVoice> v = TranscriptEnglishVoice::create(error);
        v->release();
        return v;
    });
    QVERIFY(f.start());
    QCOMPARE(f.messages.size(), 0);
    QVERIFY(!f.form().EnglishMode);
}

void TestSpeechLayer::brailleMessageOncePerUser()
{
    {
        SpeechFixture f;
        QVERIFY(f.start()); // the program folder holds the table
        QCOMPARE(f.messages.size(), 0);
        QVERIFY(BrixLoaded());
        BrixFree();
    }
    SpeechFixture f;
    f.speech().layer().setProgramFolder(f.settings().dir());
    QVERIFY(f.start());
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(f.messages[0].title, QStringLiteral("BRIX 設定エラー"));
    QCOMPARE(f.messages[0].text,
             QStringLiteral("BRIXまたは点字ファイルが見つかりません\n点字コマンドは使用できません"));
    QVERIFY(settings::readBool(settings::Key::BrixCheck));
    f.speech().loadBrailleTable(); // still failing: no second message
    QCOMPARE(f.messages.size(), 1);
}

void TestSpeechLayer::voiceBack_data()
{
    QTest::addColumn<int>("voiceInfo");
    QTest::addColumn<bool>("capture");
    QTest::addColumn<int>("exec");
    QTest::newRow("3 during a capture") << 3 << true << 0;
    QTest::newRow("3 outside a capture") << 3 << false << 1;
    QTest::newRow("other during a capture") << 1 << true << 1;
}

void TestSpeechLayer::voiceBack()
{
    QFETCH(int, voiceInfo);
    QFETCH(bool, capture);
    QFETCH(int, exec);
    SpeechFixture f;
    QVERIFY(f.start());
    f.form().CaptureActive = capture;
    QCOMPARE(f.form().OrvBack->raiseVoiceBack(voiceInfo), exec);
    f.form().CaptureActive = false;
}

void TestSpeechLayer::presenceIndicator()
{
    SpeechFixture f;
    QVERIFY(f.start());
    QVERIFY(f.form().chkOrrin.isActive());
    QCOMPARE(f.form().chkOrrin.interval(), 4000);
    QVERIFY(f.form().Image2->isHidden()); // the screen reader is there
    f.voice()->setLoaded(false);
    f.speech().VIconSet();
    QVERIFY(!f.form().Image2->isHidden());
    f.voice()->setLoaded(true);
    f.speech().VIconSet();
    QVERIFY(f.form().Image2->isHidden());
    f.form().QevSelMode = true; // a range command shows the cover too
    f.speech().VIconSet();
    QVERIFY(!f.form().Image2->isHidden());
    f.form().QevSelMode = false;
    f.speech().VIconSet();
    QVERIFY(f.form().Image2->isHidden());
}

void TestSpeechLayer::waitsEndWhenReadingIsStopped()
{
    SpeechFixture f(50);
    QVERIFY(f.start());
    f.form().AllReadFlag = true;
    f.form().Voice1->Speak(QString(100, u'あ'), 0); // five seconds
    QTimer::singleShot(100, [&] { f.form().AllReadFlag = false; });
    QElapsedTimer clock;
    clock.start();
    f.speech().AllReadWait();
    QVERIFY(clock.elapsed() < 2000);
    QVERIFY(f.voice()->IsSpeaking());

    f.form().AllReadFlag = true;
    f.speech().SapiGo(QString(100, u'a'));
    QTimer::singleShot(100, [&] { f.form().AllReadFlag = false; });
    clock.restart();
    f.speech().AllReadWaitSapi();
    QVERIFY(clock.elapsed() < 2000);
    QVERIFY(f.english()->isSpeaking());
}

void TestSpeechLayer::waitDoesNotSpin()
{
    SpeechFixture f(50);
    QVERIFY(f.start());
    f.form().AllReadFlag = true;
    f.form().Voice1->Speak(QString(100, u'あ'), 0); // five seconds
    const double cpu = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    f.speech().AllReadWait();
    const qint64 waited = clock.elapsed();
    const double used = cpuSeconds() - cpu;
    qInfo("waited %lld ms using %.3f s of processor time", waited, used);
    QVERIFY(waited >= 4800);
    QVERIFY(!f.voice()->IsSpeaking());
    QVERIFY2(used < 0.5, qPrintable(QString::number(used)));
}

void TestSpeechLayer::shutdownAndFarewell()
{
    SpeechFixture f;
    QVERIFY(f.start());
    QVERIFY(BrixLoaded());
    f.form().AllReadFlag = true;
    f.speech().stopForShutdown();
    f.speech().sayFarewell();
    QVERIFY(!f.form().AllReadFlag);
    QVERIFY(!BrixLoaded());
    QVERIFY(f.form().OrvBack->isShutDown());
    QCOMPARE(f.lines(), (QStringList{"StopSpeech", "Speak\tランプの英和 和英辞典 おわり\t0\t0", "Settle"}));
}

void TestSpeechLayer::postKey()
{
    QLineEdit edit;
    QList<QString> seen;
    struct Spy : QObject {
        QList<QString> *seen;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
                auto *k = static_cast<QKeyEvent *>(e);
                seen->append(QStringLiteral("%1 %2 '%3' %4")
                                 .arg(e->type() == QEvent::KeyPress ? "press" : "release")
                                 .arg(k->key(), 0, 16)
                                 .arg(k->text())
                                 .arg(k->nativeScanCode()));
            }
            return false;
        }
    } spy;
    spy.seen = &seen;
    edit.installEventFilter(&spy);
    // A full-width space turned into a real one; Space in a list turned into
    // the right arrow, with no character.
    PostKey(&edit, 32, 3735553);
    PostKey(&edit, 39, 21823489);
    QVERIFY(seen.isEmpty()); // posted, not sent
    QCoreApplication::processEvents();
    QCOMPARE(seen,
             (QList<QString>{"press 20 ' ' 57", "release 20 ' ' 57", "press 1000014 '' 77", "release 1000014 '' 77"}));
    QCOMPARE(edit.text(), QStringLiteral(" "));
}

QTEST_MAIN(TestSpeechLayer)
#include "test_speechlayer.moc"
