// Query normalisation and language detection: the character classes, the
// width conversions and both QueryKey recipes.

#include "lookup/normalize.h"

#include <QTest>

using namespace lookup;

class TestNormalize : public QObject {
    Q_OBJECT
private slots:
    void checkEng_data();
    void checkEng();
    void zenToHan_data();
    void zenToHan();
    void hkana2Zkana_data();
    void hkana2Zkana();
    void hira2kana_data();
    void hira2kana();
    void engFlag_data();
    void engFlag();
    void jpnFlag_data();
    void jpnFlag();
    void cutTxt_data();
    void cutTxt();
    void queryKeys_data();
    void queryKeys();
};

void TestNormalize::checkEng_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("english");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("ascii") << QStringLiteral("apple") << true;
    QTest::newRow("capitals") << QStringLiteral("Apple") << true;
    QTest::newRow("full width") << QStringLiteral("Ａｐｐｌｅ") << true;
    QTest::newRow("right quote") << QStringLiteral("don’t") << true;
    QTest::newRow("apostrophe") << QStringLiteral("don't") << true;
    QTest::newRow("joiners and stops") << QStringLiteral("a-b_c, d.e") << true;
    QTest::newRow("full-width joiners") << QStringLiteral("a－b，c．d") << true;
    QTest::newRow("ideographic space") << QStringLiteral("ice　cream") << true;
    QTest::newRow("spaces only") << QStringLiteral("   ") << true;
    QTest::newRow("digit") << QStringLiteral("3D") << false;
    QTest::newRow("digits only") << QStringLiteral("123") << false;
    QTest::newRow("full-width digit") << QStringLiteral("１a") << false;
    QTest::newRow("latin and kana") << QStringLiteral("tシャツ") << false;
    QTest::newRow("half-width kana") << QStringLiteral("ｱｲｽ") << false;
    QTest::newRow("asterisk") << QStringLiteral("*") << false;
    QTest::newRow("accented") << QStringLiteral("café") << false;
    QTest::newRow("left quote") << QStringLiteral("‘a") << false;
    QTest::newRow("full-width apostrophe") << QStringLiteral("a＇b") << false;
}

void TestNormalize::checkEng()
{
    QFETCH(QString, word);
    QFETCH(bool, english);
    QCOMPARE(CheckEng(word), english);
}

void TestNormalize::zenToHan_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("letters") << QStringLiteral("ＡＺａｚ") << QStringLiteral("AZaz");
    QTest::newRow("punctuation") << QStringLiteral("　．，－’") << QStringLiteral(" .,-'");
    QTest::newRow("digits stay") << QStringLiteral("１２３") << QStringLiteral("１２３");
    QTest::newRow("asterisk stays") << QStringLiteral("＊") << QStringLiteral("＊");
    QTest::newRow("other symbols stay") << QStringLiteral("！？＿") << QStringLiteral("！？＿");
    QTest::newRow("kana stays") << QStringLiteral("アイス") << QStringLiteral("アイス");
    QTest::newRow("ascii stays") << QStringLiteral("abc XYZ") << QStringLiteral("abc XYZ");
}

void TestNormalize::zenToHan()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(ZenToHan(in), out);
}

