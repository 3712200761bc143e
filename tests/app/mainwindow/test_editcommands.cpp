// The edit commands and the searches of the selection and the clipboard:
// what each leaves on the clipboard and in the panes, and what is heard;
// the two-step range commands walked by keyboard and by mouse.

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "form/messagebox.h"
#include "form/richtextbox.h"
#include "mainwindow/editcommands.h"
#include "mainwindow/mainwindow.h"
#include "orrin/transcript.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolBar>

namespace {
const QString dictionary = QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow");
const QString entry = QStringLiteral("apple\nりんご");
const QString big(1 << 20, u'w');
const QString bigWords = QStringLiteral("word ").repeated((1 << 20) / 5);
const QString marker = QString(QChar(codepage::SpeechEndMarker));

WindowHarness::Options withDictionary()
{
    WindowHarness::Options o;
    o.dictionaryFolder = dictionary;
    return o;
}

// "text:..." (plain text), "html:..." (formatted, with its plain text),
// "image" (an image only), "empty", "1MB" (a megabyte of text: one word, or
// "1MBwords").
void setClipboard(const QString &content)
{
    auto *data = new QMimeData;
    if (content.startsWith(u"text:")) {
        data->setText(content.mid(5));
    } else if (content.startsWith(u"html:")) {
        data->setHtml(QStringLiteral("<b>%1</b>").arg(content.mid(5)));
        data->setText(content.mid(5));
    } else if (content == u"image") {
        data->setImageData(QImage(8, 8, QImage::Format_RGB32));
    } else if (content == u"1MB") {
        data->setText(big);
    } else if (content == u"1MBwords") {
        data->setText(bigWords);
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QString expand(const QString &text)
{
    return text == u"1MB" ? big : text == u"1MBwords" ? bigWords : text;
}

// What was heard: the spoken texts, and the screen reader's signals as
// "Signal value code flag".
QStringList heard(const WindowHarness &h)
{
    QStringList out;
    for (const QString &line : h.transcript()) {
        if (line.startsWith(u"Speak\t"))
            out << Transcript::unescape(line.section(u'\t', 1, 1));
        else if (line.startsWith(u"Signal\t"))
            out << line.split(u'\t').join(u' ');
    }
    return out;
}

void focus(WindowHarness &h, QWidget *w)
{
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    w->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return h.focused() == w; }));
}

void select(QTextEdit *edit, int start, int length)
{
    QTextCursor c = edit->textCursor();
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
}

// The window's lock while a range command waits.
bool locked(MainForm &f)
{
    return f.QevSelMode && !f.Text1->isEnabled() && !f.Toolbar1->isEnabled() &&
           !f.menu("mnu_edit")->menuAction()->isEnabled() && !f.menu("mnu_file")->menuAction()->isEnabled();
}
bool unlocked(MainForm &f)
{
    return !f.QevSelMode && f.Text1->isEnabled() && f.Toolbar1->isEnabled() &&
           f.menu("mnu_edit")->menuAction()->isEnabled() && f.menu("mnu_file")->menuAction()->isEnabled();
}

QPoint pointOf(RichTextBox *pane, int position)
{
    QTextCursor c = pane->textCursor();
    c.setPosition(position);
    return pane->cursorRect(c).center();
}
} // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void keyboardRangeCommands();
    void mouseRangeCommands();
};

