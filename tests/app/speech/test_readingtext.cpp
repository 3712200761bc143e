// The text rules of the reading commands: the word at the cursor, the
// paragraph, English from the cursor, where the reading buttons move the
// reading, the pane's line breaks, and the wide caret's size.

#include "lookup/normalize.h"
#include "speech/panetext.h"
#include "speech/readingtext.h"
#include "speech/systemutil.h"
#include "speech/widecaret.h"

#include <QTest>

using namespace reading;

class TestReadingText : public QObject {
    Q_OBJECT
private slots:
    void wordAtCursor_data();
    void wordAtCursor();
    void classifiers_data();
    void classifiers();
    void paragraph_data();
    void paragraph();
    void englishFromCursor_data();
    void englishFromCursor();
    void goingBack_data();
    void goingBack();
    void skipping_data();
    void skipping();
    void paneLineBreaks();
    void caretSize_data();
    void caretSize();
    void osLevel_data();
    void osLevel();
};

void TestReadingText::wordAtCursor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("word");
    QTest::newRow("kanji stops before した") << "勉強したい" << 1 << "勉強";
    QTest::newRow("kanji stops before を") << "本を読む" << 0 << "本";
    QTest::newRow("kanji takes its okurigana") << "食べる。" << 0 << "食べる";
    QTest::newRow("kanji stops before a one-letter particle") << "日本は" << 1 << "日本";
    QTest::newRow("katakana with long mark") << "コーヒーを" << 1 << "コーヒー";
    QTest::newRow("hiragana run") << "漢ひらがな字" << 3 << "ひらがな";
    QTest::newRow("English word, leading joiner dropped") << "-word's end" << 2 << "word's";
    QTest::newRow("English word from its middle") << "say hello!" << 6 << "hello";
    QTest::newRow("full-width letters") << "ＡＢＣです" << 1 << "ＡＢＣ";
    QTest::newRow("on a space") << "a b" << 1 << "";
    QTest::newRow("on を") << "本を" << 1 << "";
    QTest::newRow("at the end") << "本" << 1 << "";
    QTest::newRow("empty") << "" << 0 << "";
}

void TestReadingText::wordAtCursor()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(QString, word);
    QCOMPARE(wordAt(text, pos), word);
}

void TestReadingText::classifiers_data()
{
    QTest::addColumn<QString>("ch");
    QTest::addColumn<int>("eng");
    QTest::addColumn<int>("jpn");
    QTest::newRow("letter") << "a" << 1 << 0;
    QTest::newRow("full-width letter") << "Ｚ" << 1 << 0;
    QTest::newRow("joiner") << "’" << 2 << 0;
    QTest::newRow("digit") << "5" << 0 << 0;
    QTest::newRow("hiragana") << "ぁ" << 0 << 1;
    QTest::newRow("katakana") << "ヶ" << 0 << 2;
    QTest::newRow("long mark") << "ー" << 0 << 2;
    QTest::newRow("first kanji") << "亜" << 0 << 3;
    QTest::newRow("last kanji") << "黑" << 0 << 3;
    QTest::newRow("NEC-selected extension kanji") << "纊" << 0 << 3;
    QTest::newRow("double-byte sign before the kanji") << "①" << 0 << 0;
    QTest::newRow("wo") << "を" << 0 << 0;
    QTest::newRow("full-width space") << "　" << 0 << 0;
    QTest::newRow("not in the code page") << "한" << 0 << 0;
}

void TestReadingText::classifiers()
{
    QFETCH(QString, ch);
    QFETCH(int, eng);
    QFETCH(int, jpn);
    // The search word's classifiers, on which the word at the cursor rests.
    QCOMPARE(lookup::EngFlag(ch.at(0)), eng);
    QCOMPARE(lookup::JpnFlag(ch.at(0)), jpn);
}

void TestReadingText::paragraph_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("para");
    QTest::newRow("first line") << "ab\r\ncd\r\nef" << 1 << "ab\r";
    QTest::newRow("middle line") << "ab\r\ncd\r\nef" << 5 << "\ncd\r";
    QTest::newRow("on a line feed") << "ab\r\ncd\r\nef" << 3 << "\ncd\r";
    QTest::newRow("on a carriage return") << "ab\r\ncd\r\nef" << 2 << "ab\r";
    QTest::newRow("last line") << "ab\r\ncd" << 5 << "\ncd";
    QTest::newRow("single line") << "abc" << 0 << "abc";
    QTest::newRow("empty") << "" << 0 << "";
}

void TestReadingText::paragraph()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(QString, para);
    QCOMPARE(paragraphAt(text, pos), para);
}

void TestReadingText::englishFromCursor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("english");
    QTest::newRow("full stops become colons, ! ends") << "e.g. fine! more" << 0 << "e:g: fine";
    QTest::newRow("? ends") << "why? yes" << 0 << "why";
    QTest::newRow("signs and digits kept") << "it's $5, \"A_B\"-x" << 0 << "it's $5, \"A_B\"-x";
    QTest::newRow("Japanese ends") << "appleは" << 0 << "apple";
    QTest::newRow("from the cursor") << "日本 word" << 2 << " word";
    QTest::newRow("Japanese at the cursor") << "日本" << 0 << "";
}

void TestReadingText::englishFromCursor()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(QString, english);
    QCOMPARE(englishFrom(text, pos), english);
}

