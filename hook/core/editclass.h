#pragma once
// EditClassTable: the window classes whose text a capture can read.

namespace wlhook {

// The class name is read with room for this many characters including the
// terminator, so only the first ClassNameRoom - 1 take part in the lookup.
inline constexpr int ClassNameRoom = 19;

inline constexpr int UnrecognisedClass = -1;
inline constexpr int PlainEditClass = 0; // "Edit", read line by line
inline constexpr int FirstRichEditClass = 1;
inline constexpr int LastRichEditClass = 3;
inline constexpr int FirstMakersEditorClass = 4;
inline constexpr int LastMakersEditorClass = 5;

// Index of className in EditClassTable (exact, case-sensitive match of its
// first 18 characters), overridden by the name-fragment rules: "Thunder"
// with "TextBox" is a plain edit (0), otherwise "WndClass" with "RichText"
// is a rich edit (1). UnrecognisedClass when nothing matches, also for a
// null or empty name.
int editClassIndex(const char *className);

inline bool isStandardControlClass(int index)
{
    return index >= PlainEditClass && index <= LastRichEditClass;
}
inline bool isMakersEditorClass(int index)
{
    return index >= FirstMakersEditorClass && index <= LastMakersEditorClass;
}

} // namespace wlhook
