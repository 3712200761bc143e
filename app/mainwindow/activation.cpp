#include "mainwindow/activation.h"

#include "mainwindow/spoken.h"

namespace activation {

void Mouse_MeOn(MainForm &form, desktop::Windows &windows, desktop::WindowId window)
{
    windows.setAbove(window, true);
    spoken::Signal(form, 10, 11, 0);
    // The pointer stays where it is: the window manager activates the
    // window where a click on its title bar once did.
    spoken::Signal(form, 10, 11, 0);
    windows.activate(window);
    spoken::Signal(form, 10, 11, 0);
    spoken::Signal(form, 10, 11, 0);
    windows.setAbove(window, false);
    spoken::Signal(form, 10, 11, 0);
}

} // namespace activation
