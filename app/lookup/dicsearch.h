#pragma once
// The search of one direction's dictionary: FileAtoZ (English-Japanese) and
// FileWaei (Japanese-English) build the QueryKey from the lookup word and try
// the files of the direction's set in name order until one holds the word.

#include "lookup/findkey.h"
#include "lookup/lookupstate.h"

#include <QString>

#include <optional>

namespace lookup {

// A dictionary file error: the lookup was abandoned. The window shows
// title() and message() in an error box; reason() says precisely what went
// wrong, for the command line and for anyone investigating.
class DicFileError {
public:
    DicFileError(int DicMode, QString reason, QString fileName = QString())
        : mode_(DicMode), reason_(std::move(reason)), fileName_(std::move(fileName))
    {
    }
    int DicMode() const { return mode_; }
    QString title() const { return QStringLiteral("辞書ファイルエラー"); }
    // "英和辞書がみつかりません" or "和英辞書がみつかりません", followed on a
    // line of its own by the name of the file at fault when one is.
    QString message() const;
    QString reason() const { return reason_; }
    // The file at fault (its name in the folder); empty when the folder is.
    QString fileName() const { return fileName_; }

private:
    int mode_;
    QString reason_;
    QString fileName_;
};

class DicSearch {
public:
    DicSearch(LookupState &state, EntrySink *sink);

    // True when one of the set's files holds `word` (the lookup word without
    // its prefix asterisk). False when none does, and also after a file
    // error, which error() then describes until the next search.
    bool FileAtoZ(const QString &word);
    bool FileWaei(const QString &word);

    const std::optional<DicFileError> &error() const { return error_; }
    // Bytes read from dictionary files by this object so far.
    quint64 bytesRead() const { return files_.bytesRead(); }

private:
    bool searchSet(int DicMode, const QString &queryKey);

    LookupState &state_;
    FileSearch files_;
    std::optional<DicFileError> error_;
};

} // namespace lookup
