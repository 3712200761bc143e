#include "paging.h"

#include "mainform.h"
#include "mainwindow.h"

Paging::Paging(MainForm &form, MainWindow &window) : form_(form), window_(window) {}

void Paging::mnu_file_nextpage_Click() {}
void Paging::mnu_file_backpage_Click() {}
void Paging::mnu_file_yudo1_Click() {}
