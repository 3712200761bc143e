// The dictionary file sets: which files belong to a direction, their order,
// listing afresh at every lookup, stopping at the first file that holds the
// word, and the errors of the set search.

#include "dictionarywriter.h"
#include "lookup/dicfileset.h"
#include "lookup/dicsearch.h"
#include "lookup/entrykey.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace lookup;

class TestDicSearch : public QObject {
    Q_OBJECT
private slots:
    void init();
    void patterns_data();
    void patterns();
    void setsAndOrder();
    void firstFileThatHoldsTheWord();
    void relistedAtEveryLookup();
    void folderWithOrWithoutSeparator();
    void emptySetIsNoError();
    void missingFolder();
    void unreadableFile();
    void errorMessages();
    void unlistableFolder();

private:
    void write(const QString &name, const QStringList &lines);
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestDicSearch::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestDicSearch::write(const QString &name, const QStringList &lines)
{
    QVERIFY(testdict::writeFile(dir_->filePath(name), testdict::bytes(testdict::sorted(lines))));
}

void TestDicSearch::patterns_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("japanese");
    QTest::newRow("ei.txt") << QStringLiteral("ei.txt") << true << false;
    QTest::newRow("eia.txt") << QStringLiteral("eia.txt") << true << false;
    QTest::newRow("EIB.TXT") << QStringLiteral("EIB.TXT") << true << false;
    QTest::newRow("wordmere.dic") << QStringLiteral("wordmere.dic") << true << false;
    QTest::newRow("WordMere.Dic") << QStringLiteral("WordMere.Dic") << true << false;
    QTest::newRow("waei.dic") << QStringLiteral("waei.dic") << false << true;
    QTest::newRow("waei.txt") << QStringLiteral("waei.txt") << false << true;
    QTest::newRow("WAEI2.TXT") << QStringLiteral("WAEI2.TXT") << false << true;
    QTest::newRow("ei.txt.bak") << QStringLiteral("ei.txt.bak") << false << false;
    QTest::newRow("aei.txt") << QStringLiteral("aei.txt") << false << false;
    QTest::newRow("wordmere.dic2") << QStringLiteral("wordmere.dic2") << false << false;
    QTest::newRow("licence") << QStringLiteral("EDICT-COPYRIGHT.txt") << false << false;
}

void TestDicSearch::patterns()
{
    QFETCH(QString, name);
    QFETCH(bool, english);
    QFETCH(bool, japanese);
    QCOMPARE(matchesDicFileSet(name, EnglishJapanese), english);
    QCOMPARE(matchesDicFileSet(name, JapaneseEnglish), japanese);
}

void TestDicSearch::setsAndOrder()
{
    for (const QString &name : {QStringLiteral("EIB.TXT"), QStringLiteral("eia.txt"), QStringLiteral("waei.dic"),
                                QStringLiteral("readme.txt"), QStringLiteral("eic.TXT")})
        write(name, {QStringLiteral("■a : b")});
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("eid.txt"))); // a folder is no dictionary file
    const DicFileListing english = listDicFileSet(dir_->path(), EnglishJapanese);
    QVERIFY(english.ok());
    QCOMPARE(english.names,
             (QStringList{QStringLiteral("eia.txt"), QStringLiteral("EIB.TXT"), QStringLiteral("eic.TXT")}));
    const DicFileListing japanese = listDicFileSet(dir_->path(), JapaneseEnglish);
    QCOMPARE(japanese.names, QStringList{QStringLiteral("waei.dic")});
}

void TestDicSearch::firstFileThatHoldsTheWord()
{
    write(QStringLiteral("eia.txt"), {QStringLiteral("■apple : りんごA"), QStringLiteral("■cat : 猫")});
    write(QStringLiteral("eib.txt"), {QStringLiteral("■apple : りんごB"), QStringLiteral("■dog : 犬")});
    LookupState state;
    state.FilePath = dir_->path();
    DicSearch search(state, nullptr);
    QVERIFY(search.FileAtoZ(QStringLiteral("Apple")));
    QCOMPARE(state.record.HitLines, QStringList{QStringLiteral("■apple : りんごA")});
    QCOMPARE(state.record.DicFileName, AddYen(dir_->path()) + QStringLiteral("eia.txt"));
    QVERIFY(search.FileAtoZ(QStringLiteral("  DOG ")));
    QCOMPARE(state.record.HitLines, QStringList{QStringLiteral("■dog : 犬")});
    QCOMPARE(state.record.DicFileName, AddYen(dir_->path()) + QStringLiteral("eib.txt"));
    QVERIFY(!search.FileAtoZ(QStringLiteral("eel")));
    QVERIFY(!search.error());
}

