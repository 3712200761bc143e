#pragma once
// The window program's --help and --version, answered before any window,
// display connection or speech starts.

namespace commandline {

// When the arguments ask for help or the version, prints it on standard
// output and returns true: the program then ends with status 0.
bool answered(int argc, char *argv[]);

} // namespace commandline
