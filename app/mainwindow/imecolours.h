#pragma once
// The input method's composition in the input box, drawn in the colours of
// the display mode: each pre-edit attribute the input method sends (the
// text being typed, the clause being converted, converted text) gets the
// text and background colour of its kind. Also tells whether a composition
// is in progress in the focused box.

#include <QColor>
#include <QInputMethodEvent>
#include <QObject>

class MainForm;
class QTextEdit;

class ImeColours : public QObject {
    Q_OBJECT
public:
    enum Attribute { Input, TargetConverted, Converted, TargetNotConverted };
    struct Record {
        QColor text;
        QColor background;
        bool underline;
    };
    static Record record(Attribute attribute, bool reverse);

    explicit ImeColours(MainForm &form);

    // Applies the records of the current mode to the input box.
    void SetImmColoer();
    // True when the focused box holds a composition string.
    bool IMMuse() const;
    static bool composing(const QTextEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QInputMethodEvent::Attribute> recolouredAttributes(const QInputMethodEvent &event) const;

    MainForm &form_;
    bool reverse_ = true;
    bool resending_ = false;
};
