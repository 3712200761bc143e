#pragma once
// The window's side of a lookup: the steps of Kensaku that belong to the
// window (the still picture while it runs, the focus, the status bar, the
// history, the tip and the reading of the result), and the result pane as
// the place the entry is written to.

#include "desktop/desktop.h"
#include "lookup/kensaku.h"
#include "lookup/textpanesink.h"

#include <QObject>
#include <QString>

class ExtBox;
class History;
class MainForm;
class Tips;
class TrayResidence;

// The result pane as the entry writer sees it. While an entry is being
// written the pane's change handling rests (Text2Change).
class ResultPaneSink : public lookup::EntrySink {
public:
    explicit ResultPaneSink(MainForm &form);
    void clear() override;
    double fontPointSize() const override { return pane_.fontPointSize(); }
    void append(const QString &text, const lookup::EntryFormat &format) override;
    void annotateLine(const QList<wordreadings::Reading> &readings) override;
    QString text() const override { return pane_.text(); }

private:
    MainForm &form_;
    lookup::TextPaneSink pane_;
};

class SearchWindow : public QObject, public lookup::KensakuHost {
    Q_OBJECT
public:
    SearchWindow(MainForm &form, History &history, Tips &tips, TrayResidence &tray, ExtBox &extBox,
                 desktop::Windows &windows);
    ~SearchWindow() override;

    // The lookup, as Enter, the history and the other commands start it.
    bool Kensaku(QString &str, bool rirekiFlag);
    // Text dropped on a pane: it goes into the input box and is looked up
    // once the drop is over.
    void lookUpDropped(const QString &text);
    int hitCount() const;
    // Empties the result pane and writes the entry on display again (in the
    // colours of the current mode).
    void rewriteEntry();
    ResultPaneSink &sink() { return sink_; }
    lookup::LookupEngine &engine() { return engine_; }

    // The window-only steps of the lookup.
    QString Text1() const override;
    void setText1(const QString &text) override;
    void DummyScreen() override;
    void hidePicture1() override;
    void setQuietFocus(bool on) override;
    void SetResident(bool on) override;
    void ShowMe() override;
    void focusText2() override;
    void setText2SelStart(int position) override;
    void RirekiKosin(const QString &word) override; // records the word in the history
    void RirekiSetting() override;                  // refreshes the history commands
    void RollSetting(bool ExecRoll) override;
    void setStatusText(const QString &text) override;
    void AllRead() override;
    void ShowExtBox(const QString &text) override;
    void ShowTips(const QString &text) override;
    void updateCopyButton() override;
    void letEventsRun() override;
    void showDicFileError(const lookup::DicFileError &error) override;

private:
    MainForm &form_;
    History &history_;
    Tips &tips_;
    TrayResidence &tray_;
    ExtBox &extBox_;
    desktop::Windows &windows_;
    ResultPaneSink sink_;
    lookup::LookupEngine engine_;
};
