#pragma once
// The order of the dictionary files, on Shift-JIS (code page 932) byte
// strings as the files hold them.

#include <QByteArrayView>

// Dictionary collation: -1 when `key` sorts before `query`, 1 when after,
// 0 when equal. The order is that of the unsigned bytes, a string that is a
// prefix of another sorting first (the order of `LC_ALL=C sort`), so every
// key that begins with a query follows it in one run.
int cStrComp(QByteArrayView key, QByteArrayView query);
