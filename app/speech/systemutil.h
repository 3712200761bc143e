#pragma once
// Two small utilities of the speech layer that stand in for Windows calls.

#include <QOperatingSystemVersion>

class QWidget;

// 3, 4 or 5 by operating system: on Windows 3 below version 5, 5 from 5.1
// on, else 4. Every other system counts as current (5).
int OsLevel();
int OsLevelOf(QOperatingSystemVersion::OSType type, int major, int minor);

// Posts a key press for the Windows key code `key` (with `lparam` giving its
// scan code) to `window`, a typed character with it unless the key is the
// right arrow (39), and the key's release. They are handled after the
// current event, in this order.
void PostKey(QWidget *window, int key, qint32 lparam);