void TestNormalize::hkana2Zkana_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("voiced marks combine") << QStringLiteral("ｶﾞｲﾄﾞ") << QStringLiteral("ガイド");
    QTest::newRow("semi-voiced") << QStringLiteral("ﾊﾟﾝ") << QStringLiteral("パン");
    QTest::newRow("vu") << QStringLiteral("ｳﾞｧ") << QStringLiteral("ヴァ");
    QTest::newRow("ascii widened too") << QStringLiteral("ABCｱ") << QStringLiteral("ＡＢＣア");
    QTest::newRow("spaces widened") << QStringLiteral(" ｱ ") << QStringLiteral("　ア　");
    QTest::newRow("long vowel triggers") << QStringLiteral("aｰ") << QStringLiteral("ａー");
    QTest::newRow("wo alone does not trigger") << QStringLiteral("aｦ") << QStringLiteral("aｦ");
    QTest::newRow("mark alone does not trigger") << QStringLiteral("aﾞ") << QStringLiteral("aﾞ");
    QTest::newRow("mark after a kana that takes none") << QStringLiteral("ｱﾞ") << QStringLiteral("ア゛");
    QTest::newRow("small tsu takes no mark") << QStringLiteral("ｯﾞﾂﾞ") << QStringLiteral("ッ゛ヅ");
    QTest::newRow("punctuation") << QStringLiteral("｢ｱ｣､｡･") << QStringLiteral("「ア」、。・");
    QTest::newRow("digits") << QStringLiteral("1ｱ") << QStringLiteral("１ア");
    QTest::newRow("apostrophe becomes right quote") << QStringLiteral("'ｱ") << QStringLiteral("’ア");
    QTest::newRow("no half-width kana") << QStringLiteral("ABC") << QStringLiteral("ABC");
    QTest::newRow("empty") << QString() << QString();
}

void TestNormalize::hkana2Zkana()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(Hkana2Zkana(in), out);
}

void TestNormalize::hira2kana_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("hiragana") << QStringLiteral("あいす") << QStringLiteral("アイス");
    QTest::newRow("small and voiced") << QStringLiteral("ぎゅうにゅう") << QStringLiteral("ギュウニュウ");
    QTest::newRow("katakana stays") << QStringLiteral("アイス") << QStringLiteral("アイス");
    QTest::newRow("long vowel mark stays") << QStringLiteral("らーめん") << QStringLiteral("ラーメン");
    QTest::newRow("kanji refuses") << QStringLiteral("あい愛") << QString();
    QTest::newRow("latin refuses") << QStringLiteral("あｂ") << QString();
    QTest::newRow("ascii latin refuses") << QStringLiteral("tしゃつ") << QString();
    QTest::newRow("hyphen refuses") << QStringLiteral("あ-い") << QString();
    QTest::newRow("full-width hyphen refuses") << QStringLiteral("あ－い") << QString();
    QTest::newRow("digits stay") << QStringLiteral("３じ") << QStringLiteral("３ジ");
    QTest::newRow("last kanji refuses") << QStringLiteral("黑") << QString();
    QTest::newRow("first kanji refuses") << QStringLiteral("亜") << QString();
    QTest::newRow("kanji-like symbol passes") << QStringLiteral("々") << QStringLiteral("々");
}

void TestNormalize::hira2kana()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(lookup::hira2kana(in), out);
}

void TestNormalize::engFlag_data()
{
    QTest::addColumn<QString>("ch");
    QTest::addColumn<int>("flag");
    QTest::newRow("a") << QStringLiteral("a") << 1;
    QTest::newRow("Z") << QStringLiteral("Z") << 1;
    QTest::newRow("full-width A") << QStringLiteral("Ａ") << 1;
    QTest::newRow("full-width z") << QStringLiteral("ｚ") << 1;
    QTest::newRow("hyphen") << QStringLiteral("-") << 2;
    QTest::newRow("full-width hyphen") << QStringLiteral("－") << 2;
    QTest::newRow("underscore") << QStringLiteral("_") << 2;
    QTest::newRow("apostrophe") << QStringLiteral("'") << 2;
    QTest::newRow("right quote") << QStringLiteral("’") << 2;
    QTest::newRow("space") << QStringLiteral(" ") << 0;
    QTest::newRow("digit") << QStringLiteral("1") << 0;
    QTest::newRow("kana") << QStringLiteral("あ") << 0;
}

void TestNormalize::engFlag()
{
    QFETCH(QString, ch);
    QFETCH(int, flag);
    QCOMPARE(EngFlag(ch.at(0)), flag);
}

