// Display modes: the magnification cycles of the keys, the View menu, the
// toolbar button, colours, the status bar at the larger levels, the still
// picture during a change, the IME composition colours and the minimum size.

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/displaymodes.h"
#include "mainwindow/imecolours.h"
#include "mainwindow/mainwindow.h"
#include "windowharness.h"

#include <QAction>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

namespace {
// Counts the times a widget is shown.
struct ShowWatch : QObject {
    int shown = 0;
    explicit ShowWatch(QWidget *w) { w->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            ++shown;
        return false;
    }
};
// The point sizes the characters of a box are drawn in.
QList<qreal> characterSizes(RichTextBox *box)
{
    QList<qreal> sizes;
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            for (int i = 0; i < it.fragment().length(); ++i)
                sizes << QFontInfo(it.fragment().charFormat().font()).pointSizeF();
    return sizes;
}

} // namespace

class TestDisplayModes : public QObject {
    Q_OBJECT
private slots:
    void fontSizes_data();
    void fontSizes();
    void magnifyUpCycle();
    void magnifyDownCycle();
    void magnifyIgnoredWhileBusyOrComposing();
    void switchKey();
    void viewMenu();
    void statusBarAtLargerLevels();
    void colours();
    void emptyInputBoxStaysEmpty();
    void stillPictureDuringAChange();
    void toolbarButton();
    void imeColours();
    void minimumSize();
};

void TestDisplayModes::fontSizes_data()
{
    QTest::addColumn<bool>("big");
    QTest::addColumn<int>("level");
    QTest::addColumn<double>("input");
    QTest::addColumn<double>("result");
    QTest::newRow("normal") << false << 4 << 12.0 << 12.0;
    QTest::newRow("level 1") << true << 1 << 14.95 << 19.5;
    QTest::newRow("level 4") << true << 4 << 22.74 << 42.84;
    QTest::newRow("level 7") << true << 7 << 34.58 << 94.12;
}

void TestDisplayModes::fontSizes()
{
    QFETCH(bool, big);
    QFETCH(int, level);
    QFETCH(double, input);
    QFETCH(double, result);
    QVERIFY(qAbs(DisplayModes::inputFontSize(big, level) - input) < 0.01);
    QVERIFY(qAbs(DisplayModes::resultFontSize(big, level) - result) < 0.01);
}

void TestDisplayModes::magnifyUpCycle()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text1->setFocus();
    QStringList said;
    for (int i = 1; i <= 8; ++i) {
        h.type(QStringLiteral("a"));
        h.key(Qt::Key_F6);
        h.type(QStringLiteral("b"));
        // What was typed before and after the change, in the box's size.
        const QList<qreal> sizes = characterSizes(f.Text1);
        QCOMPARE(sizes.size(), 2 * i);
        for (qreal size : sizes)
            QCOMPARE(size, QFontInfo(f.Text1->font()).pointSizeF());
        const bool big = i < 8;
        const int level = big ? i : 1;
        QCOMPARE(f.modeBigFont, big);
        QCOMPARE(f.modeFontSize, level);
        QCOMPARE(h.setting("Settings", "FontSize"), QString::number(level));
        QCOMPARE(h.setting("Settings", "BigMode"), big ? QStringLiteral("True") : QStringLiteral("False"));
        QCOMPARE(f.Text2->font().pointSizeF(), DisplayModes::resultFontSize(big, level));
        QCOMPARE(f.Text1->font().pointSizeF(), DisplayModes::inputFontSize(big, level));
        said << (big ? QStringLiteral("拡大%1").arg(i) : QStringLiteral("通常"));
    }
    QStringList heard = h.spoken();
    heard.removeIf([](const QString &s) { return !s.startsWith(u"拡大") && s != u"通常"; });
    QCOMPARE(heard, said);
    // Alt+PageDown steps up as F6 does.
    h.key(Qt::Key_PageDown, Qt::AltModifier);
    QVERIFY(f.modeBigFont);
    QCOMPARE(f.modeFontSize, 1);
}

void TestDisplayModes::magnifyDownCycle()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text1->setFocus();
    QStringList said;
    for (int i = 0; i < 8; ++i) {
        h.key(Qt::Key_PageUp, Qt::AltModifier);
        const int level = 7 - i;
        const bool big = level > 0;
        QCOMPARE(f.modeBigFont, big);
        QCOMPARE(f.modeFontSize, big ? level : 7);
        said << (big ? QStringLiteral("拡大%1").arg(level) : QStringLiteral("通常"));
    }
    QStringList heard = h.spoken();
    heard.removeIf([](const QString &s) { return !s.startsWith(u"拡大") && s != u"通常"; });
    QCOMPARE(heard, said);
}

