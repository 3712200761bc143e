#include "mainwindow/paging.h"

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "lookup/dicfile.h"
#include "lookup/dicstrconv.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"

#include <QAction>
#include <QCoreApplication>
#include <QTextCursor>

namespace {
// "■" in the dictionary files.
constexpr unsigned char MarkerLead = 0x81;
constexpr unsigned char MarkerTrail = 0xA1;
constexpr int LineFeed = 0x0A;
const QString forwardText = QStringLiteral("読み方順に単語を次にめくっています");
const QString backText = QStringLiteral("読み方順に単語を前にめくっています");
} // namespace

Paging::Paging(MainForm &form, SearchWindow &search) : form_(form), search_(search)
{
    connect(form_.action(QStringLiteral("mnu_file_nextpage")), &QAction::triggered, this,
            &Paging::mnu_file_nextpage_Click);
    connect(form_.action(QStringLiteral("mnu_file_backpage")), &QAction::triggered, this,
            &Paging::mnu_file_backpage_Click);
    connect(form_.action(QStringLiteral("mnu_file_yudo1")), &QAction::triggered, this, &Paging::mnu_file_yudo1_Click);
}

bool Paging::paneShowsSomething() const
{
    return !form_.Text2->toPlainText().trimmed().isEmpty();
}

void Paging::mnu_file_nextpage_Click()
{
    step(true);
}

void Paging::mnu_file_backpage_Click()
{
    step(false);
}

bool Paging::step(bool forward)
{
    bool &busy = forward ? nextBusy_ : backBusy_;
    form_.Text2->setFocus();
    form_.speech().AllCancel();
    if (!form_.AllReadIdle || busy) {
        // A reading that was still running has just been stopped: the next
        // press turns the page.
        spoken::Signal(form_, 20, 1, 0);
        return false;
    }
    if (forward)
        form_.speech().AllCancel();
    busy = true;
    lookup::PositionRecord &record = form_.Lookup.record;
    const bool stepped = forward ? TangoNext(record.HitEndPos) : TangoBack(record.HitEndPos);
    if (stepped) {
        QTextCursor c = form_.Text2->textCursor();
        c.setPosition(0);
        form_.Text2->setTextCursor(c);
        form_.setStatusText(forward ? forwardText : backText);
        spoken::StopSpeech(form_);
        form_.speech().AllRead();
    }
    busy = false;
    return stepped;
}

bool Paging::TangoNext(qint64 &fseek)
{
    lookup::PositionRecord &record = form_.Lookup.record;
    lookup::DicFile file;
    if (!file.open(record.DicFileName))
        return false;
    // Past the current line (which starts at fseek).
    file.seek(fseek);
    QByteArray line = file.readLine();
    do {
        if (!file.atEnd()) {
            fseek = file.pos();
            line = file.readLine();
        }
        record.HitLines = QStringList{codepage::decode(line)};
        record.HitTopPos = 0;
        search_.rewriteEntry();
    } while (!paneShowsSomething() && !file.atEnd() && !file.failed());
    return !file.failed();
}

bool Paging::TangoBack(qint64 &fseek)
{
    lookup::PositionRecord &record = form_.Lookup.record;
    lookup::DicFile file;
    if (!file.open(record.DicFileName))
        return false;
    do {
        if (record.HitTopPos != 0) {
            fseek = record.HitTopPos;
            record.HitTopPos = 0;
        }
        fseek = fseek > 1 ? fseek - 2 : 1;
        // Back to the start of the line before: a "■" that begins a line
        // (at the start of the file, or right after a line feed). A "■"
        // made of a trail byte and the next character's lead byte is passed
        // over.
        for (;;) {
            if (fseek <= 1) {
                fseek = 1;
                break;
            }
            file.seek(fseek);
            if (file.readByte() == MarkerLead && file.readByte() == MarkerTrail) {
                file.seek(fseek - 1);
                if (file.readByte() == LineFeed)
                    break;
            }
            --fseek;
        }
        file.seek(fseek);
        const QByteArray line = file.readLine();
        if (file.failed())
            return false;
        record.HitLines = QStringList{codepage::decode(line)};
        record.HitTopPos = 0;
        search_.rewriteEntry();
    } while (!paneShowsSomething() && fseek > 1);
    return true;
}

void Paging::mnu_file_yudo1_Click()
{
    form_.speech().AllCancel();
    QString word = form_.speech().GetCurStr();
    if (word.isEmpty()) {
        spoken::Signal(form_, 100, 3, 0);
        return;
    }
    form_.Text1->setPlainText(word);
    search_.Kensaku(word, true);
}
