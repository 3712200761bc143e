#pragma once
// Commands of the menu bar and toolbar whose behaviour comes with a later
// part of the program (the options and shortcut dialogs). They exist
// with their captions but stay disabled: the window's procedures that
// enable commands go through setEnabled here, which keeps these off. The
// part that brings a command takes it off this list.

class MainForm;
class QAction;
class QObject;
class QString;
class QToolButton;

namespace pending {

bool isPending(const QString &name);
// Disables every pending command (at start-up).
void disableAll(MainForm &form);
void setEnabled(QAction *action, bool enabled);
void setEnabled(QToolButton *button, bool enabled);

} // namespace pending
