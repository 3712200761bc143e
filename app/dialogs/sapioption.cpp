#include "dialogs/sapioption.h"

#include "englishvoice/englishvoice.h"
#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "orrin/orrinvoice.h"
#include "settings/settingsstore.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QThread>

#include <cmath>

namespace dialogs {

namespace {
constexpr int Steps = 9;
constexpr int StartWaitMs = 2000; // a sample that never starts frees the dialog after this

bool listed(const QString &name)
{
    return name.contains(u"English") && !name.contains(u"声彩") && !name.contains(u"声羽");
}
} // namespace

SapiOption::SapiOption(MainForm &form, DialogHost &host)
    : OptionDialog(form, host, QStringLiteral("英語読みの音声"), QSize(400, 330))
{
    setObjectName(QStringLiteral("SapiOption"));
    dropArrows_ = false; // the list and the speeds move with Up and Down
    auto *label1 = place(new QLabel(QStringLiteral("音声エンジン(&E)"), this), "Label1", {16, 12, 200, 22});
    List1 = place(new QListWidget(this), "List1", {16, 36, 368, 110});
    label1->setBuddy(List1);
    place(new QLabel(QStringLiteral("英語の発音が可能な音声エンジンが必要です"), this), "Label2", {16, 150, 368, 20});
    auto *frame1 = place(new QGroupBox(QStringLiteral("音声スピード(&S)"), this), "Frame1", {16, 176, 368, 100});
    Combo1 = place(new QComboBox(frame1), "Combo1", {12, 26, 120, 26});
    for (int i = 1; i <= Steps; ++i)
        Combo1->addItem(QStringLiteral("Speed %1").arg(i));
    Slider1 = place(new QSlider(Qt::Horizontal, frame1), "Slider1", {150, 26, 200, 26});
    Slider1->setRange(1, Steps);
    Slider1->setPageStep(1);
    place(new QLabel(QStringLiteral("遅い"), frame1), "Label3", {150, 58, 60, 20});
    place(new QLabel(QStringLiteral("速い"), frame1), "Label4", {300, 58, 50, 20})->setAlignment(Qt::AlignRight);
    Command1 = place(new QPushButton(QStringLiteral("設定"), this), "Command1", {204, 288, 84, 30});
    Command2 = place(new QPushButton(QStringLiteral("キャンセル"), this), "Command2", {300, 288, 84, 30});

    QLabel *label5 = addFrame("Label5");
    QLabel *label6 = addFrame("Label6");
    setFrame(List1, label5);
    setFrame(Combo1, label6);
    setFrame(Slider1, label6);
    setFrame(Command1, label5);
    setFrame(Command2, label5);

    setNames(List1, QStringLiteral("音声エンジン"), {});
    setGuide(List1, {QStringLiteral("英語の音声エンジンを選択します"),
                     QStringLiteral("ここで表示されるのはSAPI対応の音声エンジンです"),
                     QStringLiteral("選択中に、音声エンジンの音声を聴くことができます")});
    setNames(Combo1, QStringLiteral("音声スピード"), {});
    setGuide(Combo1, {QStringLiteral("音声スピードを設定します"),
                      QStringLiteral("左右矢印キーで聞き取りやすいスピードを選んでください"),
                      QStringLiteral("Orrinの音声スピードとは関係なく設定できます")});
    setNames(Slider1, QStringLiteral("音声スピード"), QStringLiteral("遅い 1 から 速い 9 まで"));
    const QStringList buttons{QStringLiteral("[設定ボタン]は、英語読みの音声を登録して、英和辞典に戻ります"),
                              QStringLiteral("[キャンセルボタン]は、登録せずに変更を中止します")};
    setGuide(Command1, buttons);
    setGuide(Command2, buttons);
    frame1->setAccessibleName(QStringLiteral("音声スピード"));
    for (QLabel *label : findChildren<QLabel *>())
        if (!label->text().isEmpty())
            label->setAccessibleName(label->text().remove(u'&'));

    setTabOrder(List1, Combo1);
    setTabOrder(Combo1, Slider1);
    setTabOrder(Slider1, Command1);
    setTabOrder(Command1, Command2);
    Timer1.setInterval(1);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &SapiOption::Timer1_Timer);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &SapiOption::Combo1_Click);
    connect(Slider1, &QSlider::valueChanged, this, [this](int value) {
        if (Combo1->currentIndex() != value - 1)
            Combo1->setCurrentIndex(value - 1);
    });
    connect(List1, &QListWidget::currentRowChanged, this, &SapiOption::List1_Click);
    connect(Command1, &QPushButton::clicked, this, [this] {
        OkOkOk();
        accept();
    });
    connect(Command2, &QPushButton::clicked, this, &SapiOption::reject);
    opened_ = load();
}

