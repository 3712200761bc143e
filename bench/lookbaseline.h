#pragma once
// Runs Debian's `look` (bsdextrautils) for one Shift-JIS string and file,
// passing the bytes unchanged, with its output thrown away. Returns its exit
// status (0 found, 1 not found), or -1 when it could not be run.

#include <QByteArray>

int runLook(const QByteArray &lookPath, const QByteArray &string, const QByteArray &file);
