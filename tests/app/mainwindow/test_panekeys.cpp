// Keys, focus and mouse in the panes: the input box, the result pane (read
// only), the pop-up history list, the window-level keys, the quick guides
// and the labels.

#include "codepage/codepage.h"
#include "englishvoice/transcriptenglishvoice.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/history.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/quickguide.h"
#include "mainwindow/tips.h"
#include "speech/speech.h"
#include "speech/speechlayer.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {
const QString marker = QString(QChar(codepage::SpeechEndMarker));

// Closes the next quick guide with `key` once it is up, and keeps its text.
struct GuideCloser {
    QString text;
    bool seen = false;
    bool whole = false; // the text shows whole, without scrolling
    explicit GuideCloser(Qt::Key key = Qt::Key_Escape)
    {
        QTimer::singleShot(50, [this, key] { close(key); });
    }
    void close(Qt::Key key)
    {
        QWidget *guide = QApplication::activeModalWidget();
        if (!guide) {
            QTimer::singleShot(20, [this, key] { close(key); });
            return;
        }
        seen = true;
        const auto *box = guide->findChild<QPlainTextEdit *>();
        text = box->toPlainText();
        whole = box->verticalScrollBar()->maximum() == 0 && box->horizontalScrollBar()->maximum() == 0;
        QTest::keyClick(guide->focusWidget() ? guide->focusWidget() : guide, key);
    }
};

void focus(WindowHarness &h, QWidget *w)
{
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    w->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return h.focused() == w; }));
}

void placeCaret(QTextEdit *edit, int position)
{
    QTextCursor c = edit->textCursor();
    c.setPosition(position);
    edit->setTextCursor(c);
}
} // namespace

class TestPaneKeys : public QObject {
    Q_OBJECT
private slots:
    void inputBoxFocusGuidance();
    void inputBoxKeys();
    void inputBoxQuickGuide();
    void escapeClearsTheInputBox();
    void historyListEmpty();
    void historyListWords();
    void historyListKeys();
    void resultPaneFocusGuidance();
    void resultPaneIsReadOnly();
    void resultPaneEdges();
    void resultPaneEscape();
    void resultPaneQuickGuide();
    void rangeSelectionGrows();
    void windowLevelKeys();
    void altAloneLeavesTheEnglishVoice();
    void labels();
    void tips();
    void keysOfAnInactiveWindowRunOnce();
    void keysThatMustNotEndTheProgram_data();
    void keysThatMustNotEndTheProgram();
};

void TestPaneKeys::inputBoxFocusGuidance()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text2);
    f.Text1->setPlainText(QStringLiteral("ab"));
    h.markTranscript();
    focus(h, f.Text1);
    QVERIFY(f.Text1Enable);
    QCOMPARE(f.statusText(), QStringLiteral("検索語を入力してください　(*:前方一致検索)"));
    QCOMPARE(f.Label1->palette().color(QPalette::Window), f.palette().color(QPalette::Highlight));
    // The box's name, then the character at the caret (a space at the end).
    const QStringList t = h.transcript();
    QVERIFY(t.contains(QStringLiteral("Speak\t読みかたの入力\\m\t0\t0")));
    const qsizetype at = t.indexOf(QStringLiteral("Speak\t読みかたの入力\\m\t0\t0"));
    QVERIFY(t.mid(at).contains(QStringLiteral("Speak\ta\t1\t0")) ||
            t.mid(at).contains(QStringLiteral("Speak\t \t1\t0")));
    // Moved there by the program: silent.
    focus(h, f.Text2);
    h.markTranscript();
    f.QuietFocus = true;
    focus(h, f.Text1);
    QVERIFY(!h.spoken().contains(QStringLiteral("読みかたの入力") + marker));
    QVERIFY(!f.QuietFocus);
    focus(h, f.Text2);
    QCOMPARE(f.Label1->palette().color(QPalette::Window), f.palette().color(QPalette::Button));
}