void TestDisplayModes::magnifyIgnoredWhileBusyOrComposing()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text1->setFocus();
    QTRY_COMPARE(h.focused(), f.Text1);
    f.KeyBusy = true;
    h.key(Qt::Key_F6);
    QVERIFY(!f.modeBigFont);
    f.KeyBusy = false;
    // An IME composition in progress keeps F6 for the input method.
    QInputMethodEvent compose(QStringLiteral("かな"), {});
    QCoreApplication::sendEvent(f.Text1, &compose);
    QVERIFY(h.window().ime().IMMuse());
    h.key(Qt::Key_F6);
    QVERIFY(!f.modeBigFont);
    // ... but not Alt+PageUp.
    h.key(Qt::Key_PageUp, Qt::AltModifier);
    QVERIFY(f.modeBigFont);
    QInputMethodEvent commit;
    commit.setCommitString(QString());
    QCoreApplication::sendEvent(f.Text1, &commit);
    QVERIFY(!h.window().ime().IMMuse());
}

void TestDisplayModes::switchKey()
{
    WindowHarness::Options o;
    o.settings = QStringList{"FontSize=3"};
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text1->setFocus();
    h.key(Qt::Key_G, Qt::ControlModifier);
    QVERIFY(f.modeBigFont);
    QCOMPARE(f.modeFontSize, 3);
    QVERIFY(h.spoken().contains(QStringLiteral("拡大画面")));
    QCOMPARE(h.setting("Settings", "BigMode"), QStringLiteral("True"));
    h.key(Qt::Key_G, Qt::ControlModifier);
    QVERIFY(!f.modeBigFont);
    QVERIFY(h.spoken().contains(QStringLiteral("通常画面")));
    QCOMPARE(f.Text1->toPlainText(), QString()); // Ctrl+G types nothing
}

void TestDisplayModes::viewMenu()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.action("mnu_view_big5")->trigger();
    QVERIFY(f.modeBigFont);
    QCOMPARE(f.modeFontSize, 5);
    QVERIFY(f.action("mnu_view_big5")->isChecked());
    QVERIFY(!f.action("mnu_view_tujo")->isChecked());
    QCOMPARE(h.setting("Settings", "FontSize"), QStringLiteral("5"));
    // Normal keeps the level for the next switch.
    f.action("mnu_view_tujo")->trigger();
    QVERIFY(!f.modeBigFont);
    QCOMPARE(f.modeFontSize, 5);
    QVERIFY(f.action("mnu_view_tujo")->isChecked());
    QCOMPARE(h.setting("Settings", "BigMode"), QStringLiteral("False"));
    f.action("mnu_view_switch")->trigger();
    QCOMPARE(f.modeFontSize, 5);
    QVERIFY(f.action("mnu_view_big5")->isChecked());
    // Opening the View menu stops a reading.
    f.AllReadFlag = true;
    emit f.menu("mnu_view")->aboutToShow();
    QVERIFY(!f.AllReadFlag);
}

void TestDisplayModes::statusBarAtLargerLevels()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QAction *item = f.action("mnu_view_status");
    f.action("mnu_view_big2")->trigger();
    QVERIFY(f.StatusBar1->isVisible());
    QVERIFY(item->isEnabled());
    f.action("mnu_view_big3")->trigger();
    QVERIFY(!f.StatusBar1->isVisible());
    QVERIFY(!item->isEnabled());
    QCOMPARE(h.setting("Settings", "StatusBar"), QString()); // the setting is not changed
    f.action("mnu_view_tujo")->trigger();
    QVERIFY(f.StatusBar1->isVisible());
    QVERIFY(item->isEnabled());
    // The menu item hides it and remembers that.
    item->trigger();
    QVERIFY(!f.StatusBar1->isVisible());
    QVERIFY(!item->isChecked());
    QCOMPARE(h.setting("Settings", "StatusBar"), QStringLiteral("False"));
    f.action("mnu_view_big1")->trigger();
    QVERIFY(!f.StatusBar1->isVisible()); // re-read from the setting
    item->trigger();
    QVERIFY(f.StatusBar1->isVisible());
    QCOMPARE(h.setting("Settings", "StatusBar"), QStringLiteral("True"));
}

void TestDisplayModes::colours()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QCOMPARE(f.Text2->palette().color(QPalette::Base), QColor(Qt::black));
    QCOMPARE(f.Label3->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    f.action("mnu_view_font_hyojun")->trigger();
    QVERIFY(!f.modeReverse);
    QCOMPARE(h.setting("Settings", "Reverse"), QStringLiteral("False"));
    QCOMPARE(f.TextColor, f.palette().color(QPalette::Text));
    QCOMPARE(f.Text2->palette().color(QPalette::Base), f.palette().color(QPalette::Base));
    QCOMPARE(f.Label3->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    QVERIFY(f.action("mnu_view_font_hyojun")->isChecked());
    QVERIFY(!f.action("mnu_view_font_hanten")->isChecked());
    f.action("mnu_view_font_hanten")->trigger();
    QVERIFY(f.modeReverse);
    QCOMPARE(f.TextColor, QColor(Qt::white));
    QCOMPARE(h.setting("Settings", "Reverse"), QStringLiteral("True"));
}

void TestDisplayModes::emptyInputBoxStaysEmpty()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.action("mnu_view_font_hyojun")->trigger();
    QCOMPARE(f.Text1->toPlainText(), QString());
    QCOMPARE(f.Text2->toPlainText(), QString());
    // Text in the box takes the new colour.
    f.Text1->setPlainText(QStringLiteral("word"));
    f.action("mnu_view_font_hanten")->trigger();
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("word"));
    QTextCursor c(f.Text1->document());
    c.setPosition(2);
    QCOMPARE(c.charFormat().foreground().color(), QColor(Qt::white));
}

