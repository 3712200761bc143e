// Looking words up in the window: typed lookups in both directions, words
// that are not found, prefix search and its limit, the katakana retry, the
// busy refusal, dictionary errors, and the history through the window
// (back, forward, overwrite, the drop-down lists, a restart and the stored
// values byte for byte).

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "lookup/lookupstate.h"
#include "mainwindow/history.h"
#include "mainwindow/mainwindow.h"
#include "orrin/orrinvoice.h"
#include "windowharness.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

namespace {
const QString dictionary = QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow");
const QString marker = QString(QChar(codepage::SpeechEndMarker));

WindowHarness::Options withDictionary()
{
    WindowHarness::Options o;
    o.dictionaryFolder = dictionary;
    return o;
}

QStringList lines(RichTextBox *pane)
{
    QStringList out = pane->toPlainText().split(u'\n');
    if (!out.isEmpty() && out.back().isEmpty())
        out.removeLast();
    return out;
}

QColor colourOfLine(RichTextBox *pane, int line)
{
    const QTextBlock block = pane->document()->findBlockByNumber(line);
    QTextCursor c(block);
    c.movePosition(QTextCursor::Right);
    return c.charFormat().foreground().color();
}
} // namespace

class TestLookupWindow : public QObject {
    Q_OBJECT
private slots:
    void typedLookup();
    void japaneseLookup();
    void notFoundKeepsTheEntry();
    void notFoundLongWord();
    void prefixSearchLimit();
    void prefixSearchLimitFromTheSettings();
    void katakanaRetry();
    void busyRefusalDuringARead();
    void emptyWord();
    void dictionaryFolderMissing();
    void historyBackForwardOverwrite();
    void historyDropDownLists();
    void historyAfterRestart();
    void historyWorkedExampleInTheSettingsFile();
    void edgesOfALookedUpEntry();
};

void TestLookupWindow::typedLookup()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.markTranscript();
    h.lookUp(QStringLiteral("apple"));
    QCOMPARE(lines(f.Text2), (QStringList{"apple ", "りんご", "林檎", "リンゴの木"}));
    QCOMPARE(f.Text1->toPlainText(), QString());
    QTRY_COMPARE(h.focused(), f.Text2);
    QCOMPARE(f.statusText(), QStringLiteral("英和辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)"));
    // Reversed colours: light yellow headword, white body, the body indented.
    QCOMPARE(colourOfLine(f.Text2, 0), QColor(255, 255, 192));
    QCOMPARE(colourOfLine(f.Text2, 1), QColor(255, 255, 255));
    QVERIFY(f.Text2->document()->findBlockByNumber(1).blockFormat().leftMargin() > 0);
    QCOMPARE(f.Text2->document()->findBlockByNumber(0).blockFormat().leftMargin(), 0.0);
    // Read aloud, quietly moved into the pane (no "検索結果").
    QVERIFY(h.waitSpoken(QStringLiteral("apple ")) || h.spoken().join(u' ').contains(u"りんご"));
    QVERIFY(!h.spoken().contains(QStringLiteral("検索結果")));
    QVERIFY(!f.Picture1->isVisible());
    QVERIFY(!f.KensakuEnable);
    // The word is in the history; paging is possible.
    QCOMPARE(f.RirekiList, QStringList{"apple"});
    QVERIFY(f.action("mnu_file_nextpage")->isEnabled());
    QVERIFY(f.toolButton("めくる")->isEnabled());
    QCOMPARE(f.Lookup.DicMode, lookup::EnglishJapanese);
}

void TestLookupWindow::japaneseLookup()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("りんご"));
    QCOMPARE(lines(f.Text2), (QStringList{"りんご ", "apple"}));
    QCOMPARE(f.statusText(), QStringLiteral("和英辞典を検索しました (Shift+Ctrl+F12:カーソル位置検索)"));
    QCOMPARE(f.Lookup.DicMode, lookup::JapaneseEnglish);
}

void TestLookupWindow::notFoundKeepsTheEntry()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("apple"));
    const QString entry = f.Text2->toPlainText();
    h.markTranscript();
    h.lookUp(QStringLiteral("banana"));
    QCOMPARE(f.Text2->toPlainText(), entry);
    QCOMPARE(f.Text1->toPlainText(), QString());
    QVERIFY(f.Tips->isVisible());
    QCOMPARE(f.LabelTips->text(), QStringLiteral("bananaは見つかりませんでした"));
    QVERIFY(h.spoken().contains(QStringLiteral("bananaは見つかりませんでした")));
    QVERIFY(!f.action("mnu_file_nextpage")->isEnabled());
    QCOMPARE(f.RirekiList, QStringList{"apple"});
    QTRY_VERIFY_WITH_TIMEOUT(!f.Tips->isVisible(), 4000);
    // A Japanese word: the message ends with the speech end marker.
    h.markTranscript();
    h.lookUp(QStringLiteral("ばなな"));
    QVERIFY(h.spoken().contains(QStringLiteral("ばななは見つかりませんでした") + marker));
}

