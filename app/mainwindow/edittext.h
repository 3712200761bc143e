#pragma once
// Text moved between the panes and the clipboard by the edit commands: the
// clipboard's plain text, and the selection of a pane as plain text.

#include <QString>

class RichTextBox;

namespace edittext {

// The clipboard's plain text (empty when it holds none, or only an image).
QString clipboardText();
// Empties the clipboard and puts `text` on it as plain text.
void putOnClipboard(const QString &text);
// The selected text of `box`, with its line breaks as "\n".
QString selectedText(const RichTextBox *box);
// Leaves the caret at the start of the selection, with nothing selected.
void clearSelection(RichTextBox *box);

} // namespace edittext
