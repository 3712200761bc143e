#include "mainwindow/keycodes.h"

#include <QKeyEvent>

namespace keys {

namespace {
struct Pair {
    int qt;
    int vk;
};
constexpr Pair table[] = {
    {Qt::Key_Backspace, Back},
    {Qt::Key_Tab, Tab},
    {Qt::Key_Backtab, Tab},
    {Qt::Key_Return, Return},
    {Qt::Key_Enter, Return},
    {Qt::Key_Shift, ShiftKey},
    {Qt::Key_Control, ControlKey},
    {Qt::Key_Alt, Menu},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, Escape},
    {Qt::Key_Space, Space},
    {Qt::Key_PageUp, PageUp},
    {Qt::Key_PageDown, PageDown},
    {Qt::Key_End, End},
    {Qt::Key_Home, Home},
    {Qt::Key_Left, Left},
    {Qt::Key_Up, Up},
    {Qt::Key_Right, Right},
    {Qt::Key_Down, Down},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, Insert},
    {Qt::Key_Delete, Delete},
    {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // Punctuation keys of a US layout (the OEM codes).
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_At, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    {Qt::Key_yen, 220},
    {Qt::Key_AsciiCircum, 222},
    // Keys of the Japanese input method.
    {Qt::Key_Kanji, 25},
    {Qt::Key_Muhenkan, 29},
    {Qt::Key_Henkan, 28},
    {Qt::Key_Zenkaku_Hankaku, 243},
    {Qt::Key_Hiragana_Katakana, 242},
    {Qt::Key_Eisu_toggle, 240},
};
} // namespace

int virtualKey(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey; // the same codes
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return F1 + (qtKey - Qt::Key_F1);
    for (const Pair &p : table)
        if (p.qt == qtKey)
            return p.vk;
    // Punctuation of other layouts, and every key the input method takes.
    if (qtKey > 0x20 && qtKey < 0x7F)
        return 223;
    if (qtKey >= 0x01001100 && qtKey <= 0x0100113F)
        return ProcessKey;
    return 0;
}

Qt::Key qtKey(int vk)
{
    if ((vk >= KeyA && vk <= KeyZ) || (vk >= '0' && vk <= '9'))
        return Qt::Key(vk);
    if (vk >= F1 && vk < F1 + 24)
        return Qt::Key(Qt::Key_F1 + (vk - F1));
    for (const Pair &p : table)
        if (p.vk == vk)
            return Qt::Key(p.qt);
    return Qt::Key_unknown;
}

int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? ShiftBit : 0) | (m & Qt::ControlModifier ? CtrlBit : 0) |
           (m & Qt::AltModifier ? AltBit : 0);
}

Qt::KeyboardModifiers modifiers(int shift)
{
    Qt::KeyboardModifiers m;
    if (shift & ShiftBit)
        m |= Qt::ShiftModifier;
    if (shift & CtrlBit)
        m |= Qt::ControlModifier;
    if (shift & AltBit)
        m |= Qt::AltModifier;
    return m;
}

int characterCode(const QKeyEvent &event)
{
    const int shift = shiftState(event.modifiers());
    if (shift & AltBit)
        return 0;
    const int key = event.key();
    if (shift & CtrlBit) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return key - Qt::Key_A + 1;
        return 0;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return Return;
    case Qt::Key_Escape: return Escape;
    case Qt::Key_Backspace: return Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0; // moves the focus; types nothing
    default: break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F)
        return 0;
    return text.at(0).unicode();
}

} // namespace keys