void TestDisplayModes::stillPictureDuringAChange()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QTRY_VERIFY(!f.Picture1->isVisible());
    // The change stands still behind the picture until the layout is done.
    ShowWatch watch(f.Picture1);
    f.action("mnu_view_big4")->trigger();
    QVERIFY(watch.shown > 0);
    QCOMPARE(f.Picture1->geometry(), f.centralWidget()->rect());
    QVERIFY(!f.Picture1->pixmap().isNull());
    QTRY_VERIFY(!f.Picture1->isVisible());
    // The input box grew with its font: 20 twips per point plus 10 pixels.
    QCOMPARE(f.Text1->height(), qRound(DisplayModes::inputFontSize(true, 4) * 20 / 15) + 10);
}

void TestDisplayModes::toolbarButton()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QToolButton *b = f.toolButton("拡大");
    b->click();
    QVERIFY(f.modeBigFont);
    QCOMPARE(f.modeFontSize, 1);
    for (int i = 2; i <= 7; ++i)
        b->click();
    QCOMPARE(f.modeFontSize, 7);
    b->click();
    QVERIFY(!f.modeBigFont);
    QCOMPARE(f.modeFontSize, 1);
    QCOMPARE(h.setting("Settings", "BigMode"), QStringLiteral("False"));
    const QList<QAction *> levels = b->menu()->actions();
    QCOMPARE(levels.size(), 8);
    QCOMPARE(levels.first()->text(), QStringLiteral("通常"));
    levels[6]->trigger();
    QVERIFY(f.modeBigFont);
    QCOMPARE(f.modeFontSize, 6);
    QCOMPARE(h.setting("Settings", "FontSize"), QStringLiteral("6"));
}

void TestDisplayModes::imeColours()
{
    const auto formats = [](RichTextBox *box) { return box->textCursor().block().layout()->formats(); };
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text1->setFocus();
    QTRY_COMPARE(h.focused(), f.Text1);
    QTextCharFormat typed;
    typed.setFontUnderline(true);
    QTextCharFormat target;
    target.setBackground(Qt::darkBlue);
    QList<QInputMethodEvent::Attribute> attributes{{QInputMethodEvent::TextFormat, 0, 2, typed},
                                                   {QInputMethodEvent::TextFormat, 2, 2, target}};
    QInputMethodEvent compose(QStringLiteral("かな漢字"), attributes);
    QCoreApplication::sendEvent(f.Text1, &compose);
    QList<QTextLayout::FormatRange> r = formats(f.Text1);
    QCOMPARE(r.size(), 2);
    // Reversed colours: yellow on black, underlined; the converted target black on cyan.
    QCOMPARE(r[0].format.foreground().color(), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(r[0].format.background().color(), QColor(Qt::black));
    QVERIFY(r[0].format.fontUnderline());
    QCOMPARE(r[1].format.foreground().color(), QColor(Qt::black));
    QCOMPARE(r[1].format.background().color(), QColor(0x00, 0xFF, 0xFF));
    QVERIFY(!r[1].format.fontUnderline());
    // Normal colours: blue on white for the text being typed; a target
    // still in kana white on blue.
    f.action("mnu_view_font_hyojun")->trigger();
    QList<QInputMethodEvent::Attribute> kana{{QInputMethodEvent::TextFormat, 0, 2, typed},
                                             {QInputMethodEvent::TextFormat, 2, 2, target}};
    QInputMethodEvent compose2(QStringLiteral("かなかな"), kana);
    QCoreApplication::sendEvent(f.Text1, &compose2);
    r = formats(f.Text1);
    QCOMPARE(r[0].format.foreground().color(), QColor(0x00, 0x00, 0xFF));
    QCOMPARE(r[0].format.background().color(), QColor(Qt::white));
    QCOMPARE(r[1].format.foreground().color(), QColor(Qt::white));
    QCOMPARE(r[1].format.background().color(), QColor(0x00, 0x00, 0xFF));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("かな"));
    QCoreApplication::sendEvent(f.Text1, &commit);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("かな"));
}

void TestDisplayModes::minimumSize()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    // 5,000 twips are 333 pixels at 96 dpi.
    f.resize(200, 500);
    QTRY_COMPARE(f.width(), 333);
    f.resize(500, 100);
    QTRY_COMPARE(f.height(), 333);
    QCOMPARE(f.width(), 500);
}

QTEST_MAIN(TestDisplayModes)
#include "test_displaymodes.moc"
