#include "mainwindow/imagemenu.h"

#include "form/imagebutton.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/buttonrowkeys.h"
#include "mainwindow/spoken.h"

#include <QLabel>

const QString ImageMenu::OutsideClassId = QStringLiteral("{061A6903-17D6-11D2-9663-0040261476D7}");
const QString ImageMenu::OutsideMethod = QStringLiteral("AwakeObj");

namespace {
struct ButtonText {
    const char16_t *name;
    const char16_t *description;
};
const ButtonText buttonTexts[ImageButton::Count] = {
    {u"読み上げ", u"検索結果をカーソル位置から読み上げます"},
    {u"停止", u"読み上げを止めます"},
    {u"100文字戻る", u"読み上げ中に、およそ100文字前から読み直します"},
    {u"1文戻る", u"読み上げ中に、前の文から読み直します"},
    {u"次へ", u"読み上げ中に、次の区切りへ進みます"},
    {u"数行飛ばす", u"読み上げ中に、数行先へ飛ばします"},
    {u"外部プログラム", u"他の製品のプログラムを呼び出します"},
};
} // namespace

ImageMenu::ImageMenu(MainForm &form) : form_(form), outsideCall_([](const QString &, const QString &) { return false; })
{
    for (int i = 0; i < ImageButton::Count; ++i) {
        ImageButton *b = form_.ImageX[size_t(i)];
        b->setAccessibleName(QString::fromUtf16(buttonTexts[i].name));
        b->setAccessibleDescription(QString::fromUtf16(buttonTexts[i].description));
        // A double click arrives as a second press.
        connect(b, &ImageButton::pressed, this, [this, i] { ImageX_MouseDown(i); });
        connect(b, &ImageButton::released, this, [this, i] { ImageX_MouseUp(i); });
    }
    // The play button shows its pressed picture while a read-all runs,
    // however it was started.
    connect(&form_, &MainForm::readAllStateChanged, this, [this](bool running) {
        if (running || !(form_.ImagePressed && form_.ImagePressedIndex == 0))
            form_.ImageX[0]->setPressedPicture(running);
    });
    new ButtonRowKeys(QList<QAbstractButton *>(form_.ImageX.begin(), form_.ImageX.end()), form_.Text1, this);
    ImagePosSet();
}

void ImageMenu::ImagePosSet()
{
    for (ImageButton *b : form_.ImageX)
        b->setPressedPicture(false);
    place(form_, 1.0);
}

void ImageMenu::place(MainForm &form, double scale)
{
    const auto at = [scale](int v) { return qRound(v * scale); };
    const int side = at(ImageButton::Side);
    for (int i = 0; i < ImageButton::Count; ++i) {
        form.ImageX[size_t(i)]->setGeometry(at(left[i]), at(top[i]), side, side);
        form.ImageX[size_t(i)]->show();
    }
    const int last = ImageButton::Count - 1;
    form.Image2->setGeometry(at(left[7]), at(top[7]), at(left[last]) + side - at(left[7]), side);
    form.Image2->raise();
    form.Pic2->setFixedSize(at(left[last]) + side + at(top[0]), side + 2 * at(top[0]));
}

void ImageMenu::stopSpeech()
{
    spoken::StopSpeech(form_);
    form_.speech().SapiCancel();
}

void ImageMenu::ImageX_MouseDown(int Index)
{
    if (Index < 0 || Index >= ImageButton::Count || form_.ImagePressed || (Index == 0 && form_.AllReadFlag))
        return;
    // Greyed over (no screen reader, or a range command waits): inactive.
    if (!form_.Image2->isHidden())
        return;
    form_.ImageX[size_t(Index)]->setPressedPicture(true);
    form_.ImagePressed = true;
    form_.ImagePressedIndex = Index;
    switch (Index) {
    case 0:
        if (!form_.Text1Enable)
            form_.speech().AllRead();
        break;
    case 1:
        form_.AllReadFlag = false;
        stopSpeech();
        break;
    case 2:
        // A running read-all goes back and reads on once the speech stops.
        form_.ReadBack100 = true;
        stopSpeech();
        break;
    case 3:
        form_.ReadBack = true;
        stopSpeech();
        break;
    case 4: stopSpeech(); break;
    case 5:
        form_.ReadSkip = true;
        stopSpeech();
        break;
    default: break;
    }
}

void ImageMenu::ImageX_MouseUp(int Index)
{
    // A release belongs to the button that was pressed: another one was
    // ignored when it was pressed.
    if (!form_.ImagePressed || Index != form_.ImagePressedIndex)
        return;
    if (!(Index == 0 && form_.AllReadFlag))
        form_.ImageX[size_t(Index)]->setPressedPicture(false);
    form_.ImagePressed = false;
    if (Index == 6)
        outsideCall_(OutsideClassId, OutsideMethod); // a failure is ignored
}