void TestNormalize::jpnFlag_data()
{
    QTest::addColumn<QString>("ch");
    QTest::addColumn<int>("flag");
    QTest::newRow("space") << QStringLiteral(" ") << 0;
    QTest::newRow("ideographic space") << QStringLiteral("　") << 0;
    QTest::newRow("wo") << QStringLiteral("を") << 0;
    QTest::newRow("katakana wo") << QStringLiteral("ヲ") << 0;
    QTest::newRow("small a") << QStringLiteral("ぁ") << 1;
    QTest::newRow("n") << QStringLiteral("ん") << 1;
    QTest::newRow("katakana small a") << QStringLiteral("ァ") << 2;
    QTest::newRow("katakana ke") << QStringLiteral("ヶ") << 2;
    QTest::newRow("long vowel") << QStringLiteral("ー") << 2;
    QTest::newRow("first kanji") << QStringLiteral("亜") << 3;
    QTest::newRow("kanji") << QStringLiteral("漢") << 3;
    QTest::newRow("last kanji") << QStringLiteral("黑") << 3;
    QTest::newRow("repetition mark") << QStringLiteral("々") << 0;
    QTest::newRow("latin") << QStringLiteral("a") << 0;
    QTest::newRow("no code page character") << QStringLiteral("한") << 0;
}

void TestNormalize::jpnFlag()
{
    QFETCH(QString, ch);
    QFETCH(int, flag);
    QCOMPARE(JpnFlag(ch.at(0)), flag);
}

void TestNormalize::cutTxt_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("extension removed") << QStringLiteral("manual.txt") << QStringLiteral("manual");
    QTest::newRow("five characters stay") << QStringLiteral("a.txt") << QStringLiteral("a.txt");
    QTest::newRow("six characters") << QStringLiteral("ab.txt") << QStringLiteral("ab");
    QTest::newRow("empty") << QString() << QString();
}

void TestNormalize::cutTxt()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(CutTxt(in), out);
}

void TestNormalize::queryKeys_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("japanese");
    QTest::newRow("full-width word") << QStringLiteral("Ａｐｐｌｅ") << QStringLiteral("apple")
                                     << QStringLiteral("apple");
    QTest::newRow("right quote") << QStringLiteral("don’t") << QStringLiteral("don't") << QStringLiteral("don't");
    QTest::newRow("half-width kana") << QStringLiteral("ｱｲｽ") << QStringLiteral("ｱｲｽ") << QStringLiteral("アイス");
    QTest::newRow("mixed half-width") << QStringLiteral("ABCｱ") << QStringLiteral("abcｱ") << QStringLiteral("abcア");
    QTest::newRow("spaces trimmed") << QStringLiteral("  Run  ") << QStringLiteral("run") << QStringLiteral("run");
    // The ideographic space that an input method types is trimmed too.
    QTest::newRow("ideographic spaces trimmed")
        << QStringLiteral("　apple　 ") << QStringLiteral("apple") << QStringLiteral("apple");
    // Widening turns inner spaces into ideographic ones, the narrowing back.
    QTest::newRow("half-width kana, spaces")
        << QStringLiteral(" ｱ ｲ ") << QStringLiteral("ｱ ｲ") << QStringLiteral("ア イ");
    QTest::newRow("full-width digits stay")
        << QStringLiteral("１２３") << QStringLiteral("１２３") << QStringLiteral("１２３");
    QTest::newRow("kanji") << QStringLiteral("林檎") << QStringLiteral("林檎") << QStringLiteral("林檎");
}

void TestNormalize::queryKeys()
{
    QFETCH(QString, word);
    QFETCH(QString, english);
    QFETCH(QString, japanese);
    QCOMPARE(englishQueryKey(word), english);
    QCOMPARE(japaneseQueryKey(word), japanese);
}

QTEST_GUILESS_MAIN(TestNormalize)
#include "test_normalize.moc"
