#pragma once
// The command line's side of a lookup: it collects what the window would
// show (tips, file errors) for the caller to print, and with a voice reads
// the entry aloud line by line, waiting until the reading ends.

#include "lookup/entrysink.h"
#include "lookup/kensaku.h"

#include <QList>
#include <QStringList>

class OrrinVoice;

class ConsoleHost : public lookup::KensakuHost {
public:
    ConsoleHost(const lookup::EntrySink &pane, OrrinVoice *voice);

    // Forgets what the previous word left.
    void startWord();
    const QStringList &tips() const { return tips_; }
    const QList<lookup::DicFileError> &errors() const { return errors_; }

    void ShowTips(const QString &text) override { tips_.append(text); }
    void ShowExtBox(const QString &text) override { tips_.append(text); }
    void showDicFileError(const lookup::DicFileError &error) override { errors_.append(error); }
    void AllRead() override;
    void letEventsRun() override;

    // Waits until the voice has finished speaking (bounded).
    void waitForSpeech();

private:
    const lookup::EntrySink &pane_;
    OrrinVoice *voice_;
    QStringList tips_;
    QList<lookup::DicFileError> errors_;
};