void TestPaneKeys::inputBoxKeys()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text1);
    h.type(QStringLiteral("word"));
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("word"));
    placeCaret(f.Text1, 0);
    h.key(Qt::Key_Left); // at the start: swallowed
    h.key(Qt::Key_Up);
    h.key(Qt::Key_Insert);
    h.key(Qt::Key_Right);
    QCOMPARE(f.Text1->textCursor().position(), 1);
    h.key(Qt::Key_Up);
    QCOMPARE(f.Text1->textCursor().position(), 1);
    h.type(QStringLiteral("x"));
    QCOMPARE(f.Text1->toPlainText(), QStringLiteral("wxord")); // Insert did not switch to overwrite
    // A double-byte character takes the box's colour like any other.
    h.type(QStringLiteral("語"));
    QTextCursor typed = f.Text1->textCursor();
    typed.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
    QCOMPARE(typed.charFormat().foreground().color(), f.TextColor);
    QVERIFY(!f.WideTyped);
    // The box pastes a typed Ctrl+V itself; the flag that keeps the paste
    // command from pasting it a second time ends with the keystroke. Ctrl+G
    // types no character.
    h.key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!f.PasteTyped);
    h.key(Qt::Key_G, Qt::ControlModifier);
    QVERIFY(!f.Text1->toPlainText().contains(QChar(7)));
}

void TestPaneKeys::inputBoxQuickGuide()
{
    WindowHarness h;
    QVERIFY(h.load());
    focus(h, h.form().Text1);
    h.markTranscript();
    h.form().AllReadFlag = true; // a reading stops first
    GuideCloser closer;
    h.key(Qt::Key_F1);
    QVERIFY(closer.seen);
    QCOMPARE(closer.text, helptext::inputBox());
    QVERIFY(closer.whole);
    QVERIFY(!h.form().AllReadFlag);
    const QStringList said = h.spoken();
    QCOMPARE(said.mid(said.indexOf(QStringLiteral("クイックガイド") + marker)),
             (QStringList{QStringLiteral("クイックガイド") + marker, helptext::inputBox(),
                          QStringLiteral("ガイド おわり")}));
    QVERIFY(!h.window().quickGuide().F1HelpEnable);
    // The screen reader does not talk over the guide reading itself out.
    const QStringList all = h.transcript();
    auto lineOf = [&all](const QString &prefix) {
        for (qsizetype i = 0; i < all.size(); ++i)
            if (all[i].startsWith(prefix))
                return i;
        return qsizetype(-1);
    };
    const qsizetype opened = lineOf(QStringLiteral("Speak\tクイックガイド"));
    const qsizetype closed = lineOf(QStringLiteral("Speak\tガイド おわり"));
    QVERIFY2(opened >= 0 && closed > opened, qPrintable(all.join(u'|')));
    for (qsizetype i = opened; i < closed; ++i)
        QVERIFY2(!all[i].startsWith(u"Announce"), qPrintable(all[i]));
    // F1 and Enter close it too.
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_Return}) {
        focus(h, h.form().Text1);
        GuideCloser again(key);
        h.key(Qt::Key_F1);
        QVERIFY(again.seen);
        QVERIFY(!QApplication::activeModalWidget());
    }
}

void TestPaneKeys::escapeClearsTheInputBox()
{
    WindowHarness h;
    QVERIFY(h.load());
    focus(h, h.form().Text1);
    h.type(QStringLiteral("word"));
    h.markTranscript();
    h.key(Qt::Key_Escape);
    QCOMPARE(h.form().Text1->toPlainText(), QString());
    QCOMPARE(h.spoken(), QStringList{QStringLiteral("クリア")});
}

void TestPaneKeys::historyListEmpty()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text1);
    h.markTranscript();
    h.key(Qt::Key_Down);
    QTRY_COMPARE(h.focused(), f.List1);
    QVERIFY(f.List1->isVisible());
    QCOMPARE(f.List1->count(), 0);
    QCOMPARE(h.spoken(), (QStringList{QStringLiteral("履歴を戻るの選択") + marker, QStringLiteral("履歴なし")}));
    QCOMPARE(f.List1->x(), f.Text1->x());
    QCOMPARE(f.List1->width(), f.Text1->width());
    QVERIFY(f.List1->y() > f.Text1->geometry().bottom());
    h.key(Qt::Key_Escape);
    QVERIFY(!f.List1->isVisible());
    QCOMPARE(h.focused(), f.Text1);
    // Shift+Down does not open it.
    h.key(Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(!f.List1->isVisible());
}

