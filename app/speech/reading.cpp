#include "speech/reading.h"

#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "orrin/announcer.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinvoice.h"
#include "orrin/orrnusr.h"
#include "orrin/panereadings.h"
#include "speech/imecomposition.h"
#include "speech/readingtext.h"
#include "speech/speechlayer.h"

#include <QAction>
#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>

using namespace reading;

Reading::Reading(MainForm &form, SpeechLayer &layer, std::shared_ptr<bool> alive)
    : form_(form), layer_(layer), alive_(std::move(alive))
{
    connect(form_.Text2->document(), &QTextDocument::contentsChanged, this, [this] { paneChanged_ = true; });
    connectCommands();
}

Reading::~Reading() = default;

// --- read-all ---------------------------------------------------------------

struct Reading::ReadAllState {
    PaneText pane;
    int cursor = 0;    // in pane.text()
    int lastStart = 0; // start of the chunk spoken last
    int chunkStart = 0;
    QString chunk;
};

void Reading::showChunk(const PaneText &pane, int start, int length)
{
    // The reading's own highlight is no caret move of the user's.
    const Announcer::ProgramCaretMove programMove;
    const int from = pane.toPane(start);
    const int to = pane.toPane(start + length);
    QTextCursor c = form_.Text2->textCursor();
    const int end = form_.Text2->document()->characterCount() - 1;
    c.setPosition(std::clamp(from, 0, end));
    c.setPosition(std::clamp(to, 0, end), QTextCursor::KeepAnchor);
    form_.Text2->setTextCursor(c);
}

void Reading::refreshPane(ReadAllState &s)
{
    // The pane changed under the reading (the commands that change it stop
    // the reading first, so this is rare): read on in the new text.
    if (!paneChanged_)
        return;
    paneChanged_ = false;
    const int panePos = s.pane.toPane(s.cursor);
    const int paneChunk = s.pane.toPane(s.chunkStart);
    const int paneLast = s.pane.toPane(s.lastStart);
    s.pane = PaneText(form_.Text2->toPlainText());
    s.cursor = std::min(s.pane.toReading(panePos), s.pane.size());
    s.chunkStart = std::min(s.pane.toReading(paneChunk), s.cursor);
    s.lastStart = std::min(s.pane.toReading(paneLast), s.cursor);
}

bool Reading::BackBack(const QString &text, int pos, int &cursor)
{
    const int before = cursor;
    if (form_.ReadBack) {
        form_.ReadBack = false;
        cursor = readBackTarget(text, pos);
    } else if (form_.ReadBack100) {
        form_.ReadBack100 = false;
        cursor = readBack100Target(text, cursor);
    } else if (form_.ReadSkip) {
        form_.ReadSkip = false;
        cursor = readSkipTarget(text, cursor);
    } else {
        return false;
    }
    return cursor != before;
}

QString Reading::withReadings(const PaneText &pane, int start, const QString &text) const
{
    // The words the entry gave a reading for are handed to the voice with
    // it. The text is the pane's from `start` on, except that a chunk may
    // have left out the line feed after a carriage return.
    QList<int> at; // for each character of `text`, its position in the pane's text
    at.reserve(text.size());
    int j = start;
    for (const QChar c : text) {
        if (j < pane.size() && pane.text().at(j) != c && pane.text().at(j) == u'\n')
            ++j;
        if (j >= pane.size() || pane.text().at(j) != c)
            break;
        at.append(j++);
    }
    if (at.isEmpty())
        return text;
    QList<panereadings::Span> spans =
        panereadings::within(form_.Text2->document(), pane.toPane(at.first()), pane.toPane(at.last() + 1));
    QList<panereadings::Span> inText;
    for (const panereadings::Span &sp : spans) {
        const int from = int(at.indexOf(pane.toReading(sp.start)));
        if (from >= 0 && from + sp.length <= at.size() && at[from + sp.length - 1] == at[from] + sp.length - 1)
            inText.append({from, sp.length, sp.reading});
    }
    return panereadings::annotate(text, inText);
}

