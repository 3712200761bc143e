#include "lookbaseline.h"

// `look` is a tool of Debian's bsdextrautils; elsewhere the comparison is
// left out.
int runLook(const QByteArray &, const QByteArray &, const QByteArray &)
{
    return -1;
}
