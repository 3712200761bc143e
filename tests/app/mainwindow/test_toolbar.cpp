// The toolbar and the image menu through the window: every button and
// drop-down item by mouse and keyboard with what it does and what is heard,
// a read-all stepped back and skipped with the image buttons, and the
// toolbar and image menu laid out at every magnification level.

#include "form/imagebutton.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/imagemenu.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/toolbar.h"
#include "windowharness.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {
const QString dictionary = QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow");

WindowHarness::Options withDictionary(int msPerChar = 0)
{
    WindowHarness::Options o;
    o.dictionaryFolder = dictionary;
    o.speechMsPerChar = msPerChar;
    return o;
}

QString firstLine(MainForm &f)
{
    return f.Text2->toPlainText().section(u'\n', 0, 0).trimmed();
}

void setPaneCursor(MainForm &f, int from, int to)
{
    QTextCursor c = f.Text2->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    f.Text2->setTextCursor(c);
}

// One step of a row of the command table.
void runStep(WindowHarness &h, const QString &step, QStringList &editCommands)
{
    MainForm &f = h.form();
    const QString op = step.section(u':', 0, 0);
    const QString arg = step.section(u':', 1);
    if (op == u"look") {
        h.lookUp(arg);
    } else if (op == u"type") {
        f.Text1->setFocus();
        f.Text1->clear();
        h.type(arg);
    } else if (op == u"pane") {
        f.Text2->setFocus();
        QTRY_VERIFY(!f.Text1Enable);
    } else if (op == u"select") {
        setPaneCursor(f, arg.section(u',', 0, 0).toInt(), arg.section(u',', 1, 1).toInt());
    } else if (op == u"click") {
        f.toolButton(arg)->click();
    } else if (op == u"item") {
        // An item of a button's drop-down list, chosen by its key.
        QMenu *menu = f.toolButton(arg.section(u'/', 0, 0))->menu();
        const QString key = arg.section(u'/', 1);
        QAction *item = nullptr;
        for (QAction *a : menu->actions())
            if (a->objectName() == key)
                item = a;
        QVERIFY2(item, qPrintable(step));
        item->trigger();
    } else if (op == u"open") {
        // The drop-down list shown, and closed again.
        QMenu *menu = f.toolButton(arg)->menu();
        menu->popup(f.mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    } else if (op == u"press") {
        // The dispatch of a button whose command is not enabled here.
        for (const char *name : {"mnu_edit_copy", "mnu_edit_cut", "mnu_edit_paste"}) {
            QAction *a = f.action(QString::fromLatin1(name));
            a->setEnabled(true);
            QObject::connect(a, &QAction::triggered,
                             [&editCommands, name] { editCommands << QString::fromLatin1(name); });
        }
        h.window().toolbar().Toolbar1_ButtonClick(arg);
    } else if (op == u"key") {
        const QMap<QString, Qt::Key> keys{
            {"Tab", Qt::Key_Tab},     {"Backtab", Qt::Key_Backtab}, {"Right", Qt::Key_Right},   {"Left", Qt::Key_Left},
            {"Space", Qt::Key_Space}, {"Return", Qt::Key_Return},   {"Escape", Qt::Key_Escape}, {"Down", Qt::Key_Down}};
        QVERIFY2(keys.contains(arg), qPrintable(step));
        h.key(keys.value(arg));
    } else if (op == u"busy") {
        f.KensakuEnable = true; // a lookup is running
    } else if (op == u"mark") {
        h.markTranscript();
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
    QCoreApplication::processEvents();
}

QString stateOf(WindowHarness &h, const QString &name, const QStringList &editCommands)
{
    MainForm &f = h.form();
    if (name == u"RirekiIndex")
        return QString::number(f.RirekiIndex);
    if (name == u"level")
        return f.modeBigFont ? QString::number(f.modeFontSize) : QStringLiteral("通常");
    if (name == u"focus")
        return h.focused() ? h.focused()->objectName() : QString();
    if (name == u"edit")
        return editCommands.join(u' ');
    if (name == u"FontSize")
        return h.setting("Settings", "FontSize");
    return QStringLiteral("?") + name;
}
} // namespace

class TestToolbar : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void readAllWithTheImageButtons();
    void layoutAtEveryLevel();
};

