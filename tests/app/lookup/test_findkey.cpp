// The search of one dictionary file. Random dictionaries of every size are
// searched for every key and for words that are not there, exactly and by
// prefix, and each result is compared with a plain reading of the procedure
// (probes at the same byte positions, on decoded lines) and with the lines
// that really hold the key. Then the cases the procedure leaves to us and the
// bad files, each on its own.

#include "codepage/codepage.h"
#include "dictionarywriter.h"
#include "lookup/entrykey.h"
#include "lookup/findkey.h"
#include "orrin/orrinsupport.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace lookup;

namespace {

// The procedure read plainly: the whole file in memory, every key decoded
// and compared through its Shift-JIS form.
class Reference {
public:
    struct Outcome {
        bool result = false;
        QStringList hits;
        qint64 top = 0;
        qint64 end = 0;
        qint64 linePos = 0;
    };

    Reference(QByteArray data, bool prefix, int zenpoMax) : d_(std::move(data)), prefix_(prefix), max_(zenpoMax) {}

    Outcome FindKey(const QString &q, qint64 linePos, qint64 hitEnd)
    {
        Outcome o;
        o.linePos = linePos;
        o.end = hitEnd;
        q_ = q;
        const qint64 len = d_.size();
        qint64 p = 1;
        qint64 lo = 0;
        bool left = false;
        for (int i = 1; i <= 201; ++i) {
            const QString k = i == 201 ? LastSeek() : NowSeek(p, o.linePos);
            const int c = comp(k);
            if (c == 1 && i == 1 && !(prefix_ && k.startsWith(q_)))
                return o;
            if (c != -1) {
                left = true;
                break;
            }
            lo = o.linePos;
            p += len / 200;
        }
        if (!left)
            return o;
        const bool firstLine = lo == 0;
        if (!firstLine) {
            const qint64 hi = o.linePos;
            const qint64 step = divideRoundHalfEven(hi - lo, 50);
            p = lo;
            left = false;
            for (int j = 1; j <= 51; ++j) {
                const QString k = j == 51 ? LastSeek() : NowSeek(p, o.linePos);
                const int c = comp(k);
                if (c == 1 && j == 1 && !(prefix_ && k.startsWith(q_)))
                    return o;
                if (c != -1) {
                    left = true;
                    break;
                }
                lo = o.linePos;
                p += step;
            }
            if (!left)
                return o;
        }
        cur_ = firstLine ? 0 : lo - 1;
        if (!firstLine)
            readLine();
        int n = 0;
        while (cur_ < len) {
            const qint64 prev = o.linePos;
            o.linePos = cur_ + 1;
            const QString l = readLine();
            const QString k = GetTango(l).value();
            if (prefix_) {
                if (k.startsWith(q_)) {
                    o.hits.append(l);
                    o.result = true;
                    if (++n > max_)
                        break;
                } else if (comp(k) == 1) {
                    o.linePos = prev;
                    break;
                }
            } else if (k == q_) {
                o.result = true;
                o.hits.append(l);
                o.end = o.linePos;
                if (o.top == 0)
                    o.top = o.linePos;
            } else if (o.result) {
                break;
            } else if (comp(k) == 1) {
                o.linePos = prev;
                break;
            }
        }
        return o;
    }

private:
    int comp(const QString &k) const { return cStrComp(codepage::encode(k), codepage::encode(q_)); }

    QString readLine()
    {
        qsizetype lf = d_.indexOf('\n', cur_);
        qsizetype end = lf < 0 ? d_.size() : lf;
        const qsizetype start = cur_;
        cur_ = lf < 0 ? d_.size() : lf + 1;
        if (end > start && d_[end - 1] == '\r')
            --end;
        return codepage::decode(d_.mid(start, end - start));
    }

    QString NowSeek(qint64 f, qint64 &linePos)
    {
        cur_ = f - 1;
        linePos = f;
        QString l = readLine();
        if (f != 1) {
            if (cur_ >= d_.size()) { // no line follows: the last line
                linePos = lastLinePos();
                return LastSeek();
            }
            linePos = cur_ + 1;
            l = readLine();
        }
        return GetTango(l).value();
    }

