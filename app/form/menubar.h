#pragma once
// The main window's menu bar: every menu and item with its name and caption
// (captions keep their & mnemonics). Commands are connected by the parts of
// the program that own them, through the names.

#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

struct MenuBarItems {
    QHash<QString, QMenu *> menus;     // "mnu_file", ..., "mnu_view_big", "mnu_view_font", "mnu_help_doc"
    QHash<QString, QAction *> actions; // "mnu_file_yudo1", ..., and "Manuals0" to "Manuals9"
};

// Fills `bar` with the menus; every menu and action gets its name as object name.
MenuBarItems buildMenuBar(QMenuBar *bar);