void TestToolbar::commands_data()
{
    QTest::addColumn<QString>("steps"); // separated by ";"; the transcript is read from "mark" on
    QTest::addColumn<QString>("line");  // the result pane's first line after it (empty: not checked)
    QTest::addColumn<QString>("heard"); // a piece of the transcript after "mark" (empty: not checked)
    QTest::addColumn<QString>("state"); // "name=value" pairs separated by ";"

    // The search button: the input box, the selection, the word at the cursor.
    QTest::newRow("search the input box") << "type:apple;mark;click:検索"
                                          << "apple"
                                          << "Speak\tapple"
                                          << "RirekiIndex=1";
    QTest::newRow("search the selection") << "look:apple;pane;select:0,3;mark;click:検索"
                                          << "apple"
                                          << "Speak	appは見つかりませんでした"
                                          << "RirekiIndex=1";
    QTest::newRow("search the word at the cursor") << "look:run;type:xyz;pane;select:1,1;click:検索"
                                                   << "run"
                                                   << ""
                                                   << "RirekiIndex=2";
    QTest::newRow("blank at the cursor: no search") << "look:apple;pane;select:5,5;mark;click:検索"
                                                    << "apple"
                                                    << "Signal\t100\t3\t0"
                                                    << "RirekiIndex=1";
    // History, paging and magnification, and their lists.
    QTest::newRow("back") << "look:apple;look:run;click:戻る"
                          << "apple"
                          << ""
                          << "RirekiIndex=1";
    QTest::newRow("forward") << "look:apple;look:run;click:戻る;click:進む"
                             << "run"
                             << ""
                             << "RirekiIndex=2";
    QTest::newRow("history item, back") << "look:apple;look:りんご;look:run;item:戻る/@b2"
                                        << "apple"
                                        << ""
                                        << "RirekiIndex=1";
    QTest::newRow("history item, forward") << "look:apple;look:りんご;look:run;item:戻る/@b2;item:進む/@n2"
                                           << "run"
                                           << ""
                                           << "RirekiIndex=3";
    QTest::newRow("turn the page") << "look:run;click:めくる"
                                   << "run down"
                                   << ""
                                   << "";
    QTest::newRow("word before") << "look:run;item:めくる/前の単語"
                                 << "rumor"
                                 << ""
                                 << "";
    QTest::newRow("word after") << "look:run;item:めくる/次の単語"
                                << "run down"
                                << ""
                                << "";
    QTest::newRow("magnify") << "mark;click:拡大"
                             << ""
                             << "Speak\t拡大1"
                             << "level=1;FontSize=1";
    QTest::newRow("magnify from level 7 to normal") << "item:拡大/拡大7;mark;click:拡大"
                                                    << ""
                                                    << "Speak\t通常"
                                                    << "level=通常";
    QTest::newRow("magnification level") << "mark;item:拡大/拡大3"
                                         << ""
                                         << "Speak\t拡大3"
                                         << "level=3;FontSize=3";
    QTest::newRow("normal size") << "item:拡大/拡大3;item:拡大/通常"
                                 << ""
                                 << ""
                                 << "level=通常";
    // The edit buttons start the Edit menu's commands.
    QTest::newRow("copy") << "press:コピー"
                          << ""
                          << ""
                          << "edit=mnu_edit_copy";
    QTest::newRow("cut") << "press:切り取り"
                         << ""
                         << ""
                         << "edit=mnu_edit_cut";
    QTest::newRow("paste") << "press:貼り付け"
                           << ""
                           << ""
                           << "edit=mnu_edit_paste";
    // From the keyboard: Tab from the result pane to the toolbar, arrows
    // along it, Space and Enter, Down for the list, Esc and Tab out of it.
    QTest::newRow("keys: toolbar reached and announced") << "look:apple;mark;key:Tab"
                                                         << ""
                                                         << "Announce\t検索 ボタン 入力した単語"
                                                         << "focus=Toolbar1_検索";
    QTest::newRow("keys: arrows and Space") << "look:apple;key:Tab;key:Right;key:Right;key:Space"
                                            << ""
                                            << ""
                                            << "level=1;focus=Toolbar1_拡大";
    QTest::newRow("keys: Left round the row and Enter")
        << "look:apple;look:run;key:Tab;mark;key:Left;key:Left;key:Left;key:Left;key:Return"
        << "apple"
        << "Announce\t戻る メニューボタン"
        << "RirekiIndex=1";
    QTest::newRow("keys: Esc back to the input box") << "look:apple;key:Tab;key:Escape"
                                                     << ""
                                                     << ""
                                                     << "focus=Text1";
    QTest::newRow("keys: Tab on to the image menu") << "look:apple;key:Tab;mark;key:Tab"
                                                    << ""
                                                    << "Announce\t読み上げ ボタン"
                                                    << "focus=ImageX0";
    QTest::newRow("keys: Tab round to the input box") << "look:apple;key:Tab;key:Tab;key:Tab"
                                                      << ""
                                                      << ""
                                                      << "focus=Text1";
    // Bad input.
    QTest::newRow("history list opened empty") << "mark;open:戻る"
                                               << ""
                                               << "Speak\t履歴なし"
                                               << "RirekiIndex=0";
    QTest::newRow("a button while a lookup runs") << "look:apple;look:run;busy;mark;click:戻る"
                                                  << "run"
                                                  << "Signal\t10\t1\t0"
                                                  << "RirekiIndex=2";
    QTest::newRow("an item while a lookup runs") << "busy;mark;item:拡大/拡大2"
                                                 << ""
                                                 << "Signal\t10\t1\t0"
                                                 << "level=通常";
}

