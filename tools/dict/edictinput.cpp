#include "edictinput.h"

#include "dictbuilder.h"

#include <QFile>
#include <QFileInfo>

namespace dictbuild {
namespace {

constexpr qint64 PieceBytes = 1024 * 1024;
// After this many lines a file of which fewer than half are entries is no
// EDICT file, and reading stops there.
constexpr int LinesBeforeJudging = 2000;

// True when `bytes` hold only well-formed UTF-8; a sequence cut off at the
// end of `bytes` counts as well-formed.
bool isUtf8(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int more = 0;
        if (b < 0x80)
            more = 0;
        else if (b >= 0xC2 && b <= 0xDF)
            more = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            more = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            more = 3;
        else
            return false;
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n)
                return true;
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += more + 1;
    }
    return true;
}

bool hasHighBytes(QByteArrayView bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

} // namespace

EdictReadResult readEdict(const QString &path, Builder &builder, const std::function<void(int)> &progress)
{
    EdictReadResult r;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        r.error = QStringLiteral("%1 is a folder, not an EDICT file").arg(path);
        return r;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return r;
    }
    const qint64 size = file.isSequential() ? 0 : file.size();
    if (size > MaxEdictBytes) {
        r.error = QStringLiteral("%1 is larger than %2 MiB: no EDICT file").arg(path).arg(MaxEdictBytes >> 20);
        return r;
    }
    auto notEdict = [&](const QString &why) {
        r.error = QStringLiteral("%1 is no EDICT file (EUC-JP or UTF-8): %2").arg(path, why);
        return r;
    };

    QByteArray pending; // the start of a line whose end has not been read yet
    qint64 total = 0;
    qint64 lineNumber = 0;
    bool first = true;
    const Counts &c = builder.counts();
    auto judge = [&]() { return c.edictLines > 0 && c.entries * 2 < c.edictLines; };
    for (;;) {
        QByteArray piece = file.read(PieceBytes);
        if (piece.isEmpty() && file.error() != QFileDevice::NoError) {
            r.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return r;
        }
        const bool atEnd = piece.isEmpty();
        total += piece.size();
        if (total > MaxEdictBytes)
            return notEdict(QStringLiteral("more than %1 MiB").arg(MaxEdictBytes >> 20));
        if (first && !atEnd) {
            first = false;
            if (piece.startsWith("\xEF\xBB\xBF")) {
                piece.remove(0, 3);
                r.utf8 = true;
            } else {
                r.utf8 = hasHighBytes(piece) && isUtf8(piece);
            }
            builder.setInputUtf8(r.utf8);
        }
        pending += piece;
        qsizetype start = 0;
        for (;;) {
            qsizetype lf = pending.indexOf('\n', start);
            if (lf < 0 && !(atEnd && start < pending.size()))
                break;
            if (lf < 0)
                lf = pending.size();
            ++lineNumber;
            if (lf - start > MaxEdictLineBytes)
                return notEdict(
                    QStringLiteral("line %1 is longer than %2 KiB").arg(lineNumber).arg(MaxEdictLineBytes >> 10));
            builder.addEdictLine(QByteArrayView(pending).sliced(start, lf - start));
            start = lf + 1;
            if (c.edictLines == LinesBeforeJudging && judge())
                return notEdict(QStringLiteral("%1 of its first %2 lines are no entries")
                                    .arg(c.edictLines - c.entries)
                                    .arg(c.edictLines));
        }
        pending.remove(0, std::min(start, pending.size()));
        if (pending.size() > MaxEdictLineBytes)
            return notEdict(
                QStringLiteral("line %1 is longer than %2 KiB").arg(lineNumber + 1).arg(MaxEdictLineBytes >> 10));
        if (atEnd)
            break;
        if (progress && size > 0)
            progress(int(total * 100 / size));
    }
    if (c.entries == 0)
        return notEdict(QStringLiteral("it holds no entries"));
    if (judge())
        return notEdict(
            QStringLiteral("%1 of its %2 lines are no entries").arg(c.edictLines - c.entries).arg(c.edictLines));
    r.ok = true;
    return r;
}

} // namespace dictbuild
