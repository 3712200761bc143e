#pragma once
// Steps on the whole window that several roles take: bringing it to the
// front, the enabled state of the edit commands, and the still picture that
// hides a change of layout while it is being made.

class MainForm;

namespace windowsteps {

// Brings the main window to the front (out of its minimised state).
void ShowMe(MainForm &form);
// The enabled state of the cut, paste and copy commands from editCut,
// editPaste and editCopy.
void EditSetting(MainForm &form);
// Covers the client area with a still picture of it (Picture1).
void DummyScreen(MainForm &form);

} // namespace windowsteps
