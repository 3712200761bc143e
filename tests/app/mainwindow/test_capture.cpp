// A word captured from another application, from the window's messages to
// the lookup: which message decides when several arrive within the 50 ms,
// what each capture kind looks up, the captures that are refused, and the
// bytes the library may hand over (a full buffer without a terminator, a
// character cut at its end, bytes that are no text). The capture library is
// the harness's stand-in.

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/desktopcommands.h"
#include "mainwindow/extbox.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/quickguide.h"
#include "mainwindow/windowmessages.h"
#include "windowharness.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {
const QString notFound = QStringLiteral(" は見つかりませんでした");
const QString nothing = QStringLiteral("検索する文字がありません");
const QString signal = QStringLiteral("Signal\t100\t3\t0");
} // namespace

class TestCapture : public QObject {
    Q_OBJECT
private slots:
    void capture_data();
    void capture();
    void switchingAwayClosesTheGuide();
    void updateProgramMissing();
};

void TestCapture::capture_data()
{
    QTest::addColumn<QStringList>("messages"); // "1024", "28:1" (activation with its wParam), "1024*100"
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("state"); // "" | "range" (keyboard range selection) | "running" | "modal"
    QTest::addColumn<int>("reads");     // GetString calls
    QTest::addColumn<QString>("word");  // the word looked up and found ("" none)
    QTest::addColumn<QString>("box");   // the message window's text ("" not shown)
    QTest::addColumn<bool>("signalled");

    const QStringList once{"1024"};
    QTest::newRow("selection") << once << 2 << QByteArray("apple") << "" << 1 << "apple"
                               << "" << false;
    QTest::newRow("burst of 100: handled once")
        << QStringList{"1024*100"} << 2 << QByteArray("apple") << "" << 1 << "apple"
        << "" << false;
    QTest::newRow("own activation within 50 ms drops it")
        << QStringList{"1024", "28:1"} << 2 << QByteArray("apple") << "" << 0 << ""
        << "" << false;
    QTest::newRow("switch away within 50 ms drops it")
        << QStringList{"1024", "28:0"} << 2 << QByteArray("apple") << "" << 0 << ""
        << "" << false;
    QTest::newRow("capture after an activation")
        << QStringList{"28:1", "1024"} << 2 << QByteArray("apple") << "" << 1 << "apple"
        << "" << false;
    QTest::newRow("caret: first word") << once << 1 << QByteArray("apple pie") << "" << 1 << "apple"
                                       << "" << false;
    QTest::newRow("clipboard: first 80") << once << 3 << QByteArray(100, 'x') << "" << 1 << ""
                                         << QString(80, u'x') + notFound << false;
    QTest::newRow("256 bytes, no terminator")
        << once << 2 << QByteArray(300, 'y') << "" << 1 << "" << QString(256, u'y') + notFound << false;
    QTest::newRow("double-byte character cut at 256") << once << 2 << QByteArray(255, 'z') + "\x82\xa0"
                                                      << "" << 1 << "" << QString(255, u'z') + notFound << false;
    // Bytes without a character of their own come as the code page maps them.
    QTest::newRow("bytes that are no text")
        << once << 2 << QByteArray("\x80\xfd") << "" << 1 << "" << QStringLiteral("\u0080\uF8F1") + notFound << false;
    QTest::newRow("empty") << once << 2 << QByteArray("  ") << "" << 1 << "" << nothing << true;
    QTest::newRow("caret at a blank") << once << 1 << QByteArray(" ") << "" << 1 << "" << nothing << true;
    QTest::newRow("nothing captured") << once << 0 << QByteArray() << "" << 1 << ""
                                      << "" << false;
    QTest::newRow("range selection running") << once << 2 << QByteArray("apple") << "range" << 1 << ""
                                             << "" << true;
    QTest::newRow("capture search running") << once << 2 << QByteArray("apple") << "running" << 1 << ""
                                            << "" << false;
    QTest::newRow("message box open") << once << 2 << QByteArray("apple") << "modal" << 1 << "apple"
                                      << "" << false;
}

