// The screen reader's own announcements: what it says when a control gets
// the focus, when the user moves the caret, types or changes a control, and
// for its reading commands; what keeps it quiet.

#include "orrin/announcer.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinvoice.h"
#include "orrin/orrnusr.h"
#include "orrin/transcript.h"
#include "orrin/transcriptvoice.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

class TestAnnouncer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void focus_data();
    void focus();
    void dialogTitleOnEntering();
    void messageBoxIsReadOnEntering();
    void changesByTheUser();
    void caretByReadingMode_data();
    void caretByReadingMode();
    void programMovesAreNotRead();
    void userMoveReadBeforeTheProgramMovesAgain();
    void typedCharacters();
    void selfVoicedControls();
    void lockAndVoiceBack();
    void commands_data();
    void commands();
    void menuItems();
    void menuBarTitles();
    void announcementInterrupts();

private:
    QStringList announced() const; // since the last mark()
    void mark();
    void focusOn(QWidget *w);

    QTemporaryDir dir_;
    QString path_;
    qsizetype seen_ = 0;
    std::unique_ptr<OrrinVoice> voice_;
    std::unique_ptr<OrrinEvents> events_;
    std::unique_ptr<Announcer> announcer_;
    std::unique_ptr<QDialog> dialog_;
    QCheckBox *check_ = nullptr;
    QPushButton *button_ = nullptr;
    QListWidget *list_ = nullptr;
    QComboBox *combo_ = nullptr;
    QSlider *slider_ = nullptr;
    QLineEdit *line_ = nullptr;
    QTextEdit *text_ = nullptr;
};

void TestAnnouncer::init()
{
    path_ = dir_.filePath(QStringLiteral("%1.txt").arg(QTest::currentTestFunction()));
    qputenv("WORDLAMP_SPEECH", QStringLiteral("transcript:%1@0").arg(path_).toUtf8());
    Transcript::resetShared();
    seen_ = 0;
    voice_ = OrrinVoice::create();
    QVERIFY(voice_);
    events_ = std::make_unique<OrrinEvents>();
    announcer_ = std::make_unique<Announcer>();

    dialog_ = std::make_unique<QDialog>();
    dialog_->setWindowTitle(QStringLiteral("検索オプション"));
    auto *layout = new QVBoxLayout(dialog_.get());
    check_ = new QCheckBox(QStringLiteral("英語のエンジンで読み上げる(&E)"));
    button_ = new QPushButton(QStringLiteral("設定"));
    list_ = new QListWidget;
    list_->setAccessibleName(QStringLiteral("音声エンジン"));
    list_->addItems({QStringLiteral("kal"), QStringLiteral("slt")});
    list_->setCurrentRow(0);
    combo_ = new QComboBox;
    combo_->setAccessibleName(QStringLiteral("音声スピード"));
    combo_->addItems({QStringLiteral("Speed 1"), QStringLiteral("Speed 2")});
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setAccessibleName(QStringLiteral("速さ"));
    slider_->setRange(1, 9);
    slider_->setValue(4);
    line_ = new QLineEdit;
    line_->setAccessibleName(QStringLiteral("辞書フォルダ"));
    text_ = new QTextEdit;
    text_->setAccessibleName(QStringLiteral("本文"));
    text_->setPlainText(QStringLiteral("one two three\nfour five"));
    for (QWidget *w : std::initializer_list<QWidget *>{check_, button_, list_, combo_, slider_, line_, text_})
        layout->addWidget(w);
    dialog_->resize(500, 500);
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    dialog_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    QTest::qWait(20);
    mark();
}

void TestAnnouncer::cleanup()
{
    dialog_.reset();
    announcer_.reset();
    events_.reset();
    voice_.reset();
    Transcript::resetShared();
}

QStringList TestAnnouncer::announced() const
{
    const QStringList all = testsupport::readLines(path_);
    QStringList out;
    for (qsizetype i = seen_; i < all.size(); ++i)
        if (all[i].startsWith(u"Announce\t"))
            out << all[i].section(u'\t', 1, 2);
    return out;
}

void TestAnnouncer::mark()
{
    seen_ = testsupport::readLines(path_).size();
}

void TestAnnouncer::focusOn(QWidget *w)
{
    w->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w);
    QTest::qWait(10);
}

void TestAnnouncer::focus_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("said");
    QTest::newRow("check box") << "check"
                               << "英語のエンジンで読み上げる チェックボックス チェックなし\t0";
    QTest::newRow("button") << "button"
                            << "設定 ボタン\t0";
    QTest::newRow("list") << "list"
                          << "音声エンジン リスト kal\t0";
    QTest::newRow("combo box") << "combo"
                               << "音声スピード コンボボックス Speed 1\t0";
    QTest::newRow("slider") << "slider"
                            << "速さ スライダー 4\t0";
    QTest::newRow("line box") << "line"
                              << "辞書フォルダ エディット\t0";
    QTest::newRow("text box reads its line") << "text"
                                             << "本文 エディット one two three\t0";
}

