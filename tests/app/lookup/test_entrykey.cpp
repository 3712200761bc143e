// EntryKey (GetTango) on decoded lines, AddYen, and the byte version of the
// EntryKey that the search uses: it must give exactly the Shift-JIS form of
// GetTango on the decoded line, for every character of the code page and for
// random lines full of the characters that the steps treat specially.

#include "codepage/codepage.h"
#include "lookup/entrykey.h"
#include "orrin/orrinsupport.h"
#include "testsupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

using namespace lookup;
using testsupport::sjis;

namespace {

// The key as the steps define it: decode, GetTango, encode.
QByteArray referenceKey(const QByteArray &line, bool *wellFormed)
{
    const std::optional<QString> key = GetTango(codepage::decode(line));
    *wellFormed = key.has_value();
    return key ? codepage::encode(*key) : QByteArray();
}

QByteArray byteKey(const QByteArray &line, bool *wellFormed)
{
    QByteArray key;
    *wellFormed = EntryKeyBytes::ofLine(line, key) == EntryKeyBytes::Status::Ok;
    return key;
}

} // namespace

class TestEntryKey : public QObject {
    Q_OBJECT
private slots:
    void getTango_data();
    void getTango();
    void addYen_data();
    void addYen();
    void byteKeyEqualsGetTango_data();
    void byteKeyEqualsGetTango();
    void byteKeyForEveryCharacter();
    void byteKeyForRandomLines();
};

void TestEntryKey::getTango_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key"); // null: malformed
    QTest::newRow("plain") << QStringLiteral("■run : 走る") << QStringLiteral("run");
    QTest::newRow("underscore second becomes full-width hyphen")
        << QStringLiteral("■_abc : x") << QStringLiteral("－abc");
    QTest::newRow("annotation cut") << QStringLiteral("■Apple {名} : りんご") << QStringLiteral("apple");
    QTest::newRow("semicolon cut") << QStringLiteral("■あい；愛 : love") << QStringLiteral("あい");
    QTest::newRow("semicolon before brace") << QStringLiteral("■a {b；c} : x") << QStringLiteral("a");
    QTest::newRow("brace without space stays") << QStringLiteral("■a{b} : x") << QStringLiteral("a{b}");
    QTest::newRow("first separator only") << QStringLiteral("■a : b : c") << QStringLiteral("a");
    QTest::newRow("colon without spaces is no separator") << QStringLiteral("■a: b") << QString();
    QTest::newRow("no separator") << QStringLiteral("■abc") << QString();
    QTest::newRow("empty line") << QString() << QString();
    QTest::newRow("spaces trimmed") << QStringLiteral("■  two words  : x") << QStringLiteral("two words");
    QTest::newRow("ideographic spaces stay") << QStringLiteral("■　a　 : x") << QStringLiteral("　a　");
    QTest::newRow("lower case") << QStringLiteral("■ABC Def : x") << QStringLiteral("abc def");
    QTest::newRow("full-width capitals lowered") << QStringLiteral("■ＡＢＣ : x") << QStringLiteral("ａｂｃ");
    QTest::newRow("greek lowered") << QStringLiteral("■ΑΒΓ : x") << QStringLiteral("αβγ");
    QTest::newRow("cyrillic lowered") << QStringLiteral("■ДА : x") << QStringLiteral("да");
    QTest::newRow("roman numeral lowered") << QStringLiteral("■Ⅳ : x") << QStringLiteral("ⅳ");
    QTest::newRow("empty headword") << QStringLiteral("■ : x") << QString(u""_qs);
    QTest::newRow("annotation only") << QStringLiteral("■ {x} : y") << QString(u""_qs);
    QTest::newRow("no marker: first character dropped") << QStringLiteral("abc : x") << QStringLiteral("bc");
    QTest::newRow("backslash first becomes yen, dropped") << QStringLiteral("\\abc : x") << QStringLiteral("abc");
    QTest::newRow("two underscores") << QStringLiteral("__abc : x") << QStringLiteral("－abc");
    QTest::newRow("backslash second stays") << QStringLiteral("■\\a : x") << QStringLiteral("\\a");
    QTest::newRow("underscore third stays") << QStringLiteral("■a_b : x") << QStringLiteral("a_b");
    QTest::newRow("marker alone") << QStringLiteral("■ : ") << QString(u""_qs);
}