SapiOption::~SapiOption() = default;

bool SapiOption::load()
{
    Command1->setDefault(!DialogKeys);
    if (form_.Voice1) {
        form_.Voice1->StopSpeech();
        form_.Voice1->LockSpeech();
        locked_ = true;
    }
    SAPI = EnglishVoice::create();
    if (SAPI && SAPI->available()) {
        const int count = SAPI->count();
        for (int i = 1; i <= count; ++i) {
            const QString name = SAPI->voiceName(i);
            if (!listed(name))
                continue;
            auto *item = new QListWidgetItem(name, List1);
            item->setData(Qt::UserRole, i);
            if (form_.EnglishMode && form_.SapiEngineID == QString::number(i))
                List1->setCurrentItem(item);
        }
        connect(SAPI.get(), &EnglishVoice::audioStart, this, [this] { busy_ = false; });
    }
    if (List1->count() == 0) {
        // Nothing to choose from: said, and the dialog is not shown.
        if (locked_)
            form_.Voice1->UnlockSpeech();
        locked_ = false;
        speak(QStringLiteral("英語の音声エンジンがみつかりません"));
        return false;
    }
    if (List1->currentRow() < 0)
        List1->setCurrentRow(0);
    const int speed = std::clamp(form_.SapiEngineSpeed, 1, Steps);
    VSpeed(speed);
    Combo1->setCurrentIndex(speed - 1);
    Slider1->setValue(speed);
    List1->setFocus();
    return true;
}

void SapiOption::showEvent(QShowEvent *event)
{
    ActiveFlag = true;
    OptionDialog::showEvent(event);
}

// --- the voice ----------------------------------------------------------------

void SapiOption::SapiCancel()
{
    if (SAPI && SAPI->isSpeaking()) {
        SAPI->stop();
        eventloop::DoEvents();
    }
}

void SapiOption::SapiGo(const QString &text)
{
    SapiCancel();
    if (SAPI)
        SAPI->speak(text);
}

void SapiOption::VSpeed(int SpeedId)
{
    if (!SAPI)
        return;
    SapiCancel();
    const int low = SAPI->minSpeed(), high = SAPI->maxSpeed();
    SAPI->setSpeed(int(std::lround(low + (high - low) / 8.0 * (SpeedId - 1))));
}

void SapiOption::SapiVoice(int id, bool AddStr)
{
    if (busy_ || !SAPI)
        return;
    SapiCancel();
    SAPI->setCurrentVoice(id);
    SapiCancel();
    QString text = SAPI->voiceName(id);
    if (AddStr)
        text = QStringLiteral("Select Voice:\n") + text;
    VSpeed(Combo1->currentIndex() + 1);
    // Busy until the sample has started (or plainly will not), so a change
    // of voice meanwhile waits its turn instead of cutting in.
    busy_ = true;
    if (!SAPI->speak(text)) {
        busy_ = false;
        return;
    }
    waitWhileBusy();
    busy_ = false;
}

void SapiOption::waitWhileBusy()
{
    QElapsedTimer waited;
    waited.start();
    while (busy_ && waited.elapsed() < StartWaitMs && eventloop::mayRunEvents()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(2);
    }
}

void SapiOption::List1_Click()
{
    Timer1.stop();
    if (SAPI)
        SAPI->stop();
    if (!ActiveFlag || !List1->currentItem())
        return;
    EngineId = List1->currentItem()->data(Qt::UserRole).toInt();
    Timer1.start();
}

void SapiOption::Timer1_Timer()
{
    if (busy_) {
        Timer1.start(); // the sample before is still starting
        return;
    }
    SapiVoice(EngineId, false);
}

