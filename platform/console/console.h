#pragma once
// Facts about the console a command-line tool runs in.

namespace console {

// True when standard input, output or error is a terminal (and not a pipe
// or a file), so that prompts and progress make sense there.
bool stdinIsTerminal();
bool stdoutIsTerminal();
bool stderrIsTerminal();

} // namespace console
