#include "mainwindow/syscolors.h"

#include <QGuiApplication>
#include <QPalette>

namespace syscolors {

namespace {
// System colour index -> palette role (active colour group).
struct Entry {
    int index;
    QPalette::ColorRole role;
};
constexpr Entry table[] = {
    {ActiveCaption, QPalette::Highlight}, {InactiveCaption, QPalette::Mid},   {Menu, QPalette::Window},
    {WindowBackground, QPalette::Base},   {WindowText, QPalette::Text},       {CaptionText, QPalette::HighlightedText},
    {ButtonFace, QPalette::Button},       {ButtonText, QPalette::ButtonText}, {InactiveCaptionText, QPalette::Window},
};
} // namespace

QColor systemColour(int index)
{
    const QPalette palette = QGuiApplication::palette();
    for (const Entry &e : table)
        if (e.index == index)
            return palette.color(QPalette::Active, e.role);
    return palette.color(QPalette::Active, QPalette::Window);
}

QColor colour(quint32 value)
{
    if (value & System)
        return systemColour(int(value & ~System));
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

bool CheckDefColor()
{
    return systemColour(InactiveCaptionText) == colour(16311512);
}

} // namespace syscolors
