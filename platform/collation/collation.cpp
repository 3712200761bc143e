#include "collation/collation.h"

#include <algorithm>
#include <cstring>

int cStrComp(QByteArrayView key, QByteArrayView query)
{
    const qsizetype n = std::min(key.size(), query.size());
    const int c = n > 0 ? std::memcmp(key.data(), query.data(), static_cast<size_t>(n)) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    if (key.size() == query.size())
        return 0;
    return key.size() < query.size() ? -1 : 1;
}
