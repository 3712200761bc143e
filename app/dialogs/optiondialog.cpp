#include "dialogs/optiondialog.h"

#include "codepage/codepage.h"
#include "dialogs/dialoghost.h"
#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "orrin/accessibletext.h"
#include "orrin/announcer.h"
#include "orrin/orrinvoice.h"
#include "settings/settingsstore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace dialogs {

namespace {
const QChar FullWidthSpace(0x3000);

bool isFullWidthSpace(const QKeyEvent *event)
{
    return event->text() == QString(FullWidthSpace);
}
} // namespace

OptionDialog::OptionDialog(MainForm &form, DialogHost &host, const QString &title, QSize design)
    : QDialog(&form), form_(form), host_(host), design_(design)
{
    setWindowTitle(title);
    setAccessibleName(title);
    setWindowModality(Qt::WindowModal);
    resize(design_);
    DialogKeys = settings::ReadWindowOperation();
    form_.DialogKeys = DialogKeys;
    TimerOn.setInterval(BlinkMs);
    TimerOff.setInterval(BlinkMs);
    connect(&TimerOn, &QTimer::timeout, this, &OptionDialog::TimerOn_Timer);
    connect(&TimerOff, &QTimer::timeout, this, &OptionDialog::TimerOff_Timer);
}

OptionDialog::~OptionDialog() = default;

double OptionDialog::widthFactor(double pointSize)
{
    return std::min(pointSize / 12.0, 2.0);
}

void OptionDialog::placeWidget(QWidget *control, const char *name, const QRect &design)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(design);
    control->installEventFilter(this);
    placed_.append({control, design, control->font().pointSizeF()});
    // A button acts on Enter only where the dialog says so.
    if (auto *button = qobject_cast<QPushButton *>(control))
        button->setAutoDefault(false);
    // Named by its caption, without the access key's mark.
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        control->setAccessibleName(button->text().remove(u'&'));
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        control->setAccessibleName(group->title().remove(u'&'));
    else if (auto *label = qobject_cast<QLabel *>(control))
        control->setAccessibleName(label->text().remove(u'&'));
}

QLabel *OptionDialog::addFrame(const char *name)
{
    auto *frame = new QLabel(this);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setAutoFillBackground(true);
    frame->setFocusPolicy(Qt::NoFocus);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    paintFrame(frame, false);
    frame->lower();
    return frame;
}

void OptionDialog::setFrame(QWidget *control, QLabel *frame, QWidget *around)
{
    frames_.insert(control, {frame, around ? around : control});
}

void OptionDialog::setNames(QWidget *control, const QString &name, const QString &description)
{
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

void OptionDialog::setGuide(QWidget *control, const QStringList &lines)
{
    guides_.insert(control, lines.join(u'\n'));
    control->setAccessibleDescription(lines.join(u' '));
}

void OptionDialog::setEnterMovesOn(QWidget *control)
{
    enterMovesOn_.insert(control);
}

void OptionDialog::setSpokenOnFocus(QWidget *control, std::function<QString()> text, bool stopFirst)
{
    spoken_.insert(control, {std::move(text), stopFirst});
    Announcer::setSpeaksForItself(control);
}

QString OptionDialog::marked(const QString &name, const QString &value)
{
    return name + QChar(codepage::SpeechEndMarker) + value;
}

void OptionDialog::speak(const QString &text)
{
    if (form_.Voice1)
        form_.Voice1->Speak(text, 0);
}

void OptionDialog::stopSpeech()
{
    if (form_.Voice1)
        form_.Voice1->StopSpeech();
}

void OptionDialog::reject()
{
    stopSpeech();
    speak(QStringLiteral("パス"));
    {
        eventloop::UserInputHold hold;
        if (form_.Voice1)
            form_.Voice1->Settle();
    }
    QDialog::reject();
}

void OptionDialog::setVisible(bool visible)
{
    showing_ = visible;
    QDialog::setVisible(visible);
    showing_ = false;
}

bool OptionDialog::closeLater(int result)
{
    if (!showing_)
        return false;
    QMetaObject::invokeMethod(
        this, [this, result] { done(result); }, Qt::QueuedConnection);
    return true;
}

void OptionDialog::done(int result)
{
    if (!closeLater(result))
        QDialog::done(result);
}

void OptionDialog::postKey(QWidget *target, int key, const QString &text)
{
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

void OptionDialog::showGuide(QWidget *control)
{
    host_.showQuickGuide(guides_.value(control), control->mapToGlobal(QPoint(0, control->height())), this);
}

bool OptionDialog::controlKey(QWidget *, QKeyEvent *)
{
    return false;
}

// --- keys -------------------------------------------------------------------

bool OptionDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *control = qobject_cast<QWidget *>(watched);
    if (!control)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // A click on a control's label focuses the control, when it can.
        auto *label = qobject_cast<QLabel *>(control);
        if (label && label->buddy() && label->buddy()->isEnabled())
            label->buddy()->setFocus(Qt::MouseFocusReason);
        return false;
    }
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (controlKey(control, key) || commonKey(control, key)) {
            key->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1 && guides_.contains(control)) {
            if (!key->isAutoRepeat())
                showGuide(control);
            return true;
        }
        return false;
    }
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        const auto framed = frames_.constFind(control);
        if (framed != frames_.constEnd())
            fOnx(framed->around, framed->frame);
        // A window that becomes active again (after the quick guide) keeps
        // its focus without a word, as the screen reader does; the first
        // focus, as the dialog opens, is said.
        const auto said = spoken_.constFind(control);
        const bool returning = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (said != spoken_.constEnd() && (!titleSaid_ || !returning)) {
            if (said->second)
                stopSpeech();
            QString text = said->first();
            if (!titleSaid_)
                text = windowTitle() + u' ' + accessibletext::roleName(QAccessible::Dialog) + u' ' + text;
            speak(text);
        }
        titleSaid_ = true;
        return false;
    }
    case QEvent::FocusOut: {
        const auto framed = frames_.constFind(control);
        if (framed != frames_.constEnd()) {
            offLabel_ = framed->frame;
            blinkCount_ = 0;
            TimerOff.start();
            paintFrame(framed->frame, false);
        }
        return false;
    }
    default: return false;
    }
}

