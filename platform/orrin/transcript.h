#pragma once
// The transcript: a plain text file that records every call made to the
// speech stand-ins, one line per call, so that tests and people can read
// exactly what a blind user would hear and when speech was stopped.
//
// A line is the operation's name and its arguments, separated by tabs. Tab,
// carriage return, line feed, the speech end marker and the backslash inside
// an argument are written as \t, \r, \n, \m and \\.

#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

class Transcript {
public:
    explicit Transcript(const QString &path);
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }
    void write(const QString &operation, const QStringList &arguments = {});

    static QString escape(const QString &text);
    static QString unescape(const QString &text);

    // The transcript that WORDLAMP_SPEECH names ("transcript:PATH"), opened
    // on first use and shared by every speech stand-in of the process;
    // nullptr when speech is not being transcribed.
    static Transcript *shared();
    static void resetShared(); // tests: forget the shared transcript

    // Tests: called with every line as it is written (after it is written),
    // so that a test can look at the program's state at that moment. An
    // empty function removes the observer.
    using Observer = std::function<void(const QString &operation, const QStringList &arguments)>;
    static void setObserver(Observer observer);

private:
    QFile file_;
};
