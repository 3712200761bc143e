// Conversions between Unicode and code page 932.

#include "codepage/codepage.h"
#include "testsupport.h"

#include <QTest>

class TestCodepage : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void unrepresentable_data();
    void unrepresentable();
    void invalidBytes_data();
    void invalidBytes();
    void charCode_data();
    void charCode();
    void safeCut_data();
    void safeCut();
};

void TestCodepage::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("apple : x") << QByteArray("apple : x");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("headword marker") << QStringLiteral("■") << QByteArray("\x81\xA1");
    QTest::newRow("NEC extension") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("IBM extension") << QStringLiteral("髙") << QByteArray("\xFB\xFC");
    QTest::newRow("half-width katakana") << QStringLiteral("ｱｲｽ") << QByteArray("\xB1\xB2\xBD");
    QTest::newRow("kanji and kana") << QStringLiteral("林檎{りんご}")
                                    << QByteArray("\x97\xD1\x8C\xE7{\x82\xE8\x82\xF1\x82\xB2}");
    QTest::newRow("speech end marker") << QString(QChar(codepage::SpeechEndMarker)) << QByteArray("\xFE");
    QTest::newRow("backslash") << QStringLiteral("\\") << QByteArray("\\");
    QTest::newRow("full-width yen") << QStringLiteral("￥") << QByteArray("\x81\x8F");
}

void TestCodepage::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const codepage::Encoded e = codepage::toCp932(text);
    QVERIFY(e.ok());
    QCOMPARE(e.bytes, bytes);
    const codepage::Decoded d = codepage::fromCp932(bytes);
    QVERIFY(d.ok());
    QCOMPARE(d.text, text);
}

void TestCodepage::unrepresentable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("badIndex");
    QTest::addColumn<int>("badCount");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("hangul") << QStringLiteral("a한b") << 1 << 1 << QByteArray("a?b");
    QTest::newRow("emoji (surrogate pair)") << QStringLiteral("x😀y") << 1 << 1 << QByteArray("x?y");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << 0 << 1 << QByteArray("?");
    QTest::newRow("two bad") << QStringLiteral("あ한ß") << 1 << 2 << QByteArray("\x82\xA0??");
}

void TestCodepage::unrepresentable()
{
    QFETCH(QString, text);
    QFETCH(int, badIndex);
    QFETCH(int, badCount);
    QFETCH(QByteArray, bytes);
    const codepage::Encoded e = codepage::toCp932(text);
    QVERIFY(!e.ok());
    QCOMPARE(e.badIndex, badIndex);
    QCOMPARE(e.badCount, badCount);
    QCOMPARE(e.bytes, bytes);
}

void TestCodepage::invalidBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("badOffset");
    QTest::addColumn<QString>("text");
    QTest::newRow("lead byte at end") << QByteArray("ab\x82") << 2 << QStringLiteral("ab\uFFFD");
    QTest::newRow("lead byte before ascii") << QByteArray("\x82\x20z") << 0 << QStringLiteral("\uFFFD z");
    QTest::newRow("undefined lead") << QByteArray("\x85\x40x") << 0 << QStringLiteral("\uFFFD@x");
    QTest::newRow("lone lead only") << QByteArray("\xE0") << 0 << QStringLiteral("\uFFFD");
}

void TestCodepage::invalidBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, badOffset);
    QFETCH(QString, text);
    const codepage::Decoded d = codepage::fromCp932(bytes);
    QVERIFY(!d.ok());
    QCOMPARE(d.badOffset, badOffset);
    QCOMPARE(d.text, text);
}

void TestCodepage::charCode_data()
{
    QTest::addColumn<uint>("ch");
    QTest::addColumn<int>("code");
    QTest::newRow("亜") << uint(U'亜') << 0x889F;
    // The IBM extension code, which the platform conversion prefers over the
    // NEC-selected duplicate 0xEEEC.
    QTest::newRow("黑") << uint(U'黑') << 0xFC4B;
    QTest::newRow("■") << uint(U'■') << 0x81A1;
    QTest::newRow("A") << uint(U'A') << 0x41;
    QTest::newRow("ｱ") << uint(U'ｱ') << 0xB1;
    QTest::newRow("hangul") << uint(U'한') << -1;
    QTest::newRow("emoji") << uint(U'😀') << -1;
}

void TestCodepage::charCode()
{
    QFETCH(uint, ch);
    QFETCH(int, code);
    QCOMPARE(codepage::cp932Code(char32_t(ch)), code);
}

void TestCodepage::safeCut_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("cut");
    QTest::newRow("short") << QByteArray("abc") << 10 << 3;
    QTest::newRow("ascii") << QByteArray("abcdef") << 4 << 4;
    QTest::newRow("between lead and trail") << QByteArray("a\x82\xA0") << 2 << 1;
    QTest::newRow("after double byte") << QByteArray("a\x82\xA0z") << 3 << 3;
    QTest::newRow("zero") << QByteArray("abc") << 0 << 0;
}

void TestCodepage::safeCut()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, limit);
    QFETCH(int, cut);
    QCOMPARE(codepage::safeCut(bytes, limit), cut);
}

QTEST_APPLESS_MAIN(TestCodepage)
#include "test_codepage.moc"
