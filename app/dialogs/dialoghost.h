#pragma once
// What the option dialogs ask of the window that opens them: the quick guide
// beside a control, and the capture hook installed again with a new key.
// Declared here and implemented by the window, which lies above.

#include <QPoint>
#include <QString>

class QWidget;

namespace dialogs {

class DialogHost {
public:
    virtual ~DialogHost() = default;
    // Shows the quick guide modally at `topLeft` (screen pixels) with `text`;
    // `owner` takes the keys again when it closes.
    virtual void showQuickGuide(const QString &text, QPoint topLeft, QWidget *owner) = 0;
    // Removes the capture hook and installs it with the function key
    // `keyFunc` (1 to 12); false when it could not be installed.
    virtual bool reinstallHook(int keyFunc) = 0;
};

} // namespace dialogs
