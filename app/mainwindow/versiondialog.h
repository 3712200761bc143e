#pragma once
// The version dialog ("バージョン情報"): a picture with the product's name
// and version, announced when it opens. Escape or Enter, or a click on the
// picture, close it.

class MainForm;

// Shows the dialog modally over the main window.
void showVersionDialog(MainForm &form);
