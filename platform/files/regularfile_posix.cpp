#include "files/regularfile.h"

#include <QFile>

#include <sys/stat.h>

namespace files {

bool isRegularFile(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace files