void SapiOption::Combo1_Click()
{
    const int step = Combo1->currentIndex() + 1;
    if (ActiveFlag) {
        VSpeed(step);
        if (SAPI) {
            SAPI->stop();
            SAPI->speak(Combo1->currentText());
        }
    }
    Slider1->setValue(step);
}

// --- focus and keys -----------------------------------------------------------

bool SapiOption::eventFilter(QObject *watched, QEvent *event)
{
    // Focus coming back to the control that had it (the window activated
    // again) is not said again.
    const bool moved = event->type() == QEvent::FocusIn && watched != lastFocused_;
    if (event->type() == QEvent::FocusIn)
        lastFocused_ = watched;
    if (moved && ActiveFlag) {
        if (watched == List1 && List1->currentItem())
            SapiVoice(List1->currentItem()->data(Qt::UserRole).toInt(), true);
        else if (watched == Combo1) {
            VSpeed(Combo1->currentIndex() + 1);
            if (SAPI) {
                SAPI->stop();
                SAPI->speak(Combo1->currentText());
            }
        } else if (watched == Command1)
            SapiGo(QStringLiteral("OK PushButton to Press Use Enter"));
        else if (watched == Command2)
            SapiGo(QStringLiteral("Cancel PushButton to Press Use Enter"));
    }
    return OptionDialog::eventFilter(watched, event);
}

void SapiOption::stepItem(QWidget *control)
{
    if (control == Combo1)
        Combo1->setCurrentIndex((Combo1->currentIndex() + 1) % Combo1->count());
    else
        List1->setCurrentRow((List1->currentRow() + 1) % List1->count());
}

bool SapiOption::controlKey(QWidget *control, QKeyEvent *event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool wideSpace = event->text() == QString(QChar(0x3000));
    if (control == Combo1) {
        const int i = Combo1->currentIndex(), last = Combo1->count() - 1;
        if (key == Qt::Key_Down || key == Qt::Key_Right) {
            Combo1->setCurrentIndex(i == last && key == Qt::Key_Down ? 0 : std::min(i + 1, last));
            return true;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Left) {
            Combo1->setCurrentIndex(i == 0 && key == Qt::Key_Up ? last : std::max(i - 1, 0));
            return true;
        }
    }
    if (DialogKeys) {
        if (enter && control == Combo1) {
            Command1->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (enter && control == List1) {
            Combo1->setFocus(Qt::TabFocusReason);
            return true;
        }
        if ((key == Qt::Key_Space || wideSpace) && (control == Combo1 || control == List1)) {
            stepItem(control);
            return true;
        }
    } else if (wideSpace && (control == Combo1 || control == Command1)) {
        postKey(control, Qt::Key_Space, QStringLiteral(" "));
        return true;
    }
    if (enter && control == Command2) {
        reject();
        return true;
    }
    return false;
}

void SapiOption::showGuide(QWidget *control)
{
    SapiCancel();
    // The guide is read by the screen reader, silent while the dialog is open.
    if (locked_)
        form_.Voice1->UnlockSpeech();
    OptionDialog::showGuide(control);
    if (locked_)
        form_.Voice1->LockSpeech();
}

// --- closing ------------------------------------------------------------------

void SapiOption::OkOkOk()
{
    const QListWidgetItem *item = List1->currentItem();
    if (!item)
        return;
    form_.SapiEngineName = item->text();
    form_.SapiEngineSpeed = Combo1->currentIndex() + 1;
    form_.SapiEngineID = QString::number(item->data(Qt::UserRole).toInt());
    settings::writeText(settings::Key::SapiEngine, form_.SapiEngineName);
    settings::writeInt(settings::Key::SapiEngineSpeed, form_.SapiEngineSpeed);
}

void SapiOption::reject()
{
    SapiCancel();
    if (locked_)
        form_.Voice1->UnlockSpeech();
    locked_ = false;
    OptionDialog::reject();
}

void SapiOption::done(int result)
{
    if (closeLater(result))
        return;
    SapiCancel();
    Timer1.stop();
    waitWhileBusy();
    if (locked_)
        form_.Voice1->UnlockSpeech();
    locked_ = false;
    OptionDialog::done(result);
}

} // namespace dialogs
