#pragma once
// The keys the window sees before the focused pane (key preview): speech
// stops at every key, and the window-level commands run on key release:
// screen-reader commands, magnification, read-all, history and paging steps,
// copy-all. A handler cancels a key by setting its code to 0.

#include <QObject>

class DisplayModes;
class EditCommands;
class ImeColours;
class MainForm;

class FormKeys : public QObject {
    Q_OBJECT
public:
    FormKeys(MainForm &form, DisplayModes &display, ImeColours &ime, EditCommands &edit);

    void Form_KeyDown(int &KeyCode, int Shift);
    void Form_KeyPress(int &KeyAscii);
    void Form_KeyUp(int &KeyCode, int Shift);

    // Magnification up (F6, Alt+PageDown) and down (Alt+PageUp), and the
    // normal/magnified switch (Ctrl+G); a press while one runs is ignored.
    void magnifyUpKey();
    void magnifyDownKey();
    void switchKey();

private:
    MainForm &form_;
    DisplayModes &display_;
    ImeColours &ime_;
    EditCommands &edit_;
};