    qint64 lastLinePos()
    {
        if (lastLine_ > 0)
            return lastLine_;
        qint64 last = 0;
        cur_ = 0;
        while (cur_ < d_.size()) {
            const qint64 pos = cur_ + 1;
            if (readLine().startsWith(u'■'))
                last = pos;
        }
        lastLine_ = last;
        return last;
    }

    QString LastSeek()
    {
        cur_ = lastLinePos() - 1;
        return GetTango(readLine()).value();
    }

    QByteArray d_;
    bool prefix_;
    int max_;
    QString q_;
    qint64 cur_ = 0;
    qint64 lastLine_ = 0;
};

struct Case {
    QString query;
    bool prefix;
};

} // namespace

class TestFindKey : public QObject {
    Q_OBJECT
private slots:
    void init();
    void randomDictionaries_data();
    void randomDictionaries();
    void threeLinesOfOneKey();
    void firstLineEqualsQuery();
    void wordBeforeFirstLine();
    void wordAfterLastLine();
    void prefixLimit();
    void collationEqualButDifferentText();
    void probeCosts();
    void smallFiles_data();
    void smallFiles();
    void tailWithoutMarker();
    void lastLineLong();
    void veryLongLine();
    void invalidShiftJis();
    void badFiles_data();
    void badFiles();
    void fileEndings_data();
    void fileEndings();
    void tooManyLinesForOneKey();
    void missingFile();
    void paneEmptiedOnlyAtFirstMatch();

private:
    QString path(const QString &name) const { return dir_->filePath(name); }
    void checkAgainstReference(const QByteArray &data, const QStringList &lines, const QList<Case> &cases,
                               const QByteArray &lineEnd);
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestFindKey::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestFindKey::checkAgainstReference(const QByteArray &data, const QStringList &lines, const QList<Case> &cases,
                                        const QByteArray &lineEnd)
{
    const QString file = path(QStringLiteral("waei.dic"));
    QVERIFY(testdict::writeFile(file, data));
    const QList<qint64> pos = testdict::positions(lines, lineEnd);
    QStringList lineKeys;
    for (const QString &line : lines)
        lineKeys.append(GetTango(line).value());
    for (const Case &c : cases) {
        for (int zenpoMax : {50, 2}) {
            if (!c.prefix && zenpoMax != 50)
                continue;
            LookupState state;
            state.ZenpoFlag = c.prefix;
            state.ZenpoMax = zenpoMax;
            state.record.LinePos = -7;
            state.record.HitEndPos = -9;
            FileSearch search(state, nullptr);
            QString error;
            const bool result = search.FindKey(file, c.query, &error);
            const QString what = QStringLiteral("query \"%1\"%2, %3 lines")
                                     .arg(c.query, c.prefix ? QStringLiteral(" (prefix)") : QString())
                                     .arg(lines.size());
            if (!error.isEmpty())
                QFAIL(qPrintable(what + QStringLiteral(": ") + error));
            Reference ref(data, c.prefix, zenpoMax);
            const Reference::Outcome o = ref.FindKey(c.query, -7, -9);
            QVERIFY2(result == o.result, qPrintable(what));
            QVERIFY2(state.record.HitLines == o.hits, qPrintable(what));
            QVERIFY2(state.record.HitTopPos == o.top, qPrintable(what));
            QVERIFY2(state.record.HitEndPos == o.end, qPrintable(what));
            QVERIFY2(state.record.LinePos == o.linePos,
                     qPrintable(what +
                                QStringLiteral(": LinePos %1, expected %2").arg(state.record.LinePos).arg(o.linePos)));
            QCOMPARE(state.record.DicFileName, file);

            // And against the lines that really hold the key.
            QStringList truth;
            qint64 first = 0;
            qint64 last = 0;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString &k = lineKeys[i];
                if (c.prefix ? k.startsWith(c.query) : k == c.query) {
                    if (c.prefix && truth.size() > zenpoMax)
                        break;
                    truth.append(lines[i]);
                    if (first == 0)
                        first = pos[i];
                    last = pos[i];
                }
            }
            QVERIFY2(state.record.HitLines == truth, qPrintable(what));
            if (!c.prefix && !truth.isEmpty()) {
                QCOMPARE(state.record.HitTopPos, first);
                QCOMPARE(state.record.HitEndPos, last);
            }
        }
    }
}