void TestEditCommands::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("pane"); // the active pane: "input" or "result"
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("selStart"); // in the active pane
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("flags");       // "typed" Ctrl+V, "busy" lookup, "cancel" the confirmation
    QTest::addColumn<QString>("itemEnabled"); // the command's item once its menu opens: "on", "off", "" unchecked
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QString>("inputAfter");
    QTest::addColumn<QString>("resultAfter");    // "entry:WORD": the entry of WORD looked up
    QTest::addColumn<QStringList>("heardAfter"); // exact; the start of it after a lookup
    QTest::addColumn<QString>("stateAfter");     // "range" (a range command waits), "input" (focus there)

    const QString old = QStringLiteral("text:old");
    const auto row = [](const char *name) { return &QTest::newRow(name); };
    using L = QStringList;
    // clang-format off
    *row("copy, input box selection")      << "copy" << "input" << "apple pie" << entry << 0 << 5 << old << "" << "on" << "apple" << "apple pie" << entry << L{"コピー"} << "";
    *row("copy, result selection")         << "copy" << "result" << "" << entry << 6 << 3 << old << "" << "on" << "りんご" << "" << entry << L{"コピー"} << "";
    *row("copy, across a line break")      << "copy" << "result" << "" << entry << 3 << 5 << old << "" << "" << "le\nりん" << "" << entry << L{"コピー"} << "";
    *row("copy, nothing selected")         << "copy" << "result" << "" << entry << 2 << 0 << old << "" << "" << "old" << "" << entry << L{"コピー どこから"} << "range";
    *row("copy, only spaces selected")     << "copy" << "result" << "" << "a   b" << 1 << 3 << old << "" << "" << "old" << "" << "a   b" << L{"コピー どこから"} << "range";
    *row("copy, lookup running")           << "copy" << "result" << "" << entry << 2 << 0 << old << "busy" << "" << "old" << "" << entry << L{"Signal 10 1 0"} << "";
    *row("cut, input box selection")       << "cut" << "input" << "apple pie" << entry << 5 << 4 << old << "" << "on" << " pie" << "apple" << entry << L{} << "";
    *row("cut, nothing selected")          << "cut" << "input" << "apple" << entry << 5 << 0 << old << "" << "off" << "old" << "apple" << entry << L{} << "";
    *row("cut, result pane")               << "cut" << "result" << "" << entry << 0 << 5 << old << "" << "off" << "old" << "" << entry << L{} << "";
    *row("paste, input box")               << "paste" << "input" << "ab" << entry << 1 << 0 << "text:XY" << "" << "on" << "XY" << "aXYb" << entry << L{"貼り付け"} << "";
    *row("paste over a selection")         << "paste" << "input" << "abc" << entry << 0 << 2 << "text:Z" << "" << "on" << "Z" << "Zc" << entry << L{"貼り付け"} << "";
    *row("paste, formatted text")          << "paste" << "input" << "" << entry << 0 << 0 << "html:bold" << "" << "on" << "bold" << "bold" << entry << L{"貼り付け"} << "";
    *row("paste, 1 MB")                    << "paste" << "input" << "" << entry << 0 << 0 << "1MB" << "" << "on" << "1MB" << "1MB" << entry << L{"貼り付け"} << "";
    *row("paste, image only")              << "paste" << "input" << "ab" << entry << 2 << 0 << "image" << "" << "off" << "" << "ab" << entry << L{"Signal 100 3 0"} << "";
    *row("paste, empty clipboard")         << "paste" << "input" << "ab" << entry << 2 << 0 << "empty" << "" << "off" << "" << "ab" << entry << L{"Signal 100 3 0"} << "";
    *row("paste, after a typed Ctrl+V")    << "paste" << "input" << "ab" << entry << 2 << 0 << "text:XY" << "typed" << "" << "XY" << "ab" << entry << L{} << "";
    *row("paste into the result, OK")      << "paste" << "result" << "" << entry << 0 << 0 << "text:new" << "" << "on" << "new" << "" << "new" << L{"貼り付け"} << "";
    *row("paste into the result, Cancel")  << "paste" << "result" << "" << entry << 0 << 0 << "text:new" << "cancel" << "" << "new" << "" << entry << L{"貼り付け"} << "";
    *row("paste into the result, 1 MB")    << "paste" << "result" << "" << entry << 0 << 0 << "1MBwords" << "" << "" << "1MBwords" << "" << "1MBwords" << L{"貼り付け"} << "";
    *row("paste into the result, busy")    << "paste" << "result" << "" << entry << 0 << 0 << "text:new" << "busy" << "" << "new" << "" << entry << L{"Signal 10 1 0"} << "";
    *row("clear")                          << "clear" << "input" << "apple" << entry << 0 << 0 << old << "" << "on" << "old" << "" << entry << L{} << "";
    *row("clear, empty box")               << "clear" << "input" << "" << entry << 0 << 0 << old << "" << "off" << "old" << "" << entry << L{} << "";
    *row("copy all")                       << "allcopy" << "result" << "" << entry << 0 << 0 << old << "" << "on" << entry << "" << entry << L{} << "";
    *row("copy all, from the input box")   << "allcopy" << "input" << "ab" << entry << 0 << 0 << old << "" << "off" << entry << "ab" << entry << L{} << "";
    *row("copy all, empty result")         << "allcopy" << "result" << "" << "" << 0 << 0 << old << "" << "off" << "old" << "" << "" << L{} << "";
    *row("search the selection")           << "select" << "result" << "" << entry << 0 << 5 << old << "" << "on" << "old" << "" << "entry:apple" << L{} << "";
    *row("search, nothing selected")       << "select" << "result" << "" << entry << 3 << 0 << old << "" << "on" << "old" << "" << entry << L{"範囲検索 どこから"} << "range";
    *row("search, input box active")       << "select" << "input" << "apple" << entry << 0 << 5 << old << "" << "off" << "old" << "apple" << entry << L{} << "";
    *row("search, empty result")           << "select" << "result" << "" << " \n " << 0 << 0 << old << "" << "off" << "old" << "" << " \n " << L{"範囲検索 どこから"} << "range";
    *row("search the clipboard")           << "clip" << "input" << "" << entry << 0 << 0 << "text:apple" << "" << "on" << "apple" << "" << "entry:apple" << L{} << "";
    *row("search, clipboard of spaces")    << "clip" << "input" << "x" << entry << 0 << 0 << "text:   " << "" << "on" << "   " << "   " << entry << L{"Signal 100 3 0"} << "";
    *row("search, clipboard image")        << "clip" << "input" << "x" << entry << 0 << 0 << "image" << "" << "off" << "" << "" << entry << L{"Signal 100 3 0"} << "";
    *row("search, clipboard 1 MB")         << "clip" << "input" << "" << entry << 0 << 0 << "1MB" << "" << "on" << "1MB" << "" << entry << L{"wwwwwwwwwwwwwwww…は見つかりませんでした"} << "";
    *row("search, lookup running")         << "clip" << "input" << "" << entry << 0 << 0 << "text:apple" << "busy" << "" << "apple" << "apple" << entry << L{"Signal 10 1 0"} << "";
    *row("type a reading")                 << "yomi" << "result" << "ab" << entry << 0 << 0 << old << "" << "" << "old" << "ab" << entry << L{"読みかたの入力" + marker} << "input";
    // clang-format on
}

