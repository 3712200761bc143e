// The Reading menu: which items are enabled when it opens, what each item
// does, the screen reader's steps refused during an input method
// composition; the wide caret; the window lock of a range command; the word
// at the cursor.

#include "speechfixture.h"

#include "englishvoice/transcriptenglishvoice.h"
#include "form/richtextbox.h"
#include "orrin/transcriptvoice.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <QToolBar>

class TestReadingMenu : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enabledOnOpening_data();
    void enabledOnOpening();
    void screenReaderSteps_data();
    void screenReaderSteps();
    void stepsRefusedDuringComposition();
    void lineAndParagraph();
    void englishFromTheCursor();
    void wordAtTheCursor_data();
    void wordAtTheCursor();
    void caret_data();
    void caret();
    void caretNotShapedWhileComposingOrReading();
    void caretReshapedByTimer();
    void rangeCommandLock();

private:
    std::unique_ptr<SpeechFixture> f_;
    void showWithFocusOnPane();
    void compose(const QString &preedit);
};

namespace {
const QStringList Items{"mnu_yomi_all_top", "mnu_yomi_english", "mnu_yomi_all",        "mnu_yomi_para",
                        "mnu_yomi_line",    "mnu_yomi_speed",   "mnu_yomi_cursolmove", "mnu_yomi_cursolpos"};
}

void TestReadingMenu::init()
{
    f_ = std::make_unique<SpeechFixture>();
    QVERIFY(f_->start());
    f_->form().CaretScale = 1.75f; // as start-up sets it on current systems
}

void TestReadingMenu::cleanup()
{
    f_.reset();
}

void TestReadingMenu::showWithFocusOnPane()
{
    MainForm &form = f_->form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.Text2->setGeometry(0, 0, 600, 300); // lines as long as the text
    form.Text2->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.Text2);
    QTest::qWait(20); // focus announcements (none for the pane) have passed
    f_->mark();
}

void TestReadingMenu::compose(const QString &preedit)
{
    QInputMethodEvent e(preedit, {});
    QApplication::sendEvent(QApplication::focusWidget(), &e);
}

void TestReadingMenu::enabledOnOpening_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("paneEmpty");
    QTest::addColumn<bool>("inputBox"); // Text1Enable
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("result pane active") << true << false << false << true << Items;
    QTest::newRow("result pane empty") << true << true << false << true << Items.mid(1);
    QTest::newRow("input box active") << true << false << true << true
                                      << QStringList{"mnu_yomi_all_top", "mnu_yomi_speed", "mnu_yomi_cursolmove",
                                                     "mnu_yomi_cursolpos"};
    QTest::newRow("no English voice") << true << false << false << false << (QStringList(Items) << "-mnu_yomi_english");
    QTest::newRow("screen reader gone") << false << false << false << true << QStringList{"mnu_yomi_english"};
    QTest::newRow("screen reader gone, input box") << false << false << true << true << QStringList();
}

void TestReadingMenu::enabledOnOpening()
{
    QFETCH(bool, loaded);
    QFETCH(bool, paneEmpty);
    QFETCH(bool, inputBox);
    QFETCH(bool, english);
    QFETCH(QStringList, enabled);
    for (const QString &e : QStringList(enabled))
        if (e.startsWith(u'-'))
            enabled.removeAll(e.mid(1)), enabled.removeAll(e);
    MainForm &form = f_->form();
    form.show();
    f_->voice()->setLoaded(loaded);
    f_->setPane(paneEmpty ? QString() : QStringLiteral("本。"));
    form.Text1Enable = inputBox;
    form.EnglishMode = english;
    f_->speech().SetYomiMenu(!loaded); // the opposite of what opening should give
    form.AllReadFlag = true;
    QMenu *menu = form.menu(QStringLiteral("mnu_yomi"));
    menu->popup(QPoint(0, 0));
    QTRY_VERIFY(menu->isVisible());
    QStringList on;
    for (const QString &item : Items)
        if (form.action(item)->isEnabled())
            on << item;
    QCOMPARE(on, enabled);
    QVERIFY(!form.AllReadFlag); // opening the menu stops a read-all
    menu->hide();
}

