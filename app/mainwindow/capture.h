#pragma once
// A word captured from another application: the capture library's text is
// read when TimerHook fires, looked up as if typed, and the user is later
// taken back to the application it came from (Escape in the result pane
// starts TimerAppSetFocus). A switch to another application ends a capture
// search and closes the program's open dialogs.

#include "desktop/desktop.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class ExtBox;
class HookBinding;
class MainForm;
class SearchWindow;

class Capture : public QObject {
    Q_OBJECT
public:
    static constexpr int BufferSize = 256; // bytes GetString fills
    static constexpr int ClipboardLimit = 80;
    static inline const QString NothingToSearch = QStringLiteral("検索する文字がありません");

    Capture(MainForm &form, HookBinding &hook, SearchWindow &search, ExtBox &extBox, desktop::Windows &windows);

    // TimerHook fired for a capture notification.
    void TimerHook_Capture();
    // TimerHook fired after another application became active.
    void applicationDeactivated();
    void TimerAppSetFocus_Timer();

    qint32 CaptureCode = 0;
    qint32 ReceivedLength = 0;
    QString CapturedText;

private:
    // The text up to its first NUL, within the buffer; a double-byte
    // character cut at the buffer's end is dropped.
    static QString receivedText(const QByteArray &buffer);
    QString firstWord(const QString &text);
    void nothingToSearch();

    MainForm &form_;
    HookBinding &hook_;
    SearchWindow &search_;
    ExtBox &extBox_;
    desktop::Windows &windows_;
};