void TestEditCommands::commands()
{
    QFETCH(QString, command);
    QFETCH(QString, pane);
    QFETCH(QString, input);
    QFETCH(QString, result);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, clipboard);
    QFETCH(QString, flags);
    QFETCH(QString, itemEnabled);
    QFETCH(QString, clipboardAfter);
    QFETCH(QString, inputAfter);
    QFETCH(QString, resultAfter);
    QFETCH(QStringList, heardAfter);
    QFETCH(QString, stateAfter);

    // The clipboard as it is when the window gets the focus.
    setClipboard(clipboard);
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    EditCommands &edit = h.window().editCommands();
    QList<MessageRecord> asked;
    setMessageHandler([&](const MessageRecord &m) {
        asked << m;
        return flags == u"cancel" ? QMessageBox::Cancel : QMessageBox::Ok;
    });
    f.Text1->setPlainText(input);
    f.Text2->setPlainText(result);
    RichTextBox *active = pane == u"input" ? f.Text1 : f.Text2;
    focus(h, active);
    select(active, selStart, selLength);

    const bool fileMenu = command == u"select" || command == u"clip";
    if (fileMenu)
        edit.mnu_file_Click();
    else
        edit.mnu_edit_Click();
    const QString item = (fileMenu ? QStringLiteral("mnu_file_") : QStringLiteral("mnu_edit_")) + command;
    if (!itemEnabled.isEmpty())
        QCOMPARE(f.action(item)->isEnabled(), itemEnabled == u"on");

    f.PasteTyped = flags == u"typed";
    f.KensakuEnable = flags == u"busy";
    h.markTranscript();
    const QHash<QString, void (EditCommands::*)()> handlers{
        {"cut", &EditCommands::mnu_edit_cut_Click},         {"copy", &EditCommands::mnu_edit_copy_Click},
        {"paste", &EditCommands::mnu_edit_paste_Click},     {"clear", &EditCommands::mnu_edit_clear_Click},
        {"allcopy", &EditCommands::mnu_edit_allcopy_Click}, {"select", &EditCommands::mnu_file_select_Click},
        {"clip", &EditCommands::mnu_file_clip_Click},       {"yomi", &EditCommands::mnu_file_yomi_Click}};
    (edit.*handlers.value(command))();
    f.KensakuEnable = false;

    QCOMPARE(clipboardText(), expand(clipboardAfter));
    QCOMPARE(f.Text1->toPlainText(), expand(inputAfter));
    const QStringList said = heard(h);
    if (resultAfter.startsWith(u"entry:")) {
        const QString word = resultAfter.mid(6);
        QCOMPARE(f.Text2->toPlainText().section(u'\n', 0, 0), word + u' ');
        QCOMPARE(f.RirekiList.last(), word);
        QCOMPARE(said.mid(0, heardAfter.size()), heardAfter);
    } else {
        QCOMPARE(f.Text2->toPlainText(), expand(resultAfter));
        if (stateAfter == u"input")
            QCOMPARE(said.mid(0, heardAfter.size()), heardAfter);
        else
            QCOMPARE(said, heardAfter);
    }
    QVERIFY(!f.PasteTyped);
    // The result pane is overwritten only after the user agreed.
    const bool confirmed = command == u"paste" && pane == u"result" && flags != u"busy";
    QCOMPARE(asked.size(), confirmed ? 1 : 0);
    if (confirmed) {
        QCOMPARE(asked[0].title, QStringLiteral("検索結果への貼り付け"));
        QCOMPARE(asked[0].text, QStringLiteral("クリップボードの内容を強制的に貼り付けますか?"));
        QCOMPARE(asked[0].icon, QMessageBox::Warning);
    }
    QCOMPARE(locked(f), stateAfter == u"range");
    if (stateAfter == u"range")
        QCOMPARE(f.LabelTips->text(), heardAfter.first() + u'？');
    else
        QVERIFY(unlocked(f));
    if (stateAfter == u"input")
        QTRY_COMPARE(h.focused(), f.Text1);
}

