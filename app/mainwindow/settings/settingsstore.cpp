#include "settingsstore.h"

#include "datapaths.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

#include <cmath>
#include <memory>

namespace settings {
namespace {

const QStringView S(SettingsSection);

// Every stored option, its type and its default.
const Definition table[] = {
    {S, u"Version", Type::Text, u"1.100"},
    {S, u"EngUse", Type::Boolean, u"True"},
    {S, u"BrixCheck", Type::Boolean, u"False"},
    {S, u"DicKana", Type::Boolean, u"True"},
    {S, u"SapiEngine", Type::Text, u"English-American: Reed (Adult Male)"},
    {S, u"SapiEngineSpeed", Type::Integer, u"4"},
    {S, u"Wordmere", Type::Text, u""}, // datapaths::dictionaryFolder()
    {S, u"StatusBar", Type::Boolean, u"True"},
    {S, u"Width", Type::Geometry, u"11385"},
    {S, u"Height", Type::Geometry, u"8775"},
    {S, u"Top", Type::Geometry, u"-99"},
    {S, u"Left", Type::Geometry, u"-99"},
    {S, u"BigMode", Type::Boolean, u"False"},
    {S, u"FontSize", Type::Integer, u"1"},
    {S, u"Reverse", Type::Boolean, u"True"},
    {S, u"ZenpoMax", Type::Integer, u"50"},
    {S, u"KeyFunc", Type::Integer, u"12"},
    {S, u"CheckKodo", Type::Integer, u"0"},
};

constexpr float CentreMarker = -99.0f;

std::unique_ptr<QSettings> open(QSettings::Scope scope, const QString &organisation, const QString &application)
{
    auto s = std::make_unique<QSettings>(QSettings::NativeFormat, scope, organisation, application);
    s->setFallbacksEnabled(false);
    s->sync(); // pick up changes other processes made since the last read
    return s;
}

std::unique_ptr<QSettings> userStore()
{
    return open(QSettings::UserScope, QStringLiteral("QLM"), QStringLiteral("Wordlamp"));
}

QString path(QStringView section, QStringView key)
{
    return section.toString() + u'/' + key.toString();
}

} // namespace

const Definition *find(QStringView section, QStringView key)
{
    for (const Definition &d : table)
        if (d.section == section && d.key == key)
            return &d;
    if (section == QStringView(HistorySection) && key.startsWith(u"Word")) {
        bool ok = false;
        const int slot = key.mid(4).toInt(&ok);
        static const Definition history{HistorySection, u"Word", Type::Text, u"-"};
        if (ok && slot >= 1 && slot <= 10 && key.mid(4) == QString::number(slot))
            return &history;
    }
    return nullptr;
}

const Definition &definition(QStringView key)
{
    const Definition *d = find(S, key);
    if (!d)
        qFatal("unknown setting %s", qPrintable(key.toString()));
    return *d;
}

QString defaultText(const Definition &def)
{
    if (def.key == u"Wordmere")
        return datapaths::dictionaryFolder();
    return def.defaultText.toString();
}

QString get(QStringView section, QStringView key, const QString &defaultText)
{
    const QVariant v = userStore()->value(path(section, key));
    if (!v.isValid())
        return defaultText;
    // An unquoted text with commas, written by hand, reads back as a list.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(u',');
    return v.toString();
}

void save(QStringView section, QStringView key, const QString &text)
{
    auto s = userStore();
    s->setValue(path(section, key), text);
    s->sync(); // write failures are not reported
}

bool parseBool(QStringView text, bool *ok)
{
    const QStringView t = text.trimmed();
    if (ok)
        *ok = true;
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    bool numeric = false;
    const double n = t.toDouble(&numeric);
    if (numeric && std::isfinite(n))
        return n != 0;
    if (ok)
        *ok = false;
    return false;
}

int parseInt(QStringView text, bool *ok)
{
    bool good = false;
    const int n = text.trimmed().toInt(&good, 10);
    if (ok)
        *ok = good;
    return good ? n : 0;
}

float parseGeometry(QStringView text, bool *ok)
{
    bool good = false;
    const float f = text.trimmed().toFloat(&good);
    good = good && std::isfinite(f);
    if (ok)
        *ok = good;
    return good ? f : 0.0f;
}

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString geometryText(float twips)
{
    if (twips == std::trunc(twips) && std::fabs(twips) < 1e9f)
        return QString::number(qint64(twips));
    return QString::number(twips, 'g', 7);
}

QString readText(QStringView key)
{
    const Definition &d = definition(key);
    return get(d.section, d.key, defaultText(d));
}

bool readBool(QStringView key)
{
    const Definition &d = definition(key);
    bool ok = false;
    const bool value = parseBool(get(d.section, d.key, defaultText(d)), &ok);
    return ok ? value : parseBool(defaultText(d));
}

int readInt(QStringView key)
{
    const Definition &d = definition(key);
    bool ok = false;
    const int value = parseInt(get(d.section, d.key, defaultText(d)), &ok);
    return ok ? value : parseInt(defaultText(d));
}

float readGeometry(QStringView key)
{
    const Definition &d = definition(key);
    bool ok = false;
    const float value = parseGeometry(get(d.section, d.key, defaultText(d)), &ok);
    return ok ? value : parseGeometry(defaultText(d));
}

void writeText(QStringView key, const QString &value)
{
    save(S, definition(key).key, value);
}

void writeBool(QStringView key, bool value)
{
    save(S, definition(key).key, boolText(value));
}

void writeInt(QStringView key, int value)
{
    save(S, definition(key).key, QString::number(value));
}

void writeGeometry(QStringView key, float twips)
{
    save(S, definition(key).key, geometryText(twips));
}

QRectF initialWindowGeometry(QSizeF screenTwips)
{
    const float width = readGeometry(u"Width");
    const float height = readGeometry(u"Height");
    float left = readGeometry(u"Left");
    if (left == CentreMarker)
        left = std::max(0.0f, float(screenTwips.width() - width) / 2);
    float top = readGeometry(u"Top");
    if (top == CentreMarker)
        top = std::max(0.0f, float(screenTwips.height() - height) / 2);
    return QRectF(left, top, width, height);
}

void saveWindowGeometry(const QRectF &twips)
{
    writeGeometry(u"Width", float(twips.width()));
    writeGeometry(u"Height", float(twips.height()));
    writeGeometry(u"Top", float(twips.top()));
    writeGeometry(u"Left", float(twips.left()));
}

QString ReadMachineThenUser(const QString &keyPath, const QString &valueName)
{
    // "Software\Organisation\Application\Group..." in the registry; the
    // same organisation, application and group in QSettings elsewhere.
    QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(u"Software", Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.size() < 2)
        return {};
    const QString organisation = parts.takeFirst();
    const QString application = parts.takeFirst();
    QString key = parts.join(u'/');
    key += key.isEmpty() ? valueName : u'/' + valueName;
    QString value;
    for (QSettings::Scope scope : {QSettings::SystemScope, QSettings::UserScope}) {
        value = open(scope, organisation, application)->value(key).toString();
        if (!value.isEmpty())
            break;
    }
    if (value.endsWith(QChar(u'\0')))
        value.chop(1);
    return value;
}

QString ReadManualFolder()
{
    return ReadMachineThenUser(QStringLiteral("Software\\QLM\\Wordlamp\\Directories"), QStringLiteral("Manual"));
}

bool ReadWindowOperation()
{
    return ReadMachineThenUser(QStringLiteral("SOFTWARE\\QLM\\System Global\\Settings"),
                               QStringLiteral("WindowOperation")) != u"2";
}

} // namespace settings
