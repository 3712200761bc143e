// wordlamp-dict: decoding EDICT, taking its lines apart, the lines of both
// directions, the sorted files (every line findable by the search), the
// counts of what was dropped or replaced, and the tool as a process.

#include "codepage/codepage.h"
#include "dictbuilder.h"
#include "edict.h"
#include "lookup/entrykey.h"
#include "lookup/findkey.h"
#include "orrin/orrinsupport.h"
#include "tagnames.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "testsupport.h"

using namespace dictbuild;

namespace {

QByteArray euc(const QString &text)
{
    return testsupport::iconvBytes(text, "EUC-JP");
}

edict::Entry parsed(const QString &line)
{
    return edict::parseLine(line).value_or(edict::Entry());
}

QStringList englishTexts(const edict::Entry &e)
{
    QStringList out;
    for (const Builder::EnglishLine &l : Builder::englishLines(e))
        out.append(l.text);
    return out;
}

const QString Sample = QStringLiteral(
    "　？？？ /EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic Dictionary Files/Copyright Electronic "
    "Dictionary Research & Development Group - 2021/Created: 2021-02-03/\n"
    "〆 [しめ] /(n) (1) tie up/bind/(n) (2) sum/total/\n"
    "林檎 [りんご] /(n) (1) (uk) apple (fruit)/(n) (2) (uk) apple tree (Malus pumila)/(P)/\n"
    "アップル /(n) apple/\n"
    "走る [はしる] /(v5r,vi) (1) to run/(v5r,vi) (2) to travel (movement of vehicles)/(P)/\n"
    "比率 [ひりつ] /(n) ratio (e.g. 1:2)/proportion/(P)/\n"
    "犬 [いぬ] /(n) dog/(P)/\n"
    "犬 [いぬ] /(n) dog/(P)/\n"
    "１Ｄａｙ [ワンデー] /(adj-no,n) one-day/\n"
    "４° [しど] /\n"
    "閑静 [かんせい] /(adj-na,n) quiet/\n");

} // namespace

class TestDictBuild : public QObject {
    Q_OBJECT
private slots:
    void decodeEucJp_data();
    void decodeEucJp();
    void splitTags_data();
    void splitTags();
    void parseLine();
    void japaneseLines_data();
    void japaneseLines();
    void japaneseTags_data();
    void japaneseTags();
    void englishLines_data();
    void englishLines();
    void posLabels_data();
    void posLabels();
    void filesAreSortedAndSearchable();
    void countsAndDrops();
    void linesPerKeyLimited();
    void readingsOfOneSpellingJoined();
    void variantFormsOnlyInJapaneseEnglish_data();
    void variantFormsOnlyInJapaneseEnglish();
    void basicWordFirst_data();
    void basicWordFirst();
    void deterministic();
    void toolWritesOnlyItsFiles();
    void toolErrors();

private:
    Builder buildSample(const QString &text);
};

void TestDictBuild::decodeEucJp_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unholdable");
    QTest::newRow("ascii") << QByteArray("abc /x/") << QStringLiteral("abc /x/") << 0;
    QTest::newRow("kana and kanji") << euc(QStringLiteral("あア亜漢")) << QStringLiteral("あア亜漢") << 0;
    QTest::newRow("half-width kana") << QByteArray("\x8E\xB1\x8E\xDE") << QStringLiteral("ｱﾞ") << 0;
    QTest::newRow("wave dash as code page 932 has it") << QByteArray("\xA1\xC1") << QStringLiteral("～") << 0;
    QTest::newRow("circled digit of row 13") << QByteArray("\xAD\xA1") << QStringLiteral("①") << 0;
    QTest::newRow("JIS X 0212") << QByteArray("a\x8F\xB0\xA1z") << QStringLiteral("a\uFFFDz") << 1;
    QTest::newRow("lone lead byte at the end") << QByteArray("a\xA4") << QStringLiteral("a\uFFFD") << 1;
    QTest::newRow("broken pair") << QByteArray("\xA4\x41") << QStringLiteral("\uFFFDA") << 1;
}

void TestDictBuild::decodeEucJp()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(int, unholdable);
    int bad = -1;
    QCOMPARE(edict::decodeEucJp(bytes, &bad), text);
    QCOMPARE(bad, unholdable);
}

