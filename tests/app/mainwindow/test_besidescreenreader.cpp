// Beside a running screen reader (Orca): while the desktop says one runs,
// the stand-in's own focus, caret and typing announcements stand down and
// the program's own speech stays. The desktop is a private D-Bus session
// bus with a stand-in for the accessibility bus launcher, whose
// ScreenReaderEnabled the test turns on and off.

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "orrin/announcer.h"
#include "orrin/orrnusr.h"
#include "screenreader/screenreaderstatus.h"
#include "speech/speech.h"
#include "speech/speechlayer.h"
#include "windowharness.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString BusService = QStringLiteral("org.a11y.Bus");
const QString BusPath = QStringLiteral("/org/a11y/bus");

// A session bus of the test's own, in its temporary folder: no services to
// start, gone with the test.
class PrivateBus {
public:
    PrivateBus()
    {
        QFile config(dir_.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                    "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
                                    "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
                         .arg(dir_.path())
                         .toUtf8());
        config.close();
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                                                      QStringLiteral("--config-file=") + config.fileName()});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        daemon_.terminate();
        if (!daemon_.waitForFinished(5000))
            daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    QString address() const { return address_; }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
};

} // namespace

// The accessibility bus launcher's status object, as the desktop offers it.
class A11yStatus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool ScreenReaderEnabled READ screenReaderEnabled)
public:
    explicit A11yStatus(const QString &address)
        : bus_(QDBusConnection::connectToBus(address, QStringLiteral("a11y-status")))
    {
        bus_.registerObject(BusPath, this, QDBusConnection::ExportAllProperties);
    }
    ~A11yStatus() override
    {
        bus_.unregisterObject(BusPath);
        QDBusConnection::disconnectFromBus(QStringLiteral("a11y-status"));
    }
    bool serve(bool on) { return on ? bus_.registerService(BusService) : bus_.unregisterService(BusService); }
    bool screenReaderEnabled() const { return enabled_; }
    // A screen reader starts or ends.
    void setScreenReaderEnabled(bool enabled)
    {
        enabled_ = enabled;
        QDBusMessage changed = QDBusMessage::createSignal(BusPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("PropertiesChanged"));
        changed << QStringLiteral("org.a11y.Status")
                << QVariantMap{{QStringLiteral("ScreenReaderEnabled"), QVariant::fromValue(enabled)}} << QStringList();
        bus_.send(changed);
    }

private:
    QDBusConnection bus_;
    bool enabled_ = false;
};

class TestBesideScreenReader : public QObject {
    Q_OBJECT
private slots:
    void noSessionBus();
    void standsDownWhileAScreenReaderRuns();
};

void TestBesideScreenReader::noSessionBus()
{
    // The tests' own runtime folder holds no bus.
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray());
    ScreenReaderStatus status;
    QVERIFY(!status.watching());
    QVERIFY(!status.running());
}

void TestBesideScreenReader::standsDownWhileAScreenReaderRuns()
{
    PrivateBus bus;
    QVERIFY2(!bus.address().isEmpty(), "dbus-daemon did not start");
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    A11yStatus desktop(bus.address());
    QVERIFY(desktop.serve(true));

    WindowHarness::Options options;
    options.dictionaryFolder = QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow");
    WindowHarness h(options);
    QVERIFY(h.load());
    auto &layer = dynamic_cast<Speech &>(h.form().speech()).layer();
    QVERIFY(layer.screenReaderStatus()->watching());
    Announcer *announcer = layer.announcer();
    QVERIFY(announcer);

    // Typing, moving the caret back, looking up: the announcements, then
    // the entry read by the program itself.
    auto walk = [&h] {
        h.form().Text1->setFocus();
        h.form().Text1->clear();
        h.markTranscript();
        h.type(QStringLiteral("apple"));
        h.key(Qt::Key_Left);
        h.key(Qt::Key_Home);
        QTest::qWait(50);
        QStringList announced;
        for (const QString &line : h.transcript())
            if (line.startsWith(u"Announce\t"))
                announced << line.section(u'\t', 1, 1);
        return announced;
    };
    const QStringList before = walk();
    QVERIFY2(before.contains(QStringLiteral("a")) && before.contains(QStringLiteral("e")),
             qPrintable(before.join(u'|')));

    desktop.setScreenReaderEnabled(true);
    QTRY_VERIFY(announcer->isBesideScreenReader());
    QCOMPARE(walk(), QStringList());
    // The reading commands are the program's: still answered.
    h.markTranscript();
    ORRNCOMMAND(QStringLiteral("ReadCurLine"), 1, 1);
    QVERIFY2(h.transcript().contains(QStringLiteral("Announce\tapple\t0\t0")), qPrintable(h.transcript().join(u'|')));
    // The program reads the entry itself.
    h.markTranscript();
    h.key(Qt::Key_Return);
    QTRY_VERIFY(h.spoken().join(u' ').contains(u"りんご"));

    desktop.setScreenReaderEnabled(false);
    QTRY_VERIFY(!announcer->isBesideScreenReader());
    QCOMPARE(walk(), before);

    // Started while a screen reader runs, and the launcher going away.
    desktop.setScreenReaderEnabled(true);
    QTRY_VERIFY(announcer->isBesideScreenReader());
    ScreenReaderStatus late;
    QTRY_VERIFY(late.running());
    QVERIFY(desktop.serve(false));
    QTRY_VERIFY(!late.running());
    QTRY_VERIFY(!announcer->isBesideScreenReader());
}

QTEST_MAIN(TestBesideScreenReader)
#include "test_besidescreenreader.moc"
