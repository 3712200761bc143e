#pragma once
// The common ground of the option dialogs, made for the keyboard, a screen
// reader and low vision alike:
//
// - a highlight frame behind the focused control that blinks ten times at
//   100 ms and then stays lit;
// - the value boxes say their name and value when they get the focus; the
//   other controls are announced by the screen reader (name, kind, state);
// - F1 on a control opens the quick guide below it with the control's
//   guidance, which is also its accessible description;
// - under the shared "WindowOperation" keyboard option (DialogKeys), Enter
//   moves on to the next control, Down on a button too, Up and Down are
//   dropped, and the set button is not the default; the full-width space
//   acts as a space on check boxes and buttons;
// - the dialog is widened by the input box's font (12 points: 1, at most
//   2), and every control scales with the dialog's width from its design
//   place, the height following so the proportions stay.

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class MainForm;
class QLabel;
class QKeyEvent;

namespace dialogs {

class DialogHost;

class OptionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int BlinkMs = 100;
    static constexpr int BlinkTicks = 10;
    static constexpr int FrameMargin = 3; // pixels around the framed control

    ~OptionDialog() override;

    bool dialogKeys() const { return DialogKeys; }
    // The frame lit now (nullptr before the first focus) and whether it shows
    // the highlight colours at this moment.
    QLabel *highlightedFrame() const { return onLabel_; }
    bool frameLit(const QLabel *frame) const;
    int blinkCount() const { return blinkCount_; }
    // The guidance F1 shows for `control` (empty when it has none).
    QString guide(const QWidget *control) const { return guides_.value(control); }
    // How much the dialog is widened for a font of `pointSize` points.
    static double widthFactor(double pointSize);

    // Cancel: "パス" is said and nothing is taken over.
    void reject() override;
    void setVisible(bool visible) override;
    void done(int result) override;

protected:
    OptionDialog(MainForm &form, DialogHost &host, const QString &title, QSize design);

    // Puts `control` at `design` (pixels of the design size); the layout
    // scales it from there. Returns the control.
    template <class W> W *place(W *control, const char *name, const QRect &design)
    {
        placeWidget(control, name, design);
        return control;
    }
    void placeWidget(QWidget *control, const char *name, const QRect &design);
    QLabel *addFrame(const char *name);
    // `frame` lights behind `around` (the control itself unless given) while
    // `control` has the focus.
    void setFrame(QWidget *control, QLabel *frame, QWidget *around = nullptr);
    // The accessible name and description; `guide` lines are shown by F1.
    void setNames(QWidget *control, const QString &name, const QString &description);
    void setGuide(QWidget *control, const QStringList &lines);
    // Enter moves on to the next control (under DialogKeys).
    void setEnterMovesOn(QWidget *control);
    // The control says `text()` when it gets the focus, instead of the
    // screen reader's announcement; `stopFirst` silences what was being said.
    void setSpokenOnFocus(QWidget *control, std::function<QString()> text, bool stopFirst);
    // False until a control of the dialog has had the focus.
    bool focusedBefore() const { return titleSaid_; }
    // The dialog's own speech through the screen reader.
    void speak(const QString &text);
    void stopSpeech();
    // "name" + end marker + "value".
    static QString marked(const QString &name, const QString &value);
    // A key posted to `target`, pressed and released, handled after the
    // current one.
    static void postKey(QWidget *target, int key, const QString &text = {});
    void moveOn() { postKey(this, Qt::Key_Tab); }
    // Closes without a word (Enter on the cancel button).
    void closeQuietly() { QDialog::reject(); }
    // A dialog closed while it is still being shown (a key typed ahead, run
    // by a control that lets events run on its first focus) closes once its
    // own event loop runs: closed before that, the loop would wait for good.
    // True when the close was put off that way.
    bool closeLater(int result);

    // F1 on `control`: the quick guide just below it.
    virtual void showGuide(QWidget *control);
    // The dialog's own handling of a key pressed in `control`, before the
    // common keys; true drops the key.
    virtual bool controlKey(QWidget *control, QKeyEvent *event);
    // Up and Down are dropped under DialogKeys (lists that need them say no).
    bool dropArrows_ = true;

    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    MainForm &form_;
    DialogHost &host_;
    bool DialogKeys = true;

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect design;
        qreal pointSize;
    };
    struct Framed {
        QLabel *frame;
        QWidget *around;
    };

    bool showing_ = false;

    bool commonKey(QWidget *control, QKeyEvent *event);
    void fOnx(QWidget *around, QLabel *frame);
    void paintFrame(QLabel *frame, bool lit);
    void TimerOn_Timer();
    void TimerOff_Timer();
    void resizex();

    QSize design_;
    QList<Placed> placed_;
    QHash<const QWidget *, Framed> frames_;
    QHash<const QWidget *, QString> guides_;
    QSet<const QWidget *> enterMovesOn_;
    QHash<const QWidget *, std::pair<std::function<QString()>, bool>> spoken_;
    QSet<const QLabel *> lit_;
    QTimer TimerOn, TimerOff;
    QWidget *onBase_ = nullptr;
    QLabel *onLabel_ = nullptr;
    QLabel *offLabel_ = nullptr;
    int blinkCount_ = 0;
    bool stopBlink_ = false;
    bool widened_ = false;
    bool scaling_ = false;
    bool titleSaid_ = false;
};

} // namespace dialogs
