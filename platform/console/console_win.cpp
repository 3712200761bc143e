#include "console/console.h"

#include <io.h>
#include <stdio.h>

namespace console {

bool stdinIsTerminal()
{
    return _isatty(_fileno(stdin)) != 0;
}

bool stdoutIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}

bool stderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace console
