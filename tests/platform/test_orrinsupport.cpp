// The screen reader's support functions: the dictionary collation, the
// removal of readings in braces, and the braille table.

#include "orrin/orrinsupport.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::sjis;

class TestOrrinSupport : public QObject {
    Q_OBJECT
private slots:
    void collation_data();
    void collation();
    void collationIsAntisymmetric();
    void delKakko_data();
    void delKakko();
    void strSafeKeepsLine();
    void brix_data();
    void brix();
    void brixShippedTable();
};

void TestOrrinSupport::collation_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("result");
    QTest::newRow("equal") << QByteArray("apple") << QByteArray("apple") << 0;
    QTest::newRow("before") << QByteArray("apple") << QByteArray("apply") << -1;
    QTest::newRow("after") << QByteArray("banana") << QByteArray("apple") << 1;
    QTest::newRow("prefix sorts first") << QByteArray("app") << QByteArray("apple") << -1;
    QTest::newRow("longer after its prefix") << QByteArray("apples") << QByteArray("apple") << 1;
    QTest::newRow("empty key") << QByteArray() << QByteArray("a") << -1;
    QTest::newRow("both empty") << QByteArray() << QByteArray() << 0;
    QTest::newRow("empty query") << QByteArray("a") << QByteArray() << 1;
    QTest::newRow("bytes are unsigned") << sjis(QStringLiteral("あ")) << QByteArray("z") << 1;
    QTest::newRow("space before letters") << QByteArray("a b") << QByteArray("ab") << -1;
    QTest::newRow("hiragana before katakana") << sjis(QStringLiteral("りんご")) << sjis(QStringLiteral("リンゴ")) << -1;
    QTest::newRow("half-width kana before kanji") << sjis(QStringLiteral("ｱ")) << sjis(QStringLiteral("亜")) << 1;
    QTest::newRow("invalid bytes compare as bytes") << QByteArray("\x82") << QByteArray("\x82\xA0") << -1;
    QTest::newRow("embedded NUL") << QByteArray("a\0b", 3) << QByteArray("a\0c", 3) << -1;
}

void TestOrrinSupport::collation()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, query);
    QFETCH(int, result);
    QCOMPARE(cStrComp(key, query), result);
}

void TestOrrinSupport::collationIsAntisymmetric()
{
    const QList<QByteArray> keys{"",
                                 "a",
                                 "ab",
                                 "abc",
                                 "b",
                                 sjis(QStringLiteral("■")),
                                 sjis(QStringLiteral("林檎")),
                                 "\xFF",
                                 QByteArray("\0", 1)};
    for (const QByteArray &a : keys)
        for (const QByteArray &b : keys)
            QCOMPARE(cStrComp(a, b), -cStrComp(b, a));
}

void TestOrrinSupport::delKakko_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("reading after word") << QStringLiteral("閑静{かんせい}な") << QStringLiteral("閑静な");
    QTest::newRow("annotation after space stays")
        << QStringLiteral("■apple {名} : 林檎{りんご}") << QStringLiteral("■apple {名} : 林檎");
    QTest::newRow("two readings") << QStringLiteral("林檎{りんご}と蜜柑{みかん}") << QStringLiteral("林檎と蜜柑");
    QTest::newRow("unclosed brace stays") << QStringLiteral("林檎{りんご") << QStringLiteral("林檎{りんご");
    QTest::newRow("brace at start stays") << QStringLiteral("{名}") << QStringLiteral("{名}");
    QTest::newRow("no braces") << QStringLiteral("■run : 走る") << QStringLiteral("■run : 走る");
    // 閲 is 0x89 0x7B (a '{' trail byte) and 厭 is 0x89 0x7D (a '}' trail
    // byte): trail bytes must not be taken for braces.
    QTest::newRow("trail byte is not a brace") << QStringLiteral("閲覧厭") << QStringLiteral("閲覧厭");
    QTest::newRow("trail byte inside reading") << QStringLiteral("漢{厭}字") << QStringLiteral("漢字");
    QTest::newRow("reading after trail-brace kanji") << QStringLiteral("府{ふ}") << QStringLiteral("府");
    QTest::newRow("empty") << QString() << QString();
}

void TestOrrinSupport::delKakko()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(cnvDelKakko(sjis(line)), sjis(expected));
}

void TestOrrinSupport::strSafeKeepsLine()
{
    const QByteArray line = sjis(QStringLiteral("■C language : Ｃ言語"));
    QCOMPARE(cnvStrSafe(line), line);
}

void TestOrrinSupport::brix_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::newRow("table") << QByteArray("[Braille]\n\xE3\x81\x82=1\n") << 0;
    QTest::newRow("comments and blank lines") << QByteArray("; c\n\n[Braille]\n# x\n\xE3\x81\x82=1\n") << 0;
    QTest::newRow("no table section") << QByteArray("[Other]\na=1\n") << 2;
    QTest::newRow("empty file") << QByteArray() << 2;
    QTest::newRow("bad dots") << QByteArray("[Braille]\na=19\n") << 2;
    QTest::newRow("line without =") << QByteArray("[Braille]\nabc\n") << 2;
}

void TestOrrinSupport::brix()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wordlampbr.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    QCOMPARE(BrixSet(path), result);
    QCOMPARE(BrixLoaded(), result == 0);
    BrixFree();
    QVERIFY(!BrixLoaded());
    QVERIFY(BrixSet(dir.filePath(QStringLiteral("missing.ini"))) != 0);
}

void TestOrrinSupport::brixShippedTable()
{
    QCOMPARE(BrixSet(QStringLiteral(WORDLAMP_PROGRAM_DIR "/wordlampbr.ini")), 0);
    BrixFree();
    BrixFree(); // twice is harmless
}

QTEST_APPLESS_MAIN(TestOrrinSupport)
#include "test_orrinsupport.moc"
