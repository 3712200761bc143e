#pragma once
// Word paging: stepping from the entry on display to the previous or next
// line of its dictionary file, and looking up the word at the caret.

#include <QObject>

class MainForm;
class MainWindow;

class Paging : public QObject {
    Q_OBJECT
public:
    Paging(MainForm &form, MainWindow &window);

    void mnu_file_nextpage_Click();
    void mnu_file_backpage_Click();
    void mnu_file_yudo1_Click();

private:
    MainForm &form_;
    MainWindow &window_;
    bool nextBusy_ = false;
    bool backBusy_ = false;
};