void TestLookupWindow::notFoundLongWord()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    h.markTranscript();
    h.lookUp(QStringLiteral("abcdefghijklmnopqrstuvwxy"));
    QVERIFY(h.spoken().contains(QStringLiteral("abcdefghijklmnop…は見つかりませんでした")));
}

void TestLookupWindow::prefixSearchLimit()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("abx*"));
    // ZenpoMax 50: 51 lines of the 60 that begin with "abx", each a headword and a body line.
    QCOMPARE(f.Lookup.record.HitCount(), 51);
    QCOMPARE(lines(f.Text2).size(), 102);
    QCOMPARE(lines(f.Text2).first(), QStringLiteral("abxaa "));
    QCOMPARE(lines(f.Text2).at(100), QStringLiteral("abxby "));
    QCOMPARE(f.statusText(), QStringLiteral("英和辞典を前方一致で検索しました (Shift+Ctrl+F12:カーソル位置検索)"));
    QCOMPARE(f.RirekiList, QStringList{"abx*"});
    // No paging after a prefix search: Alt+Down does nothing.
    QVERIFY(!f.action("mnu_file_nextpage")->isEnabled());
    const QString shown = f.Text2->toPlainText();
    h.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(f.Text2->toPlainText(), shown);
}

void TestLookupWindow::prefixSearchLimitFromTheSettings()
{
    WindowHarness::Options o = withDictionary();
    o.settings = QStringList{"ZenpoMax=20"};
    WindowHarness g(o);
    QVERIFY(g.load());
    g.lookUp(QStringLiteral("abx＊"));
    QCOMPARE(g.form().Lookup.record.HitCount(), 21);
}

void TestLookupWindow::katakanaRetry()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("あいす"));
    QCOMPARE(lines(f.Text2), (QStringList{"アイス ", "ice", "ice cream"}));
    QCOMPARE(f.RirekiList, QStringList{"あいす"});
    QCOMPARE(f.Text1->toPlainText(), QString());
    // Not found in either form: the message names the word as typed.
    h.markTranscript();
    h.lookUp(QStringLiteral("あいう"));
    QVERIFY(h.spoken().contains(QStringLiteral("あいうは見つかりませんでした") + marker));
}

void TestLookupWindow::busyRefusalDuringARead()
{
    WindowHarness::Options o = withDictionary();
    o.speechMsPerChar = 200; // the entry takes a while to read
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &f = h.form();
    bool refused = false;
    QTimer::singleShot(300, [&] {
        // Enter again while the entry of "apple" is being read.
        QVERIFY(f.KensakuEnable);
        f.Text1->setFocus();
        h.markTranscript();
        QTest::keyClicks(f.Text1, QStringLiteral("run"));
        QTest::keyClick(f.Text1, Qt::Key_Return);
        refused = h.transcript().contains(QStringLiteral("Signal\t10\t1\t0"));
        f.AllReadFlag = false; // and stop the reading
    });
    h.lookUp(QStringLiteral("apple"));
    QVERIFY(refused);
    QCOMPARE(f.RirekiList, QStringList{"apple"});
    QCOMPARE(lines(f.Text2).first(), QStringLiteral("apple "));
    QVERIFY(!f.KensakuEnable);
}

void TestLookupWindow::emptyWord()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    h.markTranscript();
    h.lookUp(QStringLiteral("   "));
    QCOMPARE(h.form().Text1->toPlainText(), QString());
    QVERIFY(h.transcript().contains(QStringLiteral("Signal\t100\t3\t0")));
    QVERIFY(h.form().RirekiList.isEmpty());
}

void TestLookupWindow::dictionaryFolderMissing()
{
    WindowHarness::Options o;
    o.dictionaryFolder = QStringLiteral(WORDLAMP_TEST_DATA "/no such folder");
    WindowHarness h(o);
    QVERIFY(h.load());
    // The message comes up where the screen reader may read it.
    bool heard = false;
    setMessageHandler([&](const MessageRecord &m) {
        h.messages.append(m);
        heard = !h.form().Voice1->isLocked();
        return QMessageBox::Ok;
    });
    h.markTranscript();
    h.lookUp(QStringLiteral("apple"));
    QVERIFY(heard);
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages[0].title, QStringLiteral("辞書ファイルエラー"));
    QCOMPARE(h.messages[0].text, QStringLiteral("英和辞書がみつかりません"));
    QCOMPARE(h.messages[0].icon, QMessageBox::Critical);
    QVERIFY(h.spoken().contains(QStringLiteral("appleは見つかりませんでした")));
}