void TestFindKey::randomDictionaries_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QByteArray>("lineEnd");
    for (int n : {1, 2, 3, 5, 8, 20, 60, 250, 1500, 8000})
        QTest::addRow("%d lines, CR LF", n) << n << QByteArray("\r\n");
    for (int n : {1, 2, 3, 5, 8, 20, 60, 250})
        QTest::addRow("%d lines, LF", n) << n << QByteArray("\n");
}

void TestFindKey::randomDictionaries()
{
    QFETCH(int, lineCount);
    QFETCH(QByteArray, lineEnd);
    QRandomGenerator rng(uint(lineCount) * 7919u + uint(lineEnd.size()));
    const QStringList lines = testdict::randomDictionary(lineCount, rng);
    const QByteArray data = testdict::bytes(lines, lineEnd);

    QStringList keys;
    for (const QString &line : lines) {
        const QString k = GetTango(line).value();
        if (keys.isEmpty() || keys.back() != k)
            keys.append(k);
    }
    // Keep the big dictionaries quick: a sample of their keys.
    if (keys.size() > 40) {
        QStringList sample;
        for (int i = 0; i < 40; ++i)
            sample.append(keys[rng.bounded(int(keys.size()))]);
        keys = sample;
    }
    QList<Case> cases;
    for (const QString &k : std::as_const(keys)) {
        cases.append({k, false});
        cases.append({k + u'z', false});
        cases.append({k.left(1), true});
        if (k.size() > 2) {
            cases.append({k.left(k.size() - 1), false});
            cases.append({k.left(2), true});
        }
    }
    cases.append({QStringLiteral("!"), false});
    cases.append({QStringLiteral("~~~"), false});
    cases.append({QStringLiteral("ん"), true});
    cases.append({QString(), true});
    checkAgainstReference(data, lines, cases, lineEnd);
}

void TestFindKey::threeLinesOfOneKey()
{
    const QStringList lines{QStringLiteral("■ran : 走った"),      QStringLiteral("■run : 走る"),
                            QStringLiteral("■run : 運営する"),    QStringLiteral("■Run : 流れ"),
                            QStringLiteral("■run down : 衰える"), QStringLiteral("■rung : 段")};
    QStringList padded;
    for (int i = 0; i < 40; ++i)
        padded.append(QStringLiteral("■a%1 : x").arg(i, 3, 10, QChar(u'0')));
    padded += lines;
    for (int i = 0; i < 40; ++i)
        padded.append(QStringLiteral("■z%1 : x").arg(i, 3, 10, QChar(u'0')));
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(padded)));
    const QList<qint64> pos = testdict::positions(padded);
    LookupState state;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("run"), &error));
    QCOMPARE(state.record.HitLines, lines.mid(1, 3));
    QCOMPARE(state.record.HitCount(), 3);
    QCOMPARE(state.record.HitTopPos, pos[41]);
    QCOMPARE(state.record.HitEndPos, pos[43]);
    QCOMPARE(state.record.LinePos, pos[44]); // the first line that did not match
}

void TestFindKey::firstLineEqualsQuery()
{
    for (const QByteArray &lineEnd : {QByteArray("\r\n"), QByteArray("\n")}) {
        QStringList lines{QStringLiteral("■aa : 1"), QStringLiteral("■aa : 2"), QStringLiteral("■ab : 3")};
        for (int i = 0; i < 300; ++i)
            lines.append(QStringLiteral("■b%1 : filler text").arg(i, 3, 10, QChar(u'0')));
        QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines, lineEnd)));
        LookupState state;
        FileSearch search(state, nullptr);
        QString error;
        QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("aa"), &error));
        QCOMPARE(state.record.HitLines, lines.mid(0, 2));
        QCOMPARE(state.record.HitTopPos, 1);
        QCOMPARE(state.record.HitEndPos, testdict::positions(lines, lineEnd)[1]);
        // By prefix too.
        state.ZenpoFlag = true;
        QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("a"), &error));
        QCOMPARE(state.record.HitLines, lines.mid(0, 3));
        QCOMPARE(state.record.HitTopPos, 0);
        QVERIFY(error.isEmpty());
    }
}