void TestReadingText::goingBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("back");
    QTest::addColumn<int>("back100");
    const QString longText = QString(50, u'あ') + u'。' + QString(80, u'い') + u'、' + QString(30, u'う');
    QTest::newRow("to the start") << "あ、い、う、" << 2 << 0 << 0;
    QTest::newRow("to the delimiter before") << "ぞ、あ、い、う、" << 4 << 1 << 0;
    QTest::newRow("over spaces") << "ぞ。 あ い、" << 4 << 1 << 0;
    QTest::newRow("at the start") << "あ、" << 0 << 0 << 0;
    QTest::newRow("across a line end") << "あ\r\nい、" << 3 << 0 << 0;
    // 160 - 100 = 60 lies among the い; the delimiter before them is at 50.
    QTest::newRow("100 back to a delimiter") << longText << 160 << 131 << 50;
    QTest::newRow("exactly 100 goes to the start") << longText << 100 << 50 << 0;
}

void TestReadingText::goingBack()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(int, back);
    QFETCH(int, back100);
    QCOMPARE(readBackTarget(text, pos), back);
    QCOMPARE(readBack100Target(text, pos), back100);
}

void TestReadingText::skipping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("target");
    QString lines;
    for (int i = 0; i < 14; ++i)
        lines += u"ab\r\n";
    QTest::newRow("past every line end it can, up to eleven") << lines << 0 << 44;
    QString longLines;
    for (int i = 0; i < 5; ++i)
        longLines += QString(40, u'x') + QStringLiteral("\r\n");
    QTest::newRow("until more than 100 characters") << longLines << 0 << 126;
    QTest::newRow("no line end") << "abc" << 1 << 1;
    QTest::newRow("a return ending the text") << "ab\rcd\r" << 0 << 0;
    QTest::newRow("last line") << "ab\r\ncd" << 4 << 4;
    QTest::newRow("one line end") << "ab\r\ncd" << 0 << 4;
}

void TestReadingText::skipping()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(int, target);
    QCOMPARE(readSkipTarget(text, pos), target);
}

void TestReadingText::paneLineBreaks()
{
    const PaneText pane(QStringLiteral("ab\ncd\n\nef"));
    QCOMPARE(pane.text(), QStringLiteral("ab\r\ncd\r\n\r\nef"));
    const QList<int> paneToReading{0, 1, 2, 4, 5, 6, 8, 10, 11, 12};
    for (int p = 0; p < paneToReading.size(); ++p)
        QCOMPARE(pane.toReading(p), paneToReading[p]);
    // A carriage return is the pane's break; its line feed is the next line.
    const QList<int> readingToPane{0, 1, 2, 3, 3, 4, 5, 6, 6, 7, 7, 8, 9};
    for (int r = 0; r < readingToPane.size(); ++r)
        QCOMPARE(pane.toPane(r), readingToPane[r]);
}

void TestReadingText::caretSize_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("selection");
    QTest::addColumn<QString>("ch");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QSize>("caret");
    QTest::newRow("12 pt, single byte") << 12.0 << false << "a" << 1.75 << QSize(8, 21);
    QTest::newRow("12 pt, double byte") << 12.0 << false << "あ" << 1.75 << QSize(16, 21);
    QTest::newRow("12 pt, older system") << 12.0 << false << "あ" << 1.35 << QSize(16, 16);
    QTest::newRow("6 pt, height 10.5 rounds down to even") << 6.0 << false << "あ" << 1.75 << QSize(8, 10);
    QTest::newRow("10 pt, height 17.5 rounds up to even") << 10.0 << false << "あ" << 1.75 << QSize(14, 18);
    QTest::newRow("half-width katakana is single byte") << 19.5 << false << "ｱ" << 1.75 << QSize(13, 34);
    QTest::newRow("19.5 pt, double byte") << 19.5 << false << "漢" << 1.75 << QSize(26, 34);
    QTest::newRow("selection") << 15.0 << true << "あ" << 1.75 << QSize(2, 21);
    QTest::newRow("selection, 12.5 pt") << 12.5 << true << "a" << 1.75 << QSize(2, 18);
}

void TestReadingText::caretSize()
{
    QFETCH(double, size);
    QFETCH(bool, selection);
    QFETCH(QString, ch);
    QFETCH(double, factor);
    QFETCH(QSize, caret);
    QCOMPARE(wideCaretSize(size, selection, isSingleByteCharacter(ch.at(0).unicode()), factor, 2), caret);
}

void TestReadingText::osLevel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("level");
    QTest::newRow("Windows 98") << int(QOperatingSystemVersion::Windows) << 4 << 10 << 3;
    QTest::newRow("Windows 2000") << int(QOperatingSystemVersion::Windows) << 5 << 0 << 4;
    QTest::newRow("Windows XP") << int(QOperatingSystemVersion::Windows) << 5 << 1 << 5;
    QTest::newRow("Windows 10") << int(QOperatingSystemVersion::Windows) << 10 << 0 << 5;
    QTest::newRow("other systems") << int(QOperatingSystemVersion::Unknown) << 0 << 0 << 5;
}

void TestReadingText::osLevel()
{
    QFETCH(int, type);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, level);
    QCOMPARE(OsLevelOf(QOperatingSystemVersion::OSType(type), major, minor), level);
}

QTEST_APPLESS_MAIN(TestReadingText)
#include "test_readingtext.moc"
