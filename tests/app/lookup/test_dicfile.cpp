// The positioned byte reader: 1-based positions, CR LF and LF line ends,
// lines longer than any read, characters, the end of the file, read-only
// opening and closing, and the count of bytes read.

#include "lookup/dicfile.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lookup;

class TestDicFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void linesAndPositions_data();
    void linesAndPositions();
    void seekIntoLine();
    void seekClamps();
    void longLine();
    void lineHead_data();
    void lineHead();
    void characters();
    void emptyFile();
    void missingFileAndFolder();
    void opensReadOnlyAndCloses();
    void rereadingCostsNothing();
    void shrinksWhileRead();

private:
    QString write(const QString &name, const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestDicFile::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

QString TestDicFile::write(const QString &name, const QByteArray &bytes)
{
    const QString path = dir_->filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(bytes);
    return path;
}

void TestDicFile::linesAndPositions_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QList<qint64>>("positions");
    QTest::newRow("CR LF") << QByteArray("ab\r\ncde\r\n\r\nf\r\n") << QList<QByteArray>{"ab", "cde", "", "f"}
                           << QList<qint64>{1, 5, 10, 12};
    QTest::newRow("LF only") << QByteArray("ab\ncde\n\nf\n") << QList<QByteArray>{"ab", "cde", "", "f"}
                             << QList<qint64>{1, 4, 8, 9};
    QTest::newRow("no final line end") << QByteArray("ab\r\ncd") << QList<QByteArray>{"ab", "cd"}
                                       << QList<qint64>{1, 5};
    QTest::newRow("lone CR stays in the line")
        << QByteArray("a\rb\r\nc") << QList<QByteArray>{"a\rb", "c"} << QList<qint64>{1, 6};
    QTest::newRow("CR at the very end dropped") << QByteArray("ab\r") << QList<QByteArray>{"ab"} << QList<qint64>{1};
    QByteArray many;
    QList<QByteArray> manyLines;
    QList<qint64> manyPositions;
    for (int i = 0; i < 200; ++i) {
        manyPositions.append(many.size() + 1);
        manyLines.append(QByteArray::number(i).repeated(i % 7 + 1));
        many += manyLines.back() + "\r\n";
    }
    QTest::newRow("many lines across reads") << many << manyLines << manyPositions;
}

void TestDicFile::linesAndPositions()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QList<qint64>, positions);
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("a.txt"), bytes)));
    QCOMPARE(f.length(), bytes.size());
    QCOMPARE(f.pos(), 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QVERIFY(!f.atEnd());
        QCOMPARE(f.pos(), positions[i]);
        QCOMPARE(f.readLine(), lines[i]);
    }
    QVERIFY(f.atEnd());
    QCOMPARE(f.pos(), bytes.size() + 1);
    QCOMPARE(f.readLine(), QByteArray());
    QVERIFY(!f.failed());
    // Every position reads back the same line.
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        f.seek(positions[i]);
        QCOMPARE(f.readLine(), lines[i]);
    }
}

void TestDicFile::seekIntoLine()
{
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("a.txt"), "abcdef\r\nxyz\r\n")));
    f.seek(3);
    QCOMPARE(f.readLine(), QByteArray("cdef"));
    QCOMPARE(f.pos(), 9);
    f.seek(7); // on the CR: the rest of the line is empty
    QCOMPARE(f.readLine(), QByteArray());
    QCOMPARE(f.readLine(), QByteArray("xyz"));
    f.seek(8); // on the LF
    QCOMPARE(f.readLine(), QByteArray());
    QCOMPARE(f.pos(), 9);
}

void TestDicFile::seekClamps()
{
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("a.txt"), "abc\r\n")));
    f.seek(0);
    QCOMPARE(f.pos(), 1);
    f.seek(-5);
    QCOMPARE(f.pos(), 1);
    f.seek(100);
    QCOMPARE(f.pos(), 6);
    QVERIFY(f.atEnd());
    QCOMPARE(f.readByte(), -1);
}

void TestDicFile::longLine()
{
    const QByteArray longOne = QByteArray("x").repeated(100000);
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("a.txt"), "a\r\n" + longOne + "\r\nb\r\n")));
    QCOMPARE(f.readLine(), QByteArray("a"));
    QCOMPARE(f.readLine(), longOne);
    QCOMPARE(f.readLine(), QByteArray("b"));
    QVERIFY(f.atEnd());
    // Growing reads: far fewer reads than the line has chunks, and no byte
    // read twice.
    QVERIFY(f.bytesRead() <= quint64(longOne.size() + 2 * DicFile::ChunkSize + 10));
}