void TestToolbar::commands()
{
    QFETCH(QString, steps);
    QFETCH(QString, line);
    QFETCH(QString, heard);
    QFETCH(QString, state);
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    QStringList editCommands;
    for (const QString &step : steps.split(u';')) {
        runStep(h, step, editCommands);
        if (QTest::currentTestFailed())
            return;
    }
    if (!line.isEmpty())
        QTRY_COMPARE(firstLine(f), line);
    if (!heard.isEmpty())
        QTRY_VERIFY2(h.transcript().join(u'\n').contains(heard), qPrintable(h.transcript().join(u'\n')));
    for (const QString &pair : state.split(u';', Qt::SkipEmptyParts))
        QTRY_COMPARE(stateOf(h, pair.section(u'=', 0, 0), editCommands), pair.section(u'=', 1));
    f.KensakuEnable = false;
}

void TestToolbar::readAllWithTheImageButtons()
{
    WindowHarness h(withDictionary(20));
    QVERIFY(h.load());
    MainForm &f = h.form();
    ImageMenu &menu = h.window().imageMenu();
    QStringList outsideCalls;
    f.Text2->setPlainText(QStringLiteral("一、二、三、四、五、\n六行目。\n七行目。\n八行目。"));
    f.Text2->setFocus();
    QTRY_VERIFY(!f.Text1Enable);
    setPaneCursor(f, 0, 0);
    ImageButton *play = f.ImageX[0];

    // Read-back at the start of the entry reads on; back a sentence, on to
    // the next chunk, back about 100 characters (to the start here), skip the
    // lines that follow. Each button is pressed while the chunk is spoken.
    const QList<QPair<QString, int>> presses{{"一、", 3}, {"二、", 3}, {"三、", 4}, {"四、", 2}, {"五、", 5}};
    int next = 0;
    int seen = 0;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QStringList said = h.spoken();
        for (; seen < said.size(); ++seen) {
            if (next < presses.size() && said.at(seen) == presses.at(next).first) {
                ImageButton *b = f.ImageX[size_t(presses.at(next).second)];
                // The play button is held down: the others wait for it.
                if (next == 0) {
                    QVERIFY(play->showsPressedPicture());
                    QTest::mousePress(b, Qt::LeftButton);
                    QVERIFY(!f.ReadBack);
                    QTest::mouseRelease(b, Qt::LeftButton);
                    QTest::mouseRelease(play, Qt::LeftButton);
                    // Pressing play again while it reads is ignored.
                    QTest::mouseClick(play, Qt::LeftButton);
                    QVERIFY(play->showsPressedPicture());
                }
                QTest::mousePress(b, Qt::LeftButton);
                QVERIFY(b->showsPressedPicture());
                QTest::mouseRelease(b, Qt::LeftButton);
                QVERIFY(!b->showsPressedPicture());
                ++next;
            }
        }
    });
    watch.start();
    h.markTranscript();
    QTest::mousePress(play, Qt::LeftButton); // reads until the end
    watch.stop();
    QCOMPARE(next, presses.size());
    QStringList said = h.spoken();
    said.removeAll(QStringLiteral("\r"));
    QCOMPARE(said, (QStringList{"一、", "二、", "一、", "二、", "三、", "四、", "一、", "二、", "三、", "四、", "五、",
                                "八行目。", "読み 終わり"}));
    QVERIFY(!play->showsPressedPicture());
    QVERIFY(!f.ImagePressed);

    // Stop ends a reading; play from the input box does nothing.
    setPaneCursor(f, 0, 0);
    h.markTranscript();
    QTimer::singleShot(20, [&] {
        QTest::mouseRelease(play, Qt::LeftButton);
        QTest::mouseClick(f.ImageX[1], Qt::LeftButton);
    });
    QTest::mousePress(play, Qt::LeftButton);
    QVERIFY(h.transcript().contains(QStringLiteral("Signal\t10\t3\t0")));
    QVERIFY(!h.spoken().contains(QStringLiteral("読み 終わり")));
    f.Text1->setFocus();
    QTRY_VERIFY(f.Text1Enable);
    h.markTranscript();
    QTest::mouseClick(play, Qt::LeftButton);
    QVERIFY(!h.spoken().contains(QStringLiteral("一、")));

    // The outside program's object cannot be created: nothing happens, the
    // button is released; another object would be woken.
    h.markTranscript();
    QTest::mouseDClick(f.ImageX[6], Qt::LeftButton); // a press, a release and a press again
    QVERIFY(f.ImagePressed && f.ImageX[6]->showsPressedPicture());
    QTest::mouseRelease(f.ImageX[6], Qt::LeftButton);
    QVERIFY(!f.ImagePressed && !f.ImageX[6]->showsPressedPicture());
    QCOMPARE(h.spoken(), QStringList());
    menu.setOutsideCall([&](const QString &id, const QString &method) {
        outsideCalls << id + u' ' + method;
        return true;
    });
    QTest::mouseClick(f.ImageX[6], Qt::LeftButton);
    QCOMPARE(outsideCalls, QStringList{"{061A6903-17D6-11D2-9663-0040261476D7} AwakeObj"});
}

