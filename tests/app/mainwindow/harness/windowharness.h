#pragma once
// The main window on the offscreen platform, for tests that drive it the way
// a user does: a throwaway settings folder, a dictionary folder, speech into
// the test's transcript, message boxes recorded instead of shown, and a
// stand-in for the capture library that records its calls.

#include "form/messagebox.h"
#include "testsupport.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>

class MainForm;
class MainWindow;
class QWidget;

class WindowHarness {
public:
    struct Options {
        QString dictionaryFolder;  // "Wordmere"; empty: the small test dictionary
        bool installSpeech = true; // the program's speech layer (else the silent default)
        bool fakeHook = true;      // the recording stand-in for Wlhook
        QString hookFolder;        // with fakeHook false: where Wlhook is looked for
        QStringList settings;      // "Key=Value" stored in section Settings before start-up
        QStringList history;       // "Word7=apple" stored in section History
        QByteArray settingsFile;   // the whole settings file, as a previous run left it
        int speechMsPerChar = 0;   // modelled speaking time of the screen reader
    };

    WindowHarness();
    explicit WindowHarness(const Options &options);
    ~WindowHarness();

    // Runs start-up with these arguments after the program name; shows the
    // window (unless it went to the notification area) and waits until it
    // is active. False when start-up ended the program.
    bool load(const QStringList &arguments = {});
    // Shutdown as on closing the window.
    void unload();

    MainForm &form() { return *form_; }
    MainWindow &window() { return *window_; }
    testsupport::TempSettings &temp() { return *temp_; }

    // The transcript lines written since the harness was made (or since
    // markTranscript), and the texts the program spoke among them (through
    // the screen reader or the English voice; not the screen reader's own
    // announcements).
    QStringList transcript() const;
    QStringList spoken() const;
    void markTranscript();
    // Waits until `text` has been spoken since the mark.
    bool waitSpoken(const QString &text, int timeoutMs = 5000) const;

    // Message boxes that would have been shown.
    QList<MessageRecord> messages;

    // A stored value, as text (empty when absent).
    QString setting(const QString &section, const QString &key) const;

    // Keys and text, sent to the focused widget of the window.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(const QString &text);
    // Types `word` into the input box and presses Enter.
    void lookUp(const QString &word);
    QWidget *focused() const;

    // Calls made to the capture library stand-in.
    static QStringList hookCalls();
    // What the stand-in has captured (nothing at first).
    struct FakeCapture {
        int code = 0;    // GetString's result
        QByteArray text; // the captured bytes
        QPoint caret;    // GetScreenCaret
        int getStringCalls = 0;
    };
    static FakeCapture &capture();

private:
    std::unique_ptr<testsupport::TempSettings> temp_;
    std::unique_ptr<MainForm> form_;
    std::unique_ptr<MainWindow> window_;
    QString transcriptPath_;
    int speechMsPerChar_ = 0;
    qint64 transcriptMark_ = 0;
};
