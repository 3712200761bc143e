#pragma once
// A row of buttons as one stop of the Tab order: Left and Right move the
// focus between its buttons that can take it (round the row), Tab and
// Shift+Tab leave the row for the control after or before it, Esc goes back
// to the input box. The toolbar and the image menu are such rows.

#include <QList>
#include <QObject>

class QAbstractButton;
class QWidget;

class ButtonRowKeys : public QObject {
    Q_OBJECT
public:
    ButtonRowKeys(QList<QAbstractButton *> buttons, QWidget *escapeTarget, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *neighbour(QAbstractButton *from, int step) const;
    void leave(bool forward);

    QList<QAbstractButton *> buttons_;
    QWidget *escapeTarget_;
};
