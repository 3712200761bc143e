// The EDICT line parser: one line, decoded from EUC-JP or UTF-8, parsed and
// its glosses split into tags.
#include "edict.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    int unholdable = 0;
    const QString line = (data[0] & 1) ? edict::fromUtf8(bytes) : edict::decodeEucJp(bytes, &unholdable);
    edict::isHeaderLine(line);
    if (const auto entry = edict::parseLine(line)) {
        (void)entry;
    }
    edict::splitTags(line);
    return 0;
}
