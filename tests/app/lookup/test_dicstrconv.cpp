// The entry writer: the pieces it writes for each kind of line, and the
// colours and indents those pieces get in a real rich-text pane.

#include "lookup/dicstrconv.h"
#include "lookup/textpanesink.h"

#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace lookup;

namespace {

// Records every piece with its format.
class PieceSink : public EntrySink {
public:
    struct Piece {
        QString text;
        EntryFormat format;
    };
    QList<Piece> pieces;
    void clear() override { pieces.clear(); }
    double fontPointSize() const override { return 12; }
    void append(const QString &text, const EntryFormat &format) override { pieces.append({text, format}); }
    QString text() const override
    {
        QString t;
        for (const Piece &p : pieces)
            t += p.text;
        return t;
    }
};

} // namespace

class TestDicStrConv : public QObject {
    Q_OBJECT
private slots:
    void pieces_data();
    void pieces();
    void nothingToWrite();
    void textPaneColoursAndIndents_data();
    void textPaneColoursAndIndents();
    void textPaneAppendsAtTheEnd();
};

void TestDicStrConv::pieces_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("kana");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("pieces"); // "H:" headword format, "B:" body format
    QTest::newRow("example entry") << EnglishJapanese << false
                                   << QStringList{QStringLiteral("■abandon {動} : 捨てる●見捨てる")}
                                   << QStringList{QStringLiteral("H:abandon {動} \r\n"),
                                                  QStringLiteral("B:捨てる\r\n見捨てる\r\n")};
    QTest::newRow("readings removed") << EnglishJapanese << true
                                      << QStringList{QStringLiteral("■apple {名} : 林檎{りんご}")}
                                      << QStringList{QStringLiteral("H:apple {名} \r\n"), QStringLiteral("B:林檎\r\n")};
    QTest::newRow("readings kept") << EnglishJapanese << false << QStringList{QStringLiteral("■apple : 林檎{りんご}")}
                                   << QStringList{QStringLiteral("H:apple \r\n"), QStringLiteral("B:林檎{りんご}\r\n")};
    QTest::newRow("japanese-english keeps readings")
        << JapaneseEnglish << true << QStringList{QStringLiteral("■閑静 : 閑静{かんせい}な")}
        << QStringList{QStringLiteral("H:閑静 \r\n"), QStringLiteral("B:閑静{かんせい}な\r\n")};
    QTest::newRow("pronunciation line skipped")
        << EnglishJapanese << true
        << QStringList{QStringLiteral("■apple : 【発音】アップル"), QStringLiteral("■apple : 【＠】x"),
                       QStringLiteral("■apple : 林檎")}
        << QStringList{QStringLiteral("H:apple \r\n"), QStringLiteral("B:林檎\r\n")};
    QTest::newRow("pronunciation shown japanese-english")
        << JapaneseEnglish << true << QStringList{QStringLiteral("■あ : 【発音】a")}
        << QStringList{QStringLiteral("H:あ \r\n"), QStringLiteral("B:【発音】a\r\n")};
    // The character right after a flush leaves the state at "dropping
    // spaces", so the space after c goes too.
    QTest::newRow("every colon starts a piece")
        << EnglishJapanese << true << QStringList{QStringLiteral("■a : b:c : d")}
        << QStringList{QStringLiteral("H:a \r\n"), QStringLiteral("B:b\r\n"), QStringLiteral("B:c\r\n"),
                       QStringLiteral("B:d\r\n")};
    QTest::newRow("spaces later in a part stay")
        << EnglishJapanese << true << QStringList{QStringLiteral("■a : bc d:e")}
        << QStringList{QStringLiteral("H:a \r\n"), QStringLiteral("B:bc d\r\n"), QStringLiteral("B:e\r\n")};
    QTest::newRow("spaces after a separator dropped")
        << JapaneseEnglish << true << QStringList{QStringLiteral("■a :    b  c  ")}
        << QStringList{QStringLiteral("H:a \r\n"), QStringLiteral("B:b  c  \r\n")};
    QTest::newRow("leading spaces of the headword trimmed")
        << JapaneseEnglish << true << QStringList{QStringLiteral("  ■a : b")}
        << QStringList{QStringLiteral("H:a \r\n"), QStringLiteral("B:b\r\n")};
    QTest::newRow("line without colon") << EnglishJapanese << true << QStringList{QStringLiteral("■abc●def")}
                                        << QStringList{QStringLiteral("H:abc\r\ndef\r\n")};
    QTest::newRow("marker inside dropped") << JapaneseEnglish << true << QStringList{QStringLiteral("■a : b■c")}
                                           << QStringList{QStringLiteral("H:a \r\n"), QStringLiteral("B:bc\r\n")};
    QTest::newRow("C line") << EnglishJapanese << true << QStringList{QStringLiteral("■C language : C言語")}
                            << QStringList{QStringLiteral("H:C language \r\n"), QStringLiteral("B:C言語\r\n")};
    QTest::newRow("two lines, two headwords")
        << EnglishJapanese << true << QStringList{QStringLiteral("■run : 走る"), QStringLiteral("■run : 運営する")}
        << QStringList{QStringLiteral("H:run \r\n"), QStringLiteral("B:走る\r\n"), QStringLiteral("H:run \r\n"),
                       QStringLiteral("B:運営する\r\n")};
    QTest::newRow("colon right after a separator")
        << JapaneseEnglish << true << QStringList{QStringLiteral("■a ::b")}
        << QStringList{QStringLiteral("H:a \r\n"), QStringLiteral("B:\r\n"), QStringLiteral("B:b\r\n")};
}

