#pragma once
// The text of a freedesktop desktop entry for a shortcut, and how the
// program knows an entry it wrote.

#include "shell/shortcuts.h"

#include <QByteArray>
#include <QString>

namespace shell {

// The key that marks an entry as the program's own.
inline constexpr char OwnerKey[] = "X-Wordlamp-Shortcut";

// The Exec value: the program and its arguments, each quoted where the
// desktop entry rules ask, with the string escapes applied. Empty when an
// argument holds a character an entry cannot carry (a line break, a NUL).
QString execValue(const QString &target, const QStringList &arguments);

// The whole entry, UTF-8; empty when the Exec value cannot be written.
QByteArray desktopEntry(const Shortcut &shortcut);

// True when `content` is an entry with the owner key set to true.
bool isOwnEntry(const QByteArray &content);

} // namespace shell