void TestFindKey::wordBeforeFirstLine()
{
    QStringList lines;
    for (int i = 0; i < 500; ++i)
        lines.append(QStringLiteral("■m%1 : x").arg(i, 4, 10, QChar(u'0')));
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    LookupState state;
    state.record.HitEndPos = 77;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("apple"), &error));
    QCOMPARE(search.lastProbeCount(), 1);
    QCOMPARE(state.record.HitCount(), 0);
    QCOMPARE(state.record.HitEndPos, 77); // not reset by a search that matches nothing
    QVERIFY(error.isEmpty());
}

void TestFindKey::wordAfterLastLine()
{
    QStringList lines;
    for (int i = 0; i < 500; ++i)
        lines.append(QStringLiteral("■m%1 : x").arg(i, 4, 10, QChar(u'0')));
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    LookupState state;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("zebra"), &error));
    QCOMPARE(search.lastProbeCount(), 201); // the whole coarse pass, ending with the tail probe
    QVERIFY(error.isEmpty());
}

void TestFindKey::prefixLimit()
{
    QStringList lines;
    for (int i = 0; i < 120; ++i)
        lines.append(QStringLiteral("■apple%1 : x").arg(i, 3, 10, QChar(u'0')));
    lines = testdict::sorted(lines + QStringList{QStringLiteral("■apply : y"), QStringLiteral("■b : z")});
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    LookupState state;
    state.ZenpoFlag = true;
    state.ZenpoMax = 50;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("appl"), &error));
    QCOMPARE(state.record.HitCount(), 51);
    QCOMPARE(state.record.HitTopPos, 0);
    state.ZenpoMax = 1000;
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("appl"), &error));
    QCOMPARE(state.record.HitCount(), 121);
    QCOMPARE(state.record.HitLines.back(), QStringLiteral("■apply : y"));
}

void TestFindKey::collationEqualButDifferentText()
{
    // A key with a character the code page cannot hold is compared as "?":
    // equal under the collation to the line "■a?b", but not the same text.
    const QStringList lines{QStringLiteral("■a : 1"), QStringLiteral("■a?b : 2"), QStringLiteral("■a?b : 3"),
                            QStringLiteral("■ac : 4")};
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    LookupState state;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("a한b"), &error));
    QCOMPARE(state.record.HitCount(), 0);
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("a?b"), &error));
    QCOMPARE(state.record.HitCount(), 2);
    QVERIFY(error.isEmpty());
}

void TestFindKey::probeCosts()
{
    QRandomGenerator rng(4242);
    const QStringList lines = testdict::randomDictionary(40000, rng);
    QVERIFY(testdict::writeFile(path(QStringLiteral("waei.dic")), testdict::bytes(lines)));
    LookupState state;
    FileSearch search(state, nullptr);
    quint64 worst = 0;
    for (int i = 0; i < 200; ++i) {
        const QString key = GetTango(lines[rng.bounded(int(lines.size()))]).value();
        const quint64 before = search.bytesRead();
        QString error;
        QVERIFY(search.FindKey(path(QStringLiteral("waei.dic")), key, &error));
        QVERIFY(search.lastProbeCount() <= 252);
        worst = std::max(worst, search.bytesRead() - before);
    }
    // About 3.5 MB of lines; the probes read a little around each position.
    QVERIFY2(worst < 64 * 1024, qPrintable(QString::number(worst)));
}