void TestReadingMenu::screenReaderSteps_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("lines");
    const QStringList before{"StopSpeech", "Signal\t100\t11\t0", "StopSpeech"};
    QTest::newRow("speed") << "mnu_yomi_speed"
                           << (QStringList(before) << "ORRNSETSTATUS\t65538\t20\t1"
                                                   << "Announce\t速度 やや速い\t0\t0");
    QTest::newRow("cursor reading") << "mnu_yomi_cursolmove"
                                    << (QStringList(before) << "ORRNSETSTATUS\t65538\t5\t1"
                                                            << "Announce\t単語単位\t0\t0");
    QTest::newRow("read at the cursor") << "mnu_yomi_cursolpos"
                                        << (QStringList(before) << "ORRNCOMMAND\tReadCurPos\t1\t1"
                                                                << "Announce\t二\t1\t0");
}

void TestReadingMenu::screenReaderSteps()
{
    QFETCH(QString, item);
    QFETCH(QStringList, lines);
    f_->setPane(QStringLiteral("一\n二行目"), 2);
    showWithFocusOnPane();
    f_->form().action(item)->trigger();
    QCOMPARE(f_->lines(), lines);
}

void TestReadingMenu::stepsRefusedDuringComposition()
{
    f_->setPane(QStringLiteral("本"));
    showWithFocusOnPane();
    compose(QStringLiteral("かんじ"));
    for (const char *item : {"mnu_yomi_speed", "mnu_yomi_cursolmove", "mnu_yomi_cursolpos"})
        f_->form().action(QString::fromLatin1(item))->trigger();
    QCOMPARE(f_->lines(), QStringList());
    compose(QString()); // composition over
    f_->form().action(QStringLiteral("mnu_yomi_speed"))->trigger();
    QCOMPARE(f_->lines().size(), 5);
}

void TestReadingMenu::lineAndParagraph()
{
    f_->setPane(QStringLiteral("一行目\n二行目です\n三行目"), 6);
    showWithFocusOnPane();
    f_->form().action(QStringLiteral("mnu_yomi_para"))->trigger();
    QCOMPARE(f_->lines(), (QStringList{"StopSpeech", "Speak\t\\n二行目です\\r\t0\t0"}));
    f_->mark();
    f_->form().action(QStringLiteral("mnu_yomi_line"))->trigger();
    QCOMPARE(f_->lines(), (QStringList{"ORRNCOMMAND\tReadCurLine\t1\t1", "Announce\t二行目です\t0\t0"}));
    // An empty pane has no paragraph.
    f_->setPane(QString());
    f_->mark();
    f_->speech().ParaYomi();
    QCOMPARE(f_->lines(), QStringList());
}

void TestReadingMenu::englishFromTheCursor()
{
    f_->setPane(QStringLiteral("意味 e.g. fine! more"), 3);
    f_->form().AllReadFlag = true; // a read-all in progress is stopped first
    f_->speech().mnu_yomi_english_Click();
    QVERIFY(!f_->form().AllReadFlag);
    QCOMPARE(f_->spoken(), QStringList{"SapiSpeak e:g: fine []"});
    // Not while the item is disabled (no English voice).
    f_->form().action(QStringLiteral("mnu_yomi_english"))->setEnabled(false);
    f_->mark();
    f_->speech().mnu_yomi_english_Click();
    QCOMPARE(f_->spoken(), QStringList());
}

void TestReadingMenu::wordAtTheCursor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("word");
    QTest::newRow("kanji compound") << "勉強したい" << 1 << "勉強";
    QTest::newRow("before a particle") << "本を" << 0 << "本";
    QTest::newRow("katakana") << "コーヒー" << 1 << "コーヒー";
    QTest::newRow("English with joiners") << "-word's" << 2 << "word's";
    QTest::newRow("second line") << "apple\n林檎です" << 7 << "林檎";
    QTest::newRow("on a line break") << "apple\nです" << 5 << "";
    QTest::newRow("empty pane") << "" << 0 << "";
}

void TestReadingMenu::wordAtTheCursor()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, word);
    f_->setPane(text, cursor);
    QCOMPARE(f_->speech().GetCurStr(), word);
}