void TestDicStrConv::pieces()
{
    QFETCH(int, mode);
    QFETCH(bool, kana);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, pieces);
    for (bool reverse : {false, true}) {
        LookupState state;
        state.DicMode = mode;
        state.DicKana = kana;
        state.modeReverse = reverse;
        state.record.HitLines = lines;
        PieceSink sink;
        DicStrConv(state, sink);
        QStringList got;
        const EntryFormat head = headwordFormat(reverse);
        const EntryFormat body = bodyFormat(mode, reverse, 12);
        for (const PieceSink::Piece &p : sink.pieces) {
            QVERIFY(p.format == head || p.format == body);
            got.append((p.format == head ? QStringLiteral("H:") : QStringLiteral("B:")) + p.text);
        }
        QCOMPARE(got, pieces);
    }
}

void TestDicStrConv::nothingToWrite()
{
    LookupState state;
    state.DicMode = EnglishJapanese;
    PieceSink sink;
    sink.append(QStringLiteral("earlier"), {});
    DicStrConv(state, sink);
    QCOMPARE(sink.text(), QStringLiteral("earlier"));
}

void TestDicStrConv::textPaneColoursAndIndents_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<double>("points");
    QTest::addColumn<QColor>("headColour");
    QTest::addColumn<QColor>("bodyColour");
    QTest::addColumn<double>("indentTwips");
    QTest::newRow("japanese-english, normal")
        << JapaneseEnglish << false << 12.0 << QColor(0, 128, 0) << QColor(0, 0, 0) << 96.0;
    QTest::newRow("english-japanese, normal")
        << EnglishJapanese << false << 12.0 << QColor(0, 128, 0) << QColor(0, 0, 0) << 48.0;
    QTest::newRow("japanese-english, reversed")
        << JapaneseEnglish << true << 20.0 << QColor(255, 255, 192) << QColor(255, 255, 255) << 160.0;
    QTest::newRow("english-japanese, reversed")
        << EnglishJapanese << true << 9.0 << QColor(255, 255, 192) << QColor(255, 255, 255) << 36.0;
}

void TestDicStrConv::textPaneColoursAndIndents()
{
    QFETCH(int, mode);
    QFETCH(bool, reverse);
    QFETCH(double, points);
    QFETCH(QColor, headColour);
    QFETCH(QColor, bodyColour);
    QFETCH(double, indentTwips);
    QTextEdit pane;
    QFont font = pane.font();
    font.setPointSizeF(points);
    pane.setFont(font);
    TextPaneSink sink(&pane);
    QCOMPARE(sink.fontPointSize(), points);
    LookupState state;
    state.DicMode = mode;
    state.modeReverse = reverse;
    state.DicKana = false;
    state.record.HitLines = {QStringLiteral("■run : 走る●駆ける"), QStringLiteral("■run : 運営する")};
    DicStrConv(state, sink);
    QCOMPARE(pane.toPlainText(), QStringLiteral("run \n走る\n駆ける\nrun \n運営する\n"));

    const double bodyMargin = indentTwips * pane.logicalDpiX() / 1440.0;
    QCOMPARE(TextPaneSink::twipsToPixels(1440, 96), 96.0);
    QCOMPARE(TextPaneSink::twipsToPixels(96, 96), 6.4);
    // Blocks: headword, body, body, headword, body, and the empty last one.
    const QList<bool> isHead{true, false, false, true, false};
    QTextBlock block = pane.document()->begin();
    for (bool head : isHead) {
        QVERIFY(block.isValid());
        QCOMPARE(block.blockFormat().leftMargin(), head ? 0.0 : bodyMargin);
        for (auto it = block.begin(); !it.atEnd(); ++it)
            QCOMPARE(it.fragment().charFormat().foreground().color(), head ? headColour : bodyColour);
        block = block.next();
    }
}

void TestDicStrConv::textPaneAppendsAtTheEnd()
{
    QTextEdit pane;
    pane.setPlainText(QStringLiteral("old"));
    QTextCursor c = pane.textCursor();
    c.setPosition(1);
    pane.setTextCursor(c); // the caret elsewhere does not matter
    TextPaneSink sink(&pane);
    sink.append(QStringLiteral("+new\r\n"), headwordFormat(false));
    QCOMPARE(sink.text(), QStringLiteral("old+new\n"));
    QCOMPARE(pane.textCursor().position(), pane.document()->characterCount() - 1);
    sink.clear();
    QCOMPARE(sink.text(), QString());
}

QTEST_MAIN(TestDicStrConv)
#include "test_dicstrconv.moc"
