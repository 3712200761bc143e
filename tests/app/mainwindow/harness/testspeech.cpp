#include "testspeech.h"

#include "mainform.h"
#include "messagebox.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinsupport.h"
#include "orrin/orrinvoice.h"
#include "richtextbox.h"

#include <QCoreApplication>
#include <QThread>

bool TestSpeech::createScreenReader()
{
    form_.Voice1 = OrrinVoice::create();
    if (!form_.Voice1 || !form_.Voice1->Setup(97)) {
        showMessage(&form_, QMessageBox::Warning, QStringLiteral("起動エラー"),
                    QStringLiteral("Orrinがインストールされていません"));
        return false;
    }
    form_.OrvBack = std::make_unique<OrrinEvents>();
    return true;
}

void TestSpeech::stopForShutdown()
{
    calls << QStringLiteral("stopForShutdown");
    form_.AllReadFlag = false;
    if (form_.Voice1)
        form_.Voice1->StopSpeech();
    BrixFree();
    if (form_.OrvBack)
        form_.OrvBack->Shutdown();
}

void TestSpeech::sayFarewell()
{
    if (form_.Voice1) {
        form_.Voice1->Speak(QStringLiteral("ランプの英和 和英辞典 おわり"));
        form_.Voice1->Settle();
    }
}

void TestSpeech::AllCancel()
{
    calls << QStringLiteral("AllCancel");
    form_.AllReadFlag = false;
}

void TestSpeech::AllRead()
{
    // The result pane line by line from the caret, each line waited for,
    // until the end or until something clears AllReadFlag.
    calls << QStringLiteral("AllRead");
    form_.AllReadFlag = true;
    form_.AllReadIdle = false;
    const QString text = form_.Text2->toPlainText().mid(form_.Text2->textCursor().position());
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        if (!form_.AllReadFlag || !form_.Voice1)
            break;
        form_.Voice1->Speak(line);
        while (form_.AllReadFlag && form_.Voice1->IsSpeaking()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
    }
    if (form_.Voice1)
        form_.Voice1->StopSpeech();
    form_.AllReadFlag = false;
    form_.AllReadIdle = true;
}

QString TestSpeech::GetCurStr()
{
    // The run of letters around the caret.
    const QString text = form_.Text2->toPlainText();
    int start = form_.Text2->textCursor().position();
    int end = start;
    while (start > 0 && text.at(start - 1).isLetterOrNumber())
        --start;
    while (end < text.size() && text.at(end).isLetterOrNumber())
        ++end;
    return text.mid(start, end - start);
}