void TestReadingMenu::caret_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QSize>("caret");
    QTest::newRow("single byte") << "Text2" << 12.0 << "aあ" << 0 << 0 << QSize(8, 21);
    QTest::newRow("double byte") << "Text2" << 12.0 << "aあ" << 1 << 0 << QSize(16, 21);
    QTest::newRow("end of the text counts as a space") << "Text2" << 12.0 << "aあ" << 2 << 0 << QSize(8, 21);
    QTest::newRow("line break") << "Text2" << 12.0 << "あ\nあ" << 1 << 0 << QSize(8, 21);
    QTest::newRow("magnified") << "Text2" << 19.5 << "漢" << 0 << 0 << QSize(26, 34);
    QTest::newRow("input box") << "Text1" << 15.0 << "ｱ" << 0 << 0 << QSize(10, 26);
}

void TestReadingMenu::caret()
{
    QFETCH(QString, box);
    QFETCH(double, points);
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(int, selection);
    QFETCH(QSize, caret);
    MainForm &form = f_->form();
    RichTextBox *b = box == u"Text1" ? form.Text1 : form.Text2;
    QFont font = b->font();
    font.setPointSizeF(points);
    b->setFont(font);
    b->setPlainText(text);
    QTextCursor c = b->textCursor();
    c.setPosition(cursor);
    if (selection)
        c.setPosition(cursor + selection, QTextCursor::KeepAnchor);
    b->setTextCursor(c);
    f_->speech().setCursol(b);
    QCOMPARE(b->caretShape(), caret);
    QVERIFY(form.Timer1.isActive());

    // With a selection: the default width, 1.4 x the size high.
    c.setPosition(0);
    c.setPosition(1, QTextCursor::KeepAnchor);
    b->setTextCursor(c);
    f_->speech().setCursol(b);
    QCOMPARE(b->caretShape().height(), int(std::nearbyint(1.4 * points)));
    QVERIFY(b->caretShape().width() >= 1 && b->caretShape().width() <= 2);
}

void TestReadingMenu::caretNotShapedWhileComposingOrReading()
{
    MainForm &form = f_->form();
    f_->setPane(QStringLiteral("あ"));
    showWithFocusOnPane();
    form.Text2->setCaretShape(QSize(3, 3));
    compose(QStringLiteral("か"));
    f_->speech().setCursol(form.Text2);
    QCOMPARE(form.Text2->caretShape(), QSize(3, 3));
    compose(QString());
    form.AllReadFlag = true;
    f_->speech().setCursol(form.Text2);
    QCOMPARE(form.Text2->caretShape(), QSize(3, 3));
    form.AllReadFlag = false;
    f_->speech().setCursol(form.Text2);
    QVERIFY(form.Text2->caretShape() != QSize(3, 3));
}

void TestReadingMenu::caretReshapedByTimer()
{
    // The timer re-shapes the caret of the active pane once and stops.
    MainForm &form = f_->form();
    form.Text1->setPlainText(QStringLiteral("あ"));
    form.Text1Enable = true;
    form.Timer1.start();
    QTRY_VERIFY(!form.Text1->caretShape().isEmpty());
    QVERIFY(!form.Timer1.isActive());
    QVERIFY(form.Text2->caretShape().isEmpty());
}

void TestReadingMenu::rangeCommandLock()
{
    MainForm &form = f_->form();
    const QStringList menus{"mnu_file", "mnu_edit", "mnu_yomi", "mnu_view", "mnu_kankyo", "mnu_help"};
    f_->speech().QevSelSet(true);
    QVERIFY(!form.Toolbar1->isEnabled());
    QVERIFY(!form.Text1->isEnabled());
    for (const QString &m : menus)
        QVERIFY2(!form.menu(m)->menuAction()->isEnabled(), qPrintable(m));
    f_->speech().QevSelSet(false);
    QVERIFY(form.Toolbar1->isEnabled());
    QVERIFY(form.Text1->isEnabled());
    for (const QString &m : menus)
        QVERIFY2(form.menu(m)->menuAction()->isEnabled(), qPrintable(m));
}

QTEST_MAIN(TestReadingMenu)
#include "test_readingmenu.moc"
