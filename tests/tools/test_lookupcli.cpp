// wordlamp-lookup as other tools use it: its output, its messages and its
// exit status for found words, words not found, dictionary file errors and
// bad options; the default folder; --interactive and --speak. It runs with
// no display at all.

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Basic = QStringLiteral(WORDLAMP_TEST_DATA "/lookup/basic");

struct Run {
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class TestLookupCli : public QObject {
    Q_OBJECT
private slots:
    void init();
    void outputs_data();
    void outputs();
    void fileErrors_data();
    void fileErrors();
    void tooManyLinesForOneKey();
    void badUsage_data();
    void badUsage();
    void folderFromSetting();
    void programFolderByDefault();
    void readingsKeptWhenSettingIsOff();
    void interactive();
    void speak();
    void speechUnavailable();

private:
    Run run(const QStringList &args, const QByteArray &input = QByteArray(), const QString &program = QString());
    std::unique_ptr<QTemporaryDir> home_;
    QProcessEnvironment env_;
};

void TestLookupCli::init()
{
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
    env_ = QProcessEnvironment::systemEnvironment();
    // A settings folder of its own, and no display: the tool must not need one.
    env_.insert(QStringLiteral("HOME"), home_->path());
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), home_->filePath(QStringLiteral("config")));
    env_.insert(QStringLiteral("XDG_CONFIG_DIRS"), home_->filePath(QStringLiteral("system")));
    env_.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env_.remove(QStringLiteral("DISPLAY"));
    env_.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env_.insert(QStringLiteral("WORDLAMP_SPEECH"),
                QStringLiteral("transcript:%1@0").arg(home_->filePath(QStringLiteral("transcript.txt"))));
}

Run TestLookupCli::run(const QStringList &args, const QByteArray &input, const QString &program)
{
    QProcess p;
    p.setProcessEnvironment(env_);
    p.start(program.isEmpty() ? QStringLiteral(WORDLAMP_PROGRAM_DIR "/wordlamp-lookup") : program, args);
    Run r;
    if (!p.waitForStarted(10000))
        return r;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void TestLookupCli::outputs_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("status");
    const QString apple = QStringLiteral("apple {名} \n林檎\nリンゴの木\n");
    const QString zebra = QStringLiteral("zebra {名} \n縞馬\n");
    const QString notFound = QStringLiteral("は見つかりませんでした\n");
    QTest::newRow("entry") << QStringList{QStringLiteral("apple")} << apple << QString() << 0;
    QTest::newRow("raw lines") << QStringList{QStringLiteral("--raw"), QStringLiteral("Apple")}
                               << QStringLiteral("■apple {名} : 林檎{りんご}●リンゴの木\n■apple : 【発音】アップル\n")
                               << QString() << 0;
    QTest::newRow("several words, nothing between")
        << QStringList{QStringLiteral("apple"), QStringLiteral("zebra")} << apple + zebra << QString() << 0;
    QTest::newRow("not found") << QStringList{QStringLiteral("xyzzy")} << QString()
                               << QStringLiteral("xyzzy") + notFound << 1;
    QTest::newRow("one of several not found")
        << QStringList{QStringLiteral("apple"), QStringLiteral("xyzzy"), QStringLiteral("zebra")} << apple + zebra
        << QStringLiteral("xyzzy") + notFound << 1;
    QTest::newRow("long word cut to 16") << QStringList{QStringLiteral("abcdefghijklmnopqrstuvwxy")} << QString()
                                         << QStringLiteral("abcdefghijklmnop…") + notFound << 1;
    QTest::newRow("japanese not found, no marker printed")
        << QStringList{QStringLiteral("ほげ")} << QString() << QStringLiteral("ほげ") + notFound << 1;
    QTest::newRow("katakana retry") << QStringList{QStringLiteral("あいす")}
                                    << QStringLiteral("アイス \nice\nice cream\n") << QString() << 0;
    QTest::newRow("half-width kana") << QStringList{QStringLiteral("ｱｲｽ")}
                                     << QStringLiteral("アイス \nice\nice cream\n") << QString() << 0;
    QTest::newRow("prefix") << QStringList{QStringLiteral("--raw"), QStringLiteral("run*")}
                            << QStringLiteral(
                                   "■run {動} : 走る{はしる}\n■run {名} : 走ること\n■Run : 走行\n■run down : 衰える\n")
                            << QString() << 0;
    QTest::newRow("prefix not found names the asterisk")
        << QStringList{QStringLiteral("qq*")} << QString() << QStringLiteral("qq*") + notFound << 1;
    QTest::newRow("lone asterisk") << QStringList{QStringLiteral("*")} << QStringLiteral("* \nasterisk\n") << QString()
                                   << 0;
    QTest::newRow("empty word") << QStringList{QStringLiteral("  ")} << QString()
                                << QStringLiteral("wordlamp-lookup: an empty word is not looked up\n") << 1;
}