void TestFindKey::smallFiles_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one line") << QStringList{QStringLiteral("■cat : 猫")};
    QTest::newRow("fifty bytes") << QStringList{QStringLiteral("■cat : 猫"), QStringLiteral("■dog : 犬"),
                                                QStringLiteral("■eel : 鰻"), QStringLiteral("■foxes : 狐")};
    QStringList underThousand;
    for (int i = 0; i < 40; ++i)
        underThousand.append(QStringLiteral("■w%1 : word").arg(i, 2, 10, QChar(u'0')));
    QTest::newRow("under 1025 bytes") << underThousand;
}

void TestFindKey::smallFiles()
{
    QFETCH(QStringList, lines);
    const QByteArray data = testdict::bytes(lines);
    if (QByteArrayView(QTest::currentDataTag()) == "fifty bytes")
        QCOMPARE(data.size(), 50);
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), data));
    const QList<qint64> pos = testdict::positions(lines);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        LookupState state;
        FileSearch search(state, nullptr);
        QString error;
        const QString key = GetTango(lines[i]).value();
        QVERIFY2(search.FindKey(path(QStringLiteral("ei.txt")), key, &error), qPrintable(key + error));
        QCOMPARE(state.record.HitLines, QStringList{lines[i]});
        QCOMPARE(state.record.HitTopPos, pos[i]);
        QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), key + u'~', &error));
        QVERIFY(error.isEmpty());
    }
}

void TestFindKey::tailWithoutMarker()
{
    // The last 1,024 bytes lie inside one long last line.
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QStringLiteral("■k%1 : x").arg(i, 3, 10, QChar(u'0')));
    lines.append(QStringLiteral("■zz : ") + QString(3000, u'長'));
    const QByteArray data = testdict::bytes(lines);
    QVERIFY(!data.right(1024).contains(testsupport::sjis(QStringLiteral("\r\n■"))));
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), data));
    for (const QString &key : {QStringLiteral("zz"), QStringLiteral("k299"), QStringLiteral("k150")}) {
        LookupState state;
        FileSearch search(state, nullptr);
        QString error;
        QVERIFY2(search.FindKey(path(QStringLiteral("ei.txt")), key, &error), qPrintable(key + error));
        QCOMPARE(state.record.HitCount(), 1);
    }
    LookupState state;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("zzz"), &error));
    QVERIFY(error.isEmpty());

    // A file whose final lines are not entry lines at all: the tail probe
    // looks further back for the last entry line.
    QStringList odd = lines.mid(0, 300);
    QByteArray oddData = testdict::bytes(odd) + QByteArray("x : not an entry line\r\n").repeated(100);
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei2.txt")), oddData));
    QVERIFY(search.FindKey(path(QStringLiteral("ei2.txt")), QStringLiteral("k200"), &error));
    QVERIFY(error.isEmpty());
}

void TestFindKey::lastLineLong()
{
    // Probes of the fine pass fall into the long last line; no complete line
    // follows them.
    QStringList lines{QStringLiteral("■a : 1"), QStringLiteral("■b : 2"),
                      QStringLiteral("■c : ") + QString(5000, u'x')};
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    for (const QString &key : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
        LookupState state;
        FileSearch search(state, nullptr);
        QString error;
        QVERIFY2(search.FindKey(path(QStringLiteral("ei.txt")), key, &error), qPrintable(key + error));
        QCOMPARE(state.record.HitCount(), 1);
        QVERIFY(GetTango(state.record.HitLines[0]) == key);
    }
}

void TestFindKey::veryLongLine()
{
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines.append(QStringLiteral("■a%1 : x").arg(i, 2, 10, QChar(u'0')));
    lines.append(QStringLiteral("■long : ") + QString(100000, u'語'));
    for (int i = 0; i < 50; ++i)
        lines.append(QStringLiteral("■m%1 : x").arg(i, 2, 10, QChar(u'0')));
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    for (const QString &key : {QStringLiteral("long"), QStringLiteral("a49"), QStringLiteral("m00"),
                               QStringLiteral("m49"), QStringLiteral("a00")}) {
        LookupState state;
        FileSearch search(state, nullptr);
        QString error;
        QVERIFY2(search.FindKey(path(QStringLiteral("ei.txt")), key, &error), qPrintable(key + error));
        QCOMPARE(state.record.HitCount(), 1);
        if (key == u"long")
            QCOMPARE(state.record.HitLines[0].size(), 100008);
    }
}

