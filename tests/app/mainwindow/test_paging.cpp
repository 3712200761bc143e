// Word paging through the window: both directions from an entry of three
// lines, a pronunciation line passed over, the start and end of the file, a
// "■" that is no line start, the refusal while a reading runs, colours
// changed on a paged entry, a file removed since the lookup, and the lookup
// of the word at the caret.

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "lookup/lookupstate.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/paging.h"
#include "orrin/transcriptvoice.h"
#include "windowharness.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace {
const QString dictionary = QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow");

WindowHarness::Options withDictionary(const QString &folder = dictionary)
{
    WindowHarness::Options o;
    o.dictionaryFolder = folder;
    return o;
}

QString firstLine(MainForm &f)
{
    return f.Text2->toPlainText().section(u'\n', 0, 0);
}

QColor colourOfLine(RichTextBox *pane, int line)
{
    QTextCursor c(pane->document()->findBlockByNumber(line));
    c.movePosition(QTextCursor::Right);
    return c.charFormat().foreground().color();
}
} // namespace

class TestPaging : public QObject {
    Q_OBJECT
private slots:
    void acrossAThreeLineEntry();
    void pronunciationLinePassedOver();
    void startAndEndOfTheFile();
    void markerInsideALine();
    void refusedWhileReading();
    void reversedColoursRewriteAPagedEntry();
    void fileRemovedSinceTheLookup();
    void searchAtCursor();
};

void TestPaging::acrossAThreeLineEntry()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("run"));
    const lookup::PositionRecord &r = f.Lookup.record;
    QCOMPARE(r.HitCount(), 3);
    QVERIFY(r.HitTopPos > 0);
    QVERIFY(r.HitEndPos > r.HitTopPos);
    // Back leaves the entry as a whole: the line before the first of the three.
    h.markTranscript();
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("rumor "));
    QCOMPARE(r.HitCount(), 1);
    QCOMPARE(r.HitTopPos, 0);
    QCOMPARE(f.statusText(), QStringLiteral("読み方順に単語を前にめくっています"));
    QVERIFY(h.spoken().join(u' ').contains(u"うわさ"));
    // Forward from the lookup: the line after the third.
    h.lookUp(QStringLiteral("run"));
    h.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("run down "));
    QCOMPARE(f.statusText(), QStringLiteral("読み方順に単語を次にめくっています"));
    // And back again: the third line of "run", then the second.
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(f.Text2->toPlainText().section(u'\n', 1, 1), QStringLiteral("経営する"));
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("run {名} "));
    // Paging records nothing in the history and keeps itself enabled.
    QCOMPARE(f.RirekiList, (QStringList{"run", "run"}));
    QVERIFY(f.action("mnu_file_backpage")->isEnabled());
}

void TestPaging::pronunciationLinePassedOver()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("run down"));
    h.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("rung "));
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("run down "));
}

void TestPaging::startAndEndOfTheFile()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    // The first line of the file: back shows it again, forward moves on.
    h.lookUp(QStringLiteral("abxaa"));
    QCOMPARE(f.Lookup.record.HitEndPos, 1);
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("abxaa "));
    h.lookUp(QStringLiteral("abxaa"));
    h.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("abxab "));
    // The last line: forward shows it again.
    h.lookUp(QStringLiteral("zebra"));
    h.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("zebra "));
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("rung "));
}

void TestPaging::markerInsideALine()
{
    // "equal" ends in ＝｡, whose bytes 81 81 A1 hold a "■" (81 A1) that is no
    // line start: the step back must show the whole line before "equals".
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("equals"));
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("equal "));
    QCOMPARE(f.Text2->toPlainText().section(u'\n', 1, 1), QStringLiteral("等しい＝｡"));
}

