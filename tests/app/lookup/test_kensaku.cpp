// Kensaku, the lookup engine: refusals, prefix search, direction, the
// katakana retry, the not-found message, file errors, and the order of the
// window's steps around them, with a recording host and speech object.

#include "codepage/codepage.h"
#include "lookup/kensaku.h"
#include "recorders.h"

#include <QTemporaryDir>
#include <QTest>

using namespace lookup;

class TestKensaku : public QObject {
    Q_OBJECT
private slots:
    void init();
    void spacesOnly_data();
    void spacesOnly();
    void refusedWhileBusy();
    void foundEnglish();
    void foundJapanese();
    void prefixSearch_data();
    void prefixSearch();
    void asteriskRules_data();
    void asteriskRules();
    void direction_data();
    void direction();
    void katakanaRetry();
    void katakanaRetryFails();
    void notFoundMessage_data();
    void notFoundMessage();
    void notFoundKeepsPreviousEntry();
    void captured();
    void capturedNotFound();
    void fileErrors();
    void statusTexts_data();
    void statusTexts();
    void secondLookupDuringReading();
    void silentWithoutVoice();

private:
    bool lookUp(const QString &word, bool rireki = true);
    LookupState state_;
    RecordingHost host_;
    RecordingVoice voice_;
    PlainTextSink sink_;
    std::unique_ptr<LookupEngine> engine_;
};

void TestKensaku::init()
{
    state_ = LookupState();
    state_.FilePath = QStringLiteral(WORDLAMP_TEST_DATA "/lookup/basic");
    state_.DicKana = true;
    host_.calls.clear();
    host_.errors.clear();
    host_.onAllRead = nullptr;
    host_.setText1(QString());
    host_.calls.clear();
    voice_.calls.clear();
    sink_.clear();
    engine_ = std::make_unique<LookupEngine>(state_, host_, &sink_, &voice_);
}

bool TestKensaku::lookUp(const QString &word, bool rireki)
{
    host_.KensakuHost::setText1(word); // as every caller does, unrecorded
    QString str = word;
    return engine_->Kensaku(str, rireki);
}

void TestKensaku::spacesOnly_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QStringLiteral("   ");
    QTest::newRow("ideographic spaces") << QStringLiteral("　 　");
}

void TestKensaku::spacesOnly()
{
    QFETCH(QString, word);
    QVERIFY(!lookUp(word));
    QCOMPARE(host_.calls, QStringList{QStringLiteral("Text1=")});
    QCOMPARE(voice_.calls, QStringList{QStringLiteral("Signal(100,3,0)")});
    QVERIFY(!state_.KensakuEnable);
}

void TestKensaku::refusedWhileBusy()
{
    state_.KensakuEnable = true;
    state_.record.HitLines = {QStringLiteral("kept")};
    QVERIFY(!lookUp(QStringLiteral("apple")));
    QVERIFY(host_.calls.isEmpty());
    QCOMPARE(voice_.calls, QStringList{QStringLiteral("Signal(10,1,0)")});
    QVERIFY(state_.KensakuEnable); // the running lookup is not disturbed
    QCOMPARE(state_.record.HitCount(), 1);
}

void TestKensaku::foundEnglish()
{
    QVERIFY(lookUp(QStringLiteral("Apple")));
    QCOMPARE(state_.DicMode, EnglishJapanese);
    QVERIFY(!state_.ZenpoFlag);
    QVERIFY(!state_.KensakuEnable);
    QCOMPARE(state_.record.HitCount(), 2);
    // The pronunciation line is searched but not shown; the reading in braces
    // is removed.
    QCOMPARE(sink_.text(), QStringLiteral("apple {名} \r\n林檎\r\nリンゴの木\r\n"));
    const QStringList expected{
        QStringLiteral("DummyScreen"),
        QStringLiteral("QuietFocus=1"),
        QStringLiteral("Text1="),
        QStringLiteral("focusText2"),
        QStringLiteral("QuietFocus=0"),
        QStringLiteral("RirekiKosin(Apple)"),
        QStringLiteral("letEventsRun"),
        QStringLiteral("SelStart=0"),
        QStringLiteral("Status=英和辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)"),
        QStringLiteral("letEventsRun"),
        QStringLiteral("hidePicture1"),
        QStringLiteral("AllRead"),
        QStringLiteral("updateCopyButton"),
        QStringLiteral("RollSetting(1)"),
        QStringLiteral("RirekiSetting"),
        QStringLiteral("letEventsRun"),
        QStringLiteral("hidePicture1"),
    };
    QCOMPARE(host_.calls, expected);
    QCOMPARE(voice_.calls,
             (QStringList{QStringLiteral("LockSpeech"), QStringLiteral("UnlockSpeech"), QStringLiteral("StopSpeech")}));
}