void TestDicSearch::relistedAtEveryLookup()
{
    LookupState state;
    state.FilePath = dir_->path();
    DicSearch search(state, nullptr);
    QVERIFY(!search.FileWaei(QStringLiteral("ねこ")));
    write(QStringLiteral("waei.dic"), {QStringLiteral("■ねこ {猫} : cat")});
    QVERIFY(search.FileWaei(QStringLiteral("ねこ")));
    QVERIFY(QFile::remove(dir_->filePath(QStringLiteral("waei.dic"))));
    QVERIFY(!search.FileWaei(QStringLiteral("ねこ")));
    QVERIFY(!search.error());
}

void TestDicSearch::folderWithOrWithoutSeparator()
{
    write(QStringLiteral("waei.txt"), {QStringLiteral("■ｱ : x"), QStringLiteral("■アイス : ice")});
    for (const QString &folder : {dir_->path(), dir_->path() + QDir::separator()}) {
        LookupState state;
        state.FilePath = folder;
        DicSearch search(state, nullptr);
        QVERIFY(search.FileWaei(QStringLiteral("ｱｲｽ")));
        QCOMPARE(state.record.DicFileName, dir_->path() + QDir::separator() + QStringLiteral("waei.txt"));
    }
}

void TestDicSearch::emptySetIsNoError()
{
    write(QStringLiteral("other.txt"), {QStringLiteral("■a : b")});
    LookupState state;
    state.FilePath = dir_->path();
    DicSearch search(state, nullptr);
    QVERIFY(!search.FileAtoZ(QStringLiteral("a")));
    QVERIFY(!search.error());
}

void TestDicSearch::missingFolder()
{
    LookupState state;
    state.FilePath = dir_->filePath(QStringLiteral("nowhere"));
    DicSearch search(state, nullptr);
    QVERIFY(!search.FileAtoZ(QStringLiteral("a")));
    QVERIFY(search.error());
    QVERIFY(search.error()->reason().contains(QStringLiteral("nowhere")));
    QVERIFY(search.error()->reason().contains(QStringLiteral("does not exist")));
    // A file where the folder should be.
    write(QStringLiteral("plain"), {QStringLiteral("■a : b")});
    state.FilePath = dir_->filePath(QStringLiteral("plain"));
    QVERIFY(!search.FileWaei(QStringLiteral("あ")));
    QVERIFY(search.error()->reason().contains(QStringLiteral("not a folder")));
    // The next search starts without the old error.
    state.FilePath = dir_->path();
    QVERIFY(!search.FileWaei(QStringLiteral("あ")));
    QVERIFY(!search.error());
}

void TestDicSearch::unreadableFile()
{
    write(QStringLiteral("eia.txt"), {QStringLiteral("■a : b")});
    write(QStringLiteral("eib.txt"), {QStringLiteral("■zebra : しまうま")});
    const QString locked = dir_->filePath(QStringLiteral("eia.txt"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    QFile probe(locked);
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("running with rights that read any file");
    LookupState state;
    state.FilePath = dir_->path();
    DicSearch search(state, nullptr);
    // The set search is abandoned at the file that cannot be opened.
    QVERIFY(!search.FileAtoZ(QStringLiteral("zebra")));
    QVERIFY(search.error());
    QVERIFY(search.error()->reason().contains(QStringLiteral("eia.txt")));
    QCOMPARE(search.error()->message(), QStringLiteral("英和辞書がみつかりません\neia.txt"));
}

void TestDicSearch::errorMessages()
{
    const DicFileError english(EnglishJapanese, QStringLiteral("r"));
    const DicFileError japanese(JapaneseEnglish, QStringLiteral("r"));
    QCOMPARE(english.title(), QStringLiteral("辞書ファイルエラー"));
    QCOMPARE(english.message(), QStringLiteral("英和辞書がみつかりません"));
    QCOMPARE(japanese.message(), QStringLiteral("和英辞書がみつかりません"));
    write(QStringLiteral("waei.dic"), {QStringLiteral("■a : b"), QStringLiteral("■broken line")});
    LookupState state;
    state.FilePath = dir_->path();
    DicSearch search(state, nullptr);
    QVERIFY(!search.FileWaei(QStringLiteral("broken")));
    QVERIFY(search.error());
    QCOMPARE(search.error()->DicMode(), JapaneseEnglish);
    QVERIFY(search.error()->reason().contains(QStringLiteral("waei.dic")));
    // The box names the file at fault.
    QCOMPARE(search.error()->message(), QStringLiteral("和英辞書がみつかりません\nwaei.dic"));
}

// A folder that cannot be listed is an error, not a folder without files.
void TestDicSearch::unlistableFolder()
{
    write(QStringLiteral("eia.txt"), {QStringLiteral("■a : b")});
    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit few = old;
    few.rlim_cur = 64;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &few), 0);
    QList<int> fds;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
        fds.append(fd);
    const DicFileListing listing = listDicFileSet(dir_->path(), EnglishJapanese);
    for (int fd : std::as_const(fds))
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &old);
    QVERIFY(!listing.ok());
    QVERIFY2(listing.error.contains(QStringLiteral("cannot be listed")), qPrintable(listing.error));
}

QTEST_GUILESS_MAIN(TestDicSearch)
#include "test_dicsearch.moc"
