#pragma once
// The floor of the lookup benchmark: a plain binary search for the lines of
// one key in a sorted dictionary file, reading small pieces around each
// probe, with keys compared as Shift-JIS bytes as the engine does.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct BinarySearchResult {
    QStringList lines;
    quint64 bytesRead = 0;
    int probes = 0;
};

BinarySearchResult binarySearch(const QString &path, const QString &queryKey, bool prefix, int limit);
