#pragma once
// Word paging: from the entry on display to the line before or after it in
// its dictionary file, shown and read aloud like a looked-up entry; and the
// lookup of the word at the caret of the result pane. The steps work on the
// file of the last lookup and the position record, without a search.

#include <QObject>

class MainForm;
class SearchWindow;

class Paging : public QObject {
    Q_OBJECT
public:
    Paging(MainForm &form, SearchWindow &search);

    void mnu_file_nextpage_Click();
    void mnu_file_backpage_Click();
    void mnu_file_yudo1_Click(); // 誘導 "lead": looks up the word at the caret

    // One step from the line at `fseek` (HitEndPos), which both move. False
    // when the file can no longer be read; nothing changes then.
    bool TangoNext(qint64 &fseek);
    bool TangoBack(qint64 &fseek);

private:
    bool step(bool forward);
    bool paneShowsSomething() const;

    MainForm &form_;
    SearchWindow &search_;
    bool nextBusy_ = false;
    bool backBusy_ = false;
};