void TestLookupWindow::historyBackForwardOverwrite()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    for (const char *w : {"apple", "りんご", "run"})
        h.lookUp(QString::fromUtf8(w));
    QCOMPARE(f.RirekiList, (QStringList{"apple", "りんご", "run"}));
    QVERIFY(f.action("mnu_file_oldback")->isEnabled());
    QVERIFY(!f.action("mnu_file_oldnext")->isEnabled());
    h.key(Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(lines(f.Text2).first(), QStringLiteral("りんご "));
    h.key(Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(lines(f.Text2).first(), QStringLiteral("apple "));
    QVERIFY(!f.action("mnu_file_oldback")->isEnabled());
    h.key(Qt::Key_Left, Qt::AltModifier); // at the start: nothing
    QCOMPARE(f.RirekiIndex, 1);
    h.key(Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(lines(f.Text2).first(), QStringLiteral("りんご "));
    QCOMPARE(f.RirekiIndex, 2);
    QVERIFY(f.action("mnu_file_oldnext")->isEnabled());
    // Stepping through the history records nothing.
    QCOMPARE(f.RirekiList.size(), 3);
    // A new word replaces the shown entry and drops the later ones.
    h.lookUp(QStringLiteral("zebra"));
    QCOMPARE(f.RirekiList.mid(0, f.RirekiMax), (QStringList{"apple", "zebra"}));
    QVERIFY(!f.action("mnu_file_oldnext")->isEnabled());
    QVERIFY(!f.toolButton("進む")->isEnabled());
}

void TestLookupWindow::historyDropDownLists()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    for (const char *w : {"apple", "りんご", "run", "zebra"})
        h.lookUp(QString::fromUtf8(w));
    QMenu *back = f.toolButton("戻る")->menu();
    QStringList items;
    for (QAction *a : back->actions())
        items << a->objectName() + u'=' + a->text();
    QCOMPARE(items, (QStringList{"@b1=run", "@b2=りんご", "@b3=apple"}));
    back->actions().at(2)->trigger();
    QTRY_COMPARE(f.RirekiIndex, 1);
    QTRY_COMPARE(lines(f.Text2).first(), QStringLiteral("apple "));
    QMenu *forward = f.toolButton("進む")->menu();
    items.clear();
    for (QAction *a : forward->actions())
        items << a->objectName() + u'=' + a->text();
    QCOMPARE(items, (QStringList{"@n1=りんご", "@n2=run", "@n3=zebra"}));
    forward->actions().at(1)->trigger();
    QTRY_COMPARE(f.RirekiIndex, 3);
    QTRY_COMPARE(lines(f.Text2).first(), QStringLiteral("run "));
}

void TestLookupWindow::historyAfterRestart()
{
    QByteArray stored;
    {
        WindowHarness h(withDictionary());
        QVERIFY(h.load());
        for (const char *w : {"apple", "run"})
            h.lookUp(QString::fromUtf8(w));
        h.unload();
        QFile file(h.temp().userFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        stored = file.readAll();
    }
    WindowHarness::Options o = withDictionary();
    o.settingsFile = stored;
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &f = h.form();
    // Back shows the last word of the previous run; forward is off.
    QVERIFY(f.action("mnu_file_oldback")->isEnabled());
    QVERIFY(!f.action("mnu_file_oldnext")->isEnabled());
    h.key(Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(lines(f.Text2).first(), QStringLiteral("run "));
    QVERIFY(!f.action("mnu_file_oldnext")->isEnabled());
    h.key(Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(lines(f.Text2).first(), QStringLiteral("apple "));
}

void TestLookupWindow::historyWorkedExampleInTheSettingsFile()
{
    WindowHarness::Options o = withDictionary();
    o.history = QStringList{"Word7=apple", "Word8=pen", "Word9=dog"};
    WindowHarness h(o);
    QVERIFY(h.load());
    QCOMPARE(h.form().RirekiList, (QStringList{"apple", "pen", "dog", "-"}));
    QCOMPARE(h.form().RirekiIndex, 4);
    QCOMPARE(h.form().RirekiMax, 4);
    h.unload();
    QFile file(h.temp().userFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    const qsizetype start = content.indexOf("[History]\n");
    QVERIFY(start >= 0);
    qsizetype end = content.indexOf("\n\n", start); // the blank line before the next section
    end = end < 0 ? content.size() : end + 1;
    QCOMPARE(content.mid(start, end - start),
             QByteArray("[History]\nWord1=-\nWord10=-\nWord2=-\nWord3=-\nWord4=-\nWord5=-\nWord6=-\n"
                        "Word7=apple\nWord8=pen\nWord9=dog\n"));
}

void TestLookupWindow::edgesOfALookedUpEntry()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("apple"));
    QTRY_COMPARE(h.focused(), f.Text2);
    // The reading left the caret where it ended: back to the start.
    h.key(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(f.Text2->textCursor().position(), 0);
    h.markTranscript();
    h.key(Qt::Key_Up);
    QVERIFY(h.spoken().contains(QStringLiteral("上端")));
    QCOMPARE(f.Text2->textCursor().position(), 0);
    for (int i = 0; i < 3; ++i)
        h.key(Qt::Key_Down);
    QCOMPARE(f.Text2->textCursor().blockNumber(), 3);
    h.key(Qt::Key_Down); // onto the empty line after the last line break
    h.markTranscript();
    h.key(Qt::Key_Down);
    QVERIFY(h.spoken().contains(QStringLiteral("下端")));
}

QTEST_MAIN(TestLookupWindow)
#include "test_lookupwindow.moc"
