#include "testsupport.h"

#include <QFile>
#include <QSettings>
#include <QStringConverter>

#include <iconv.h>

namespace testsupport {

TempSettings::TempSettings()
{
    QSettings::setDefaultFormat(QSettings::NativeFormat);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path() + QStringLiteral("/user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, dir_.path() + QStringLiteral("/system"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path() + QStringLiteral("/user"));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, dir_.path() + QStringLiteral("/system"));
}

TempSettings::~TempSettings() = default;

QString TempSettings::userFile() const
{
    return dir_.path() + QStringLiteral("/user/QLM/Wordlamp.conf");
}

QString TempSettings::systemFile() const
{
    return dir_.path() + QStringLiteral("/system/QLM/Wordlamp.conf");
}

QByteArray sjis(const QString &text)
{
    return iconvBytes(text, "CP932");
}

QByteArray iconvBytes(const QString &text, const char *charset)
{
    // Independent of the code under test: straight through iconv.
    const QByteArray utf8 = text.toUtf8();
    iconv_t cd = iconv_open(charset, "UTF-8");
    QByteArray out(utf8.size() * 3 + 4, '\0');
    char *in = const_cast<char *>(utf8.data());
    size_t inLeft = size_t(utf8.size());
    char *o = out.data();
    size_t outLeft = size_t(out.size());
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - qsizetype(outLeft));
    return out;
}

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace testsupport