void TestEditCommands::keyboardRangeCommands()
{
    setClipboard(QStringLiteral("text:old"));
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text2->setPlainText(QStringLiteral("apple\nりんご"));

    // Ctrl+V typed in the input box pastes once, and the menu's paste after
    // it pastes again; in the result pane it pastes nothing and asks nothing.
    int asked = 0;
    setMessageHandler([&asked](const MessageRecord &) {
        ++asked;
        return QMessageBox::Ok;
    });
    focus(h, f.Text1);
    h.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("old"));
    f.action("mnu_edit_paste")->trigger();
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("oldold"));
    focus(h, f.Text2);
    h.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("apple\nりんご"));
    QCOMPARE(asked, 0);
    QVERIFY(!f.PasteTyped);
    select(f.Text2, 0, 0);

    // Ctrl+C with nothing selected asks where the copy starts; the rest of
    // the window is locked meanwhile.
    h.markTranscript();
    h.key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(heard(h), QStringList{"コピー どこから"});
    QVERIFY(locked(f));
    h.key(Qt::Key_A, Qt::ControlModifier); // copy-all is locked out
    QCOMPARE(clipboardText(), QStringLiteral("old"));

    // Enter marks the start and selects its character.
    h.markTranscript();
    h.key(Qt::Key_Return);
    QCOMPARE(f.QevSelCount, 1);
    QVERIFY(f.RangeSelecting);
    QCOMPARE(f.Text2->textCursor().selectedText(), QStringLiteral("a"));
    QCOMPARE(f.LabelTips->text(), QStringLiteral("コピー どこまで？"));
    QVERIFY(h.transcript().contains(QStringLiteral("ORRNCOMMAND\tReadCurPos\t1\t1")));
    QCOMPARE(heard(h), QStringList{"から どこまで"});

    // The arrows grow the selection; their releases only stop speech.
    for (int i = 0; i < 4; ++i)
        h.key(Qt::Key_Right);
    QTRY_COMPARE(f.Text2->textCursor().selectedText(), QStringLiteral("apple"));
    h.markTranscript();
    h.key(Qt::Key_Left);
    h.key(Qt::Key_Right);
    QTRY_COMPARE(f.Text2->textCursor().selectedText(), QStringLiteral("apple"));
    QVERIFY(h.transcript().count(QStringLiteral("StopSpeech")) >= 2);

    // The second Enter copies the five characters.
    h.markTranscript();
    h.key(Qt::Key_Return);
    QCOMPARE(clipboardText(), QStringLiteral("apple"));
    QCOMPARE(heard(h), QStringList{"コピー"});
    QCOMPARE(f.LabelTips->text(), QStringLiteral("コピーしました"));
    QCOMPARE(f.QevSelStart, 0);
    QVERIFY(unlocked(f));
    QVERIFY(!f.RangeSelecting);
    QVERIFY(!f.Text2->textCursor().hasSelection());
    h.key(Qt::Key_Right); // the arrows move again
    QVERIFY(!f.Text2->textCursor().hasSelection());

    // Esc after the start point cancels; the clipboard is left alone.
    setClipboard(QStringLiteral("text:old"));
    h.key(Qt::Key_C, Qt::ControlModifier);
    h.key(Qt::Key_Return);
    h.key(Qt::Key_Right);
    QTRY_COMPARE(f.Text2->textCursor().selectedText(), QStringLiteral("pp"));
    h.markTranscript();
    h.key(Qt::Key_Escape);
    QCOMPARE(heard(h), QStringList{"パス コピー 中止"});
    QCOMPARE(f.LabelTips->text(), QStringLiteral("コピー 中止"));
    QVERIFY(unlocked(f));
    QVERIFY(!f.RangeSelecting);
    QVERIFY(!f.Text2->textCursor().hasSelection());
    QCOMPARE(clipboardText(), QStringLiteral("old"));

    // A range that ends where it started holds nothing: the command ends
    // with the nothing-there signal and the clipboard keeps its text.
    h.key(Qt::Key_C, Qt::ControlModifier);
    h.key(Qt::Key_Return);
    h.key(Qt::Key_Left, Qt::ShiftModifier);
    QTRY_VERIFY(!f.Text2->textCursor().hasSelection());
    h.markTranscript();
    h.key(Qt::Key_Return);
    QCOMPARE(heard(h), QStringList{"Signal 100 3 0"});
    QVERIFY(unlocked(f));
    QCOMPARE(clipboardText(), QStringLiteral("old"));

    // A range search chosen backwards, from the end of the word to its
    // start, looks the word up.
    select(f.Text2, 5, 0);
    h.window().editCommands().mnu_file_select_Click();
    h.key(Qt::Key_Return);
    for (int i = 0; i < 6; ++i)
        h.key(Qt::Key_Left);
    QTRY_COMPARE(f.Text2->textCursor().selectedText(), QStringLiteral("apple"));
    h.key(Qt::Key_Return);
    QCOMPARE(f.QevSelStart, 0);
    QCOMPARE(f.QevSelEnd, 5);
    QCOMPARE(f.RirekiList, QStringList{"apple"});
    QCOMPARE(f.Text2->toPlainText().section(u'\n', 0, 0), QStringLiteral("apple "));
    QVERIFY(unlocked(f));
}

