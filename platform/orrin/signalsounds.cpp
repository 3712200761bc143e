#include "orrin/signalsounds.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

namespace signalsounds {

namespace {

struct Tone {
    double hz; // 0 for silence
    int ms;
};

int toneMs(int value)
{
    return std::clamp(40 + value, 50, 150);
}

std::vector<Tone> pattern(int value, int code)
{
    const int ms = toneMs(value);
    switch (code) {
    case 1: return {{440, ms}, {0, ms / 2}, {440, ms}};
    case 3: return {{660, ms}, {440, ms}};
    case 11: return {{1320, ms / 2}};
    default: return {{880, ms}};
    }
}

void appendSamples(std::vector<qint16> &samples, const Tone &tone)
{
    const int count = SampleRate * tone.ms / 1000;
    const int fade = SampleRate * 5 / 1000; // soft edges, no clicks
    for (int i = 0; i < count; ++i) {
        double s = 0;
        if (tone.hz > 0) {
            const double envelope = std::min({1.0, double(i) / fade, double(count - 1 - i) / fade});
            s = 0.3 * envelope * std::sin(2 * M_PI * tone.hz * i / SampleRate);
        }
        samples.push_back(qint16(std::lround(s * 32767)));
    }
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

} // namespace

int durationMs(int value, int code)
{
    int ms = 0;
    for (const Tone &t : pattern(value, code))
        ms += t.ms;
    return ms;
}

QByteArray wav(int value, int code)
{
    std::vector<qint16> samples;
    for (const Tone &t : pattern(value, code))
        appendSamples(samples, t);
    const quint32 dataBytes = quint32(samples.size() * sizeof(qint16));

    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    put32(out, 16);             // format chunk size
    put16(out, 1);              // PCM
    put16(out, 1);              // mono
    put32(out, SampleRate);     // samples per second
    put32(out, SampleRate * 2); // bytes per second
    put16(out, 2);              // bytes per frame
    put16(out, 16);             // bits per sample
    out.append("data", 4);
    put32(out, dataBytes);
    for (qint16 s : samples)
        put16(out, quint16(s));
    return out;
}

QString file(int value, int code, const QString &folder)
{
    if (folder.isEmpty())
        return {};
    const QString path = QDir(folder).filePath(QStringLiteral("signal-%1-%2ms.wav").arg(code).arg(toneMs(value)));
    const QByteArray data = wav(value, code);
    // Only a regular file is used or replaced. Whatever else is in its place
    // (a link, which the save would write through, a pipe, a folder) is
    // someone else's and stays as it is: no sound then.
    const QFileInfo place(path);
    if (place.isSymLink() || (place.exists() && !place.isFile()))
        return {};
    if (place.size() == data.size())
        return path;
    if (!QDir().mkpath(folder))
        return {};
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit())
        return {};
    return path;
}

QString defaultFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/wordlamp/signals");
}

} // namespace signalsounds
