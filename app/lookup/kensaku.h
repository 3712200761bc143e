#pragma once
// Kensaku, the single entry point of every lookup: it refuses an empty word
// or a lookup while one runs, decides prefix search and direction, searches
// the direction's files (with one katakana retry for Japanese words), has the
// entry written, and reports the outcome. The decisions live here; every step
// that belongs to the window (the snapshot cover, focus, status bar,
// history, reading aloud, tips) is a call on a KensakuHost, so the main
// window and the command line share this engine.

#include "lookup/dicsearch.h"
#include "lookup/entrysink.h"
#include "lookup/lookupstate.h"

#include <QString>

class OrrinVoice;

namespace lookup {

// The window's side of a lookup. Every call defaults to doing nothing, except
// the input box, which defaults to a plain text variable.
class KensakuHost {
public:
    virtual ~KensakuHost();

    // The input box (Text1): the lookup reads the word back from it for the
    // katakana retry and the not-found message, and empties it.
    virtual QString Text1() const { return text1_; }
    virtual void setText1(const QString &text) { text1_ = text; }

    // The snapshot cover Picture1, shown over the window while a lookup runs.
    virtual void DummyScreen() {}
    virtual void hidePicture1() {}
    // QuietFocus: the lookup itself moves the focus to the result pane.
    virtual void setQuietFocus(bool) {}
    virtual void SetResident(bool) {}
    virtual void ShowMe() {}
    // Moves the focus into the result pane (Text2).
    virtual void focusText2() {}
    // Puts the caret of the result pane at `position`.
    virtual void setText2SelStart(int) {}
    virtual void RirekiKosin(const QString &) {}
    virtual void RirekiSetting() {}
    virtual void RollSetting(bool) {}
    // Panel 1 of the status bar.
    virtual void setStatusText(const QString &) {}
    // Reads the result pane aloud from the caret; returns when the reading
    // has ended or was stopped.
    virtual void AllRead() {}
    virtual void ShowExtBox(const QString &) {}
    virtual void ShowTips(const QString &) {}
    // Gives the toolbar's copy button ("コピー") the enabled state editCopy.
    virtual void updateCopyButton() {}
    // "Let pending events run".
    virtual void letEventsRun() {}
    // A dictionary file error ended the search of a direction.
    virtual void showDicFileError(const DicFileError &) {}

private:
    QString text1_;
};

class LookupEngine {
public:
    // `sink` receives the entries (may be null: nothing is written); `voice`
    // speaks (may be null: silent).
    LookupEngine(LookupState &state, KensakuHost &host, EntrySink *sink, OrrinVoice *voice);

    // Looks `str` up. The caller has put the same text into the input box.
    // In prefix mode the trailing asterisk is removed from `str`. With
    // `rirekiFlag` the word enters the history on success. True when an entry
    // was found and shown.
    bool Kensaku(QString &str, bool rirekiFlag);

    void setVoice(OrrinVoice *voice) { voice_ = voice; }
    DicSearch &dicSearch() { return search_; }
    // Bytes read from dictionary files by this engine so far.
    quint64 bytesRead() const { return search_.bytesRead(); }

    // The status bar text after a successful lookup.
    static QString statusText(int DicMode, bool prefix);
    // The not-found text for the input box's text: the word (its first 16
    // characters and "…" when it is longer than 20) and "は見つかりませんでした".
    static QString notFoundText(const QString &inputText);

private:
    bool searchDirections(const QString &str);
    void found(const QString &str, bool rirekiFlag, QChar removedAsterisk);
    void notFound();

    LookupState &state_;
    KensakuHost &host_;
    OrrinVoice *voice_;
    DicSearch search_;
};

} // namespace lookup
