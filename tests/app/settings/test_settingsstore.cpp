// The settings store: defaults, encodings, bad values and window placement,
// always against a throwaway settings folder.

#include "settings/settingsstore.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace settings;

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void cleanAccountDefaults();
    void getReturnsDefaultWithoutWriting();
    void writesAtOnceAndReadsWithoutCache();
    void booleans_data();
    void booleans();
    void badValuesReadAsDefault_data();
    void badValuesReadAsDefault();
    void geometryEncoding_data();
    void geometryEncoding();
    void placement_data();
    void placement();
    void placementOnScreens_data();
    void placementOnScreens();
    void shutdownWritesInOrder();
    void groupedValuesAreWrittenTogether();
    void history();
    void machineThenUser_data();
    void machineThenUser();
    void unusableFileIsNeverTouched_data();
    void unusableFileIsNeverTouched();

private:
    std::unique_ptr<testsupport::TempSettings> temp_;
};

void TestSettingsStore::init()
{
    temp_ = std::make_unique<testsupport::TempSettings>();
}

void TestSettingsStore::cleanup()
{
    temp_.reset();
}

void TestSettingsStore::cleanAccountDefaults()
{
    QCOMPARE(readBool(Key::EngUse), true);
    QCOMPARE(readBool(Key::BrixCheck), false);
    QCOMPARE(readBool(Key::DicKana), true);
    QCOMPARE(readText(Key::SapiEngine), QStringLiteral("English-American: Reed (Adult Male)"));
    QCOMPARE(readInt(Key::SapiEngineSpeed), 4);
    QCOMPARE(readText(Key::Wordmere), QCoreApplication::applicationDirPath());
    QCOMPARE(readBool(Key::StatusBar), true);
    QCOMPARE(readGeometry(Key::Width), 11385.0f);
    QCOMPARE(readGeometry(Key::Height), 8775.0f);
    QCOMPARE(readGeometry(Key::Top), -99.0f);
    QCOMPARE(readGeometry(Key::Left), -99.0f);
    QCOMPARE(readBool(Key::BigMode), false);
    QCOMPARE(readInt(Key::FontSize), 1);
    QCOMPARE(readBool(Key::Reverse), true);
    QCOMPARE(readInt(Key::ZenpoMax), 50);
    QCOMPARE(readInt(Key::KeyFunc), 12);
    QCOMPARE(readInt(Key::CheckKodo), 0);
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(get(HistorySection, QStringLiteral("Word%1").arg(i), QStringLiteral("-")), QStringLiteral("-"));
    QVERIFY(!QFile::exists(temp_->userFile()));
}

void TestSettingsStore::getReturnsDefaultWithoutWriting()
{
    QCOMPARE(get(SettingsSection, u"Nothing", QStringLiteral("x")), QStringLiteral("x"));
    QVERIFY(!QFile::exists(temp_->userFile()));
}

void TestSettingsStore::writesAtOnceAndReadsWithoutCache()
{
    writeInt(Key::ZenpoMax, 70);
    QFile f(temp_->userFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    QVERIFY2(content.contains("[Settings]\nZenpoMax=70\n"), content.constData());
    f.close();

    // Another writer changes the file behind our back: the next read sees it.
    QTest::qWait(1100); // a later modification time than the first write
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Settings]\nZenpoMax=30\n");
    f.close();
    QCOMPARE(readInt(Key::ZenpoMax), 30);
}

void TestSettingsStore::booleans_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("value");
    QTest::newRow("True") << QStringLiteral("True") << true;
    QTest::newRow("False") << QStringLiteral("False") << false;
    QTest::newRow("lower case") << QStringLiteral("true") << true;
    QTest::newRow("zero") << QStringLiteral("0") << false;
    QTest::newRow("minus one") << QStringLiteral("-1") << true;
    QTest::newRow("other number") << QStringLiteral("7") << true;
    QTest::newRow("spaces") << QStringLiteral(" False ") << false;
}

