// The entry writer: the input's lines as found dictionary lines, written to
// the plain sink in either direction and display mode.
#include "lookup/dicstrconv.h"
#include "lookup/entrysink.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    lookup::LookupState state;
    state.DicMode = (data[0] & 1) ? lookup::EnglishJapanese : lookup::JapaneseEnglish;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    state.record.HitLines = text.split(u'\n');
    while (state.record.HitLines.size() > lookup::PositionRecord::HitLinesSize)
        state.record.HitLines.removeLast();
    lookup::PlainTextSink sink;
    lookup::DicStrConv(state, sink);
    return 0;
}
