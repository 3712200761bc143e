// The portable core of Wlhook: the shared data and the exported functions'
// copy semantics, the class table, the byte-level helpers and the whole
// capture procedure against fake controls.

#include "core/capture.h"
#include "core/caretline.h"
#include "core/editclass.h"
#include "core/shareddata.h"
#include "fakecontrols.h"
#include "testsupport.h"

#include <QTest>

#include <memory>

using namespace wlhook;

namespace {

QByteArray captured(const SharedData &d)
{
    return QByteArray(d.CaptureBuffer, capturedLength(d));
}

std::unique_ptr<SharedData> freshData()
{
    auto d = std::make_unique<SharedData>(initialSharedData());
    beginHook(*d, 42, NotifyMessage, 123, 1000);
    return d;
}

const QByteArray Nihon = testsupport::sjis(QStringLiteral("日本語"));

} // namespace

class TestWlhookCore : public QObject {
    Q_OBJECT

private slots:
    void initialValues()
    {
        const SharedData d = initialSharedData();
        QCOMPARE(d.HookHandle, 0u);
        QCOMPARE(d.TargetWindow, 0u);
        QCOMPARE(d.NotifyMessage, 0u);
        QCOMPARE(d.HotKey, 122);
        QCOMPARE(d.CaptureResult, int(CaptureNone));
        QCOMPARE(d.CaretPoint.x, 0);
        QCOMPARE(d.CaretPoint.y, 0);
        QCOMPARE(d.HookOwnerPid, 0u);
        QCOMPARE(QByteArray(d.CaptureBuffer, CaptureBufferSize), QByteArray(CaptureBufferSize, '\0'));
    }

    void beginHookClearsTheLastCapture()
    {
        SharedData d = initialSharedData();
        storeText(d, "old text", 8);
        d.CaptureResult = CaptureSelection;
        beginHook(d, 77, 1024, 123, 4321);
        QCOMPARE(d.CaptureResult, int(CaptureNone));
        QCOMPARE(QByteArray(d.CaptureBuffer, CaptureBufferSize), QByteArray(CaptureBufferSize, '\0'));
        QCOMPARE(d.TargetWindow, 77u);
        QCOMPARE(d.NotifyMessage, 1024u);
        QCOMPARE(d.HotKey, 123);
        QCOMPARE(d.HookOwnerPid, 4321u);
    }