void TestEntryKey::getTango()
{
    QFETCH(QString, line);
    QFETCH(QString, key);
    const std::optional<QString> got = GetTango(line);
    QCOMPARE(got.has_value(), !key.isNull());
    if (got)
        QCOMPARE(*got, key);
    // The byte version agrees on every row.
    bool wellFormed = false;
    const QByteArray bytes = byteKey(sjis(line), &wellFormed);
    QCOMPARE(wellFormed, !key.isNull());
    if (wellFormed)
        QCOMPARE(bytes, sjis(key));
}

void TestEntryKey::addYen_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const QString sep = QDir::separator();
    QTest::newRow("without separator") << QStringLiteral("/dic") << QStringLiteral("/dic") + sep;
    QTest::newRow("with separator") << QStringLiteral("/dic") + sep << QStringLiteral("/dic") + sep;
    QTest::newRow("with slash") << QStringLiteral("/dic/") << QStringLiteral("/dic/");
    QTest::newRow("empty") << QString() << sep;
}

void TestEntryKey::addYen()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(AddYen(path), expected);
    QCOMPARE(AddYen(path) + QStringLiteral("eia.txt"), expected + QStringLiteral("eia.txt"));
}

void TestEntryKey::byteKeyEqualsGetTango_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("invalid trail byte") << (sjis(QStringLiteral("■a")) + "\x81\x20" + " : x");
    QTest::newRow("lead byte before separator") << (sjis(QStringLiteral("■a")) + "\x81" + " : x");
    QTest::newRow("unassigned code") << (sjis(QStringLiteral("■a")) + "\x85\x40" + " : x");
    QTest::newRow("lone high byte") << QByteArray("\x81\xA1\xFD\xFE\xFF\xA0\x80 : x");
    QTest::newRow("NEC-selected IBM kanji") << QByteArray("\x81\xA1\xED\x40 : x");
    QTest::newRow("NEC roman numeral capital") << QByteArray("\x81\xA1\x87\x54 : x");
    QTest::newRow("IBM roman numeral capital") << QByteArray("\x81\xA1\xFA\x4A : x");
    QTest::newRow("trail byte that looks like a brace") << sjis(QStringLiteral("■閲 {x} : y"));
    QTest::newRow("trail byte that looks like an underscore") << QByteArray("\x81\xA1\x81\x5F : x");
    QTest::newRow("marker byte pair split") << QByteArray("\xA1 : x");
    QTest::newRow("embedded NUL") << QByteArray("\x81\xA1"
                                                "a\0b : x",
                                                9);
    QTest::newRow("CR inside") << QByteArray("\x81\xA1"
                                             "a\rb : x");
}

void TestEntryKey::byteKeyEqualsGetTango()
{
    QFETCH(QByteArray, line);
    bool refOk = false;
    bool byteOk = false;
    const QByteArray expected = referenceKey(line, &refOk);
    const QByteArray got = byteKey(line, &byteOk);
    QCOMPARE(byteOk, refOk);
    QCOMPARE(got, expected);
}