void TestSettingsStore::booleans()
{
    QFETCH(QString, stored);
    QFETCH(bool, value);
    save(SettingsSection, u"Reverse", stored);
    QCOMPARE(readBool(Key::Reverse), value);
    writeBool(Key::Reverse, value);
    QCOMPARE(get(SettingsSection, u"Reverse", QString()), boolText(value));
}

void TestSettingsStore::badValuesReadAsDefault_data()
{
    QTest::addColumn<Key>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bool text") << Key::Reverse << "yes please"
                               << "True";
    QTest::newRow("bool empty") << Key::StatusBar << ""
                                << "True";
    QTest::newRow("int text") << Key::ZenpoMax << "fifty"
                              << "50";
    QTest::newRow("int fraction") << Key::KeyFunc << "12.5"
                                  << "12";
    QTest::newRow("int overflow") << Key::FontSize << "99999999999"
                                  << "1";
    QTest::newRow("geometry text") << Key::Width << "wide"
                                   << "11385";
    QTest::newRow("geometry infinite") << Key::Height << "inf"
                                       << "8775";
    QTest::newRow("text stays text") << Key::SapiEngine << "12"
                                     << "12";
}

void TestSettingsStore::badValuesReadAsDefault()
{
    QFETCH(Key, key);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    save(SettingsSection, name(key), stored);
    const Definition &d = definition(key);
    switch (d.type) {
    case Type::Boolean: QCOMPARE(boolText(readBool(key)), expected); break;
    case Type::Integer: QCOMPARE(QString::number(readInt(key)), expected); break;
    case Type::Geometry: QCOMPARE(settings::geometryText(readGeometry(key)), expected); break;
    case Type::Text: QCOMPARE(readText(key), expected); break;
    }
}

void TestSettingsStore::geometryEncoding_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 11385.0f << "11385";
    QTest::newRow("negative") << -99.0f << "-99";
    QTest::newRow("fraction") << 11385.5f << "11385.5";
    QTest::newRow("zero") << 0.0f << "0";
}

void TestSettingsStore::geometryEncoding()
{
    QFETCH(float, twips);
    QFETCH(QString, text);
    QCOMPARE(settings::geometryText(twips), text);
    QCOMPARE(parseGeometry(text), twips);
}

void TestSettingsStore::placement_data()
{
    QTest::addColumn<QStringList>("stored"); // key=value pairs
    QTest::addColumn<QSizeF>("screen");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("first start centres") << QStringList() << QSizeF(19200, 14400)
                                         << QRectF((19200 - 11385) / 2.0, (14400 - 8775) / 2.0, 11385, 8775);
    QTest::newRow("stored -99 centres") << QStringList{"Left=-99", "Top=-99"} << QSizeF(19200, 14400)
                                        << QRectF((19200 - 11385) / 2.0, (14400 - 8775) / 2.0, 11385, 8775);
    QTest::newRow("stored position") << QStringList{"Left=150", "Top=300", "Width=9000", "Height=6000"}
                                     << QSizeF(19200, 14400) << QRectF(150, 300, 9000, 6000);
    QTest::newRow("narrow screen never negative")
        << QStringList{"Width=30000", "Height=20000"} << QSizeF(19200, 14400) << QRectF(0, 0, 30000, 20000);
    QTest::newRow("stored negative left is kept")
        << QStringList{"Left=-300"} << QSizeF(19200, 14400) << QRectF(-300, (14400 - 8775) / 2.0, 11385, 8775);
}

void TestSettingsStore::placement()
{
    QFETCH(QStringList, stored);
    QFETCH(QSizeF, screen);
    QFETCH(QRectF, expected);
    for (const QString &kv : stored)
        save(SettingsSection, kv.section(u'=', 0, 0), kv.section(u'=', 1));
    QCOMPARE(initialWindowGeometry(screen), expected);
}

