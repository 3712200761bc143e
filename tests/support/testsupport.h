#pragma once
// Helpers shared by the tests.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// A throwaway settings folder for one test: user and machine scope of
// QSettings both point into it for as long as the object lives.
class TempSettings {
public:
    TempSettings();
    ~TempSettings();
    QString userFile() const;   // the INI file that holds the user's settings
    QString systemFile() const; // the machine-wide INI file
    QString dir() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// Shift-JIS bytes of a UTF-8 literal, for building dictionary lines.
QByteArray sjis(const QString &text);
// The same in another character set iconv knows ("EUC-JP" ...).
QByteArray iconvBytes(const QString &text, const char *charset);

// The lines of a transcript file (see platform/orrin/transcript.h).
QStringList readLines(const QString &path);

} // namespace testsupport