void TestEntryKey::byteKeyForEveryCharacter()
{
    // Every single byte and every lead/trail pair, in each place of the
    // headword where a step looks: first (the marker's place), second, and
    // within and at the end of the key.
    QList<QByteArray> chars;
    for (int b = 1; b < 256; ++b)
        chars.append(QByteArray(1, char(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!codepage::isLeadByte(uchar(lead)))
            continue;
        for (int trail = 0x20; trail <= 0xFF; ++trail)
            chars.append(QByteArray(1, char(lead)) + char(trail));
    }
    const QByteArray marker = sjis(QStringLiteral("■"));
    int checked = 0;
    for (const QByteArray &c : std::as_const(chars)) {
        const QByteArray lines[] = {c + "Ab : x", marker + c + "Ab : x", marker + "A" + c + "b : x",
                                    marker + "Ab" + c + " : x"};
        for (const QByteArray &line : lines) {
            bool refOk = false;
            bool byteOk = false;
            const QByteArray expected = referenceKey(line, &refOk);
            const QByteArray got = byteKey(line, &byteOk);
            if (got != expected || refOk != byteOk)
                QFAIL(qPrintable(QStringLiteral("line %1: %2 instead of %3")
                                     .arg(QString::fromLatin1(line.toHex(' ')), QString::fromLatin1(got.toHex(' ')),
                                          QString::fromLatin1(expected.toHex(' ')))));
            ++checked;
        }
    }
    QVERIFY(checked > 50000);
}

void TestEntryKey::byteKeyForRandomLines()
{
    // Lines assembled from the pieces the steps care about, in random order.
    const QList<QByteArray> pieces{sjis(QStringLiteral("■")),
                                   sjis(QStringLiteral("；")),
                                   sjis(QStringLiteral("－")),
                                   " {",
                                   " ",
                                   "_",
                                   "\\",
                                   ":",
                                   " : ",
                                   "{",
                                   "}",
                                   "A",
                                   "z",
                                   "Q",
                                   sjis(QStringLiteral("Ａ")),
                                   sjis(QStringLiteral("ｂ")),
                                   sjis(QStringLiteral("Ω")),
                                   sjis(QStringLiteral("Ж")),
                                   sjis(QStringLiteral("Ⅷ")),
                                   sjis(QStringLiteral("林檎")),
                                   sjis(QStringLiteral("ｶﾞ")),
                                   sjis(QStringLiteral("　")),
                                   "\x81",
                                   "\xFE",
                                   "\xED\x40",
                                   "\x85\x40",
                                   "\x81\x20",
                                   sjis(QStringLiteral("閲")),
                                   sjis(QStringLiteral("ソ")),
                                   "\t",
                                   "\r"};
    QRandomGenerator rng(20240607);
    for (int n = 0; n < 100000; ++n) {
        QByteArray line;
        const int count = int(rng.bounded(1, 12));
        for (int i = 0; i < count; ++i)
            line += pieces[rng.bounded(int(pieces.size()))];
        if (rng.bounded(4) != 0)
            line += " : body";
        bool refOk = false;
        bool byteOk = false;
        const QByteArray expected = referenceKey(line, &refOk);
        const QByteArray got = byteKey(line, &byteOk);
        if (got != expected || refOk != byteOk)
            QFAIL(qPrintable(QStringLiteral("line %1: %2 instead of %3")
                                 .arg(QString::fromLatin1(line.toHex(' ')), QString::fromLatin1(got.toHex(' ')),
                                      QString::fromLatin1(expected.toHex(' ')))));
        // The comparison from the head's leading bytes, where it settles,
        // is the comparison of the whole key: against a query that shares
        // a random part of the key and goes on with a random piece.
        if (!refOk)
            continue;
        const QByteArray query = expected.left(rng.bounded(int(expected.size()) + 1)) +
                                 (rng.bounded(3) ? pieces[rng.bounded(int(pieces.size()))] : QByteArray());
        int c = 0;
        if (EntryKeyBytes::compareHead(line.left(line.indexOf(" : ")), query, &c) && c != cStrComp(expected, query))
            QFAIL(qPrintable(QStringLiteral("line %1, query %2: compared %3")
                                 .arg(QString::fromLatin1(line.toHex(' ')), QString::fromLatin1(query.toHex(' ')))
                                 .arg(c)));
    }
}

QTEST_GUILESS_MAIN(TestEntryKey)
#include "test_entrykey.moc"
