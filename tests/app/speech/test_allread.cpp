// Read-all over the result pane: the chunks spoken, in order, by which
// voice, with the pane's highlight at each; going back, skipping and
// clicking while it reads; how it ends.

#include "speechfixture.h"

#include "form/richtextbox.h"
#include "orrin/orrinevents.h"
#include "orrin/transcriptvoice.h"
#include "speech/reading.h"

#include <QKeyEvent>
#include <QTest>

class TestAllRead : public QObject {
    Q_OBJECT
private slots:
    void chunks_data();
    void chunks();
    void readingButtons_data();
    void readingButtons();
    void lineEndSettlesInsteadOfWaiting();
    void japaneseLineIsNotCutByTheEnglishVoice();
    void clickStopsAtTheClickedPosition();
    void stopEndsWithSignal();
    void refused_data();
    void refused();
    void playPicture();
    void screenReaderReadAllKey();
    void readAllTopFromMenu();
    void keysDuringReading_data();
    void keysDuringReading();
    void windowGoesAwayWhileReading();
};

namespace {
const QString Done = QStringLiteral("Speak 読み 終わり []");
}

void TestAllRead::chunks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("english"); // "on", "off", or "unwanted" (a voice, but EngUse off)
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("English run ends at a Japanese character")
        << "appleは、" << 0 << "on" << QStringList{"SapiSpeak apple [apple]", "Speak は、 [は、]", Done};
    QTest::newRow("no English voice: English to the screen reader")
        << "appleは、" << 0 << "off" << QStringList{"Speak apple [apple]", "Speak は、 [は、]", Done};
    QTest::newRow("English reading not wanted: English to the screen reader")
        << "appleは、" << 0 << "unwanted" << QStringList{"Speak apple [apple]", "Speak は、 [は、]", Done};
    QTest::newRow("numbers do not split, sentence ends and を do")
        << "3.5と1,000です。本を" << 0 << "on"
        << QStringList{"Speak 3.5と1,000です。 [3.5と1,000です。]", "Speak 本を [本を]", Done};
    QTest::newRow("full-width number") << "３．５個。" << 0 << "on"
                                       << QStringList{"Speak ３．５個。 [３．５個。]", Done};
    QTest::newRow("punctuation without a digit splits")
        << "これ.あれ，それ" << 0 << "on"
        << QStringList{"Speak これ. [これ.]", "Speak あれ， [あれ，]", "Speak それ []", Done};
    QTest::newRow("line end spoken with its carriage return")
        << "日本\n語です。" << 0 << "on" << QStringList{"Speak 日本\\r [日本]", "Speak 語です。 [語です。]", Done};
    QTest::newRow("space ends a chunk") << "日本 語" << 0 << "on"
                                        << QStringList{"Speak 日本  [日本]", "Speak 語 []", Done};
    QTest::newRow("English at the very end goes to the screen reader")
        << "テストabc" << 0 << "on" << QStringList{"Speak テスト [テスト]", "Speak abc []", Done};
    QTest::newRow("English run with spaces and a question mark")
        << "Why? はい。" << 0 << "on" << QStringList{"SapiSpeak Why?  [Why? ]", "Speak はい。 [はい。]", Done};
    QTest::newRow("English run ended by a line end")
        << "word\nです" << 0 << "on" << QStringList{"SapiSpeak word [word]", "Speak \\rです []", Done};
    QTest::newRow("Japanese then English then Japanese")
        << "林檎はapple。" << 0 << "on"
        << QStringList{"Speak 林檎は [林檎は]", "SapiSpeak apple [apple]", "Speak 。 []", Done};
    QTest::newRow("from the cursor") << "あいう、えお。" << 4 << "on" << QStringList{"Speak えお。 [えお。]", Done};
    QTest::newRow("on the second line") << "一行目。\n二行目。\n三" << 5 << "on"
                                        << QStringList{"Speak 二行目。 [二行目。]", "Speak \\r []", "Speak 三 []",
                                                       Done};
    QTest::newRow("empty pane") << "" << 0 << "on" << QStringList{Done};
}

void TestAllRead::chunks()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, english);
    QFETCH(QStringList, expected);
    SpeechFixture f;
    QVERIFY(f.start());
    f.setEnglish(english != u"off", english == u"on");
    f.setPane(text, cursor);
    f.mark();
    f.speech().AllRead();
    QCOMPARE(f.spoken(), expected);
    QVERIFY(!f.form().AllReadFlag);
    QVERIFY(f.form().AllReadIdle);
}

