#pragma once
// Reading an EDICT file into the builder: streamed in pieces, so that memory
// stays bounded whatever the file holds, and refused as soon as it is plainly
// no EDICT file. EUC-JP is EDICT's own encoding; a file that is valid UTF-8
// (with or without a byte order mark) is read as UTF-8.

#include <QString>

#include <functional>

namespace dictbuild {

class Builder;

// Bounds on the input: an EDICT line is a few hundred bytes (the longest of
// Debian's EDICT under 2 KiB); a file of EDICT is some 20 MB.
inline constexpr qint64 MaxEdictLineBytes = 64 * 1024;
inline constexpr qint64 MaxEdictBytes = 512LL * 1024 * 1024;

struct EdictReadResult {
    bool ok = false;
    QString error;     // why the file was refused
    bool utf8 = false; // the file was read as UTF-8
};

// Feeds every line of `path` to `builder`. `progress` (may be empty) gets the
// share read so far, 0 to 100, now and then.
EdictReadResult readEdict(const QString &path, Builder &builder, const std::function<void(int)> &progress = {});

} // namespace dictbuild
