#include "core/editclass.h"

#include <string_view>

namespace wlhook {
namespace {

constexpr std::string_view EditClassTable[] = {
    "Edit", "RICHEDIT", "RichEdit20A", "RichEdit20W", "QevEditCtrl", "QEVEDITV",
};

bool contains(std::string_view name, std::string_view part)
{
    return name.find(part) != std::string_view::npos;
}

} // namespace

int editClassIndex(const char *className)
{
    if (!className)
        return UnrecognisedClass;
    std::size_t length = 0;
    while (length < ClassNameRoom - 1 && className[length] != '\0')
        ++length;
    const std::string_view name(className, length);

    int index = UnrecognisedClass;
    for (int i = 0; i < static_cast<int>(std::size(EditClassTable)); ++i)
        if (name == EditClassTable[i]) {
            index = i;
            break;
        }
    if (contains(name, "Thunder") && contains(name, "TextBox"))
        index = PlainEditClass;
    else if (contains(name, "WndClass") && contains(name, "RichText"))
        index = FirstRichEditClass;
    return index;
}

} // namespace wlhook