void TestKensaku::foundJapanese()
{
    QVERIFY(lookUp(QStringLiteral("林檎"), false));
    QCOMPARE(state_.DicMode, JapaneseEnglish);
    QCOMPARE(sink_.text(), QStringLiteral("林檎 {りんご} \r\napple\r\napple tree\r\n"));
    QVERIFY(!host_.calls.contains(QStringLiteral("RirekiKosin(林檎)")));
    QCOMPARE(voice_.calls, (QStringList{QStringLiteral("UnlockSpeech"), QStringLiteral("StopSpeech")}));
    QVERIFY(host_.calls.contains(QStringLiteral("Status=和英辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)")));
    QVERIFY(lookUp(QStringLiteral("３Ｄ")));
    QCOMPARE(state_.record.HitLines, QStringList{QStringLiteral("■３D : three dimensions")});
}

void TestKensaku::prefixSearch_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("left"); // the caller's variable afterwards
    QTest::addColumn<int>("hits");
    QTest::addColumn<QString>("history");
    QTest::newRow("ascii asterisk") << QStringLiteral("appl*") << QStringLiteral("appl") << 4
                                    << QStringLiteral("appl*");
    QTest::newRow("full-width asterisk") << QStringLiteral("run＊") << QStringLiteral("run") << 4
                                         << QStringLiteral("run＊");
    QTest::newRow("japanese") << QStringLiteral("ア*") << QStringLiteral("ア") << 2 << QStringLiteral("ア*");
}

void TestKensaku::prefixSearch()
{
    QFETCH(QString, word);
    QFETCH(QString, left);
    QFETCH(int, hits);
    QFETCH(QString, history);
    host_.KensakuHost::setText1(word);
    QString str = word;
    QVERIFY(engine_->Kensaku(str, true));
    QCOMPARE(str, left);
    QVERIFY(state_.ZenpoFlag);
    QCOMPARE(state_.record.HitCount(), hits);
    QCOMPARE(state_.record.HitTopPos, 0);
    QVERIFY(host_.calls.contains(QStringLiteral("RirekiKosin(%1)").arg(history)));
    // The engine reports success; the host disables paging for prefix searches.
    QVERIFY(host_.calls.contains(QStringLiteral("RollSetting(1)")));
    QVERIFY(host_.calls.contains(engine_->statusText(state_.DicMode, true).prepend(QStringLiteral("Status="))));
}

void TestKensaku::asteriskRules_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("prefix");
    QTest::newRow("lone asterisk is an exact search for itself") << QStringLiteral("*") << true << false;
    QTest::newRow("asterisk followed by a space") << QStringLiteral("appl* ") << false << false;
    QTest::newRow("asterisk inside") << QStringLiteral("ap*le") << false << false;
    QTest::newRow("two asterisks") << QStringLiteral("appl**") << false << true;
}

void TestKensaku::asteriskRules()
{
    QFETCH(QString, word);
    QFETCH(bool, found);
    QFETCH(bool, prefix);
    QCOMPARE(lookUp(word), found);
    QCOMPARE(state_.ZenpoFlag, prefix);
}

void TestKensaku::direction_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("mode");
    QTest::newRow("english") << QStringLiteral("zebra") << EnglishJapanese;
    QTest::newRow("full-width english") << QStringLiteral("ＺＥＢＲＡ") << EnglishJapanese;
    QTest::newRow("right quote") << QStringLiteral("don’t") << EnglishJapanese;
    QTest::newRow("digit makes it japanese") << QStringLiteral("3D") << JapaneseEnglish;
    QTest::newRow("latin and kana") << QStringLiteral("tシャツ") << JapaneseEnglish;
    QTest::newRow("half-width kana") << QStringLiteral("ｱｲｽ") << JapaneseEnglish;
}

void TestKensaku::direction()
{
    QFETCH(QString, word);
    QFETCH(int, mode);
    lookUp(word);
    QCOMPARE(state_.DicMode, mode);
    if (QByteArrayView(QTest::currentDataTag()) == "half-width kana" ||
        QByteArrayView(QTest::currentDataTag()) == "right quote" ||
        QByteArrayView(QTest::currentDataTag()) == "full-width english")
        QCOMPARE(state_.record.HitCount(), 1);
}

