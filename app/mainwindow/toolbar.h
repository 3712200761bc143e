#pragma once
// The toolbar: its buttons repeat the most used commands (search, history
// back and forward, turning the dictionary's page, magnification, copy, cut,
// paste) and their drop-down lists offer the history words, the word before
// or after and the magnification levels. Every button and item only starts
// a command that lives with its own role; this class holds the table that
// says which.
//
// From the keyboard the toolbar is one stop of the Tab order, after the
// result pane: Left and Right move between its buttons, Space or Enter
// presses one, Down (or Alt+Down) opens its list, Esc goes back to the
// input box and Tab moves on. The buttons say their name and what they do
// when they get the focus.

#include <QObject>
#include <QString>

class DisplayModes;
class History;
class MainForm;
class Paging;
class QToolButton;
class SearchWindow;

class Toolbar : public QObject {
    Q_OBJECT
public:
    Toolbar(MainForm &form, SearchWindow &search, History &history, Paging &paging, DisplayModes &display);

    // A button pressed, by its key ("検索", "戻る" ...).
    void Toolbar1_ButtonClick(const QString &key);
    // An item of a drop-down list chosen, by its key ("前の単語", "拡大3",
    // "@b2" ...).
    void Toolbar1_ButtonMenuClick(const QString &key);

    // The description a button gives of itself.
    static QString description(const QString &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool refusedWhileBusy();
    void search();
    void magnify(int level); // -1: the next level
    void fillMenus();
    void menuAboutToShow(QToolButton *button);

    MainForm &form_;
    SearchWindow &search_;
    History &history_;
    Paging &paging_;
    DisplayModes &display_;
};
