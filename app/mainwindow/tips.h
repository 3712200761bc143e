#pragma once
// The tip window: a short text shown for two seconds under the input box, or
// just above the caret of the result pane, whichever pane is active.

#include <QObject>
#include <QString>

class MainForm;

class Tips : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowMs = 2000;

    explicit Tips(MainForm &form);

    void ShowTips(const QString &text);
    void TimerTips_Timer();

private:
    MainForm &form_;
};
