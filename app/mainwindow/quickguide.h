#pragma once
// The quick guide: a small modal window beside a control that explains it,
// read aloud when it opens. F1, Escape or Enter, or a click on the window
// (not on its text), close it again.

#include <QObject>
#include <QPoint>
#include <QString>

class MainForm;
class QWidget;

namespace helptext {
// Lines of the guidance for the main window's controls.
QString inputBox();
QString resultPane();
QString historyList();
QString resultBand(); // a double-click on the band around the result pane
} // namespace helptext

class QuickGuide : public QObject {
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("クイックガイド");

    explicit QuickGuide(MainForm &form);

    // Shows the guide modally at `topLeft` (screen pixels) with `text`;
    // `owner` (the main window unless given) takes the keys again after it.
    void show(const QString &text, QPoint topLeft, QWidget *owner = nullptr);
    // Where the guide for a control goes: under the input box or the list,
    // offset into the result pane, or further down for the band.
    enum class Place { Below, IntoPane, IntoBand };
    QPoint position(const QWidget *control, Place place) const;

    bool F1HelpEnable = false; // true while the guide is open

private:
    MainForm &form_;
};