void TestFindKey::invalidShiftJis()
{
    QByteArray data;
    QStringList keys;
    for (int i = 0; i < 100; ++i) {
        const QByteArray key = "k" + QByteArray::number(100 + i);
        keys.append(QString::fromLatin1(key));
        QByteArray line = "\x81\xA1" + key + " : ";
        if (i % 3 == 0)
            line += "\x85\x40\x81\x20\xFF bad"; // unassigned code, bad trail byte, lone byte
        data += line + "x\r\n";
    }
    data += "\x81\xA1"
            "kz\x81"
            " : \x81\r\n"; // a lead byte before the separator and at the end
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), data));
    for (const QString &key : std::as_const(keys)) {
        LookupState state;
        FileSearch search(state, nullptr);
        QString error;
        QVERIFY2(search.FindKey(path(QStringLiteral("ei.txt")), key, &error), qPrintable(key + error));
        QCOMPARE(state.record.HitCount(), 1);
    }
    LookupState state;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("k103"), &error));
    QVERIFY(state.record.HitLines[0].contains(QChar(0xFFFD)));
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("kz\uFFFD"), &error) || error.isEmpty());
}

void TestFindKey::badFiles_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("reason");
    QByteArray withBadLine;
    for (int i = 0; i < 200; ++i)
        withBadLine += "\x81\xA1"
                       "w" +
                       QByteArray::number(1000 + i) + (i == 120 ? " - broken\r\n" : " : x\r\n");
    QTest::newRow("line without separator")
        << withBadLine << QStringLiteral("w1150") << QStringLiteral("has no \" : \"");
    QTest::newRow("first line without separator") << QByteArray("\x81\xA1"
                                                                "abc\r\n\x81\xA1"
                                                                "b : x\r\n")
                                                  << QStringLiteral("b") << QStringLiteral("has no \" : \"");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("a") << QStringLiteral("empty");
    QTest::newRow("no entry line at all")
        << QByteArray("x : y\r\nz : w\r\n") << QStringLiteral("zz") << QStringLiteral("no line starts with");
    QTest::newRow("blank line inside") << QByteArray("\x81\xA1"
                                                     "a : x\r\n\r\n\x81\xA1"
                                                     "c : y\r\n")
                                       << QStringLiteral("b") << QStringLiteral("has no \" : \"");
    QTest::newRow("blank lines only") << QByteArray("\r\n\r\n\x1A") << QStringLiteral("a") << QStringLiteral("empty");
    QTest::newRow("broken line right after a match") << QByteArray("\x81\xA1"
                                                                   "a : x\r\n\x81\xA1"
                                                                   "b : 1\r\nb\r\n")
                                                     << QStringLiteral("b") << QStringLiteral("has no \" : \"");
    QTest::newRow("two Ctrl+Z at the end") << QByteArray("\x81\xA1"
                                                         "a : x\r\n\x1A\x1A")
                                           << QStringLiteral("a") << QStringLiteral("has no \" : \"");
    QTest::newRow("text after blank lines at the end") << QByteArray("\x81\xA1"
                                                                     "a : x\r\n\r\nzz\r\n")
                                                       << QStringLiteral("a") << QStringLiteral("has no \" : \"");
    QTest::newRow("no line break in 300 KiB") << QByteArray("\x81\xA1"
                                                            "a : ") +
                                                     QByteArray(300 * 1024, 'x')
                                              << QStringLiteral("b") << QStringLiteral("longer than 256 KiB");
}

