#pragma once
// The layout of the main window's client area, run on every resize and
// after every display change: input box and its label on the toolbar strip,
// the result band with its framed label, the result pane. A window made
// smaller than 5,000 twips either way springs back to 5,000.

#include <QObject>

class MainForm;

class WindowLayout : public QObject {
    Q_OBJECT
public:
    static constexpr double MinimumTwips = 5000;

    explicit WindowLayout(MainForm &form);

    void Form_Resize();
    // The input box's height in pixels for its font size.
    int inputBoxHeight() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeControls();

    MainForm &form_;
};