void TestPaneKeys::historyListWords()
{
    WindowHarness::Options o;
    o.history = QStringList{"Word8=apple", "Word9=pen", "Word10=dog"};
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text1);
    h.markTranscript();
    h.key(Qt::Key_Down);
    QTRY_COMPARE(h.focused(), f.List1);
    QCOMPARE(f.List1->count(), 3);
    QCOMPARE(f.List1->item(0)->text(), QStringLiteral("dog"));
    QCOMPARE(f.List1->item(2)->text(), QStringLiteral("apple"));
    QCOMPARE(f.List1->currentRow(), 0);
    QCOMPARE(h.spoken(), (QStringList{QStringLiteral("履歴を戻るの選択") + marker, QStringLiteral("dog")}));
    // Up on the first word goes back to the input box.
    h.key(Qt::Key_Down);
    QCOMPARE(f.List1->currentRow(), 1);
    h.key(Qt::Key_Up);
    QCOMPARE(f.List1->currentRow(), 0);
    h.key(Qt::Key_Up);
    QVERIFY(!f.List1->isVisible());
    QCOMPARE(h.focused(), f.Text1);
    // Enter on "pen" steps back two entries and looks it up without recording.
    h.key(Qt::Key_Down);
    QTRY_COMPARE(h.focused(), f.List1);
    h.key(Qt::Key_Down);
    h.key(Qt::Key_Return);
    QVERIFY(!f.List1->isVisible());
    QCOMPARE(f.RirekiIndex, 2);
    QCOMPARE(f.RirekiMax, 4); // only a marker right after "pen" would stop counting
    QCOMPARE(f.RirekiList.size(), 4);
    QVERIFY(f.action("mnu_file_oldnext")->isEnabled());
}

void TestPaneKeys::historyListKeys()
{
    WindowHarness::Options o;
    o.history = QStringList{"Word10=dog"};
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text1);
    h.key(Qt::Key_Down);
    QTRY_COMPARE(h.focused(), f.List1);
    // F1 keeps the list open under the guide.
    GuideCloser closer;
    h.key(Qt::Key_F1);
    QCOMPARE(closer.text, helptext::historyList());
    QVERIFY(closer.whole);
    QVERIFY(f.List1->isVisible());
    QVERIFY(!f.List1Enable);
    // Losing the focus hides it.
    focus(h, f.Text2);
    QVERIFY(!f.List1->isVisible());
}

void TestPaneKeys::resultPaneFocusGuidance()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text1);
    h.markTranscript();
    focus(h, f.Text2);
    QVERIFY(!f.Text1Enable);
    QCOMPARE(f.statusText(), QStringLiteral("検索結果 (Shift+Ctrl+F12:カーソル位置検索)"));
    QCOMPARE(h.spoken(), QStringList{QStringLiteral("検索結果")});
    QCOMPARE(f.Shape1->palette().color(QPalette::Window), f.palette().color(QPalette::Highlight));
    // Leaving it stops a reading.
    f.AllReadFlag = true;
    focus(h, f.Text1);
    QVERIFY(!f.AllReadFlag);
    // During a capture the focus comes silently.
    f.CaptureActive = true;
    h.markTranscript();
    focus(h, f.Text2);
    QVERIFY(!h.spoken().contains(QStringLiteral("検索結果")));
    f.CaptureActive = false;
}

void TestPaneKeys::resultPaneIsReadOnly()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text2->setPlainText(QStringLiteral("apple\nりんご\n"));
    focus(h, f.Text2);
    h.type(QStringLiteral("xyz 語"));
    for (Qt::Key k :
         {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Insert, Qt::Key_Space, Qt::Key_Semicolon})
        h.key(k);
    for (Qt::Key k : {Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_A})
        h.key(k, Qt::ControlModifier);
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("apple\nりんご\n"));
    // Movement keys move.
    placeCaret(f.Text2, 0);
    h.key(Qt::Key_Right);
    h.key(Qt::Key_End);
    QCOMPARE(f.Text2->textCursor().position(), 5);
}

void TestPaneKeys::resultPaneEdges()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text2->setPlainText(QStringLiteral("one\ntwo\nthree"));
    focus(h, f.Text2);
    placeCaret(f.Text2, 2);
    h.markTranscript();
    h.key(Qt::Key_Up);
    QCOMPARE(f.Text2->textCursor().position(), 2);
    QCOMPARE(h.transcript(), (QStringList{"StopSpeech", "Speak\t上端\t0\t0", "Settle"}));
    h.key(Qt::Key_Down);
    QCOMPARE(f.Text2->textCursor().blockNumber(), 1);
    h.key(Qt::Key_Down);
    QCOMPARE(f.Text2->textCursor().blockNumber(), 2);
    h.markTranscript();
    h.key(Qt::Key_Down);
    QCOMPARE(f.Text2->textCursor().blockNumber(), 2);
    QCOMPARE(h.transcript(), (QStringList{"StopSpeech", "Speak\t下端\t0\t0", "Settle"}));
    // A movement key during a reading stops it.
    f.AllReadFlag = true;
    h.key(Qt::Key_Left);
    QVERIFY(!f.AllReadFlag);
}