// What text files carry after their last line (empty lines, one Ctrl+Z) is
// no line: every headword is found, the last one too.
void TestFindKey::fileEndings_data()
{
    QTest::addColumn<QByteArray>("ending");
    QTest::newRow("blank line") << QByteArray("\r\n");
    QTest::newRow("blank lines, LF") << QByteArray("\n\n");
    QTest::newRow("Ctrl+Z") << QByteArray("\x1A");
    QTest::newRow("Ctrl+Z, line end") << QByteArray("\x1A\r\n");
    QTest::newRow("blank lines, Ctrl+Z") << QByteArray("\r\n\r\n\x1A");
}

void TestFindKey::fileEndings()
{
    QFETCH(QByteArray, ending);
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QStringLiteral("■k%1 : x%1").arg(1000 + i));
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines) + ending));
    for (const QString &line : {lines.first(), lines[150], lines[298], lines.last()}) {
        LookupState state;
        FileSearch search(state, nullptr);
        QString error;
        const QString key = GetTango(line).value();
        QVERIFY2(search.FindKey(path(QStringLiteral("ei.txt")), key, &error), qPrintable(key + error));
        QCOMPARE(state.record.HitLines, QStringList{line});
        state.ZenpoFlag = true;
        QVERIFY2(search.FindKey(path(QStringLiteral("ei.txt")), key, &error), qPrintable(key + error));
    }
}

void TestFindKey::badFiles()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, query);
    QFETCH(QString, reason);
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), data));
    LookupState state;
    PlainTextSink sink;
    sink.append(QStringLiteral("previous entry"), {});
    FileSearch search(state, &sink);
    QString error;
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), query, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(error.contains(path(QStringLiteral("ei.txt"))));
    QCOMPARE(state.record.HitCount(), 0);
    QCOMPARE(sink.text(), QStringLiteral("previous entry"));
}

void TestFindKey::tooManyLinesForOneKey()
{
    QStringList lines{QStringLiteral("■a : 0")};
    for (int i = 0; i < 1500; ++i)
        lines.append(QStringLiteral("■same : %1").arg(i));
    lines.append(QStringLiteral("■z : 0"));
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    LookupState state;
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("same"), &error));
    QVERIFY2(error.contains(QStringLiteral("more than 1001 lines")), qPrintable(error));
    QCOMPARE(state.record.HitCount(), 0);
    // A prefix search stops at its limit long before.
    state.ZenpoFlag = true;
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("sam"), &error));
    QCOMPARE(state.record.HitCount(), 51);
    // ... unless the limit is beyond the table.
    state.ZenpoMax = 5000;
    error.clear();
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("sam"), &error));
    QVERIFY(error.contains(QStringLiteral("more than 1001 lines")));
}

void TestFindKey::missingFile()
{
    LookupState state;
    state.record.DicFileName = QStringLiteral("before");
    FileSearch search(state, nullptr);
    QString error;
    QVERIFY(!search.FindKey(path(QStringLiteral("gone.txt")), QStringLiteral("a"), &error));
    QVERIFY(error.contains(QStringLiteral("gone.txt")));
    QCOMPARE(state.record.DicFileName, QStringLiteral("before"));
}

void TestFindKey::paneEmptiedOnlyAtFirstMatch()
{
    const QStringList lines{QStringLiteral("■a : 1"), QStringLiteral("■b : 2"), QStringLiteral("■c : 3")};
    QVERIFY(testdict::writeFile(path(QStringLiteral("ei.txt")), testdict::bytes(lines)));
    LookupState state;
    state.DicMode = EnglishJapanese;
    PlainTextSink sink;
    FileSearch search(state, &sink);
    QString error;
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("b"), &error));
    QCOMPARE(sink.text(), QStringLiteral("b \r\n2\r\n"));
    QVERIFY(!search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("bb"), &error));
    QCOMPARE(sink.text(), QStringLiteral("b \r\n2\r\n")); // the previous entry stays on display
    QVERIFY(search.FindKey(path(QStringLiteral("ei.txt")), QStringLiteral("c"), &error));
    QCOMPARE(sink.text(), QStringLiteral("c \r\n3\r\n"));
}

QTEST_GUILESS_MAIN(TestFindKey)
#include "test_findkey.moc"