void TestDictBuild::splitTags_data()
{
    QTest::addColumn<QString>("gloss");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("text");
    QTest::newRow("pos, number, note") << QStringLiteral("(n) (1) (uk) tie up")
                                       << QStringList{QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("uk")}
                                       << QStringLiteral("tie up");
    QTest::newRow("list of pos") << QStringLiteral("(adj-no,n) (3) closed (door, window, etc.)")
                                 << QStringList{QStringLiteral("adj-no"), QStringLiteral("n"), QStringLiteral("3")}
                                 << QStringLiteral("closed (door, window, etc.)");
    QTest::newRow("no tags") << QStringLiteral("bind") << QStringList() << QStringLiteral("bind");
    QTest::newRow("words in parentheses stay")
        << QStringLiteral("(someone) who runs") << QStringList() << QStringLiteral("(someone) who runs");
    QTest::newRow("tag then words") << QStringLiteral("(v1,vt) (something) falls")
                                    << QStringList{QStringLiteral("v1"), QStringLiteral("vt")}
                                    << QStringLiteral("(something) falls");
    QTest::newRow("dialect, qualified pos")
        << QStringLiteral("(ksb:) (v5k-s,adj-t) go")
        << QStringList{QStringLiteral("ksb"), QStringLiteral("v5k-s"), QStringLiteral("adj-t")} << QStringLiteral("go");
    QTest::newRow("four-digit number") << QStringLiteral("(1000) a") << QStringList() << QStringLiteral("(1000) a");
    QTest::newRow("empty part") << QStringLiteral("(n,) a") << QStringList() << QStringLiteral("(n,) a");
    QTest::newRow("qualifier missing") << QStringLiteral("(n-) a") << QStringList() << QStringLiteral("(n-) a");
    QTest::newRow("capital") << QStringLiteral("(V1) a") << QStringList() << QStringLiteral("(V1) a");
}

void TestDictBuild::splitTags()
{
    QFETCH(QString, gloss);
    QFETCH(QStringList, tags);
    QFETCH(QString, text);
    const edict::Gloss g = edict::splitTags(gloss);
    QCOMPARE(g.tags, tags);
    QCOMPARE(g.text, text);
}

void TestDictBuild::parseLine()
{
    const edict::Entry e =
        parsed(QStringLiteral("〆 [しめ] /(n) (1) tie up/bind/(ctr) (2) counter for bundles/(3) end mark/(P)/"));
    QCOMPARE(e.written, QStringLiteral("〆"));
    QCOMPARE(e.reading, QStringLiteral("しめ"));
    QVERIFY(e.common);
    QCOMPARE(e.senses.size(), 3);
    QCOMPARE(e.senses[0].glosses, (QStringList{QStringLiteral("(n) (1) tie up"), QStringLiteral("bind")}));
    QCOMPARE(e.senses[0].pos, QStringList{QStringLiteral("n")});
    QCOMPARE(e.senses[1].pos, QStringList{QStringLiteral("ctr")});
    QCOMPARE(e.senses[2].pos, QStringList{QStringLiteral("ctr")}); // kept from the sense before
    const edict::Entry kana = parsed(QStringLiteral("アップル /(n) apple/"));
    QVERIFY(kana.written.isEmpty());
    QCOMPARE(kana.reading, QStringLiteral("アップル"));
    QVERIFY(!kana.common);
    QVERIFY(!edict::parseLine(QStringLiteral("４° [しど] /")));
    QVERIFY(!edict::parseLine(QStringLiteral("no glosses at all")));
    QVERIFY(edict::isHeaderLine(Sample.section(u'\n', 0, 0)));
    QVERIFY(!edict::isHeaderLine(QStringLiteral("アップル /(n) apple/")));
}

