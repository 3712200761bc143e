#pragma once
// The window's side of a lookup: the steps of Kensaku that belong to the
// window (the still picture while it runs, the focus, the status bar, the
// history, the tip and the reading of the result).

#include <QObject>
#include <QString>

class MainForm;
class MainWindow;

class SearchWindow : public QObject {
    Q_OBJECT
public:
    SearchWindow(MainForm &form, MainWindow &window);
    ~SearchWindow() override;

    bool Kensaku(QString &str, bool rirekiFlag);
    int hitCount() const;
    // Empties the result pane and writes the entry on display again.
    void rewriteEntry();

private:
    MainForm &form_;
    MainWindow &window_;
};
