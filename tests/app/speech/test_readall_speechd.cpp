// End to end: a read-all of a three-line Japanese and English entry through
// the speech-dispatcher back end, against a speech-dispatcher of the test's
// own that records what reaches its synthesiser; and a read-all stopped
// midway, which stops the synthesiser.

#include "speechfixture.h"

#include "form/richtextbox.h"
#include "lookup/dicstrconv.h"
#include "lookup/textpanesink.h"
#include "orrin/orrinvoice.h"
#include "orrin/speechtext.h"
#include "privatespeechd.h"
#include "settings/settingsstore.h"

#include <QElapsedTimer>
#include <QTest>

class TestReadAllSpeechd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readsTheEntryInOrder();
    void stoppingStopsTheSynthesiser();
    void kanjiAreReadAsTheEntryReadsThem();

private:
    std::unique_ptr<SpeechFixture> startProgram(bool kanjiReadings = false);
    testsupport::PrivateSpeechd server_;
};

namespace {
constexpr int Patience = 10000;
}

void TestReadAllSpeechd::initTestCase()
{
    QVERIFY(server_.isValid());
    QElapsedTimer t;
    t.start();
    QVERIFY2(server_.start(), "speech-dispatcher did not start");
    qInfo("private speech-dispatcher ready after %lld ms", t.elapsed());
}

void TestReadAllSpeechd::init()
{
    server_.clearRecording();
}

void TestReadAllSpeechd::cleanup()
{
    qunsetenv("SPEECHD_ADDRESS");
}

std::unique_ptr<SpeechFixture> TestReadAllSpeechd::startProgram(bool kanjiReadings)
{
    auto f = std::make_unique<SpeechFixture>();
    // The screen reader speaks through speech-dispatcher: ours, never one
    // started with the machine's configuration. Kanji are left as they are,
    // so that the recording shows the chunks exactly.
    qputenv("WORDLAMP_SPEECH", "speechd");
    qputenv("SPEECHD_ADDRESS", server_.address().toUtf8());
    qputenv("WORDLAMP_SPEECHD_AUTOSPAWN", "0");
    qputenv("WORDLAMP_KANJI_READINGS", kanjiReadings ? "1" : "0");
    // English goes to the screen reader too: there is no sound card for the
    // English voice here.
    settings::writeBool(settings::Key::EngUse, false);
    if (!f->start())
        return nullptr;
    return f;
}

void TestReadAllSpeechd::readsTheEntryInOrder()
{
    std::unique_ptr<SpeechFixture> f = startProgram();
    QVERIFY(f);
    server_.clearRecording();
    f->setPane(QStringLiteral("りんご、林檎。\nan apple a day は、\nおわり。"));
    QElapsedTimer t;
    t.start();
    f->speech().AllRead();
    qInfo("read in %lld ms", t.elapsed());
    QVERIFY(f->form().AllReadIdle);
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(),
                              (QStringList{"りんご、", "林檎。", "an apple a day", "は、", "おわり。", "読み 終わり"}),
                              Patience);
    QStringList languages;
    for (const auto &s : server_.recording())
        languages << s.language;
    QCOMPARE(languages, (QStringList{"ja", "ja", "en", "ja", "ja", "ja"}));
}

void TestReadAllSpeechd::stoppingStopsTheSynthesiser()
{
    std::unique_ptr<SpeechFixture> f = startProgram();
    QVERIFY(f);
    server_.clearRecording();
    // The server's synthesiser stays busy with "HOLD" for 30 seconds unless
    // it is stopped.
    f->setPane(QStringLiteral("はじめ。\nHOLD、\nつづき。"));
    QTimer poll;
    QElapsedTimer stoppedAt;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (server_.recordedTexts().contains(QStringLiteral("HOLD")) && !stoppedAt.isValid()) {
            stoppedAt.start();
            f->speech().AllCancel(); // what the stop button does
        }
    });
    poll.start(20);
    f->speech().AllRead();
    poll.stop();
    QVERIFY(stoppedAt.isValid());
    QVERIFY2(stoppedAt.elapsed() < 3000, "the reading went on after it was stopped");
    QVERIFY(f->form().AllReadIdle);
    // The synthesiser was stopped: a new text reaches it at once instead of
    // after the held one, and nothing after the stop point was spoken.
    QElapsedTimer t;
    t.start();
    f->form().Voice1->Speak(QStringLiteral("あと"), 0);
    QTRY_COMPARE_WITH_TIMEOUT(server_.recordedTexts(), (QStringList{"はじめ。", "HOLD", "あと"}), Patience);
    QVERIFY(t.elapsed() < 5000);
}

void TestReadAllSpeechd::kanjiAreReadAsTheEntryReadsThem()
{
    // English-Japanese lines whose readings the pane does not show: the voice
    // says the entry's first reading, not a guess (MeCab reads 金 キン and
    // 認める ミトメル); a kanji the entry gives no reading for is read by
    // MeCab; no kanji reaches the synthesiser.
    std::unique_ptr<SpeechFixture> f = startProgram(true);
    QVERIFY(f);
    lookup::LookupState state;
    state.DicMode = lookup::EnglishJapanese;
    state.DicKana = true;
    state.record.HitLines = {
        QStringLiteral("■money {名} : 金{かね・きん}"), QStringLiteral("■eat {動} : 認める{したためる} (arch)"),
        QStringLiteral("■eat {動} : 手を打つ{てをうつ}; 林檎"), QStringLiteral("■gold : 金{こがね・きん}")};
    lookup::TextPaneSink sink(f->form().Text2);
    lookup::DicStrConv(state, sink);
    f->form().Text2->moveCursor(QTextCursor::Start);
    const QString shown = f->form().Text2->toPlainText();
    QVERIFY2(!shown.contains(QStringLiteral("かね")), qPrintable(shown));
    server_.clearRecording();
    f->speech().AllRead();
    QTRY_VERIFY_WITH_TIMEOUT(server_.recordedTexts().join(u'|').contains(QStringLiteral("オワリ")), Patience);
    const QString heard = server_.recordedTexts().join(u'|');
    for (const char *reading : {"かね", "したためる", "てを", "うつ", "リンゴ", "こがね"})
        QVERIFY2(heard.contains(QString::fromUtf8(reading)), qPrintable(heard));
    for (const char *guess : {"キン", "ミトメル"})
        QVERIFY2(!heard.contains(QString::fromUtf8(guess)), qPrintable(heard));
    for (const QString &text : server_.recordedTexts())
        QVERIFY2(!speechtext::containsKanji(text), qPrintable(text));
    // The pane keeps the text as shown.
    QCOMPARE(f->form().Text2->toPlainText(), shown);
}

QTEST_MAIN(TestReadAllSpeechd)
#include "test_readall_speechd.moc"
