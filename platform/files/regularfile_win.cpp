#include "files/regularfile.h"

#include <QFileInfo>

namespace files {

bool isRegularFile(const QString &path)
{
    // Windows has no device or pipe nodes in a folder: a file is a file.
    const QString target = QFileInfo(path).canonicalFilePath();
    return !target.isEmpty() && QFileInfo(target).isFile();
}

} // namespace files