void TestDictBuild::japaneseLines_data()
{
    QTest::addColumn<QString>("edictLine");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("written form and reading")
        << QStringLiteral("林檎 [りんご] /(n) (1) (uk) apple/(n) (2) apple tree/(P)/")
        << QStringList{QStringLiteral("■林檎 {りんご} : (名) (1) (かな書き) apple●(名) (2) apple tree"),
                       QStringLiteral("■りんご {林檎} : (名) (1) (かな書き) apple●(名) (2) apple tree")};
    QTest::newRow("kana only, glosses of a sense") << QStringLiteral("アップル /(n) apple/apple tree/")
                                                   << QStringList{QStringLiteral("■アップル : (名) apple; apple tree")};
    QTest::newRow("colon replaced") << QStringLiteral("比率 [ひりつ] /(n) ratio (e.g. 1:2)/")
                                    << QStringList{QStringLiteral("■比率 {ひりつ} : (名) ratio (e.g. 1：2)"),
                                                   QStringLiteral("■ひりつ {比率} : (名) ratio (e.g. 1：2)")};
    QTest::newRow("full-width letters and their digits narrowed")
        << QStringLiteral("１Ｄａｙ [ワンデー] /(n) one-day/")
        << QStringList{QStringLiteral("■1Day {ワンデー} : (名) one-day"),
                       QStringLiteral("■ワンデー {1Day} : (名) one-day")};
    QTest::newRow("digits without letters stay")
        << QStringLiteral("４月 [しがつ] /(n) April/")
        << QStringList{QStringLiteral("■４月 {しがつ} : (名) April"), QStringLiteral("■しがつ {４月} : (名) April")};
    QTest::newRow("origin in Japanese") << QStringLiteral("メゾン /(n) (fre: maison) house/(lat:) x/")
                                        << QStringList{QStringLiteral(
                                               "■メゾン : (名) (フランス語： maison) house; (ラテン語) x")};
    QTest::newRow("dialect") << QStringLiteral("こっちゃ /(ksb:) (exp) thing/")
                             << QStringList{QStringLiteral("■こっちゃ : (関西弁) (句) thing")};
}

void TestDictBuild::japaneseLines()
{
    QFETCH(QString, edictLine);
    QFETCH(QStringList, lines);
    QCOMPARE(Builder::japaneseLines(parsed(edictLine)), lines);
}

void TestDictBuild::japaneseTags_data()
{
    QTest::addColumn<QString>("gloss");
    QTest::addColumn<QString>("written");
    QTest::newRow("noun, number, note") << QStringLiteral("(n) (1) (uk) apple (fruit)")
                                        << QStringLiteral("(名) (1) (かな書き) apple (fruit)");
    QTest::newRow("verb class and transitivity")
        << QStringLiteral("(v5r,vi) (2) to run (of a vehicle)") << QStringLiteral("(動・自) (2) to run (of a vehicle)");
    QTest::newRow("suru noun") << QStringLiteral("(n,vs,vt) study") << QStringLiteral("(名・スル・他) study");
    QTest::newRow("names that repeat are said once")
        << QStringLiteral("(adj-na,adj-no,n) quiet") << QStringLiteral("(形・名) quiet");
    QTest::newRow("out-dated reading first")
        << QStringLiteral("(ok) (n) apple") << QStringLiteral("(古い読み) (名) apple");
    QTest::newRow("unclassified left out")
        << QStringLiteral("(unc) repetition mark") << QStringLiteral("repetition mark");
    QTest::newRow("tag without a name kept")
        << QStringLiteral("(n) (hanaf) flower cards") << QStringLiteral("(名) (hanaf) flower cards");
    QTest::newRow("words in parentheses stay")
        << QStringLiteral("(someone) who runs") << QStringLiteral("(someone) who runs");
    QTest::newRow("tag then words in parentheses")
        << QStringLiteral("(v1,vt) (something) falls") << QStringLiteral("(動・他) (something) falls");
    QTest::newRow("no tags") << QStringLiteral("bind") << QStringLiteral("bind");
    QTest::newRow("unclosed parenthesis") << QStringLiteral("(n") << QStringLiteral("(n");
    QTest::newRow("tags only") << QStringLiteral("(n) (2)") << QStringLiteral("(名) (2)");
}

void TestDictBuild::japaneseTags()
{
    QFETCH(QString, gloss);
    QFETCH(QString, written);
    QCOMPARE(withJapaneseTags(gloss), written);
}

