#include "searchwindow.h"

#include "mainform.h"
#include "mainwindow.h"

SearchWindow::SearchWindow(MainForm &form, MainWindow &window) : form_(form), window_(window) {}

SearchWindow::~SearchWindow() = default;

bool SearchWindow::Kensaku(QString &str, bool rirekiFlag)
{
    (void)str;
    (void)rirekiFlag;
    return false;
}

int SearchWindow::hitCount() const
{
    return 0;
}

void SearchWindow::rewriteEntry() {}
