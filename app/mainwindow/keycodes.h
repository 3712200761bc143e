#pragma once
// Keys as the window's key handlers see them: the platform's virtual-key
// code, a shift bit set (1 Shift, 2 Ctrl, 4 Alt), and for typed characters
// the character code. Handlers cancel a key by setting its code to 0.

#include <Qt>

class QKeyEvent;

namespace keys {

enum Shift : int { ShiftBit = 1, CtrlBit = 2, AltBit = 4 };

enum Code : int {
    Back = 8,
    Tab = 9,
    Return = 13,
    ShiftKey = 16,
    ControlKey = 17,
    Menu = 18,
    Escape = 27,
    Space = 32,
    PageUp = 33,
    PageDown = 34,
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Insert = 45,
    Delete = 46,
    KeyA = 65,
    KeyC = 67,
    KeyG = 71,
    KeyV = 86,
    KeyX = 88,
    KeyZ = 90,
    F1 = 112,
    F2 = 113,
    F5 = 116,
    F6 = 117,
    F7 = 118,
    F8 = 119,
    F9 = 120,
    F10 = 121,
    ProcessKey = 229 // a key the input method is handling
};

// The virtual-key code of a Qt key (0 for keys that have none).
int virtualKey(int qtKey);
// The Qt key of a virtual-key code (for keys the program sends itself).
Qt::Key qtKey(int virtualKey);
int shiftState(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers modifiers(int shiftState);
// The character code a key event types, as the platform would deliver it
// (13 for Enter, 27 for Esc, 1 to 26 for Ctrl with a letter), or 0 when it
// types none (Alt held, Tab, a key without text).
int characterCode(const QKeyEvent &event);

} // namespace keys