void TestPaneKeys::resultPaneEscape()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text2->setPlainText(QStringLiteral("entry"));
    focus(h, f.Text2);
    // During a reading Esc only stops it.
    f.AllReadFlag = true;
    h.key(Qt::Key_Escape);
    QVERIFY(!f.AllReadFlag);
    QCOMPARE(h.focused(), f.Text2);
    // After a captured lookup it says "パス" and hands the focus back.
    f.CaptureActive = true;
    h.markTranscript();
    h.key(Qt::Key_Escape);
    QCOMPARE(h.spoken(), QStringList{QStringLiteral("パス")});
    QVERIFY(f.TimerAppSetFocus.isActive());
    f.TimerAppSetFocus.stop();
    f.CaptureActive = false;
    // Otherwise the focus moves on.
    h.key(Qt::Key_Escape);
    QTRY_VERIFY(h.focused() != f.Text2);
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("entry"));
}

void TestPaneKeys::resultPaneQuickGuide()
{
    WindowHarness h;
    QVERIFY(h.load());
    focus(h, h.form().Text2);
    GuideCloser closer;
    h.key(Qt::Key_F1);
    QCOMPARE(closer.text, helptext::resultPane());
}

void TestPaneKeys::rangeSelectionGrows()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    f.Text2->setPlainText(QStringLiteral("abcdef"));
    focus(h, f.Text2);
    placeCaret(f.Text2, 1);
    f.RangeSelecting = true;
    h.key(Qt::Key_Right);
    QTRY_COMPARE(f.Text2->textCursor().selectedText(), QStringLiteral("b"));
    h.key(Qt::Key_Right);
    QTRY_COMPARE(f.Text2->textCursor().selectedText(), QStringLiteral("bc"));
    f.RangeSelecting = false;
    h.key(Qt::Key_Right);
    QVERIFY(!f.Text2->textCursor().hasSelection());
}

void TestPaneKeys::windowLevelKeys()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text1);
    h.markTranscript();
    h.key(Qt::Key_F2, Qt::AltModifier);
    h.key(Qt::Key_F8, Qt::AltModifier);
    const QStringList t = h.transcript();
    QVERIFY(t.contains(QStringLiteral("ORRNCOMMAND\tReadInputSts\t1\t1")));
    QVERIFY(t.contains(QStringLiteral("ORRNCOMMAND\tReadCurLine\t1\t1")));
    // Alt+F5 reads the result from its start, in the result pane.
    h.key(Qt::Key_F5, Qt::AltModifier);
    QCOMPARE(h.focused(), f.Text1); // nothing to read
    f.Text2->setPlainText(QStringLiteral("apple\nりんご"));
    placeCaret(f.Text2, 4);
    h.markTranscript();
    h.key(Qt::Key_F5, Qt::AltModifier);
    QTRY_COMPARE(h.focused(), f.Text2);
    QVERIFY(h.spoken().join(u' ').contains(u"apple"));
    QVERIFY(h.spoken().join(u' ').contains(u"りんご"));
    // While a reading runs the window's key-ups do nothing.
    f.AllReadFlag = true;
    h.key(Qt::Key_F6);
    QVERIFY(!f.modeBigFont);
    f.AllReadFlag = false;
    // History and paging keys act only through enabled commands.
    h.key(Qt::Key_Left, Qt::AltModifier);
    h.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(f.RirekiIndex, 0);
}

void TestPaneKeys::altAloneLeavesTheEnglishVoice()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    auto *speech = dynamic_cast<Speech *>(&f.speech());
    QVERIFY(speech);
    auto *english = dynamic_cast<TranscriptEnglishVoice *>(speech->layer().englishVoice());
    QVERIFY(english);
    english->setMsPerChar(100);
    f.EnglishMode = f.EngUse = true;
    focus(h, f.Text2);
    speech->SapiGo(QStringLiteral("apple pie"));
    h.markTranscript();
    QTest::keyPress(f.Text2, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(f.Text2, Qt::Key_Alt);
    QVERIFY2(!h.transcript().contains(QStringLiteral("SapiStop")), qPrintable(h.transcript().join(u'|')));
    // Any other key stops it.
    QTest::keyClick(f.Text2, Qt::Key_Control);
    QVERIFY(h.transcript().contains(QStringLiteral("SapiStop")));
}

void TestPaneKeys::labels()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QTest::mouseClick(f.Label2, Qt::LeftButton);
    QTRY_COMPARE(h.focused(), f.Text2);
    QTest::mouseClick(f.Label1, Qt::LeftButton);
    QTRY_COMPARE(h.focused(), f.Text1);
    GuideCloser closer;
    QTest::mouseDClick(f.Label3, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(closer.text, helptext::resultBand());
}