void TestAnnouncer::focus()
{
    QFETCH(QString, control);
    QFETCH(QString, said);
    QWidget *w = control == u"check"    ? static_cast<QWidget *>(check_)
                 : control == u"button" ? static_cast<QWidget *>(button_)
                 : control == u"list"   ? static_cast<QWidget *>(list_)
                 : control == u"combo"  ? static_cast<QWidget *>(combo_)
                 : control == u"slider" ? static_cast<QWidget *>(slider_)
                 : control == u"line"   ? static_cast<QWidget *>(line_)
                                        : static_cast<QWidget *>(text_);
    if (QApplication::focusWidget() == w) {
        button_->setFocus(); // start from somewhere else
        QTest::qWait(10);
    }
    mark();
    focusOn(w);
    QTRY_COMPARE(announced(), QStringList{said});
}

void TestAnnouncer::dialogTitleOnEntering()
{
    QDialog other;
    other.setWindowTitle(QStringLiteral("英語読みの音声"));
    auto *ok = new QPushButton(QStringLiteral("設定"), &other);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    ok->setFocus();
    QTRY_COMPARE(announced(), QStringList{"英語読みの音声 ダイアログ 設定 ボタン\t0"});
}

void TestAnnouncer::messageBoxIsReadOnEntering()
{
    // A message box says its title, its message and the focused button.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("辞書ファイルエラー"),
                    QStringLiteral("英和辞書がみつかりません"), QMessageBox::Ok);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.button(QMessageBox::Ok)->setFocus();
    QTRY_VERIFY(!announced().isEmpty());
    const QString said = announced().first();
    QVERIFY2(said.startsWith(QStringLiteral("辞書ファイルエラー ダイアログ 英和辞書がみつかりません ")),
             qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("ボタン")), qPrintable(said));
}

void TestAnnouncer::changesByTheUser()
{
    focusOn(check_);
    mark();
    QTest::keyClick(check_, Qt::Key_Space);
    QTRY_COMPARE(announced(), QStringList{"チェックあり\t0"});
    focusOn(list_);
    mark();
    QTest::keyClick(list_, Qt::Key_Down);
    QTRY_COMPARE(announced(), QStringList{"slt\t0"});
    focusOn(combo_);
    mark();
    QTest::keyClick(combo_, Qt::Key_Down);
    QTRY_COMPARE(announced(), QStringList{"Speed 2\t0"});
    focusOn(slider_);
    mark();
    QTest::keyClick(slider_, Qt::Key_Right);
    QTRY_COMPARE(announced(), QStringList{"5\t0"});
    // A key that changes nothing says nothing.
    mark();
    QTest::keyClick(slider_, Qt::Key_F5);
    QTest::qWait(50);
    QCOMPARE(announced(), QStringList());
}

void TestAnnouncer::caretByReadingMode_data()
{
    QTest::addColumn<int>("steps"); // times the reading mode is switched
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("said");
    QTest::newRow("character: right") << 0 << int(Qt::Key_Right) << 0 << "n\t1";
    QTest::newRow("character: word right") << 0 << int(Qt::Key_Right) << int(Qt::ControlModifier) << "two\t0";
    QTest::newRow("character: down reads the line") << 0 << int(Qt::Key_Down) << 0 << "four five\t0";
    QTest::newRow("character: selecting reads what was passed")
        << 0 << int(Qt::Key_Right) << int(Qt::ShiftModifier) << "o\t1";
    QTest::newRow("word: right") << 1 << int(Qt::Key_Right) << 0 << "one\t0";
    QTest::newRow("line: right") << 2 << int(Qt::Key_Right) << 0 << "one two three\t0";
    QTest::newRow("back to character") << 3 << int(Qt::Key_Right) << 0 << "n\t1";
}

void TestAnnouncer::caretByReadingMode()
{
    QFETCH(int, steps);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, said);
    focusOn(text_);
    QTextCursor c = text_->textCursor();
    c.setPosition(0);
    text_->setTextCursor(c);
    const QStringList names{"単語単位", "行単位", "文字単位"};
    for (int i = 0; i < steps; ++i) {
        mark();
        ORRNSETSTATUS(OrrnStatusItem, OrrnCursorReadNext, 1);
        QCOMPARE(announced(), QStringList{names[i % 3] + "\t0"});
    }
    mark();
    QTest::keyClick(text_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(announced(), QStringList{said});
}