void TestDictBuild::englishLines_data()
{
    QTest::addColumn<QString>("edictLine");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("noun with a note") << QStringLiteral("林檎 [りんご] /(n) (1) (uk) apple (fruit)/(P)/")
                                      << QStringList{QStringLiteral("■apple {名} : 林檎{りんご} (fruit)")};
    QTest::newRow("verb loses its to") << QStringLiteral(
                                              "走る [はしる] /(v5r,vi) (1) to run/(v5r,vi) (2) to travel (by car)/")
                                       << QStringList{QStringLiteral("■run {動} : 走る{はしる}"),
                                                      QStringLiteral("■travel {動} : 走る{はしる} (by car)")};
    QTest::newRow("kana only") << QStringLiteral("アップル /(n) apple/")
                               << QStringList{QStringLiteral("■apple {名} : アップル")};
    QTest::newRow("no part of speech") << QStringLiteral("ヽ /(unc) repetition mark in katakana/")
                                       << QStringList{QStringLiteral("■repetition mark in katakana : ヽ")};
    QTest::newRow("colon in a gloss") << QStringLiteral("比率 [ひりつ] /(n) ratio 1:2/")
                                      << QStringList{QStringLiteral("■ratio 1：2 {名} : 比率{ひりつ}")};
    QTest::newRow("note before the word") << QStringLiteral("日本 [にほん] /(n) (the) Japan/")
                                          << QStringList{QStringLiteral("■Japan {名} : 日本{にほん} (the)")};
    QTest::newRow("notes before and after, origin")
        << QStringLiteral("フラペチーノ /(n) (tradem) Frappuccino (Starbucks) (lat: frappe)/")
        << QStringList{QStringLiteral("■Frappuccino {名} : フラペチーノ (tradem) (Starbucks) (ラテン語： frappe)")};
    QTest::newRow("dialects, note after to")
        << QStringLiteral("縁取る [ふちどる] /(ksb:) (kyb:) (v5r) to (add a) border/")
        << QStringList{QStringLiteral("■border {動} : 縁取る{ふちどる} (関西弁) (京都弁) (add a)")};
    QTest::newRow("a note alone names no word")
        << QStringLiteral("如是 [にょぜ] /(n) (\"like this\"; a sutra)/") << QStringList();
    QTest::newRow("full-width digits") << QStringLiteral("三Ｄ [さんディー] /(n) ３Ｄ printer/")
                                       << QStringList{QStringLiteral("■3D printer {名} : 三Ｄ{さんディー}")};
}

void TestDictBuild::englishLines()
{
    QFETCH(QString, edictLine);
    QFETCH(QStringList, lines);
    QCOMPARE(englishTexts(parsed(edictLine)), lines);
}

void TestDictBuild::posLabels_data()
{
    QTest::addColumn<QStringList>("pos");
    QTest::addColumn<bool>("to");
    QTest::addColumn<QString>("label");
    QTest::newRow("noun") << QStringList{QStringLiteral("n")} << false << QStringLiteral("名");
    QTest::newRow("suru noun") << QStringList{QStringLiteral("n"), QStringLiteral("vs")} << false
                               << QStringLiteral("名");
    QTest::newRow("suru noun, to gloss") << QStringList{QStringLiteral("n"), QStringLiteral("vs")} << true
                                         << QStringLiteral("動");
    QTest::newRow("transitivity alone") << QStringList{QStringLiteral("vt")} << true << QString();
    QTest::newRow("adjective") << QStringList{QStringLiteral("adj-na"), QStringLiteral("n")} << false
                               << QStringLiteral("形");
    QTest::newRow("adverb") << QStringList{QStringLiteral("adv-to")} << false << QStringLiteral("副");
    QTest::newRow("expression") << QStringList{QStringLiteral("exp")} << false << QStringLiteral("句");
    QTest::newRow("none") << QStringList() << false << QString();
}

void TestDictBuild::posLabels()
{
    QFETCH(QStringList, pos);
    QFETCH(bool, to);
    QFETCH(QString, label);
    QCOMPARE(Builder::posLabel(pos, to), label);
}

Builder TestDictBuild::buildSample(const QString &text)
{
    Builder b;
    for (const QString &line : text.split(u'\n'))
        b.addEdictLine(euc(line));
    b.finish();
    return b;
}