void TestLookupCli::outputs()
{
    QFETCH(QStringList, words);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, status);
    const Run r = run(QStringList{QStringLiteral("--folder"), Basic} + words);
    QCOMPARE(r.err, err);
    QCOMPARE(r.out, out);
    QCOMPARE(r.status, status);
}

void TestLookupCli::fileErrors_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("message");
    QTest::newRow("english") << QStringList{QStringLiteral("apple")} << QStringLiteral("英和辞書がみつかりません");
    QTest::newRow("japanese, retried") << QStringList{QStringLiteral("りんご")}
                                       << QStringLiteral("和英辞書がみつかりません");
}

void TestLookupCli::fileErrors()
{
    QFETCH(QStringList, words);
    QFETCH(QString, message);
    const Run r = run(QStringList{QStringLiteral("--folder"), home_->filePath(QStringLiteral("nowhere"))} + words);
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    const QStringList lines = r.err.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1); // once, though the katakana retry met it again
    QVERIFY2(lines[0].startsWith(QStringLiteral("辞書ファイルエラー: ") + message), qPrintable(r.err));
    QVERIFY(lines[0].contains(QStringLiteral("nowhere")));

    // A broken file among good words: the entries still come, the status is 2.
    QTemporaryDir dir;
    QFile::copy(Basic + QStringLiteral("/wordmere.dic"), dir.filePath(QStringLiteral("wordmere.dic")));
    QFile bad(dir.filePath(QStringLiteral("waei.dic")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(testsupport::sjis(QStringLiteral("■あ : a\r\n■い\r\n■う : u\r\n")));
    bad.close();
    const Run mixed = run({QStringLiteral("--folder"), dir.path(), QStringLiteral("zebra"), QStringLiteral("いい"),
                           QStringLiteral("xyzzy")});
    QCOMPARE(mixed.status, 2);
    QCOMPARE(mixed.out, QStringLiteral("zebra {名} \n縞馬\n"));
    QVERIFY(mixed.err.contains(QStringLiteral("辞書ファイルエラー: 和英辞書がみつかりません")));
    QVERIFY(mixed.err.contains(QStringLiteral("has no \" : \"")));
    QVERIFY(mixed.err.contains(QStringLiteral("xyzzyは見つかりませんでした")));
}

void TestLookupCli::tooManyLinesForOneKey()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("wordmere.dic")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(testsupport::sjis(QStringLiteral("■a : x\r\n")));
    for (int i = 0; i < 1500; ++i)
        file.write(testsupport::sjis(QStringLiteral("■same : %1\r\n").arg(i)));
    file.write(testsupport::sjis(QStringLiteral("■z : x\r\n")));
    file.close();
    const Run exact = run({QStringLiteral("--folder"), dir.path(), QStringLiteral("same")});
    QCOMPARE(exact.status, 2);
    QVERIFY(exact.out.isEmpty());
    QVERIFY2(exact.err.startsWith(QStringLiteral("辞書ファイルエラー: 英和辞書がみつかりません (")),
             qPrintable(exact.err));
    QVERIFY(exact.err.contains(QStringLiteral("more than 1001 lines")));
    // A prefix search stops at its limit (ZenpoMax + 1 lines).
    const Run prefix = run({QStringLiteral("--folder"), dir.path(), QStringLiteral("--raw"), QStringLiteral("sam*")});
    QCOMPARE(prefix.status, 0);
    QCOMPARE(prefix.out.count(u'\n'), 51);
}

void TestLookupCli::badUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("no word") << QStringList() << 3;
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus"), QStringLiteral("apple")} << 3;
    QTest::newRow("folder without value") << QStringList{QStringLiteral("--folder")} << 3;
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0;
}

void TestLookupCli::badUsage()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    const Run r = run(args);
    QCOMPARE(r.status, status);
    if (status == 0)
        QVERIFY(r.out.contains(QStringLiteral("--interactive")));
    else
        QVERIFY(r.err.contains(QStringLiteral("wordlamp-lookup --help")));
}