bool Reading::speakChunk(ReadAllState &s, Voice voice, Pause pause)
{
    const std::shared_ptr<bool> alive = alive_;
    int end = s.cursor;
    s.cursor = s.chunkStart;
    showChunk(s.pane, s.chunkStart, AbsX(end - s.chunkStart));
    if (!*alive)
        return false;
    if (voice == Voice::English) {
        layer_.SapiGo(s.chunk);
        if (*alive)
            layer_.AllReadWaitSapi();
    } else {
        form_.Voice1->Speak(withReadings(s.pane, s.chunkStart, s.chunk), 0);
        if (pause == Pause::Settle)
            form_.Voice1->Settle();
        else
            layer_.AllReadWait();
    }
    if (!*alive)
        return false;
    refreshPane(s);
    end = std::min(end, s.pane.size());
    const bool moved = BackBack(s.pane.text(), s.lastStart, s.cursor);
    if (moved)
        end = s.cursor;
    s.lastStart = s.cursor;
    s.cursor = end;
    showChunk(s.pane, end, 0);
    s.chunk.clear();
    s.chunkStart = end;
    return moved;
}

void Reading::AllRead()
{
    if (!eventloop::mayRunEvents()) {
        // Asked for from inside a box's own handler (a drop from the pane
        // itself): the reading starts once that handler is over.
        QMetaObject::invokeMethod(this, &Reading::AllRead, Qt::QueuedConnection);
        return;
    }
    // Nor once the program has said farewell: a lookup that was still on the
    // stack when it ended must not start reading its entry.
    if (form_.AllReadFlag || !OrvLoaded() || !form_.AllReadIdle || !form_.Voice1 ||
        (form_.OrvBack && form_.OrvBack->isShutDown()))
        return;
    const std::shared_ptr<bool> alive = alive_;
    form_.Voice1->StopSpeech();
    form_.ReadClickPos = 0;
    form_.AllReadFlag = true;
    form_.AllReadIdle = false;
    form_.ReadBack100 = false;
    form_.ReadSkip = false;
    emit form_.readAllStateChanged(true);
    int runLength = 0;
    form_.ReadBack = false;

    ReadAllState s;
    s.pane = PaneText(form_.Text2->toPlainText());
    paneChanged_ = false;
    s.cursor = s.pane.toReading(form_.Text2->textCursor().selectionStart());
    s.lastStart = s.chunkStart = s.cursor;
    const auto charAt = [&s](int i) { return i >= 0 && i < s.pane.size() ? s.pane.text().at(i) : QChar(); };
    QChar ch = charAt(s.cursor);
    bool previousDigit = false;

    while (s.cursor < s.pane.size() && form_.AllReadFlag) {
        bool movedInStep = false;  // the cursor was moved past the chunk end
        bool dropped = false;      // going back or skipping moved the cursor
        bool startFollows = false; // the next chunk starts where reading goes on
        bool runEnded = false;
        if (isEnglishLetter(ch)) {
            if (!s.chunk.isEmpty() && runLength == 0) {
                dropped = speakChunk(s, Voice::ScreenReader, Pause::Wait);
                if (!*alive)
                    return;
            }
            if (!dropped)
                ++runLength;
        } else if (isRunContinuation(ch)) {
            if (runLength > 0)
                ++runLength;
        } else if (runLength > 0) {
            runEnded = true;
        }

        if (dropped) {
            startFollows = true;
        } else if (runEnded) {
            runLength = 0;
            dropped = speakChunk(s, Voice::English, Pause::Wait);
            if (!*alive)
                return;
            if (dropped) {
                startFollows = true;
            } else {
                // The character that ended the run starts the next chunk
                // without being looked at.
                s.chunk = ch;
                s.chunkStart = s.cursor;
            }
        } else if (runLength > 0) {
            s.chunk += ch;
        } else if ((isNumberPunctuation(ch) && !previousDigit) || isJapaneseChunkEnd(ch)) {
            s.chunk += ch;
            ++s.cursor;
            movedInStep = true;
            dropped = speakChunk(s, Voice::ScreenReader, Pause::Wait);
            if (!*alive)
                return;
        } else if (isSpace(ch) || ch == u'\r') {
            s.chunk += ch;
            dropped = speakChunk(s, Voice::ScreenReader, Pause::Settle);
            if (!*alive)
                return;
            startFollows = true;
        } else {
            s.chunk += ch;
        }

        if (!movedInStep)
            s.cursor += (ch == u'\r' && !dropped) ? 2 : 1;
        if (startFollows)
            s.chunkStart = s.cursor;

        previousDigit = isDigit(ch) && !dropped;
        if (form_.ReadClickPos != 0) {
            refreshPane(s);
            s.cursor = std::min(s.pane.toReading(form_.ReadClickPos), s.pane.size());
            showChunk(s.pane, s.cursor, 0);
            s.chunkStart = s.lastStart = s.cursor;
            s.chunk.clear();
            previousDigit = false;
            form_.ReadClickPos = 0;
        }

        if (form_.AllReadFlag) {
            eventloop::DoEvents();
            if (!*alive)
                return;
            refreshPane(s);
        }
        ch = charAt(s.cursor);
    }

    if (form_.AllReadFlag) {
        layer_.AllReadWait();
        if (!*alive)
            return;
        if (!s.chunk.isEmpty()) {
            form_.Voice1->Speak(withReadings(s.pane, s.chunkStart, s.chunk), 0);
            layer_.AllReadWait();
            if (!*alive)
                return;
        }
    }
    // A reading stopped by a key was silenced by that key, which may have
    // spoken since (the line the caret moved to): only a reading that ran to
    // its end stops what is left of it.
    if (form_.AllReadFlag)
        form_.Voice1->StopSpeech();
    layer_.SapiCancel();
    if (!*alive)
        return;
    if (form_.AllReadFlag) {
        setCursol(form_.Text2);
        if (!*alive)
            return;
        form_.Voice1->Speak(QStringLiteral("読み 終わり"), 0);
        layer_.AllReadWait();
        if (!*alive)
            return;
    } else if (!(form_.OrvBack && form_.OrvBack->isShutDown())) {
        form_.Voice1->Signal(10, 3, 0); // stopped; but no tone after the farewell
    }
    setCursol(form_.Text2);
    if (!*alive)
        return;
    form_.AllReadFlag = false;
    emit form_.readAllStateChanged(false);
    form_.AllReadIdle = true;
}

// --- other readings -------------------------------------------------------

void Reading::ParaYomi()
{
    const PaneText pane(form_.Text2->toPlainText());
    if (pane.size() == 0 || !form_.Voice1)
        return;
    const int cursor = pane.toReading(form_.Text2->textCursor().selectionStart());
    form_.Voice1->StopSpeech();
    int start = 0;
    const QString paragraph = paragraphAt(pane.text(), cursor, &start);
    form_.Voice1->Speak(withReadings(pane, start, paragraph), 0);
}

QString Reading::GetCurStr()
{
    const PaneText pane(form_.Text2->toPlainText());
    return wordAt(pane.text(), pane.toReading(form_.Text2->textCursor().selectionStart()));
}

void Reading::mnu_yomi_english_Click()
{
    layer_.AllCancel();
    if (!*alive_ || !form_.action(QStringLiteral("mnu_yomi_english"))->isEnabled())
        return;
    const PaneText pane(form_.Text2->toPlainText());
    const QString text = englishFrom(pane.text(), pane.toReading(form_.Text2->textCursor().selectionStart()));
    layer_.SapiCancel();
    if (*alive_)
        layer_.SapiGo(text);
}
