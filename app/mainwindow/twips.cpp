#include "mainwindow/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace twips {

double perPixel(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int toPixels(double twips, const QWidget *widget)
{
    return int(std::lround(twips / perPixel(widget)));
}

double fromPixels(double pixels, const QWidget *widget)
{
    return pixels * perPixel(widget);
}

} // namespace twips