void TestAllRead::readingButtons_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flag");   // set while this chunk is spoken ...
    QTest::addColumn<QString>("during"); // ...
    QTest::addColumn<QStringList>("chunks");

    QTest::newRow("back to the sentence before the last")
        << "あ、い、う、え、"
        << "ReadBack"
        << "う、" << QStringList{"あ、", "い、", "う、", "あ、", "い、", "う、", "え、"};
    QTest::newRow("back stops on a delimiter, which is read alone")
        << "ぞ、あ、い、う、"
        << "ReadBack"
        << "う、" << QStringList{"ぞ、", "あ、", "い、", "う、", "、", "あ、", "い、", "う、"};
    QTest::newRow("back after the first chunk goes on") << "あ、い、"
                                                        << "ReadBack"
                                                        << "あ、" << QStringList{"あ、", "い、"};
    const QString a = QString(10, u'あ') + u'。';
    const QString i = QString(100, u'い') + u'。';
    const QString u = QString(5, u'う') + u'。';
    QTest::newRow("back 100 characters to a delimiter")
        << a + i + u << "ReadBack100" << u << QStringList{a, i, u, "。", i, u};
    QTest::newRow("back 100 from near the start goes to the start")
        << a + u << "ReadBack100" << u << QStringList{a, u, a, u};
    QTest::newRow("skip past the following lines") << "一行目。\n二行目。\n三行目。"
                                                   << "ReadSkip"
                                                   << "一行目。" << QStringList{"一行目。", "三行目。"};
    QTest::newRow("skip without a further line goes on") << "一つ。二つ。"
                                                         << "ReadSkip"
                                                         << "一つ。" << QStringList{"一つ。", "二つ。"};
    QString many;
    for (int n = 1; n <= 14; ++n)
        many += QStringLiteral("%1行。\n").arg(QChar(u'Ａ' + n));
    QStringList afterEleven{"Ｂ行。"};
    for (int n = 13; n <= 15; ++n)
        afterEleven << QStringLiteral("%1行。").arg(QChar(u'Ａ' + n - 1)) << "\\r";
    afterEleven.removeLast();
    QTest::newRow("skip stops after the eleventh line end") << many.chopped(1) << "ReadSkip"
                                                            << "Ｂ行。" << afterEleven;
}

void TestAllRead::readingButtons()
{
    QFETCH(QString, text);
    QFETCH(QString, flag);
    QFETCH(QString, during);
    QFETCH(QStringList, chunks);
    SpeechFixture f;
    QVERIFY(f.start());
    f.setPane(text);
    bool set = false;
    f.onLine([&](const QString &op, const QStringList &args) {
        if (op == u"Speak" && args.value(0) == during && !set) {
            set = true;
            (flag == u"ReadBack"      ? f.form().ReadBack
             : flag == u"ReadBack100" ? f.form().ReadBack100
                                      : f.form().ReadSkip) = true;
        }
    });
    f.mark();
    f.speech().AllRead();
    QStringList said;
    for (const QString &line : f.spoken())
        said << line.section(QLatin1Char(' '), 1).section(QStringLiteral(" ["), 0, 0);
    QCOMPARE(said.takeLast(), QStringLiteral("読み 終わり"));
    // Line ends read on their own are left out of the comparison unless listed.
    if (!chunks.contains(QStringLiteral("\\r")))
        said.removeAll(QStringLiteral("\\r"));
    QCOMPARE(said, chunks);
}

void TestAllRead::lineEndSettlesInsteadOfWaiting()
{
    // With speaking time, a chunk that ends a line is followed by Settle, not
    // by the read-all wait; Settle lets the line be spoken to its end, so the
    // next chunk starts when the line has been heard.
    SpeechFixture f(20);
    QVERIFY(f.start());
    f.setPane(QStringLiteral("一行\n二行。三"));
    QStringList busy;
    f.onLine([&](const QString &op, const QStringList &args) {
        if (op == u"Speak")
            busy << QStringLiteral("%1 %2").arg(args.value(0), f.voice()->IsSpeaking() ? "busy" : "idle");
    });
    f.speech().AllRead();
    QCOMPARE(busy, (QStringList{"一行\r idle", "二行。 idle", "三 idle", "読み 終わり idle"}));
    QVERIFY(f.spoken({"Settle"}).contains(QStringLiteral("Settle")));
    QCOMPARE(f.spoken({"Settle"}).indexOf(QStringLiteral("Settle")), 1);
}

