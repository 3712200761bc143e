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
    static constexpr int MinimumInputWidth = 120; // pixels

    explicit WindowLayout(MainForm &form);

    void Form_Resize();
    // The input box's height in pixels for its font size.
    int inputBoxHeight() const;
    // The size of the toolbar and the image menu against the normal display
    // (1), following the input box's font.
    double toolScale() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeControls();
    // Sizes the toolbar for the magnification, smaller where it would not
    // fit into `room` pixels; returns its width.
    int fitToolbar(int room);

    MainForm &form_;
};
