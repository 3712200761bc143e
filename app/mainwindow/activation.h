#pragma once
// Bringing a window to the front as a user's click on its title bar would:
// kept on top for the moment, activated through the window manager as a
// user's choice (so no focus-stealing rule refuses it), then put back among
// the others, with the screen reader's short signal at each step.

#include "desktop/desktop.h"

class MainForm;

namespace activation {

void Mouse_MeOn(MainForm &form, desktop::Windows &windows, desktop::WindowId window);

} // namespace activation