void TestDicFile::lineHead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("separator");
    QTest::newRow("separator") << QByteArray("■key : body\r\n") << QByteArray("■key") << true;
    QTest::newRow("first separator") << QByteArray("a : b : c\r\n") << QByteArray("a") << true;
    QTest::newRow("no separator") << QByteArray("abc\r\nd : e\r\n") << QByteArray("abc") << false;
    QTest::newRow("separator on the next line only") << QByteArray("abc :\r\n : e\r\n") << QByteArray("abc :") << false;
    QTest::newRow("no separator, LF") << QByteArray("abc\nd : e\n") << QByteArray("abc") << false;
    QTest::newRow("at the end") << QByteArray("abc") << QByteArray("abc") << false;
    QByteArray far = QByteArray("k").repeated(DicFile::ChunkSize - 2) + " : body\r\n";
    QTest::newRow("separator across a read") << far << QByteArray("k").repeated(DicFile::ChunkSize - 2) << true;
    QByteArray farther = QByteArray("k").repeated(5000) + " : body\r\n";
    QTest::newRow("long head") << farther << QByteArray("k").repeated(5000) << true;
}

void TestDicFile::lineHead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, head);
    QFETCH(bool, separator);
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("a.txt"), bytes)));
    bool found = !separator;
    QCOMPARE(f.readLineHead(&found).toByteArray(), head);
    QCOMPARE(found, separator);
    if (!separator && bytes.contains('\n')) // the whole line was consumed
        QCOMPARE(f.pos(), bytes.indexOf('\n') + 2);
}

void TestDicFile::characters()
{
    const QByteArray bytes = testsupport::sjis(QStringLiteral("■aあ")) + "\xFE";
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("a.txt"), bytes + "\x81")));
    QCOMPARE(f.readChar(), testsupport::sjis(QStringLiteral("■")));
    QCOMPARE(f.pos(), 3);
    QCOMPARE(f.readChar(), QByteArray("a"));
    QCOMPARE(f.readChar(), testsupport::sjis(QStringLiteral("あ")));
    QCOMPARE(f.readChar(), QByteArray("\xFE"));
    QCOMPARE(f.readChar(), QByteArray("\x81")); // a lead byte at the very end
    QVERIFY(f.atEnd());
    QCOMPARE(f.readChar(), QByteArray());
    f.seek(2); // the trail byte of "■" reads as a character of its own
    QCOMPARE(f.readChar().size(), 1);
}

void TestDicFile::emptyFile()
{
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("e.txt"), QByteArray())));
    QCOMPARE(f.length(), 0);
    QVERIFY(f.atEnd());
    QCOMPARE(f.readLine(), QByteArray());
    QCOMPARE(f.readByte(), -1);
    QVERIFY(!f.failed());
}

void TestDicFile::missingFileAndFolder()
{
    DicFile f;
    QVERIFY(!f.open(dir_->filePath(QStringLiteral("none.txt"))));
    QVERIFY(f.errorString().contains(QStringLiteral("none.txt")));
    QVERIFY(!f.isOpen());
    QVERIFY(!f.open(dir_->path()));
    QVERIFY(f.errorString().contains(QStringLiteral("not a file")));
}

void TestDicFile::opensReadOnlyAndCloses()
{
    const QString path = write(QStringLiteral("a.txt"), "abc\r\n");
    const QDateTime before = QFileInfo(path).lastModified();
    {
        DicFile f;
        QVERIFY(f.open(path));
        QVERIFY(f.isOpen());
        QCOMPARE(f.readLine(), QByteArray("abc"));
    }
    // Opening another file closes the first.
    DicFile g;
    QVERIFY(g.open(path));
    QVERIFY(g.open(write(QStringLiteral("b.txt"), "xyz")));
    QCOMPARE(g.fileName(), dir_->filePath(QStringLiteral("b.txt")));
    g.close();
    QVERIFY(!g.isOpen());
    QCOMPARE(QFileInfo(path).lastModified(), before);
    QFile check(path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("abc\r\n"));
}

void TestDicFile::rereadingCostsNothing()
{
    QByteArray bytes;
    for (int i = 0; i < 2000; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    DicFile f;
    QVERIFY(f.open(write(QStringLiteral("a.txt"), bytes)));
    f.seek(5000);
    f.readLine();
    const QByteArray line = f.readLine();
    const quint64 afterFirst = f.bytesRead();
    QVERIFY(afterFirst <= quint64(2 * DicFile::ChunkSize));
    f.seek(5000);
    f.readLine();
    QCOMPARE(f.readLine(), line);
    QCOMPARE(f.bytesRead(), afterFirst);
    // A distant position costs one small read.
    f.seek(12000);
    f.readLine();
    QVERIFY(f.bytesRead() - afterFirst <= quint64(DicFile::ChunkSize));
}

// A file cut short while it is open (say, rewritten in place) makes the
// reads fail; the program goes on, and the next opening reads what is there.
void TestDicFile::shrinksWhileRead()
{
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    const QString path = write(QStringLiteral("a.txt"), bytes);
    DicFile f;
    QVERIFY(f.open(path));
    f.seek(100);
    f.readLine();
    QFile cut(path);
    QVERIFY(cut.resize(10));
    f.seek(150000);
    f.readLine();
    QVERIFY(f.failed());
    QVERIFY2(f.errorString().contains(QStringLiteral("changed")), qPrintable(f.errorString()));
    QVERIFY(f.atEnd());
    QVERIFY(f.open(path));
    QCOMPARE(f.length(), 10);
    QCOMPARE(f.readLine(), QByteArray("line 0"));
}

QTEST_GUILESS_MAIN(TestDicFile)
#include "test_dicfile.moc"