bool OptionDialog::commonKey(QWidget *control, QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_F1)
        return guides_.contains(control); // the guide opens on the release
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    auto *button = qobject_cast<QPushButton *>(control);
    if (DialogKeys) {
        if (enter && enterMovesOn_.contains(control)) {
            moveOn();
            return true;
        }
        if (key == Qt::Key_Down && button) {
            moveOn();
            return true;
        }
        if (dropArrows_ && (key == Qt::Key_Up || key == Qt::Key_Down))
            return true;
    }
    if (enter && button) {
        button->click();
        return true;
    }
    if (isFullWidthSpace(event)) {
        // The full-width space of the input method: a check box toggles, a
        // button is pressed as by a space (under DialogKeys a button keeps
        // to Enter).
        if (qobject_cast<QCheckBox *>(control) || (button && !DialogKeys)) {
            postKey(control, Qt::Key_Space, QStringLiteral(" "));
            return true;
        }
    }
    return false;
}

// --- the highlight frame ------------------------------------------------------

bool OptionDialog::frameLit(const QLabel *frame) const
{
    return lit_.contains(frame);
}

void OptionDialog::paintFrame(QLabel *frame, bool lit)
{
    QPalette p = frame->palette();
    const QPalette base = palette();
    p.setColor(QPalette::Window, lit ? base.color(QPalette::Highlight) : base.color(QPalette::Button));
    p.setColor(QPalette::WindowText, lit ? base.color(QPalette::HighlightedText) : base.color(QPalette::ButtonText));
    frame->setPalette(p);
    if (lit)
        lit_.insert(frame);
    else
        lit_.remove(frame);
}

void OptionDialog::fOnx(QWidget *around, QLabel *frame)
{
    TimerOn.stop();
    TimerOn.start();
    onBase_ = around;
    onLabel_ = frame;
    const int m = FrameMargin;
    frame->setGeometry(QRect(around->mapTo(this, QPoint(0, 0)), around->size()).adjusted(-m, -m, m, m));
    frame->lower();
    paintFrame(frame, true);
}

void OptionDialog::TimerOn_Timer()
{
    if (stopBlink_ || !onLabel_) {
        TimerOn.stop();
        return;
    }
    ++blinkCount_;
    if (!frameLit(onLabel_))
        paintFrame(onLabel_, true);
    else if (blinkCount_ <= BlinkTicks)
        paintFrame(onLabel_, false);
    if (blinkCount_ > BlinkTicks)
        TimerOn.stop(); // lit from here on
}

void OptionDialog::TimerOff_Timer()
{
    TimerOff.stop();
    if (offLabel_ && offLabel_ != onLabel_)
        paintFrame(offLabel_, false);
}

// --- size -----------------------------------------------------------------------

void OptionDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!widened_) {
        // Widened once, by the input box's font.
        widened_ = true;
        const double factor = widthFactor(form_.Text1->font().pointSizeF());
        resize(qRound(design_.width() * factor), height());
    }
    TimerOn.start();
}

void OptionDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (scaling_)
        return;
    scaling_ = true;
    const double r = double(width()) / design_.width();
    const int h = qRound(design_.height() * r);
    if (height() != h)
        resize(width(), h);
    resizex();
    if (const QScreen *screen = form_.screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    if (QWidget *focused = focusWidget()) {
        const auto framed = frames_.constFind(focused);
        if (framed != frames_.constEnd())
            fOnx(framed->around, framed->frame);
    }
    scaling_ = false;
}

void OptionDialog::resizex()
{
    const double r = double(width()) / design_.width();
    for (const Placed &p : std::as_const(placed_)) {
        if (!p.widget)
            continue;
        const QRect d = p.design;
        p.widget->setGeometry(qRound(d.x() * r), qRound(d.y() * r), qRound(d.width() * r), qRound(d.height() * r));
        if (p.pointSize > 0) {
            QFont f = p.widget->font();
            f.setPointSizeF(std::max(1.0, p.pointSize * r));
            p.widget->setFont(f);
        }
    }
}

void OptionDialog::closeEvent(QCloseEvent *event)
{
    stopBlink_ = true;
    QDialog::closeEvent(event);
}

} // namespace dialogs
