#pragma once
// Twips, the unit the window's layout and stored geometry are given in: 1/1440
// inch, so 15 twips per pixel at 96 dpi. The screen's logical dpi decides.

class QWidget;

namespace twips {

double perPixel(const QWidget *widget = nullptr); // on the widget's screen, else the primary one
int toPixels(double twips, const QWidget *widget = nullptr);
double fromPixels(double pixels, const QWidget *widget = nullptr);

} // namespace twips
