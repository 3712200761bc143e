#pragma once
// Colours as the window's procedures give them: a value 0x00BBGGRR, or a
// system colour index with the high bit set (0x80000000 + index). Each
// system colour index stands for a palette role of the running desktop; the
// table in syscolors.cpp is the one place that says which.

#include <QColor>
#include <QtGlobal>

namespace syscolors {

inline constexpr quint32 System = 0x80000000u;

// Indices used by the window.
enum Index : int {
    ActiveCaption = 2,   // the focused label's background, the focused frame
    InactiveCaption = 3, // the resting frame
    Menu = 4,
    WindowBackground = 5,    // the panes' background in normal colours
    WindowText = 8,          // the panes' text in normal colours
    CaptionText = 9,         // the focused label's text
    ButtonFace = 15,         // a resting label's background
    ButtonText = 18,         // a resting label's text
    InactiveCaptionText = 19 // the window's own background
};

// The colour of a system colour index on this desktop.
QColor systemColour(int index);
// A colour value: 0x00BBGGRR, or a system colour (high bit set).
QColor colour(quint32 value);
inline quint32 rgb(int r, int g, int b)
{
    return quint32(r) | quint32(g) << 8 | quint32(b) << 16;
}

// True when the desktop shows the classic blue default scheme, whose window
// background (index 19) is 0xF8E4D8; some colours are then adjusted.
bool CheckDefColor();

} // namespace syscolors
