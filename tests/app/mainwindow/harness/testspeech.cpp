#include "testspeech.h"

#include "mainform.h"
#include "messagebox.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinsupport.h"
#include "orrin/orrinvoice.h"

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
    calls << QStringLiteral("AllRead");
}
