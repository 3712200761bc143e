#pragma once
// The screen reader's own reading of the program's windows. A screen reader
// announces standard controls when they get the focus and reads the text at
// the caret when the user moves it; the program relies on that for every
// control that does not speak for itself. This stand-in does the same for
// the program's own windows, through the same speech object (OrrinVoice)
// the program speaks with:
//
// - focus: the control's accessible name, role, state and value ("英語の
//   エンジンで読み上げる チェックボックス チェックあり"); a dialog's title
//   first when the focus enters another dialog; menu items as they are
//   selected;
// - user input in the focused control: the character, word or line at a
//   caret the user moved (by the cursor-reading mode), the characters the
//   user typed or took away with Backspace or Delete, the new state or value of a check box, list, combo box or
//   slider the user changed. Moves made by the program itself are not read;
// - the reading commands ORRNCOMMAND "ReadCurLine", "ReadCurPos",
//   "ReadInputSts" and the cursor-reading switch ORRNSETSTATUS(65538, 5, 1).
//
// Nothing is said while the speech object is locked (LockSpeech), for a
// control marked as speaking for itself (it gets no focus announcement), or
// when a VoiceBack handler of the event object sets Exec to 0; the event's
// VoiceInfo says what is about to be said (VoiceKind below).
//
// Beside a real screen reader (Orca) the stand-in stands down: the screen
// reader speaks the focus, the caret and what is typed itself, so only the
// answers to the reading commands, which it knows nothing of, are said.

#include "orrin/orrnusr.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QAccessibleInterface;
class QAction;
class QKeyEvent;
class QMenu;
class QWidget;

class Announcer : public QObject, public OrrnReader {
    Q_OBJECT
public:
    // The unit read when the caret moves. Character: the character after a
    // move along the line, the word after a move by words, the line after a
    // move up or down. Word and Line: always that unit.
    enum class CursorReading { Character, Word, Line };
    // VoiceInfo of the VoiceBack event raised before each announcement.
    enum VoiceKind : qint32 { VoiceCaret = 1, VoiceEcho = 2, VoiceFocus = 3, VoiceCommand = 4 };

    explicit Announcer(QObject *parent = nullptr);
    ~Announcer() override;

    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }
    // A screen reader runs beside the program: no focus, caret or typing
    // announcements.
    void setBesideScreenReader(bool beside) { besideScreenReader_ = beside; }
    bool isBesideScreenReader() const { return besideScreenReader_; }
    CursorReading cursorReading() const { return reading_; }

    // A control that speaks for itself when it gets the focus (the program's
    // panes and its dialogs' value boxes) gets no focus announcement.
    static void setSpeaksForItself(QWidget *widget, bool speaks = true);
    static bool speaksForItself(const QWidget *widget);

    // Marks a caret move made by the program (a reading highlighting the
    // text it reads): it is not read as the effect of a key pressed meanwhile.
    class ProgramCaretMove {
    public:
        ProgramCaretMove() { ++programMoves_; }
        ~ProgramCaretMove();
        ProgramCaretMove(const ProgramCaretMove &) = delete;
        ProgramCaretMove &operator=(const ProgramCaretMove &) = delete;
    };

    void stepCursorReading() override;
    void speedStepped(const QString &name) override;
    void runCommand(const QString &name) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Snapshot {
        QPointer<QWidget> widget;
        bool text = false;
        QString content; // a text control's text
        int cursor = 0, selStart = 0, selEnd = 0;
        QString value; // other controls: state and value as spoken
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        QString typed;
    };

    void onFocusChanged(QWidget *old, QWidget *now);
    void announceFocus();
    void onMenuHovered(QMenu *menu, QAction *action);
    // The menu bar's selected title, when the keys are in the menu bar and
    // no menu item is selected; asked for at most once per turn of the loop.
    void queueMenuBarTitle();
    void announceMenuBarTitle();
    void beginCheck(QWidget *target, const QKeyEvent *key, const QString &typed);
    void finishCheck();
    void watchCaret(QWidget *target);
    void onCaretMoved();
    void takeCaret(Snapshot &s) const;
    void readCaret(QAccessibleInterface *iface, const Snapshot &before, int cursor);
    QWidget *readingTarget() const;
    QString inputState(QWidget *widget, QAccessibleInterface *iface) const;
    void say(const QString &text, int mode, VoiceKind kind);

    bool enabled_ = true;
    bool besideScreenReader_ = false;
    bool menuBarQueued_ = false;
    CursorReading reading_ = CursorReading::Character;
    QTimer focusTimer_;
    QTimer checkTimer_;
    QPointer<QWidget> lastFocus_;
    QPointer<QWidget> lastWindow_;
    QPointer<QWidget> composing_;
    Snapshot pending_;
    bool checkPending_ = false;
    QMetaObject::Connection caretWatch_;
    static inline int programMoves_ = 0;
    static inline Announcer *instance_ = nullptr;
};