void TestLookupCli::folderFromSetting()
{
    QDir().mkpath(home_->filePath(QStringLiteral("config/QLM")));
    QFile conf(home_->filePath(QStringLiteral("config/QLM/Wordlamp.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[Settings]\nWordmere=" + Basic.toUtf8() + "\n");
    conf.close();
    const Run r = run({QStringLiteral("zebra")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("zebra {名} \n縞馬\n"));
    // --folder wins over the setting.
    QCOMPARE(run({QStringLiteral("--folder"), home_->path(), QStringLiteral("zebra")}).status, 1);
}

void TestLookupCli::programFolderByDefault()
{
    // A copy of the tool in a folder that holds a dictionary.
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("wordlamp-lookup"));
    QVERIFY(QFile::copy(QStringLiteral(WORDLAMP_PROGRAM_DIR "/wordlamp-lookup"), copy));
    QVERIFY(QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QVERIFY(QFile::copy(Basic + QStringLiteral("/waei.dic"), dir.filePath(QStringLiteral("waei.dic"))));
    const Run r = run({QStringLiteral("林檎")}, QByteArray(), copy);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("林檎 {りんご} \napple\napple tree\n"));
}

void TestLookupCli::readingsKeptWhenSettingIsOff()
{
    QDir().mkpath(home_->filePath(QStringLiteral("config/QLM")));
    QFile conf(home_->filePath(QStringLiteral("config/QLM/Wordlamp.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[Settings]\nDicKana=False\n");
    conf.close();
    const Run r = run({QStringLiteral("--folder"), Basic, QStringLiteral("zebra")});
    QCOMPARE(r.out, QStringLiteral("zebra {名} \n縞馬{しまうま}\n"));
}

void TestLookupCli::interactive()
{
    const Run r = run({QStringLiteral("--folder"), Basic, QStringLiteral("--interactive")},
                      QByteArray("zebra\n\nxyzzy\nＡｐｐｌｅ\n"));
    QCOMPARE(r.out, QStringLiteral("> zebra {名} \n縞馬\n> > > apple {名} \n林檎\nリンゴの木\n> "));
    QCOMPARE(r.err, QStringLiteral("xyzzyは見つかりませんでした\n"));
    QCOMPARE(r.status, 1);
    // Words given as arguments come first.
    const Run both = run({QStringLiteral("--folder"), Basic, QStringLiteral("--interactive"), QStringLiteral("zebra")},
                         QByteArray());
    QCOMPARE(both.out, QStringLiteral("zebra {名} \n縞馬\n> "));
    QCOMPARE(both.status, 0);
}

void TestLookupCli::speak()
{
    const Run r = run({QStringLiteral("--folder"), Basic, QStringLiteral("--speak"), QStringLiteral("zebra"),
                       QStringLiteral("ほげ")});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QStringLiteral("zebra {名} \n縞馬\n"));
    const QStringList lines = testsupport::readLines(home_->filePath(QStringLiteral("transcript.txt")));
    QVERIFY2(lines.contains(QStringLiteral("Setup\t97")), qPrintable(lines.join(u'\n')));
    QVERIFY(lines.contains(QStringLiteral("Speak\tzebra {名} \t0\t0")));
    QVERIFY(lines.contains(QStringLiteral("Speak\t縞馬\t0\t0")));
    QVERIFY(lines.contains(QStringLiteral("Speak\tほげは見つかりませんでした\\m\t0\t0")));
    // Without --speak nothing is said.
    QFile::remove(home_->filePath(QStringLiteral("transcript.txt")));
    run({QStringLiteral("--folder"), Basic, QStringLiteral("zebra")});
    QVERIFY(!QFile::exists(home_->filePath(QStringLiteral("transcript.txt"))));
    // ... and no speech library is loaded: the loader lists what it would load.
    env_.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
    const Run libraries = run({QStringLiteral("zebra")});
    QVERIFY2(libraries.out.contains(QStringLiteral("libQt6Core")), qPrintable(libraries.out));
#ifndef WORDLAMP_SANITIZED_BUILD
    QVERIFY2(!libraries.out.contains(QStringLiteral("libspeechd")), qPrintable(libraries.out));
#endif
}

void TestLookupCli::speechUnavailable()
{
    env_.insert(QStringLiteral("WORDLAMP_SPEECH"), QStringLiteral("nonsense"));
    const Run r = run({QStringLiteral("--folder"), Basic, QStringLiteral("--speak"), QStringLiteral("zebra")});
    QCOMPARE(r.status, 3);
    QVERIFY(r.err.contains(QStringLiteral("speech is not available")));
    QVERIFY(r.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestLookupCli)
#include "test_lookupcli.moc"
