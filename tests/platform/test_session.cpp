// Where the single-instance socket lives: inside a private folder of the
// program's own in the runtime folder, whose own mode is never changed.

#include "session/session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void socketFolder_data();
    void socketFolder();
};

void TestSession::socketFolder_data()
{
    QTest::addColumn<QString>("runtime");   // "shared" (mode 1777), "missing" or "private" (0700)
    QTest::addColumn<QString>("ownFolder"); // what stands at runtime/wordlamp beforehand
    QTest::addColumn<bool>("inside");       // whether the socket is in runtime/wordlamp
    QTest::newRow("shared runtime folder") << "shared"
                                           << "" << true;
    QTest::newRow("missing runtime folder") << "missing"
                                            << "" << true;
    QTest::newRow("own folder already there") << "private"
                                              << "folder 0700" << true;
    QTest::newRow("own folder open to others") << "shared"
                                               << "folder 0777" << false;
    QTest::newRow("own folder is a link") << "shared"
                                          << "link" << false;
    QTest::newRow("own folder is a file") << "private"
                                          << "file" << false;
}

void TestSession::socketFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, ownFolder);
    QFETCH(bool, inside);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString dir = tmp.filePath(QStringLiteral("runtime"));
    const QString own = dir + QStringLiteral("/wordlamp");
    const QByteArray dirBytes = QFile::encodeName(dir);
    if (runtime != u"missing") {
        QVERIFY(QDir().mkpath(dir));
        QCOMPARE(::chmod(dirBytes.constData(), runtime == u"shared" ? 01777 : 0700), 0);
    }
    if (ownFolder.startsWith(u"folder")) {
        QVERIFY(QDir().mkpath(own));
        QCOMPARE(::chmod(QFile::encodeName(own).constData(), ownFolder.endsWith(u"0777") ? 0777 : 0700), 0);
    } else if (ownFolder == u"link") {
        QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("elsewhere"))));
        QVERIFY(QFile::link(tmp.filePath(QStringLiteral("elsewhere")), own));
    } else if (ownFolder == u"file") {
        QFile f(own);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    struct stat before = {};
    const bool existed = ::stat(dirBytes.constData(), &before) == 0;

    qputenv("XDG_RUNTIME_DIR", dirBytes);
    const QString name = session::instanceServerName();
    qunsetenv("XDG_RUNTIME_DIR");

    QCOMPARE(name.startsWith(own + u'/'), inside);
    struct stat after = {};
    QCOMPARE(::stat(dirBytes.constData(), &after), 0);
    if (existed)
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777); // never changed
    else
        QCOMPARE(after.st_mode & 07777, mode_t(0700)); // made here, so made private
    if (inside) {
        struct stat st = {};
        QCOMPARE(::lstat(QFile::encodeName(own).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0700));
    }
}

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