    void storeTextCutsOnBytes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("short") << QByteArray("word") << QByteArray("word");
        QTest::newRow("1022 bytes") << QByteArray(1022, 'a') << QByteArray(1022, 'a');
        QTest::newRow("1023 bytes") << QByteArray(1023, 'b') << QByteArray(1023, 'b');
        QTest::newRow("1024 bytes") << QByteArray(1024, 'c') << QByteArray(1023, 'c');
        QTest::newRow("5000 bytes") << QByteArray(5000, 'd') << QByteArray(1023, 'd');
        // The cut is on bytes: the lead byte of 日 stays, its trail byte goes.
        QTest::newRow("double-byte at the cut")
            << QByteArray(1022, 'e') + Nihon << QByteArray(1022, 'e') + Nihon.left(1);
        QTest::newRow("double-byte before the cut")
            << QByteArray(1021, 'f') + Nihon << QByteArray(1021, 'f') + Nihon.left(2);
        QTest::newRow("stops at a NUL") << QByteArray("ab\0cd", 5) << QByteArray("ab");
    }
    void storeTextCutsOnBytes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        SharedData d = initialSharedData();
        std::memset(d.CaptureBuffer, 'x', sizeof d.CaptureBuffer); // leftovers of an earlier capture
        storeText(d, text.constData(), static_cast<std::size_t>(text.size()));
        QCOMPARE(captured(d), expected);
        QCOMPARE(capturedLength(d), int(expected.size()));
        QCOMPARE(d.CaptureBuffer[CaptureBufferSize - 1], '\0');
        for (int i = int(expected.size()); i < CaptureBufferSize; ++i)
            QCOMPARE(d.CaptureBuffer[i], '\0');
    }

    void getStringIsABoundedCopy_data()
    {
        QTest::addColumn<int>("textLength");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("copied");
        QTest::newRow("300 into 0") << 300 << 0 << 0;
        QTest::newRow("300 into 1") << 300 << 1 << 1;
        QTest::newRow("300 into 256") << 300 << 256 << 256;
        QTest::newRow("300 into 300") << 300 << 300 << 300;
        QTest::newRow("300 into 512") << 300 << 512 << 300;
        QTest::newRow("10 into 256") << 10 << 256 << 10;
        QTest::newRow("empty into 16") << 0 << 16 << 0;
        QTest::newRow("negative length") << 300 << -5 << 0;
    }
    void getStringIsABoundedCopy()
    {
        QFETCH(int, textLength);
        QFETCH(int, length);
        QFETCH(int, copied);
        SharedData d = initialSharedData();
        QByteArray text(textLength, 'x');
        for (int i = 0; i < textLength; ++i)
            text[i] = char('a' + i % 26);
        storeText(d, text.constData(), static_cast<std::size_t>(text.size()));
        d.CaptureResult = CaptureSelection;

        const int room = std::max(length, 0);
        QByteArray out(room + 8, '#'); // the 8 bytes after the buffer must stay untouched
        QCOMPARE(copyCaptureTo(d, out.data(), length), int(CaptureSelection));
        QCOMPARE(out.left(copied), text.left(copied));
        QCOMPARE(out.mid(copied, room - copied), QByteArray(room - copied, '\0')); // padding, no terminator when full
        QCOMPARE(out.mid(room), QByteArray(8, '#'));
    }

    void getStringWithoutBufferOnlyAnswersTheResult()
    {
        SharedData d = initialSharedData();
        d.CaptureResult = CaptureClipboard;
        QCOMPARE(copyCaptureTo(d, nullptr, 256), int(CaptureClipboard));
    }

    void screenCaret()
    {
        SharedData d = initialSharedData();
        d.CaretPoint = {-20, 640};
        WlhookPoint p{1, 1};
        copyCaretTo(d, &p);
        QCOMPARE(p.x, -20);
        QCOMPARE(p.y, 640);
        copyCaretTo(d, nullptr); // must not crash
    }

    void captureKey_data()
    {
        QTest::addColumn<bool>("released");
        QTest::addColumn<quint32>("pid");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("capture");
        QTest::newRow("release in another process") << true << 7u << true << true << 123 << true;
        QTest::newRow("press") << false << 7u << true << true << 123 << false;
        QTest::newRow("in the owner's process") << true << 1000u << true << true << 123 << false;
        QTest::newRow("ctrl already up") << true << 7u << false << true << 123 << false;
        QTest::newRow("shift already up") << true << 7u << true << false << 123 << false;
        QTest::newRow("another key") << true << 7u << true << true << 122 << false;
    }
    void captureKey()
    {
        QFETCH(bool, released);
        QFETCH(quint32, pid);
        QFETCH(bool, ctrl);
        QFETCH(bool, shift);
        QFETCH(int, key);
        QFETCH(bool, capture);
        const auto d = freshData();
        QCOMPARE(isCaptureKey(*d, released, pid, ctrl, shift, key), capture);
    }

    void editClassTable_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("Edit") << QByteArray("Edit") << 0;
        QTest::newRow("RICHEDIT") << QByteArray("RICHEDIT") << 1;
        QTest::newRow("RichEdit20A") << QByteArray("RichEdit20A") << 2;
        QTest::newRow("RichEdit20W") << QByteArray("RichEdit20W") << 3;
        QTest::newRow("QevEditCtrl") << QByteArray("QevEditCtrl") << 4;
        QTest::newRow("QEVEDITV") << QByteArray("QEVEDITV") << 5;
        QTest::newRow("case matters") << QByteArray("edit") << -1;
        QTest::newRow("no prefix match") << QByteArray("EditX") << -1;
        QTest::newRow("list box") << QByteArray("ListBox") << -1;
        QTest::newRow("empty") << QByteArray("") << -1;
        QTest::newRow("Thunder TextBox") << QByteArray("ThunderRT6TextBox") << 0;
        QTest::newRow("Thunder before RichText rule") << QByteArray("ThunderTextBoxWndClassRichText") << 0;
        QTest::newRow("WndClass RichText") << QByteArray("WndClassRichText") << 1;
        QTest::newRow("fragments are case-sensitive") << QByteArray("thunderTextBox") << -1;
        QTest::newRow("only Thunder") << QByteArray("ThunderRT6Frame") << -1;
        // Only the first 18 characters take part.
        QTest::newRow("18 characters") << QByteArray("ThunderRT6TextBoxX") << 0;
        QTest::newRow("fragment at 12..18") << QByteArray("ThunderXXXXTextBox") << 0;
        QTest::newRow("fragment past 18") << QByteArray("ThunderXXXXXTextBox") << -1;
        QTest::newRow("40 characters, table name first")
            << QByteArray("RichEdit20W_with_a_long_suffix_to_forty_") << -1;
        QTest::newRow("40 characters, fragments beyond 18")
            << QByteArray("Thunder_padding_paddTextBox_padding_padd") << -1;
    }
    void editClassTable()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, index);
        QCOMPARE(editClassIndex(name.constData()), index);
    }

    void nullClassName() { QCOMPARE(editClassIndex(nullptr), UnrecognisedClass); }

    void copyMbcsRange_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray mixed = "ab" + Nihon + "cd"; // a b 日 本 語 c d: bytes 0-1, 2-7, 8-9
        QTest::newRow("ascii slice") << mixed << 0 << 2 << 64 << QByteArray("ab");
        QTest::newRow("whole") << mixed << 0 << int(mixed.size()) << 64 << mixed;
        QTest::newRow("double-byte characters") << mixed << 2 << 6 << 64 << Nihon.left(4);
        QTest::newRow("trail byte at the end offset") << mixed << 2 << 5 << 64 << Nihon.left(4);
        QTest::newRow("empty range") << mixed << 4 << 4 << 64 << QByteArray();
        QTest::newRow("end past the line") << mixed << 8 << 99 << 64 << QByteArray("cd");
        QTest::newRow("lone lead byte at the line end") << QByteArray("a\x88") << 0 << 2 << 64 << QByteArray("a\x88");
        QTest::newRow("capacity keeps pairs whole") << mixed << 0 << 10 << 4 << QByteArray("ab");
        QTest::newRow("capacity one") << mixed << 0 << 10 << 1 << QByteArray();
    }
    void copyMbcsRange()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, first);
        QFETCH(int, end);
        QFETCH(int, capacity);
        QFETCH(QByteArray, expected);
        QByteArray dest(capacity + 4, '#');
        const std::size_t n = CopyMbcsRange(line.constData(), std::size_t(line.size()), std::size_t(first),
                                            std::size_t(end), dest.data(), std::size_t(capacity), isCp932LeadByte);
        QCOMPARE(QByteArray(dest.constData(), int(n)), expected);
        QCOMPARE(dest[int(n)], '\0');
        QCOMPARE(dest.mid(capacity), QByteArray(4, '#'));
    }

    void cutAtFirstCarriageReturn_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("two paragraphs") << QByteArray("first\rsecond") << QByteArray("first");
        QTest::newRow("no break") << QByteArray("only") << QByteArray("only");
        QTest::newRow("break first") << QByteArray("\rnext") << QByteArray();
        QTest::newRow("double-byte before the break") << Nihon + "\r" + Nihon << Nihon;
        QTest::newRow("lead byte before the terminator") << QByteArray("ab\x88") << QByteArray("ab\x88");
    }
    void cutAtFirstCarriageReturn()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QByteArray buffer = text + QByteArray(4, '\0');
        const std::size_t n = wlhook::cutAtFirstCarriageReturn(buffer.data(), isCp932LeadByte);
        QCOMPARE(QByteArray(buffer.constData()), expected);
        QCOMPARE(int(n), int(expected.size()));
    }

    void keepFromOffset_data()
    {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("from the start") << QByteArray("word rest") << qint64(0) << QByteArray("word rest");
        QTest::newRow("from the middle") << QByteArray("before|after") << qint64(7) << QByteArray("after");
        QTest::newRow("at the terminator") << QByteArray("text") << qint64(4) << QByteArray();
        QTest::newRow("past the buffer") << QByteArray("text") << qint64(5000) << QByteArray();
        QTest::newRow("negative") << QByteArray("text") << qint64(-3) << QByteArray();
    }
    void keepFromOffset()
    {
        QFETCH(QByteArray, written);
        QFETCH(qint64, offset);
        QFETCH(QByteArray, expected);
        SharedData d = initialSharedData();
        storeText(d, written.constData(), std::size_t(written.size()));
        wlhook::keepFromOffset(d, static_cast<std::intptr_t>(offset));
        QCOMPARE(captured(d), expected);
    }

    void lineFromCaret_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxCharacters");
        QTest::addColumn<QString>("expected");
        QTest::newRow("to the line feed") << "world\nnext" << 1024 << "world";
        QTest::newRow("to the carriage return") << "world\r\nnext" << 1024 << "world";
        QTest::newRow("paragraph separator") << QStringLiteral("語\u2029次") << 1024 << QStringLiteral("語");
        QTest::newRow("line separator") << QStringLiteral("語\u2028次") << 1024 << QStringLiteral("語");
        QTest::newRow("no break") << "rest of text" << 1024 << "rest of text";
        QTest::newRow("caret at a break") << "\nnext" << 1024 << "";
        QTest::newRow("empty") << "" << 1024 << "";
        QTest::newRow("character limit") << "abcdef" << 4 << "abcd";
        QTest::newRow("limit counts characters") << QStringLiteral("日本語です") << 3 << QStringLiteral("日本語");
        QTest::newRow("beyond the plane") << QStringLiteral("a😀b\n") << 1024 << QStringLiteral("a😀b");
    }
    void lineFromCaret()
    {
        QFETCH(QString, text);
        QFETCH(int, maxCharacters);
        QFETCH(QString, expected);
        const QByteArray utf8 = text.toUtf8();
        const std::size_t n = lineLengthFromCaret(std::string_view(utf8.constData(), std::size_t(utf8.size())),
                                                  std::size_t(maxCharacters));
        QCOMPARE(QString::fromUtf8(utf8.constData(), qsizetype(n)), expected);
    }

    void lineFromCaretLimitIs1024Characters()
    {
        const QByteArray utf8 = QString(3000, QChar(u'語')).toUtf8();
        QCOMPARE(lineLengthFromCaret(std::string_view(utf8.constData(), std::size_t(utf8.size()))),
                 std::size_t(1024 * 3));
    }

    void lineFromCaretWithTruncatedSequence()
    {
        const char text[] = {'a', '\xE6', '\x97'}; // 日 cut after two of its three bytes
        QCOMPARE(lineLengthFromCaret(std::string_view(text, 3)), std::size_t(3));
        const char broken[] = {'a', '\xE6', '\x97', '\n', 'b'}; // the break after it still counts
        QCOMPARE(lineLengthFromCaret(std::string_view(broken, 5)), std::size_t(3));
    }

    // CaptureFocusedText against the fake controls.

    void standardControls_data()
    {
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<bool>("unicode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("expected");
        // Plain edits: line by line, lines joined with nothing between them.
        QTest::newRow("edit selection") << QByteArray("Edit") << true << "hello world" << 6 << 11 << 2 << "world";
        QTest::newRow("edit abc+def across two lines")
            << QByteArray("Edit") << true << "xyabc\r\ndefgh" << 2 << 10 << 2 << "abcdef";
        QTest::newRow("edit three lines")
            << QByteArray("Edit") << true << "one\r\ntwo\r\nthree" << 1 << 13 << 2 << "netwothr";
        QTest::newRow("edit empty line inside")
            << QByteArray("Edit") << true << "ab\r\n\r\ncd" << 0 << 8 << 2 << "abcd";
        QTest::newRow("edit caret takes the text onward")
            << QByteArray("Edit") << true << "hello world\r\nsecond" << 6 << 6 << 1 << "worldsecond";
        QTest::newRow("edit caret at the end") << QByteArray("Edit") << true << "hello" << 5 << 5 << 1 << "";
        QTest::newRow("edit Japanese, Unicode window")
            << QByteArray("Edit") << true << QStringLiteral("この辞書です") << 2 << 4 << 2 << QStringLiteral("辞書");
        QTest::newRow("edit Japanese, ANSI window (byte positions)")
            << QByteArray("Edit") << false << QStringLiteral("この辞書です") << 4 << 8 << 2 << QStringLiteral("辞書");
        QTest::newRow("edit ANSI across lines") << QByteArray("Edit") << false << QStringLiteral("ab日本\r\n語cd") << 2
                                                << 10 << 2 << QStringLiteral("日本語");
        QTest::newRow("Thunder text box reads as an edit")
            << QByteArray("ThunderRT6TextBox") << true << "ab\r\ncd" << 1 << 5 << 2 << "bc";
        QTest::newRow("character without a code becomes ?")
            << QByteArray("Edit") << true << QStringLiteral("a😀b") << 0 << 4 << 2 << "a?b";
        // Rich edits: the selection message, first line only.
        QTest::newRow("rich selection") << QByteArray("RichEdit20W") << true << "hello world" << 0 << 5 << 2 << "hello";
        QTest::newRow("rich selection over two paragraphs")
            << QByteArray("RichEdit20W") << true << "first para\rsecond" << 6 << 14 << 2 << "para";
        QTest::newRow("rich caret to the paragraph end")
            << QByteArray("RichEdit20W") << true << "first para\rsecond" << 2 << 2 << 1 << "rst para";
        QTest::newRow("rich caret at the end") << QByteArray("RichEdit20W") << true << "text" << 4 << 4 << 1 << "";
        QTest::newRow("rich ANSI window") << QByteArray("RichEdit20A") << false << QStringLiteral("辞書\r次") << 0 << 6
                                          << 2 << QStringLiteral("辞書");
        QTest::newRow("first-generation rich edit")
            << QByteArray("RICHEDIT") << false << "one\rtwo" << 0 << 7 << 2 << "one";
        QTest::newRow("WndClass RichText reads as a rich edit")
            << QByteArray("WndClassRichText") << true << "one\rtwo" << 1 << 7 << 2 << "ne";
    }
    void standardControls()
    {
        QFETCH(QByteArray, className);
        QFETCH(bool, unicode);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, result);
        QFETCH(QString, expected);
        const auto d = freshData();
        FakeControl control(className, unicode, text);
        control.select(start, end);
        FakeClipboard clipboard;
        CaptureFocusedText(*d, control, clipboard, cp932ForTests());
        QCOMPARE(d->CaptureResult, result);
        QCOMPARE(captured(*d), testsupport::sjis(expected));
        QCOMPARE(clipboard.openCount, 0);
        // The control is left as it was found.
        QCOMPARE(control.selStart, start);
        QCOMPARE(control.selEnd, end);
        QCOMPARE(control.mask, 0x80001u);
        QCOMPARE(control.opts, 0x1C8u);
        if (result == CaptureSelection)
            QVERIFY(control.changes.isEmpty());
    }

    void caretCaptureWidensAndRestoresInOrder()
    {
        const auto d = freshData();
        FakeControl control("RichEdit20W", true, "some text here");
        control.select(5, 5);
        FakeClipboard clipboard;
        CaptureFocusedText(*d, control, clipboard, cp932ForTests());
        QCOMPARE(captured(*d), QByteArray("text here"));
        // Widened without the selection-change event and with scrolling and
        // keep-selection off; then the selection, options and mask come back.
        QCOMPARE(control.changes,
                 QStringList({"mask 1", "options 8", "sel 5 14", "sel 5 5", "options 1c8", "mask 80001"}));
    }

    void longTextsAreCut_data()
    {
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("stored");
        QTest::newRow("edit selection of 5000") << QByteArray("Edit") << 5000 << 0 << 5000 << 1023;
        QTest::newRow("rich selection of 5000") << QByteArray("RichEdit20W") << 5000 << 0 << 5000 << 1023;
        QTest::newRow("edit selection of 1023") << QByteArray("Edit") << 1023 << 0 << 1023 << 1023;
        QTest::newRow("edit selection of 1024") << QByteArray("Edit") << 1024 << 0 << 1024 << 1023;
        QTest::newRow("edit caret in 5000") << QByteArray("Edit") << 5000 << 100 << 100 << 1023;
        QTest::newRow("rich caret in 5000") << QByteArray("RichEdit20W") << 5000 << 100 << 100 << 1023;
    }
    void longTextsAreCut()
    {
        QFETCH(QByteArray, className);
        QFETCH(int, length);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, stored);
        const auto d = freshData();
        FakeControl control(className, true, QString(length, QLatin1Char('z')));
        control.select(start, end);
        FakeClipboard clipboard;
        CaptureFocusedText(*d, control, clipboard, cp932ForTests());
        QCOMPARE(capturedLength(*d), stored);
        QCOMPARE(d->CaptureBuffer[CaptureBufferSize - 1], '\0');
    }

    void japaneseAtTheCut()
    {
        // 1022 ASCII letters then 辞書 in an ANSI edit: the cut falls between
        // the lead and trail byte of 辞.
        const auto d = freshData();
        const QString text = QString(1022, QLatin1Char('a')) + QStringLiteral("辞書");
        FakeControl control("Edit", false, text);
        control.select(0, 1026);
        FakeClipboard clipboard;
        CaptureFocusedText(*d, control, clipboard, cp932ForTests());
        const QByteArray bytes = testsupport::sjis(text);
        QCOMPARE(captured(*d), bytes.left(1023));
    }

    void failedAllocationLeavesTheBufferEmptyAndUndoesTheWidening()
    {
        const auto d = freshData();
        FakeControl control("Edit", true, "hello world");
        control.select(3, 3);
        FakeClipboard clipboard;
        const Scratch failing{[](std::size_t) -> void * { return nullptr; }, [](void *) {}};
        CaptureFocusedText(*d, control, clipboard, cp932ForTests(), failing);
        QCOMPARE(d->CaptureResult, int(CaptureFromCaret));
        QCOMPARE(capturedLength(*d), 0);
        QCOMPARE(control.selStart, 3);
        QCOMPARE(control.selEnd, 3);
        QCOMPARE(control.opts, 0x1C8u);
        QCOMPARE(control.mask, 0x80001u);
    }

    void failedLineAllocationStopsCollecting()
    {
        // The first block (the gathered text) is granted, the line buffers are not.
        static int granted;
        granted = 0;
        const Scratch oneBlock{
            [](std::size_t size) -> void * { return granted++ == 0 ? std::calloc(1, size) : nullptr; },
            [](void *block) { std::free(block); }};
        const auto d = freshData();
        FakeControl control("Edit", true, "abc\r\ndef");
        control.select(0, 8);
        FakeClipboard clipboard;
        CaptureFocusedText(*d, control, clipboard, cp932ForTests(), oneBlock);
        QCOMPARE(d->CaptureResult, int(CaptureSelection));
        QCOMPARE(capturedLength(*d), 0);
    }

    void makersEditor_data()
    {
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<bool>("hasSelection");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("selection") << QByteArray("QevEditCtrl") << true << QByteArray("selected") << qint64(0) << 2
                                   << QByteArray("selected");
        QTest::newRow("caret, offset kept") << QByteArray("QEVEDITV") << false << QByteArray("line start|word")
                                            << qint64(11) << 1 << QByteArray("word");
        QTest::newRow("caret, offset out of range")
            << QByteArray("QEVEDITV") << false << QByteArray("word") << qint64(4096) << 1 << QByteArray();
        QTest::newRow("selection of 1023 bytes")
            << QByteArray("QevEditCtrl") << true << QByteArray(1200, 's') << qint64(0) << 2 << QByteArray(1023, 's');
    }
    void makersEditor()
    {
        QFETCH(QByteArray, className);
        QFETCH(bool, hasSelection);
        QFETCH(QByteArray, text);
        QFETCH(qint64, offset);
        QFETCH(int, result);
        QFETCH(QByteArray, expected);
        const auto d = freshData();
        FakeControl control(className, true, QString());
        control.editorHasSelection = hasSelection;
        control.editorSelection = text;
        control.editorCaretText = text;
        control.editorOffset = static_cast<std::intptr_t>(offset);
        FakeClipboard clipboard;
        CaptureFocusedText(*d, control, clipboard, cp932ForTests());
        QCOMPARE(d->CaptureResult, result);
        QCOMPARE(captured(*d), expected);
        QVERIFY(control.changes.isEmpty());
    }

    void clipboardFallback_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("text") << true << true << QByteArray("clipboard words") << QByteArray("clipboard words");
        QTest::newRow("Japanese") << true << true << Nihon << Nihon;
        QTest::newRow("5000 bytes") << true << true << QByteArray(5000, 'k') << QByteArray(1023, 'k');
        QTest::newRow("no text") << true << false << QByteArray("hidden") << QByteArray();
        QTest::newRow("cannot open") << false << true << QByteArray("locked") << QByteArray();
    }
    void clipboardFallback()
    {
        QFETCH(bool, opens);
        QFETCH(bool, hasText);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        const auto d = freshData();
        FakeControl control("ListBox", true, "item");
        FakeClipboard clipboard;
        clipboard.opens = opens;
        clipboard.hasText = hasText;
        clipboard.text = text;
        CaptureFocusedText(*d, control, clipboard, cp932ForTests());
        QCOMPARE(d->CaptureResult, int(CaptureClipboard));
        QCOMPARE(captured(*d), expected);
        QCOMPARE(clipboard.locked, 0);
        QCOMPARE(clipboard.closeCount, opens ? 1 : 0);
        QVERIFY(control.changes.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestWlhookCore)
#include "test_wlhook_core.moc"