void TestAllRead::japaneseLineIsNotCutByTheEnglishVoice()
{
    // An English-Japanese entry: every line starts with an English headword,
    // which goes to the English voice after stopping the screen reader. The
    // Japanese meaning before it must have been spoken to its end by then.
    SpeechFixture f(20);
    QVERIFY(f.start());
    f.setPane(QStringLiteral("apple\nりんご\napple\nアップル\n"));
    QStringList heard;
    f.onLine([&](const QString &op, const QStringList &args) {
        if (op == u"StopSpeech" && f.voice()->IsSpeaking())
            heard << QStringLiteral("cut");
        if (op == u"SapiSpeak" || op == u"Speak")
            heard << args.value(0);
    });
    f.speech().AllRead();
    QVERIFY2(!heard.contains(QStringLiteral("cut")), qPrintable(heard.join(u'|')));
    // The line end that ended the English run starts the Japanese chunk.
    QVERIFY2(heard.contains(QStringLiteral("\rりんご\r")), qPrintable(heard.join(u'|')));
}

void TestAllRead::clickStopsAtTheClickedPosition()
{
    SpeechFixture f;
    QVERIFY(f.start());
    f.setPane(QStringLiteral("あいう、えお、かき、"));
    f.onLine([&](const QString &op, const QStringList &args) {
        if (op == u"Speak" && args.value(0) == u"えお、") {
            // What a click in the pane does while it reads.
            f.form().AllReadFlag = false;
            f.form().ReadClickPos = 8;
        }
    });
    f.mark();
    f.speech().AllRead();
    QCOMPARE(f.spoken({"Signal"}),
             (QStringList{"Speak あいう、 [あいう、]", "Speak えお、 [えお、]", "Signal 10 3 0"}));
    QCOMPARE(f.paneCursor(), 8);
    QVERIFY(!f.form().Text2->textCursor().hasSelection());
    QCOMPARE(f.form().ReadClickPos, 0);
}

void TestAllRead::stopEndsWithSignal()
{
    // A read-all stopped while it waits for speech (AllCancel from an event)
    // ends with the stop signal instead of "読み 終わり"; what the stopping
    // key said (the line the caret moved to) is not cut off.
    SpeechFixture f(30);
    QVERIFY(f.start());
    f.setPane(QStringLiteral("あいうえお。かきくけこ。"));
    QTimer::singleShot(60, [&] {
        f.speech().AllCancel();
        f.form().Voice1->Speak(QStringLiteral("かきくけこ"), 0);
    });
    f.mark();
    f.speech().AllRead();
    const QStringList said = f.spoken({"Signal"});
    QCOMPARE(said.first(), QStringLiteral("Speak あいうえお。 [あいうえお。]"));
    QCOMPARE(said.last(), QStringLiteral("Signal 10 3 0"));
    QVERIFY(!said.join(u'|').contains(u"読み 終わり"));
    QVERIFY(f.form().AllReadIdle);
    const QStringList lines = f.lines();
    qsizetype moved = -1;
    qsizetype lastStop = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (moved < 0 && lines[i].startsWith(QStringLiteral("Speak\tかきくけこ\t")))
            moved = i;
        if (lines[i] == u"StopSpeech")
            lastStop = i;
    }
    QVERIFY2(moved >= 0, qPrintable(lines.join(u'|')));
    QVERIFY(lastStop < moved);
}

void TestAllRead::refused_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("already reading") << 0;
    QTest::newRow("not idle") << 1;
    QTest::newRow("screen reader not loaded") << 2;
}

void TestAllRead::refused()
{
    QFETCH(int, state);
    SpeechFixture f;
    QVERIFY(f.start());
    f.setPane(QStringLiteral("あいう。"));
    if (state == 0)
        f.form().AllReadFlag = true;
    else if (state == 1)
        f.form().AllReadIdle = false;
    else
        f.voice()->setLoaded(false);
    f.mark();
    f.speech().AllRead();
    QCOMPARE(f.lines(), QStringList());
}

void TestAllRead::playPicture()
{
    SpeechFixture f;
    QVERIFY(f.start());
    f.setPane(QStringLiteral("あ。"));
    QList<bool> states;
    QObject::connect(&f.form(), &MainForm::readAllStateChanged, [&](bool on) { states << on << f.form().AllReadIdle; });
    f.speech().AllRead();
    QCOMPARE(states, (QList<bool>{true, false, false, false}));
    QVERIFY(f.form().AllReadIdle);
}

