#pragma once
// The message window at another application's caret: a borderless box just
// above the caret of the application the last captured word came from,
// shown for 1.5 seconds on top of every window without taking the focus.
// Nothing is shown over the maker's word processor (titles "TessaⅢ...").

#include "desktop/desktop.h"

#include <QTimer>
#include <QWidget>

class HookBinding;
class MainForm;
class QLabel;

class ExtBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int ShowMs = 1500;

    ExtBox(MainForm &form, HookBinding &hook, desktop::Windows &windows);
    ~ExtBox() override;

    // Shows `text` at the caret of SourceWindow, then gives that window
    // the focus again.
    void ShowExtBox(const QString &text);

    QLabel *Label1 = nullptr;
    QTimer Timer1;
    int First = 0;

private:
    void placeAbove(QPoint caret);

    MainForm &form_;
    HookBinding &hook_;
    desktop::Windows &windows_;
};
