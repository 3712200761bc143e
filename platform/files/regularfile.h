#pragma once
// What kind of file a path names, where Qt cannot tell: QFileInfo::isFile()
// is true for devices too.

#include <QString>

namespace files {

// True when `path`, followed through links, is a regular file: not a
// device, a pipe, a socket or a folder.
bool isRegularFile(const QString &path);

} // namespace files
