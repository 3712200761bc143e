#pragma once
// The two-step range commands over the result pane, for users who cannot
// drag a selection: copy ("コピー") or search ("範囲検索") a part of the
// result. The command asks "from where?"; Enter in the pane marks the start
// point, the movement keys then grow the selection, and a second Enter
// marks the end point and runs the command. A drag with the mouse ends it
// as well; Esc cancels it. While it waits, the rest of the window is locked
// (QevSelSet), so no other command can start.

#include <QObject>
#include <QString>

class MainForm;
class SearchWindow;
class Tips;

class RangeCommand : public QObject {
    Q_OBJECT
public:
    static inline const QString Copy = QStringLiteral("コピー");
    static inline const QString Search = QStringLiteral("範囲検索");

    RangeCommand(MainForm &form, Tips &tips, SearchWindow &search);

    // Starts the command `command` (Copy or Search): the window is locked
    // and asks for the start point. Refused while a lookup runs.
    void start(const QString &command);
    // Enter in the result pane while the command waits: the start point,
    // then the end point.
    void enterKey();
    // Esc in the result pane while the command waits.
    void cancel();
    // A mouse button released in the result pane while the command waits:
    // a selection made with the mouse is the range.
    void mouseUp();
    // The release of a navigation key in the result pane: while the keyboard
    // range selection waits for its end point the release stops speech and
    // goes no further (true).
    bool holdKeyRelease(int keyCode);

private:
    void unlock();
    void finish(const QString &text, bool byMouse);

    MainForm &form_;
    Tips &tips_;
    SearchWindow &search_;
};
