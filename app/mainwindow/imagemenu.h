#pragma once
// The image menu: seven picture buttons at fixed places on the status bar's
// picture Pic2. Six control reading aloud: play (read the result from the
// caret), stop, back about 100 characters, back to the sentence before, on
// to the next chunk, skip some lines ahead; the reading commands act on the
// flags set here while a read-all runs. The seventh wakes an outside
// program's automation object, which does not exist here: its creation
// fails and the failure is ignored. A button shows its pressed picture from
// press to release; the play button keeps it while its reading runs.
// Pressing with the mouse, Space or Enter (a double click presses again) is
// the same. While one button is held the others are ignored.

#include <QObject>
#include <QString>

#include <functional>

class MainForm;

class ImageMenu : public QObject {
    Q_OBJECT
public:
    // The place of each button, in pixels at scale 1 (index 7 is the greyed
    // cover over the reading buttons).
    static constexpr int left[8] = {33, 53, 79, 98, 117, 135, 162, 33};
    static constexpr int top[8] = {4, 4, 4, 4, 4, 4, 3, 4};
    // The outside program's automation object and the method called on it.
    static const QString OutsideClassId;
    static const QString OutsideMethod;

    explicit ImageMenu(MainForm &form);

    // Gives every button its released picture and places the buttons.
    void ImagePosSet();
    // Places the buttons and the cover on Pic2 at `scale` (1 at the normal
    // display size; the layout follows the magnification).
    static void place(MainForm &form, double scale);

    void ImageX_MouseDown(int Index);
    void ImageX_MouseUp(int Index);
    void ImageX_DblClick(int Index) { ImageX_MouseDown(Index); }

    // Creates the outside automation object and calls a method without
    // arguments on it; false when either fails. Nothing provides such an
    // object here, so the default fails; a test may put another in.
    using OutsideCall = std::function<bool(const QString &classId, const QString &method)>;
    void setOutsideCall(OutsideCall call) { outsideCall_ = std::move(call); }

private:
    void stopSpeech();

    MainForm &form_;
    OutsideCall outsideCall_;
};