void TestDictBuild::filesAreSortedAndSearchable()
{
    const Builder b = buildSample(Sample);
    QTemporaryDir dir;
    for (Direction d : {JapaneseEnglish, EnglishJapanese}) {
        const QByteArray bytes = b.fileBytes(d);
        QVERIFY(bytes.endsWith("\r\n"));
        QList<QByteArray> lines = bytes.split('\n');
        QVERIFY(lines.takeLast().isEmpty());
        QByteArray previous;
        for (const QByteArray &raw : std::as_const(lines)) {
            QVERIFY(raw.endsWith('\r'));
            const QByteArray line = raw.chopped(1);
            QVERIFY(!line.contains('\r'));
            QVERIFY(line.startsWith(codepage::encode(u"■")));
            QVERIFY(codepage::fromCp932(line).ok());
            QByteArray key;
            QCOMPARE(lookup::EntryKeyBytes::ofLine(line, key), lookup::EntryKeyBytes::Status::Ok);
            QVERIFY(cStrComp(previous, key) <= 0);
            previous = key;
        }
        // Every line is found by looking its key up.
        const QString path =
            dir.filePath(d == JapaneseEnglish ? QStringLiteral("waei.dic") : QStringLiteral("wordmere.dic"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        for (const QByteArray &raw : std::as_const(lines)) {
            const QString line = codepage::decode(raw.chopped(1));
            lookup::LookupState state;
            lookup::FileSearch search(state, nullptr);
            QString error;
            QVERIFY2(search.FindKey(path, lookup::GetTango(line).value(), &error), qPrintable(line + error));
            QVERIFY(state.record.HitLines.contains(line));
        }
    }
    const QString english = codepage::decode(b.fileBytes(EnglishJapanese));
    // Common words first among the lines of one key.
    QVERIFY(english.indexOf(QStringLiteral("■apple {名} : 林檎{りんご} (fruit)")) <
            english.indexOf(QStringLiteral("■apple {名} : アップル")));
}

void TestDictBuild::countsAndDrops()
{
    const Builder b = buildSample(Sample + QStringLiteral("\n鷗 [かもめ] /(n) gull/\n"));
    const Counts &c = b.counts();
    QCOMPARE(c.entries, 10);
    QCOMPARE(c.malformed, 1);                   // ４° [しど] / has no gloss
    QCOMPARE(c.duplicates[JapaneseEnglish], 2); // the second 犬 entry
    QCOMPARE(c.duplicates[EnglishJapanese], 1);
    QCOMPARE(c.glossesReplaced, 1);
    // 鷗 is not in code page 932 (JIS X 0212 in EUC-JP), and every line of its
    // entry names it: both Japanese-English lines and the English one go.
    QCOMPARE(c.unholdable[JapaneseEnglish], 2);
    QCOMPARE(c.unholdable[EnglishJapanese], 1);
    QCOMPARE(c.written[JapaneseEnglish], b.fileBytes(JapaneseEnglish).count("\r\n"));
    QVERIFY(b.edictHeader().contains(QStringLiteral("Electronic Dictionary Research")));
}

void TestDictBuild::linesPerKeyLimited()
{
    Builder b;
    for (int i = 0; i < MaxLinesPerKey + 4; ++i)
        b.add(parsed(QStringLiteral("語%1 [ご] /(n) same/").arg(i)));
    b.finish();
    QCOMPARE(b.counts().overLimit[EnglishJapanese], 4);
    QCOMPARE(b.counts().written[EnglishJapanese], MaxLinesPerKey);
    QCOMPARE(b.counts().overLimit[JapaneseEnglish], 4); // the reading ご
}

void TestDictBuild::readingsOfOneSpellingJoined()
{
    Builder b;
    b.add(parsed(QStringLiteral("苹果 [ひょうか] /(n) (uk) apple (fruit)/")));
    b.add(parsed(QStringLiteral("苹果 [へいか] /(n) (uk) apple (fruit)/(P)/")));
    b.add(parsed(QStringLiteral("苹果 [りんご] /(n) (uk) apple (fruit)/apple (tree)/")));
    b.add(parsed(QStringLiteral("苹果 [へいか] /(n) (uk) apple (fruit)/")));
    b.finish();
    // Same spelling, gloss and note: one line, the readings in EDICT's order;
    // the common reading makes the joined line a common one. Another note
    // is another line.
    QCOMPARE(codepage::fromCp932(b.fileBytes(EnglishJapanese)).text,
             QStringLiteral("■apple {名} : 苹果{ひょうか・へいか・りんご} (fruit)\r\n"
                            "■apple {名} : 苹果{りんご} (tree)\r\n"));
    QCOMPARE(b.counts().readingsJoined, 2);
    // The program shows the line without its readings as "苹果 (fruit)".
    QCOMPARE(codepage::decode(cnvDelKakko(codepage::encode(QStringLiteral("苹果{ひょうか・へいか・りんご} (fruit)")))),
             QStringLiteral("苹果 (fruit)"));
}

void TestDictBuild::variantFormsOnlyInJapaneseEnglish_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("variantHeadword");
    QTest::addColumn<QString>("sharedLine");
    QTest::newRow("out-dated reading") << QStringLiteral("林檎 [りゅうごう] /(ok) (n) (1) (uk) apple (fruit)/")
                                       << QStringLiteral("りゅうごう")
                                       << QStringLiteral("■林檎 {りゅうごう} : (古い読み)");
    QTest::newRow("irregular kanji") << QStringLiteral("林語 [りんご] /(iK) (n) apple (fruit)/")
                                     << QStringLiteral("林語") << QStringLiteral("■りんご {林語} : (不規則な表記)");
    QTest::newRow("irregular okurigana, several tags")
        << QStringLiteral("林檎ご [りんご] /(io,n) apple (fruit)/") << QStringLiteral("林檎ご")
        << QStringLiteral("■りんご {林檎ご} : (不規則な送りがな)");
}

// EDICT lists an old or irregular spelling as an entry of its own with the
// same glosses: it must stay findable, but an English headword must not
// name the same word once for every old reading.
void TestDictBuild::variantFormsOnlyInJapaneseEnglish()
{
    QFETCH(QString, variant);
    QFETCH(QString, variantHeadword);
    Builder b;
    b.add(parsed(QStringLiteral("林檎 [りんご] /(n) (1) (uk) apple (fruit)/(P)/")));
    b.add(parsed(variant));
    b.finish();
    QCOMPARE(b.counts().variantForms, 1);
    const QString ej = codepage::fromCp932(b.fileBytes(EnglishJapanese)).text;
    QCOMPARE(ej, QStringLiteral("■apple {名} : 林檎{りんご} (fruit)\r\n"));
    const QString je = codepage::fromCp932(b.fileBytes(JapaneseEnglish)).text;
    QVERIFY2(je.contains(u'■' + variantHeadword + u' '), qPrintable(je));
    // Under the headword it shares with the usual form, one short line after
    // the usual entry; the glosses are heard once.
    QFETCH(QString, sharedLine);
    QVERIFY2(je.contains(sharedLine + QStringLiteral("\r\n")), qPrintable(je));
    QCOMPARE(je.count(QStringLiteral("apple (fruit)")), 3);
}

void TestDictBuild::basicWordFirst_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("firstLine");
    const QString eat = QStringLiteral("食べる [たべる] /(v1,vt) (1) to eat/(v1,vt) (2) to live on/(P)/");
    QTest::newRow("common first") << QStringList{QStringLiteral("食う [くう] /(v5u,vt) to eat/"), eat}
                                  << QStringLiteral("■eat {動} : 食べる{たべる}");
    QTest::newRow("fewer glosses in the sense")
        << QStringList{QStringLiteral("喫する [きっする] /(vs-s,vt) (1) to eat/to drink/to smoke/to take/(vs-s,vt) (2) "
                                      "to suffer/(P)/"),
                       eat}
        << QStringLiteral("■eat {動} : 食べる{たべる}");
    QTest::newRow("honorific after")
        << QStringList{QStringLiteral("ご覧になる [ごらんになる] /(exp,v5r) (1) (hon) to see/(P)/"),
                       QStringLiteral("見る [みる] /(v1,vt) (1) to see/to look/(v1,vt) (2) to examine/(P)/")}
        << QStringLiteral("■see {動} : 見る{みる}");
    QTest::newRow("first gloss before a later one")
        << QStringList{QStringLiteral("会う [あう] /(v5u,vi) to meet/to see/(P)/"),
                       QStringLiteral("見る [みる] /(v1,vt) to see/to look/to watch/(P)/")}
        << QStringLiteral("■see {動} : 見る{みる}");
    QTest::newRow("without a note before one with")
        << QStringList{QStringLiteral("掛かる [かかる] /(v5r,vi) to take (time)/(P)/"),
                       QStringLiteral("取る [とる] /(v5r,vt) (1) to take/to pick up/(v5r,vt) (2) to get/(P)/")}
        << QStringLiteral("■take {動} : 取る{とる}");
}

