#pragma once
// Whether the input method holds an unfinished composition in the control
// that has the keyboard focus. Qt tells a control about its composition
// through input-method events; this watcher follows them for the whole
// program while it lives.

#include <QObject>
#include <QPointer>

class QWidget;

class ImeComposition : public QObject {
    Q_OBJECT
public:
    ImeComposition();
    ~ImeComposition() override;

    // True when the focused control has a composition string of at least one
    // character. False without a watcher.
    static bool active();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> composing_;
};