void TestAnnouncer::programMovesAreNotRead()
{
    focusOn(text_);
    mark();
    QTextCursor c = text_->textCursor();
    c.setPosition(5);
    c.setPosition(8, QTextCursor::KeepAnchor);
    text_->setTextCursor(c);
    text_->append(QStringLiteral("six"));
    QTest::qWait(60);
    QCOMPARE(announced(), QStringList());
}

void TestAnnouncer::userMoveReadBeforeTheProgramMovesAgain()
{
    // A key handler that lets events run while the program moves the caret
    // after the user's move (a reading that is stopped by the key puts the
    // caret back at the end of its chunk): what is read is where the user
    // went, and the program's move is not read.
    focusOn(text_);
    QTextCursor c = text_->textCursor();
    c.setPosition(0);
    text_->setTextCursor(c);
    mark();
    bool moved = false;
    connect(text_, &QTextEdit::cursorPositionChanged, this, [&] {
        if (moved)
            return;
        moved = true;
        QTimer::singleShot(0, text_, [this] {
            QTextCursor back = text_->textCursor();
            back.setPosition(4);
            text_->setTextCursor(back);
        });
    });
    QTest::keyClick(text_, Qt::Key_Down);
    QTest::qWait(60);
    QCOMPARE(announced(), QStringList{"four five\t0"});
    QCOMPARE(text_->textCursor().position(), 4);
}

void TestAnnouncer::typedCharacters()
{
    focusOn(line_);
    mark();
    QTest::keyClick(line_, Qt::Key_A);
    QTRY_COMPARE(announced(), QStringList{"a\t1"});
    mark();
    QInputMethodEvent preedit(QStringLiteral("かんじ"), {});
    QApplication::sendEvent(line_, &preedit);
    QTest::qWait(40);
    QCOMPARE(announced(), QStringList()); // a composition is not read
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("漢字"));
    QApplication::sendEvent(line_, &commit);
    QTRY_COMPARE(announced(), QStringList{"漢字\t0"});
    QCOMPARE(line_->text(), QStringLiteral("a漢字"));

    // What Backspace and Delete take away is said.
    mark();
    QTest::keyClick(line_, Qt::Key_Backspace);
    QTRY_COMPARE(announced(), QStringList{"字\t1"});
    mark();
    QTest::keyClick(line_, Qt::Key_Home);
    QTRY_COMPARE(announced().size(), 1);
    mark();
    QTest::keyClick(line_, Qt::Key_Delete);
    QTRY_COMPARE(announced(), QStringList{"a\t1"});
    QCOMPARE(line_->text(), QStringLiteral("漢"));
}

void TestAnnouncer::selfVoicedControls()
{
    Announcer::setSpeaksForItself(text_);
    focusOn(text_);
    QTest::qWait(20);
    QCOMPARE(announced(), QStringList());
    // The caret is still read: that is the screen reader's work.
    QTest::keyClick(text_, Qt::Key_End);
    QTRY_COMPARE(announced(), QStringList{"\\n\t1"}); // the line end
    mark();
    QTest::keyClick(text_, Qt::Key_End, Qt::ControlModifier);
    QTRY_COMPARE(announced(), QStringList{" \t1"}); // the end of the text
}

void TestAnnouncer::lockAndVoiceBack()
{
    voice_->LockSpeech();
    focusOn(button_);
    focusOn(check_);
    QTest::keyClick(check_, Qt::Key_Space);
    QTest::qWait(50);
    QCOMPARE(announced(), QStringList());
    voice_->UnlockSpeech();
    // A handler that stops focus announcements (3) but lets the rest through.
    QList<int> kinds;
    connect(events_.get(), &OrrinEvents::VoiceBack, this, [&kinds](qint32 info, int &exec) {
        kinds << info;
        if (info == Announcer::VoiceFocus)
            exec = 0;
    });
    focusOn(button_);
    focusOn(check_);
    QTest::keyClick(check_, Qt::Key_Space);
    QTRY_COMPARE(announced(), QStringList{"チェックなし\t0"});
    QCOMPARE(kinds, (QList<int>{3, 3, 1}));
    // The announcer can be switched off (at shutdown).
    announcer_->setEnabled(false);
    mark();
    focusOn(button_);
    QTest::qWait(20);
    QCOMPARE(announced(), QStringList());
}