// The first line of a headword, which is heard first, names the basic word.
void TestDictBuild::basicWordFirst()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, firstLine);
    Builder b;
    for (const QString &e : std::as_const(entries))
        b.add(parsed(e));
    b.finish();
    const QString ej = codepage::fromCp932(b.fileBytes(EnglishJapanese)).text;
    const QString key = firstLine.section(u' ', 0, 0) + u' ';
    QVERIFY2(ej.indexOf(key) == ej.indexOf(firstLine), qPrintable(ej));
}

void TestDictBuild::deterministic()
{
    const Builder a = buildSample(Sample);
    const Builder b = buildSample(Sample);
    QCOMPARE(a.fileBytes(JapaneseEnglish), b.fileBytes(JapaneseEnglish));
    QCOMPARE(a.fileBytes(EnglishJapanese), b.fileBytes(EnglishJapanese));
}

void TestDictBuild::toolWritesOnlyItsFiles()
{
    QTemporaryDir dir;
    const QString edictPath = dir.filePath(QStringLiteral("edict"));
    QFile in(edictPath);
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write(euc(Sample));
    in.close();
    const QString out = dir.filePath(QStringLiteral("out/nested"));
    QProcess p;
    p.start(QStringLiteral(WORDLAMP_PROGRAM_DIR "/wordlamp-dict"),
            {QStringLiteral("--edict"), edictPath, QStringLiteral("--out"), out});
    QVERIFY(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(p.readAllStandardOutput().isEmpty());
    QVERIFY2(err.contains(QStringLiteral("read 9 EDICT entries")), qPrintable(err));
    QVERIFY(err.contains(QStringLiteral("waei.dic: ")));
    QVERIFY(err.contains(QStringLiteral("wordmere.dic: ")));
    QVERIFY(!err.contains(u'\r')); // no progress when standard error is no terminal
    QStringList files = QDir(out).entryList(QDir::Files);
    files.sort();
    QCOMPARE(files, (QStringList{QStringLiteral("EDICT-COPYRIGHT.txt"), QStringLiteral("waei.dic"),
                                 QStringLiteral("wordmere.dic")}));
    QFile licence(QDir(out).filePath(QStringLiteral("EDICT-COPYRIGHT.txt")));
    QVERIFY(licence.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(licence.readAll());
    QVERIFY(text.contains(QStringLiteral("Electronic Dictionary Research and Development Group")));
    QVERIFY(text.contains(QStringLiteral("Attribution-ShareAlike")));
    QVERIFY(text.contains(QStringLiteral("Created: 2021-02-03")));
    QVERIFY(text.contains(QStringLiteral("GENERAL DICTIONARY LICENCE STATEMENT"))); // Debian's copyright file
    QFile waei(QDir(out).filePath(QStringLiteral("waei.dic")));
    QVERIFY(waei.open(QIODevice::ReadOnly));
    QCOMPARE(waei.readAll(), buildSample(Sample).fileBytes(JapaneseEnglish));
}

void TestDictBuild::toolErrors()
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral(WORDLAMP_PROGRAM_DIR "/wordlamp-dict"),
            {QStringLiteral("--edict"), dir.filePath(QStringLiteral("none")), QStringLiteral("--out"), dir.path()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("cannot read")));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    p.start(QStringLiteral(WORDLAMP_PROGRAM_DIR "/wordlamp-dict"), {QStringLiteral("--bogus")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 3);
}

QTEST_GUILESS_MAIN(TestDictBuild)
#include "test_dictbuild.moc"
