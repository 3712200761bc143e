#include "lookup/dicsearch.h"

#include "lookup/dicfileset.h"
#include "lookup/entrykey.h"
#include "lookup/normalize.h"

namespace lookup {

QString DicFileError::message() const
{
    const QString text = mode_ == EnglishJapanese ? QStringLiteral("英和辞書がみつかりません")
                                                  : QStringLiteral("和英辞書がみつかりません");
    return fileName_.isEmpty() ? text : text + u'\n' + fileName_;
}

DicSearch::DicSearch(LookupState &state, EntrySink *sink) : state_(state), files_(state, sink)
{
}

bool DicSearch::FileAtoZ(const QString &word)
{
    return searchSet(EnglishJapanese, englishQueryKey(word));
}

bool DicSearch::FileWaei(const QString &word)
{
    return searchSet(JapaneseEnglish, japaneseQueryKey(word));
}

bool DicSearch::searchSet(int DicMode, const QString &queryKey)
{
    error_.reset();
    const DicFileListing listing = listDicFileSet(state_.FilePath, DicMode);
    if (!listing.ok()) {
        error_.emplace(DicMode, listing.error);
        return false;
    }
    const QString folder = AddYen(state_.FilePath);
    for (const QString &name : listing.names) {
        QString reason;
        if (files_.FindKey(folder + name, queryKey, &reason))
            return true;
        if (!reason.isEmpty()) {
            error_.emplace(DicMode, reason, name);
            return false;
        }
    }
    return false;
}

} // namespace lookup
