#pragma once
// Putting the dictionary files into their folder so that a lookup never
// meets a half-written file or a pair of files from two different builds.
//
// Every file is first written whole to a temporary file of its own in the
// same folder and flushed to the disk; only when all of them are complete
// are they renamed into place, the two dictionary files one right after the
// other with the signals that end a process held back, and the old pair put
// back if the second rename fails. A name that is taken by anything other
// than a regular file that this tool may have written (a folder, a link, a
// FIFO, a device, a file of other content) is refused and left as it is. The
// temporary files are removed on every way out, also when the process is
// ended by SIGINT, SIGTERM, SIGHUP or SIGQUIT.

#include <QByteArray>
#include <QList>
#include <QString>

namespace dictbuild {

struct OutputFile {
    QString name;     // file name in the folder
    QByteArray bytes; // the whole content
};

// Writes `files` into `folder` (created when missing). The first two form
// the pair that is replaced together. `inputPath`, when it names one of the
// files' places, is refused: the input is never written over. False with
// `error` set on failure; then the folder holds the pair it held before
// (the attribution file beside it may be new).
bool writeFilesAtomically(const QString &folder, const QList<OutputFile> &files, const QString &inputPath,
                          QString *error);

} // namespace dictbuild
