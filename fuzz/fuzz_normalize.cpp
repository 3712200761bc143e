// Query normalisation: every function of normalize.h over arbitrary text.
#include "lookup/normalize.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString s = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    lookup::CheckEng(s);
    lookup::ZenToHan(s);
    lookup::Hkana2Zkana(s);
    lookup::hira2kana(s);
    lookup::CutTxt(s);
    lookup::trimSpaces(s);
    lookup::trimWordSpaces(s);
    lookup::englishQueryKey(s);
    lookup::japaneseQueryKey(s);
    for (const QChar c : s) {
        lookup::EngFlag(c);
        lookup::JpnFlag(c);
    }
    return 0;
}