void TestKensaku::katakanaRetry()
{
    QVERIFY(lookUp(QStringLiteral("あいす")));
    QCOMPARE(state_.record.HitLines, QStringList{QStringLiteral("■アイス : ice●ice cream")});
    // The katakana form went into the input box for the retry; the history
    // keeps the word as typed.
    QVERIFY(host_.calls.indexOf(QStringLiteral("Text1=アイス")) < host_.calls.indexOf(QStringLiteral("Text1=")));
    QVERIFY(host_.calls.contains(QStringLiteral("RirekiKosin(あいす)")));
    // In prefix mode the retry is a prefix search too.
    init();
    QVERIFY(lookUp(QStringLiteral("あっぷ*")));
    QCOMPARE(state_.record.HitLines, QStringList{QStringLiteral("■アップル : apple")});
    QVERIFY(host_.calls.contains(QStringLiteral("RirekiKosin(あっぷ*)")));
}

void TestKensaku::katakanaRetryFails()
{
    QVERIFY(!lookUp(QStringLiteral("ほげ")));
    const QString message = QStringLiteral("ほげは見つかりませんでした");
    const QStringList expected{
        QStringLiteral("DummyScreen"),
        QStringLiteral("Text1=ホゲ"),
        QStringLiteral("Text1=ほげ"),
        QStringLiteral("letEventsRun"),
        QStringLiteral("hidePicture1"),
        QStringLiteral("Text1="),
        QStringLiteral("ShowTips(%1)").arg(message),
        QStringLiteral("updateCopyButton"),
        QStringLiteral("RollSetting(0)"),
        QStringLiteral("RirekiSetting"),
        QStringLiteral("letEventsRun"),
        QStringLiteral("hidePicture1"),
    };
    QCOMPARE(host_.calls, expected);
    QCOMPARE(voice_.calls,
             (QStringList{QStringLiteral("UnlockSpeech"), QStringLiteral("StopSpeech"),
                          QStringLiteral("Speak(%1%2,0)").arg(message, QChar(codepage::SpeechEndMarker))}));
    // No retry for a word with a kanji or a Latin letter.
    init();
    QVERIFY(!lookUp(QStringLiteral("ほげ木")));
    QVERIFY(!host_.calls.join(u'|').contains(QStringLiteral("ホゲ")));
}

void TestKensaku::notFoundMessage_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("english, no marker") << QStringLiteral("xyzzy") << QStringLiteral("xyzzyは見つかりませんでした");
    QTest::newRow("20 characters stay whole")
        << QStringLiteral("abcdefghijklmnopqrst") << QStringLiteral("abcdefghijklmnopqrstは見つかりませんでした");
    QTest::newRow("25 characters cut to 16")
        << QStringLiteral("abcdefghijklmnopqrstuvwxy") << QStringLiteral("abcdefghijklmnop…は見つかりませんでした");
    QTest::newRow("21 characters cut") << QStringLiteral("abcdefghijklmnopqrstu")
                                       << QStringLiteral("abcdefghijklmnop…は見つかりませんでした");
    QTest::newRow("prefix names the asterisk")
        << QStringLiteral("qqq*") << QStringLiteral("qqq*は見つかりませんでした");
    QTest::newRow("untrimmed") << QStringLiteral(" qqq ") << QStringLiteral(" qqq は見つかりませんでした");
    QTest::newRow("japanese, with marker")
        << QStringLiteral("漢漢") << QStringLiteral("漢漢は見つかりませんでした") + QChar(codepage::SpeechEndMarker);
}

void TestKensaku::notFoundMessage()
{
    QFETCH(QString, word);
    QFETCH(QString, spoken);
    QVERIFY(!lookUp(word));
    QCOMPARE(voice_.calls.back(), QStringLiteral("Speak(%1,0)").arg(spoken));
    QString tip = spoken;
    tip.remove(QChar(codepage::SpeechEndMarker));
    QVERIFY(host_.calls.contains(QStringLiteral("ShowTips(%1)").arg(tip)));
    QCOMPARE(LookupEngine::notFoundText(word), tip);
    QCOMPARE(host_.Text1(), QString());
}

void TestKensaku::notFoundKeepsPreviousEntry()
{
    QVERIFY(lookUp(QStringLiteral("zebra")));
    const QString shown = sink_.text();
    QCOMPARE(shown, QStringLiteral("zebra {名} \r\n縞馬\r\n"));
    QVERIFY(!lookUp(QStringLiteral("zebras")));
    QCOMPARE(sink_.text(), shown);
    state_.DicKana = false;
    QVERIFY(lookUp(QStringLiteral("zebra")));
    QCOMPARE(sink_.text(), QStringLiteral("zebra {名} \r\n縞馬{しまうま}\r\n"));
}