void TestAnnouncer::commands_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("said");
    QTest::newRow("line") << "text"
                          << "ReadCurLine"
                          << "four five\t0";
    QTest::newRow("at the cursor") << "text"
                                   << "ReadCurPos"
                                   << "f\t1";
    QTest::newRow("input state") << "text"
                                 << "ReadInputSts"
                                 << "本文 挿入\t0";
    QTest::newRow("line of a line box") << "line"
                                        << "ReadCurLine"
                                        << "C:/dic\t0";
    QTest::newRow("selection at the cursor") << "line"
                                             << "ReadCurPos"
                                             << "dic\t0";
    QTest::newRow("input state of a read-only box") << "line"
                                                    << "ReadInputSts"
                                                    << "辞書フォルダ 読み取り専用\t0";
    QTest::newRow("a button's line") << "button"
                                     << "ReadCurLine"
                                     << "設定 ボタン\t0";
    QTest::newRow("unknown command") << "text"
                                     << "Nothing"
                                     << "";
}

void TestAnnouncer::commands()
{
    QFETCH(QString, control);
    QFETCH(QString, command);
    QFETCH(QString, said);
    QTextCursor c = text_->textCursor();
    c.setPosition(14);
    text_->setTextCursor(c);
    line_->setText(QStringLiteral("C:/dic"));
    line_->setSelection(3, 3);
    line_->setReadOnly(true);
    focusOn(control == u"text"   ? static_cast<QWidget *>(text_)
            : control == u"line" ? static_cast<QWidget *>(line_)
                                 : static_cast<QWidget *>(button_));
    mark();
    ORRNCOMMAND(command, 1, 1);
    QCOMPARE(announced(), said.isEmpty() ? QStringList() : QStringList{said});
}

void TestAnnouncer::menuItems()
{
    QMenu menu;
    menu.addAction(QStringLiteral("開く(&O)"));
    menu.addAction(QStringLiteral("拡大3(&3)")); // the key is said once
    menu.addSeparator();
    QAction *off = menu.addAction(QStringLiteral("閉じる(&C)"));
    off->setEnabled(false);
    QAction *checked = menu.addAction(QStringLiteral("拡大(&B)"));
    checked->setCheckable(true);
    checked->setChecked(true);
    menu.popup(QPoint(10, 10));
    QTRY_VERIFY(menu.isVisible());
    mark();
    // Whether a disabled item can be selected depends on the style.
    const QStringList said{"開く メニュー項目\t0", "拡大3 メニュー項目\t0", "", "閉じる メニュー項目 使用不可\t0",
                           "拡大 メニュー項目 チェックあり\t0"};
    QStringList expected;
    for (int i = 0; i < menu.actions().size(); ++i) {
        menu.setActiveAction(menu.actions()[i]);
        if (menu.activeAction() == menu.actions()[i] && !said[i].isEmpty())
            expected << said[i];
    }
    QVERIFY(expected.contains(said.last()));
    QTRY_COMPARE(announced(), expected);
    menu.hide();
}

// A menu opened with Alt and its letter: its first item is said, or its
// title when every item is greyed; Escape leaves the keys in the menu bar,
// and its title is said. (Walking the menu bar needs a window manager; the
// offscreen platform keeps no window active after a popup.)
void TestAnnouncer::menuBarTitles()
{
    QMainWindow window;
    auto *edit = new QLineEdit;
    edit->setAccessibleName(QStringLiteral("読みかたの入力"));
    window.setCentralWidget(edit);
    QMenu *editMenu = window.menuBar()->addMenu(QStringLiteral("編集(&E)"));
    editMenu->addAction(QStringLiteral("コピー(&C)"));
    QMenu *viewMenu = window.menuBar()->addMenu(QStringLiteral("表示(&V)"));
    viewMenu->addAction(QStringLiteral("拡大(&B)"))->setEnabled(false);
    for (QMenu *menu : {editMenu, viewMenu}) {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        QTest::qWait(50);
        mark();
        QTest::keyClick(edit, menu == editMenu ? Qt::Key_E : Qt::Key_V, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        const QString title = menu == editMenu ? QStringLiteral("編集") : QStringLiteral("表示");
        QTRY_COMPARE(announced(), QStringList{menu == editMenu ? QStringLiteral("コピー メニュー項目\t0")
                                                               : title + QStringLiteral(" メニュー項目\t0")});
        mark();
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QTRY_COMPARE(announced(), QStringList{title + QStringLiteral(" メニュー項目\t0")});
        QTest::keyClick(window.menuBar(), Qt::Key_Escape);
    }
}

void TestAnnouncer::announcementInterrupts()
{
    auto *voice = static_cast<TranscriptVoice *>(voice_.get());
    voice->setMsPerChar(1000);
    voice->Speak(QStringLiteral("a long text"), 0);
    QVERIFY(voice->IsSpeaking());
    voice->setMsPerChar(0);
    voice->announce(QStringLiteral("ボタン"), 0);
    QVERIFY(!voice->IsSpeaking()); // cut short, and the announcement takes no time
}

QTEST_MAIN(TestAnnouncer)
#include "test_announcer.moc"
