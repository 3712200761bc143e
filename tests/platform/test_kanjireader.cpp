// Kanji readings for voices that cannot read kanji, and when they are used.

#include "orrin/kanjireader.h"

#include <QTemporaryDir>
#include <QTest>

class TestKanjiReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readings_data();
    void readings();
    void textWithoutKanjiIsUntouched();
    void longEntry();
    void missingDictionaryFailsCleanly();
    void wanted_data();
    void wanted();

private:
    std::unique_ptr<KanjiReader> reader_;
};

void TestKanjiReader::initTestCase()
{
    QString error;
    reader_ = KanjiReader::load({}, &error);
    QVERIFY2(reader_, qPrintable(error));
}

void TestKanjiReader::readings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("word and verb") << QStringLiteral("林檎を食べる") << QStringLiteral("リンゴをタベル");
    QTest::newRow("punctuation kept") << QStringLiteral("林檎を食べる。閑静な住宅街")
                                      << QStringLiteral("リンゴをタベル。カンセイなジュウタクガイ");
    QTest::newRow("latin and digits kept") << QStringLiteral("Appleは1個") << QStringLiteral("Appleは1コ");
    QTest::newRow("spaces kept") << QStringLiteral("  林檎  apple  ") << QStringLiteral("  リンゴ  apple  ");
    QTest::newRow("braces of an entry") << QStringLiteral("閑静{かんせい}な") << QStringLiteral("カンセイ{かんせい}な");
    QTest::newRow("lines one by one") << QStringLiteral("林檎\n\n食べる\n") << QStringLiteral("リンゴ\n\nタベル\n");
    // The voice would only call it a "Chinese letter".
    QTest::newRow("kanji without a reading is left out") << QStringLiteral("鬱だ") << QStringLiteral("だ");
    QTest::newRow("iteration mark alone is left out") << QStringLiteral("々") << QString();
    QTest::newRow("ideograph outside the BMP is left out") << QStringLiteral("𠮷") << QString();
    QTest::newRow("end marker kept") << QStringLiteral("林檎\uF8F2") << QStringLiteral("リンゴ\uF8F2");
    QTest::newRow("full-width latin kept") << QStringLiteral("ＡＢＣの本") << QStringLiteral("ＡＢＣのホン");
}

void TestKanjiReader::readings()
{
    QFETCH(QString, text);
    QFETCH(QString, spoken);
    QCOMPARE(reader_->toReadings(text), spoken);
}

void TestKanjiReader::textWithoutKanjiIsUntouched()
{
    for (const QString &text : {QString(), QStringLiteral("apple"), QStringLiteral("りんご、リンゴ。"),
                                QStringLiteral("a\tb\r\nc"), QStringLiteral("ｶﾀｶﾅ")})
        QCOMPARE(reader_->toReadings(text), text);
}

void TestKanjiReader::longEntry()
{
    // A long dictionary entry: every kanji is gone, the rest is as it was.
    QString text;
    while (text.size() < 2000)
        text += QStringLiteral("■apple : 林檎{りんご}、リンゴの木。the apple of one's eye 掌中の珠。\n");
    const QString spoken = reader_->toReadings(text);
    QVERIFY(spoken.contains(QStringLiteral("■apple : リンゴ{りんご}、リンゴのキ。the apple of one's eye ")));
    for (QChar c : spoken)
        QVERIFY2(c.unicode() < 0x4E00 || c.unicode() > 0x9FFF, qPrintable(QString(c)));
    QCOMPARE(spoken.count(u'\n'), text.count(u'\n'));
}

void TestKanjiReader::missingDictionaryFailsCleanly()
{
    QTemporaryDir empty;
    QString error;
    QVERIFY(!KanjiReader::load(empty.path(), &error));
    QVERIFY(error.contains(empty.path()));
}

void TestKanjiReader::wanted_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("module");
    QTest::addColumn<bool>("wanted");
    QTest::newRow("default with espeak-ng") << QString() << QStringLiteral("espeak-ng") << true;
    QTest::newRow("default with unknown module") << QString() << QString() << true;
    QTest::newRow("open jtalk reads kanji") << QString() << QStringLiteral("open_jtalk") << false;
    QTest::newRow("0 turns off") << QStringLiteral("0") << QStringLiteral("espeak-ng") << false;
    QTest::newRow("off turns off") << QStringLiteral(" OFF ") << QStringLiteral("espeak-ng") << false;
    QTest::newRow("1 forces on") << QStringLiteral("1") << QStringLiteral("openjtalk") << true;
    QTest::newRow("nonsense is the default") << QStringLiteral("maybe") << QStringLiteral("espeak-ng") << true;
}

void TestKanjiReader::wanted()
{
    QFETCH(QString, setting);
    QFETCH(QString, module);
    QFETCH(bool, wanted);
    QCOMPARE(KanjiReader::wanted(setting, module), wanted);
}

QTEST_GUILESS_MAIN(TestKanjiReader)
#include "test_kanjireader.moc"