void TestPaneKeys::tips()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    // Under the input box while it is the active pane.
    focus(h, f.Text1);
    h.window().tips().ShowTips(QStringLiteral("tip"));
    QVERIFY(f.Tips->isVisible());
    QCOMPARE(f.LabelTips->text(), QStringLiteral("tip"));
    QCOMPARE(f.Tips->x(), f.Text1->x());
    QVERIFY(f.Tips->y() > f.Text1->geometry().bottom());
    // Above the caret of the result pane, kept 30 twips inside its right edge.
    f.Text2->setPlainText(QString(200, u'x'));
    focus(h, f.Text2);
    placeCaret(f.Text2, 50);
    const QString longTip(40, u'M');
    h.window().tips().ShowTips(longTip);
    QCOMPARE(f.Tips->geometry().right() + 1, f.Text2->geometry().right() + 1 - 2);
    QVERIFY(f.Tips->geometry().bottom() < f.Text2->y() + f.Text2->cursorRect().top() + 2);
    // Gone after two seconds.
    QVERIFY(f.TimerTips.isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!f.Tips->isVisible(), 3000);
}

void TestPaneKeys::keysOfAnInactiveWindowRunOnce()
{
    // Without a window manager the window can take keys without ever being
    // activated; a key the pane lets through reaches the window as well,
    // and must not run the window's handlers a second time.
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text2);
    QApplication::setActiveWindow(nullptr);
    QVERIFY(!QApplication::focusWidget());
    h.markTranscript();
    QTest::keyClick(f.Text2, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(h.spoken(), QStringList{QStringLiteral("拡大画面")});
    QVERIFY(f.modeBigFont);
}

void TestPaneKeys::keysThatMustNotEndTheProgram_data()
{
    // Sequences that once crashed the window: pasting from a clipboard with
    // no text, and selecting in the input box (recolouring the selection
    // changed it again from inside its own change notification).
    QTest::addColumn<QString>("clipboard"); // "empty", "image", "1MB" or the text
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<QString>("expected"); // the input box afterwards
    const QKeyCombination paste(Qt::ControlModifier, Qt::Key_V);
    QTest::newRow("paste, empty clipboard") << "empty"
                                            << "" << QList{paste} << "";
    QTest::newRow("paste, image only") << "image"
                                       << "ab" << QList{paste} << "ab";
    QTest::newRow("paste, 1 MB of text") << "1MB"
                                         << "" << QList{paste} << QString(1 << 20, u'w');
    QTest::newRow("select to the start") << "empty"
                                         << "apple"
                                         << QList{QKeyCombination(Qt::Key_End),
                                                  QKeyCombination(Qt::ShiftModifier, Qt::Key_Home)}
                                         << "apple";
    QTest::newRow("select, delete, magnify") << "empty"
                                             << "apple"
                                             << QList{QKeyCombination(Qt::ShiftModifier, Qt::Key_Left),
                                                      QKeyCombination(Qt::Key_Delete), QKeyCombination(Qt::Key_F6)}
                                             << "appl";
    QTest::newRow("select all, copy, paste")
        << "empty"
        << "pear"
        << QList{QKeyCombination(Qt::ControlModifier, Qt::Key_A), QKeyCombination(Qt::ShiftModifier, Qt::Key_Home),
                 QKeyCombination(Qt::ControlModifier, Qt::Key_C), paste}
        << "pear";
}

void TestPaneKeys::keysThatMustNotEndTheProgram()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, typed);
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(QString, expected);
    auto *data = new QMimeData;
    if (clipboard == u"image")
        data->setImageData(QImage(8, 8, QImage::Format_RGB32));
    else if (clipboard == u"1MB")
        data->setText(QString(1 << 20, u'w'));
    else if (clipboard != u"empty")
        data->setText(clipboard);
    QGuiApplication::clipboard()->setMimeData(data);

    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    focus(h, f.Text1);
    h.type(typed);
    for (QKeyCombination k : keys)
        h.key(k.key(), k.keyboardModifiers());
    QTest::qWait(300); // the paints and timers the keys started
    QCOMPARE(f.Text1->toPlainText(), expected);
    // The window still answers.
    h.markTranscript();
    h.key(Qt::Key_F6);
    QVERIFY(h.waitSpoken(f.modeBigFont ? QStringLiteral("拡大%1").arg(f.modeFontSize) : QStringLiteral("通常")));
}

QTEST_MAIN(TestPaneKeys)
#include "test_panekeys.moc"