void TestToolbar::layoutAtEveryLevel()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QWidget *client = f.centralWidget();
    for (int level = 0; level <= 7; ++level) {
        const QString name = level == 0 ? QStringLiteral("通常") : QStringLiteral("拡大%1").arg(level);
        for (QAction *a : f.toolButton("拡大")->menu()->actions())
            if (a->objectName() == name)
                a->trigger();
        QTRY_VERIFY(!f.Picture1->isVisible());
        // Every button whole inside the strip, beside the input box.
        const QRect strip = f.Pic1->geometry();
        QVERIFY2(client->rect().contains(strip), qPrintable(name));
        QVERIFY2(strip.left() > f.Text1->geometry().right(), qPrintable(name));
        for (QToolButton *b : f.toolButtons()) {
            QVERIFY2(b->isVisible(), qPrintable(name + u' ' + b->objectName()));
            const QRect r(b->mapTo(client, QPoint(0, 0)), b->size());
            QVERIFY2(strip.contains(r), qPrintable(name + u' ' + b->objectName()));
        }
        // The image menu grows with the input box while the status bar shows.
        const double scale = level <= 2 ? qMax(1.0, f.Text1->font().pointSizeF() / 12) : 1.0;
        const int side = qRound(ImageButton::Side * scale);
        QCOMPARE(f.ImageX[6]->size(), QSize(side, side));
        QCOMPARE(f.ImageX[2]->isVisible(), level <= 2);
        if (level <= 2)
            QVERIFY(
                f.StatusBar1->rect().contains(QRect(f.ImageX[6]->mapTo(f.StatusBar1, QPoint()), f.ImageX[6]->size())));
        // The toolbar is reached from the keyboard at this size too.
        f.Text2->setFocus();
        h.key(Qt::Key_Tab);
        QCOMPARE(h.focused(), static_cast<QWidget *>(f.toolButton("検索")));
    }
}

QTEST_MAIN(TestToolbar)
#include "test_toolbar.moc"