void TestSettingsStore::placementOnScreens_data()
{
    // Two screens side by side: the primary 12000 x 9000 twips, the second
    // 19200 x 14400 to its right.
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("on the second screen")
        << QStringList{"Left=13000", "Top=100", "Width=9000", "Height=6000"} << QRectF(13000, 100, 9000, 6000);
    QTest::newRow("cut to the second screen")
        << QStringList{"Left=13000", "Top=100", "Width=1e9", "Height=1e9"} << QRectF(13000, 100, 19200, 14400);
    QTest::newRow("cut to the primary, centred") << QStringList{"Width=1e9", "Height=1e9"} << QRectF(0, 0, 12000, 9000);
    QTest::newRow("too small, centred at the corrected size")
        << QStringList{"Width=100", "Height=4999"} << QRectF(3500, 2000, 5000, 5000);
    QTest::newRow("off every screen") << QStringList{"Left=-12000", "Top=100"}
                                      << QRectF((12000 - 11385) / 2.0, (9000 - 8775) / 2.0, 11385, 8775);
    QTest::newRow("below the screens") << QStringList{"Top=16000"}
                                       << QRectF((12000 - 11385) / 2.0, (9000 - 8775) / 2.0, 11385, 8775);
}

void TestSettingsStore::placementOnScreens()
{
    QFETCH(QStringList, stored);
    QFETCH(QRectF, expected);
    for (const QString &kv : stored)
        save(SettingsSection, kv.section(u'=', 0, 0), kv.section(u'=', 1));
    QCOMPARE(initialWindowGeometry({QRectF(0, 0, 12000, 9000), QRectF(12000, 0, 19200, 14400)}, 5000), expected);
}