void TestEditCommands::mouseRangeCommands()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    setClipboard(QStringLiteral("text:old"));
    h.lookUp(QStringLiteral("apple"));
    QTRY_COMPARE(h.focused(), f.Text2);
    const QString text = f.Text2->toPlainText();
    const int start = int(text.indexOf(QStringLiteral("りんご")));
    QWidget *viewport = f.Text2->viewport();

    // A search by mouse: the pointer shows the wait, a click alone leaves
    // the command waiting, a drag over a word looks it up.
    select(f.Text2, 0, 0);
    h.window().editCommands().mnu_file_select_Click();
    QVERIFY(locked(f));
    QTest::mouseMove(viewport, pointOf(f.Text2, start));
    QCOMPARE(viewport->cursor().shape(), Qt::BusyCursor);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, pointOf(f.Text2, start));
    QVERIFY(locked(f));
    QTest::mousePress(viewport, Qt::LeftButton, {}, pointOf(f.Text2, start));
    QTest::mouseMove(viewport, pointOf(f.Text2, start + 3));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointOf(f.Text2, start + 3));
    QVERIFY(unlocked(f));
    QCOMPARE(f.RirekiList.last(), QStringLiteral("りんご"));
    QCOMPARE(f.Text2->toPlainText().section(u'\n', 0, 0), QStringLiteral("りんご "));
    QVERIFY(!f.Text2->textCursor().hasSelection());

    // A copy by mouse, after the keyboard's start point: the drag ends the
    // keyboard selection too.
    focus(h, f.Text2);
    select(f.Text2, 0, 0);
    h.key(Qt::Key_C, Qt::ControlModifier);
    h.key(Qt::Key_Return);
    QVERIFY(f.RangeSelecting);
    QTest::mousePress(viewport, Qt::LeftButton, {}, pointOf(f.Text2, 0));
    QTest::mouseMove(viewport, pointOf(f.Text2, 3));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointOf(f.Text2, 3));
    QCOMPARE(clipboardText(), QStringLiteral("りんご"));
    QCOMPARE(f.LabelTips->text(), QStringLiteral("マウス選択範囲をコピーしました"));
    QVERIFY(unlocked(f));
    QVERIFY(!f.RangeSelecting);
    QTest::mouseMove(viewport, pointOf(f.Text2, 1));
    QCOMPARE(viewport->cursor().shape(), Qt::IBeamCursor);
}

QTEST_MAIN(TestEditCommands)
#include "test_editcommands.moc"