void TestPaging::refusedWhileReading()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    auto *voice = dynamic_cast<TranscriptVoice *>(f.Voice1.get());
    QVERIFY(voice);
    h.lookUp(QStringLiteral("rumor"));
    // A step whose line takes a while to read; a second press during the
    // reading stops it and is refused.
    voice->setMsPerChar(200);
    QString shownDuringReading;
    bool refused = false;
    QTimer::singleShot(300, [&] {
        h.markTranscript();
        f.action("mnu_file_nextpage")->trigger();
        refused = h.transcript().contains(QStringLiteral("Signal\t20\t1\t0"));
        shownDuringReading = firstLine(f);
    });
    f.action("mnu_file_nextpage")->trigger();
    QVERIFY(refused);
    QCOMPARE(shownDuringReading, QStringLiteral("run "));
    QVERIFY(f.AllReadIdle);
    // The next press pages.
    voice->setMsPerChar(0);
    f.action("mnu_file_nextpage")->trigger();
    QCOMPARE(firstLine(f), QStringLiteral("run {名} "));
}

void TestPaging::reversedColoursRewriteAPagedEntry()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("run"));
    h.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(firstLine(f), QStringLiteral("run down "));
    QCOMPARE(colourOfLine(f.Text2, 0), QColor(255, 255, 192));
    f.action("mnu_view_font_hyojun")->trigger();
    // The paged entry is written again, in the normal colours.
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("run down \n衰える\n"));
    QCOMPARE(colourOfLine(f.Text2, 0), QColor(0, 128, 0));
    QCOMPARE(colourOfLine(f.Text2, 1), QColor(0, 0, 0));
    f.action("mnu_view_font_hanten")->trigger();
    QCOMPARE(colourOfLine(f.Text2, 0), QColor(255, 255, 192));
    QCOMPARE(colourOfLine(f.Text2, 1), QColor(255, 255, 255));
    // Magnified, the body indent grows with the font.
    const double indent = f.Text2->document()->findBlockByNumber(1).blockFormat().leftMargin();
    f.action("mnu_view_big2")->trigger();
    QCOMPARE(f.Text2->toPlainText(), QStringLiteral("run down \n衰える\n"));
    QVERIFY(f.Text2->document()->findBlockByNumber(1).blockFormat().leftMargin() > indent);
}

void TestPaging::fileRemovedSinceTheLookup()
{
    QTemporaryDir folder;
    QVERIFY(QFile::copy(dictionary + "/eitest.txt", folder.filePath("eitest.txt")));
    WindowHarness h(withDictionary(folder.path()));
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("rumor"));
    const QString shown = f.Text2->toPlainText();
    const qint64 position = f.Lookup.record.HitEndPos;
    QVERIFY(QFile::remove(folder.filePath("eitest.txt")));
    h.markTranscript();
    h.key(Qt::Key_Down, Qt::AltModifier);
    h.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(f.Text2->toPlainText(), shown);
    QCOMPARE(f.Lookup.record.HitEndPos, position);
    QVERIFY(h.messages.isEmpty());
    QVERIFY(!h.transcript().join(u'\n').contains(u"めくっています"));
}

void TestPaging::searchAtCursor()
{
    WindowHarness h(withDictionary());
    QVERIFY(h.load());
    MainForm &f = h.form();
    h.lookUp(QStringLiteral("りんご"));
    // The caret on "apple", the body of the entry.
    QTextCursor c = f.Text2->textCursor();
    c.setPosition(f.Text2->toPlainText().indexOf(u"apple") + 1);
    f.Text2->setTextCursor(c);
    f.action("mnu_file_yudo1")->trigger();
    QCOMPARE(firstLine(f), QStringLiteral("apple "));
    QCOMPARE(f.RirekiList, (QStringList{"りんご", "apple"}));
    // On white space: nothing to look up.
    f.Text2->setPlainText(QStringLiteral("   "));
    h.markTranscript();
    f.action("mnu_file_yudo1")->trigger();
    QVERIFY(h.transcript().contains(QStringLiteral("Signal\t100\t3\t0")));
    QCOMPARE(f.RirekiList.size(), 2);
}

QTEST_MAIN(TestPaging)
#include "test_paging.moc"