void TestCapture::capture()
{
    QFETCH(QStringList, messages);
    QFETCH(int, code);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, state);
    QFETCH(int, reads);
    QFETCH(QString, word);
    QFETCH(QString, box);
    QFETCH(bool, signalled);

    WindowHarness::Options o;
    o.dictionaryFolder = QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow");
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &form = h.form();
    // A caret the library reports off every screen.
    WindowHarness::capture() = {code, bytes, QPoint(-500, 100000), 0};
    form.QevSelMode = state == u"range";
    form.CaptureActive = state == u"running";
    QMessageBox modal(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("open"), QMessageBox::Ok, &form);
    if (state == u"modal")
        modal.open();
    h.markTranscript();

    for (const QString &m : messages) {
        if (m.startsWith(u"28:"))
            h.window().messages().receive(WindowMessages::ActivateApp, m.mid(3).toInt());
        else
            for (int i = 0; i < (m.endsWith(u"*100") ? 100 : 1); ++i)
                h.window().messages().receive(WindowMessages::HookNotify);
    }
    QTRY_VERIFY(!form.TimerHook.isActive());
    QTest::qWait(100); // a second tick would come within this time

    QCOMPARE(WindowHarness::capture().getStringCalls, reads);
    const QStringList lines = h.transcript();
    QCOMPARE(form.RirekiList.isEmpty() ? QString() : form.RirekiList.last(), word);
    if (!word.isEmpty()) {
        QVERIFY(form.CaptureActive);
        QVERIFY(form.Text2->toPlainText().contains(u"りんご")); // the entry written
        QVERIFY(h.spoken().join(u' ').contains(u"りんご"));     // and read
    }
    ExtBox &extBox = h.window().extBox();
    QCOMPARE(extBox.isVisible() ? extBox.Label1->text() : QString(), box);
    if (!box.isEmpty()) {
        // On the screen, above the caret as far as the screen allows, for 1.5 s.
        QVERIFY(QGuiApplication::primaryScreen()->geometry().contains(extBox.geometry()));
        QTRY_VERIFY_WITH_TIMEOUT(!extBox.isVisible(), 3000);
    }
    QCOMPARE(lines.contains(signal), signalled);
    if (state == u"modal")
        QVERIFY(modal.isVisible());
}

void TestCapture::switchingAwayClosesTheGuide()
{
    WindowHarness h;
    QVERIFY(h.load());
    QTimer::singleShot(100, &h.form(), [&h] { h.window().messages().receive(WindowMessages::ActivateApp, 0); });
    bool stuck = false;
    QTimer::singleShot(5000, &h.form(), [&h, &stuck] {
        stuck = true;
        for (QDialog *d : h.form().findChildren<QDialog *>())
            d->reject();
    });
    h.window().quickGuide().show(QStringLiteral("guide"), QPoint(0, 0));
    QVERIFY(!stuck);
    QVERIFY(!h.window().quickGuide().F1HelpEnable);
}

void TestCapture::updateProgramMissing()
{
    WindowHarness h;
    QVERIFY(h.load());
    QVERIFY(h.form().action("mnu_help_update")->isEnabled());
    QVERIFY(!h.form().action("mnu_kankyo_wordmere")->isEnabled());
    h.window().desktopCommands().setProgramFolder(h.temp().dir());
    h.form().action("mnu_help_update")->trigger();
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages.at(0).icon, QMessageBox::Critical);
    QCOMPARE(h.messages.at(0).title, QStringLiteral("実行エラー"));
    QCOMPARE(h.messages.at(0).text, QStringLiteral("アップデートプログラムを実行できません"));
    QVERIFY(h.form().isVisible()); // the program goes on
}

QTEST_MAIN(TestCapture)
#include "test_capture.moc"