void TestAllRead::screenReaderReadAllKey()
{
    // The screen reader's own read-all key is stopped and, once its event
    // has returned, the program's read-all from the cursor runs instead.
    SpeechFixture f;
    QVERIFY(f.start());
    f.setPane(QStringLiteral("あいう、えお。"), 4);
    f.mark();
    QCOMPARE(f.form().OrvBack->raiseKeyBack(QStringLiteral("ReadAll")), 0);
    QCOMPARE(f.form().KeyMemo, QStringLiteral("ReadAll"));
    QVERIFY(f.form().TimerMemo.isActive());
    QVERIFY(f.form().Timer1.isActive());
    QCOMPARE(f.spoken(), QStringList()); // nothing while the event runs
    QTRY_COMPARE(f.spoken(), (QStringList{"Speak えお。 [えお。]", Done}));
    QVERIFY(!f.form().TimerMemo.isActive());

    // Other key commands run as the screen reader's own.
    f.mark();
    QCOMPARE(f.form().OrvBack->raiseKeyBack(QStringLiteral("ReadCurLine")), 1);
    QVERIFY(!f.form().TimerMemo.isActive());
    QTest::qWait(30);
    QCOMPARE(f.spoken(), QStringList());

    // From the input box the key reads nothing.
    f.form().Text1Enable = true;
    f.mark();
    QCOMPARE(f.form().OrvBack->raiseKeyBack(QStringLiteral("ReadAll")), 0);
    QTest::qWait(40);
    QCOMPARE(f.spoken(), QStringList());
}

void TestAllRead::readAllTopFromMenu()
{
    SpeechFixture f;
    QVERIFY(f.start());
    f.form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
    f.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form()));
    f.setPane(QStringLiteral("あいう、えお。"), 5);
    f.mark();
    f.form().action(QStringLiteral("mnu_yomi_all_top"))->trigger();
    QCOMPARE(f.spoken(), (QStringList{"Speak あいう、 [あいう、]", "Speak えお。 [えお。]", Done}));
    QCOMPARE(QApplication::focusWidget(), f.form().Text2);
}

void TestAllRead::keysDuringReading_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("announced");
    QTest::newRow("down: the line moved to") << int(Qt::Key_Down) << QStringList{"Announce 二行目です。"};
    // The reading's highlight moves on after the key: no character of it.
    QTest::newRow("control: nothing") << int(Qt::Key_Control) << QStringList{};
    QTest::newRow("escape: nothing") << int(Qt::Key_Escape) << QStringList{};
}

void TestAllRead::keysDuringReading()
{
    // Reading started by a key is not interrupted by the screen reader's own
    // reading of the caret; a key that stops the reading and moves the caret
    // has the line it moved to read, and one that does not move it has
    // nothing read.
    QFETCH(int, key);
    QFETCH(QStringList, announced);
    SpeechFixture f(20);
    QVERIFY(f.start());
    MainForm &form = f.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.Text2->setGeometry(0, 0, 600, 300);
    f.setPane(QStringLiteral("一行目です。\n二行目です。\n三行目です。"));
    form.Text2->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.Text2);
    // What the window's key handlers do with these keys.
    struct Keys : QObject {
        SpeechFixture *f;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
                return false;
            auto *k = static_cast<QKeyEvent *>(e);
            if (e->type() == QEvent::KeyRelease && k->key() == Qt::Key_F10 && k->modifiers() == Qt::AltModifier)
                f->speech().AllRead();
            if (e->type() == QEvent::KeyPress && k->key() != Qt::Key_F10 && f->form().AllReadFlag)
                f->speech().AllCancel();
            return false;
        }
    } keys;
    keys.f = &f;
    form.Text2->installEventFilter(&keys);
    QTest::qWait(20);
    f.mark();
    // The key is released only later, as a slow finger does.
    QTimer::singleShot(60, [&] { QTest::keyPress(form.Text2, Qt::Key(key)); });
    QTest::keyClick(form.Text2, Qt::Key_F10, Qt::AltModifier);
    QTest::qWait(50);
    QTest::keyRelease(form.Text2, Qt::Key(key));
    const QStringList said = f.spoken({"Signal"});
    QVERIFY2(said.filter(QStringLiteral("Announce")) == announced, qPrintable(said.join(u'|')));
    QCOMPARE(said.first(), QStringLiteral("Speak 一行目です。 [一行目です。]"));
    QCOMPARE(said.last(), QStringLiteral("Signal 10 3 0"));
}

void TestAllRead::windowGoesAwayWhileReading()
{
    // The reading waits for speech when the window is destroyed under it: it
    // returns without touching the window again.
    SpeechFixture f(20);
    QVERIFY(f.start());
    f.setPane(QStringLiteral("あいうえお。かきくけこ。"));
    QTimer::singleShot(40, [&] { f.destroyWindow(); });
    Speech &speech = f.speech();
    speech.AllRead();
    QCOMPARE(f.spoken(), QStringList{"Speak あいうえお。 [あいうえお。]"});
}

QTEST_MAIN(TestAllRead)
#include "test_allread.moc"