void TestSettingsStore::shutdownWritesInOrder()
{
    saveWindowGeometry(QRectF(150, 300, 9000.5, 6000));
    QFile f(temp_->userFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    QVERIFY2(content.contains("Height=6000\nLeft=150\nTop=300\nWidth=9000.5\n"), content.constData());
    QCOMPARE(initialWindowGeometry(QSizeF(1, 1)), QRectF(150, 300, 9000.5, 6000));
}

void TestSettingsStore::groupedValuesAreWrittenTogether()
{
    {
        WriteGroup shutdown;
        saveWindowGeometry(QRectF(150, 300, 9000, 6000));
        for (int slot = 1; slot <= 10; ++slot)
            save(HistorySection, QStringLiteral("Word%1").arg(slot), QStringLiteral("w%1").arg(slot));
        save(HistorySection, u"Word3", QStringLiteral("again"));
        QVERIFY(!QFileInfo::exists(temp_->userFile()));
        QCOMPARE(get(HistorySection, u"Word3", QStringLiteral("-")), QStringLiteral("again"));
    }
    QCOMPARE(get(HistorySection, u"Word10", QStringLiteral("-")), QStringLiteral("w10"));
    QCOMPARE(get(HistorySection, u"Word3", QStringLiteral("-")), QStringLiteral("again"));
    QCOMPARE(readGeometry(Key::Width), 9000.0f);
}

void TestSettingsStore::history()
{
    save(HistorySection, u"Word1", QStringLiteral("林檎"));
    QCOMPARE(get(HistorySection, u"Word1", QStringLiteral("-")), QStringLiteral("林檎"));
    QVERIFY(find(HistorySection, u"Word10"));
    QVERIFY(!find(HistorySection, u"Word11"));
    QVERIFY(!find(HistorySection, u"Word01"));
    QVERIFY(!find(SettingsSection, u"Word1"));
}

void TestSettingsStore::machineThenUser_data()
{
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("dialogKeys");
    QTest::newRow("neither") << QString() << QString() << true;
    QTest::newRow("machine 2") << QStringLiteral("2") << QString() << false;
    QTest::newRow("user 2") << QString() << QStringLiteral("2") << false;
    QTest::newRow("machine wins") << QStringLiteral("1") << QStringLiteral("2") << true;
    QTest::newRow("trailing NUL dropped") << QStringLiteral("2") + QChar(u'\0') << QString() << false;
}

void TestSettingsStore::machineThenUser()
{
    QFETCH(QString, machine);
    QFETCH(QString, user);
    QFETCH(bool, dialogKeys);
    const QString org = QStringLiteral("QLM"), app = QStringLiteral("System Global");
    if (!machine.isEmpty())
        QSettings(QSettings::NativeFormat, QSettings::SystemScope, org, app)
            .setValue(QStringLiteral("Settings/WindowOperation"), machine);
    if (!user.isEmpty())
        QSettings(QSettings::NativeFormat, QSettings::UserScope, org, app)
            .setValue(QStringLiteral("Settings/WindowOperation"), user);
    QCOMPARE(ReadWindowOperation(), dialogKeys);

    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QLM"), QStringLiteral("Wordlamp"))
        .setValue(QStringLiteral("Directories/Manual"), QStringLiteral("/manuals"));
    QCOMPARE(ReadManualFolder(), QStringLiteral("/manuals"));
}

void TestSettingsStore::unusableFileIsNeverTouched_data()
{
    // What stands where the settings file belongs. A device is a copy of the
    // null device made in the test's own folder (never the system's).
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("usable");
    QTest::newRow("link to a regular file") << "link to file" << true;
    QTest::newRow("link to a device") << "link to device" << false;
    QTest::newRow("device") << "device" << false;
    QTest::newRow("pipe") << "pipe" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("broken link") << "broken link" << false;
    QTest::newRow("read-only file") << "read-only" << false;
}

void TestSettingsStore::unusableFileIsNeverTouched()
{
    QFETCH(QString, kind);
    QFETCH(bool, usable);
    const QString file = temp_->userFile();
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    const QString other = temp_->dir() + QStringLiteral("/other");
    const QByteArray otherPath = QFile::encodeName(other);
    if (kind == u"link to file") {
        QFile f(other);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kind.endsWith(u"device")) {
        if (::mknod(otherPath.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device needs root");
    } else if (kind == u"pipe") {
        QCOMPARE(::mkfifo(otherPath.constData(), 0600), 0);
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkpath(other));
    } else if (kind == u"read-only") {
        QSettings(other, QSettings::IniFormat).setValue("Settings/ZenpoMax", "30");
        QVERIFY(QFile::setPermissions(other, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }
    if (kind.contains(u"link"))
        QVERIFY(QFile::link(other, file));
    else if (kind != u"link to file")
        QVERIFY(QFile::rename(other, file));
    QStringList reports;
    settings::setProblemHandler([&reports](const QString &m) { reports.append(m); });

    settings::writeInt(settings::Key::FontSize, 5);
    settings::writeBool(settings::Key::BigMode, true);
    // The session keeps its changes either way.
    QCOMPARE(settings::readInt(settings::Key::FontSize), 5);
    QCOMPARE(reports.size(), usable ? 0 : 1); // said once
    if (kind == u"read-only") {
        // Read, never written.
        QCOMPARE(settings::readInt(settings::Key::ZenpoMax), 30);
        QVERIFY(!QSettings(file, QSettings::IniFormat).value("Settings/FontSize").isValid());
        QVERIFY(QFileInfo(file).isFile());
        return;
    }
    settings::setProblemHandler({});
    const QFileInfo after(file);
    if (usable) {
        QVERIFY(after.isSymLink());
        QVERIFY(QSettings(other, QSettings::IniFormat).value("Settings/FontSize").isValid());
        return;
    }
    struct stat st = {};
    const bool present = ::lstat(QFile::encodeName(file).constData(), &st) == 0;
    QCOMPARE(present, kind != u"broken link" || after.isSymLink());
    if (kind == u"device")
        QVERIFY(S_ISCHR(st.st_mode));
    else if (kind == u"pipe")
        QVERIFY(S_ISFIFO(st.st_mode));
    else if (kind == u"folder")
        QVERIFY(S_ISDIR(st.st_mode));
    else
        QVERIFY(S_ISLNK(st.st_mode));
    if (kind == u"link to device") {
        QVERIFY(::stat(otherPath.constData(), &st) == 0 && S_ISCHR(st.st_mode)); // the device itself too
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