void TestKensaku::captured()
{
    state_.CaptureActive = true;
    QVERIFY(lookUp(QStringLiteral("run")));
    QCOMPARE(state_.record.HitCount(), 3);
    const qsizetype resident = host_.calls.indexOf(QStringLiteral("SetResident(0)"));
    QVERIFY(resident > 0);
    QCOMPARE(host_.calls[resident + 1], QStringLiteral("ShowMe"));
    QVERIFY(state_.CaptureActive); // cleared only on the not-found path
}

void TestKensaku::capturedNotFound()
{
    state_.CaptureActive = true;
    QVERIFY(!lookUp(QStringLiteral("abcdefghijklmnopqrstuvwxy")));
    QVERIFY(host_.calls.contains(QStringLiteral("ShowExtBox(abcdefghijklmnopqrstuvwxy は見つかりませんでした)")));
    QVERIFY(!host_.calls.join(u'|').contains(QStringLiteral("ShowTips")));
    QVERIFY(!state_.CaptureActive);
}

void TestKensaku::fileErrors()
{
    QTemporaryDir dir;
    state_.FilePath = dir.filePath(QStringLiteral("missing"));
    QVERIFY(!lookUp(QStringLiteral("apple")));
    QCOMPARE(host_.errors.size(), 1);
    QCOMPARE(host_.errors[0].message(), QStringLiteral("英和辞書がみつかりません"));
    QVERIFY(host_.errors[0].reason().contains(QStringLiteral("missing")));
    // The word then counts as not found.
    QVERIFY(host_.calls.contains(QStringLiteral("ShowTips(appleは見つかりませんでした)")));
    QVERIFY(!state_.KensakuEnable);
    // A hiragana word is not tried again in katakana against the same
    // broken folder: one error.
    init();
    state_.FilePath = dir.filePath(QStringLiteral("missing"));
    QVERIFY(!lookUp(QStringLiteral("りんご")));
    QCOMPARE(host_.errors.size(), 1);
    QCOMPARE(host_.errors[0].message(), QStringLiteral("和英辞書がみつかりません"));
}

void TestKensaku::statusTexts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<QString>("text");
    QTest::newRow("english") << EnglishJapanese << false
                             << QStringLiteral("英和辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)");
    QTest::newRow("english prefix") << EnglishJapanese << true
                                    << QStringLiteral(
                                           "英和辞典を前方一致で検索しました (Shift+Ctrl+F12:カーソル位置検索)");
    QTest::newRow("japanese") << JapaneseEnglish << false
                              << QStringLiteral("和英辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)");
    QTest::newRow("japanese prefix") << JapaneseEnglish << true
                                     << QStringLiteral(
                                            "和英辞典を前方一致で検索しました (Shift+Ctrl+F12:カーソル位置検索)");
}

void TestKensaku::statusTexts()
{
    QFETCH(int, mode);
    QFETCH(bool, prefix);
    QFETCH(QString, text);
    QCOMPARE(LookupEngine::statusText(mode, prefix), text);
}

void TestKensaku::secondLookupDuringReading()
{
    bool inner = true;
    host_.onAllRead = [&] {
        QString again = QStringLiteral("zebra");
        inner = engine_->Kensaku(again, true);
    };
    QVERIFY(lookUp(QStringLiteral("apple")));
    QVERIFY(!inner);
    QCOMPARE(voice_.calls.count(QStringLiteral("Signal(10,1,0)")), 1);
    QCOMPARE(state_.record.HitCount(), 2); // the first lookup's entry
    QVERIFY(!state_.KensakuEnable);
}

void TestKensaku::silentWithoutVoice()
{
    LookupEngine quiet(state_, host_, &sink_, nullptr);
    QString word = QStringLiteral("  ");
    QVERIFY(!quiet.Kensaku(word, false));
    word = QStringLiteral("nothing");
    host_.KensakuHost::setText1(word);
    QVERIFY(!quiet.Kensaku(word, false));
    word = QStringLiteral("apple");
    QVERIFY(quiet.Kensaku(word, false));
    QVERIFY(voice_.calls.isEmpty());
}

QTEST_GUILESS_MAIN(TestKensaku)
#include "test_kensaku.moc"
