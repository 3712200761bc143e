#include "settings/settingsstore.h"

#include "files/regularfile.h"

#include "datapaths/datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <utility>

namespace settings {
namespace {

const QStringView S(SettingsSection);

// Every stored option, its type and its default, in the order of Key.
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
    {S, u"FontSize", Type::Integer, u"1", 1, 7},
    {S, u"Reverse", Type::Boolean, u"True"},
    {S, u"ZenpoMax", Type::Integer, u"50"},
    {S, u"KeyFunc", Type::Integer, u"12", 1, 12},
    {S, u"CheckKodo", Type::Integer, u"0"},
};
static_assert(std::size(table) == std::size_t(Key::Count));

constexpr float CentreMarker = -99.0f;

std::unique_ptr<QSettings> open(QSettings::Scope scope, const QString &organisation, const QString &application)
{
    auto s = std::make_unique<QSettings>(QSettings::NativeFormat, scope, organisation, application);
    s->setFallbacksEnabled(false);
    s->sync(); // pick up changes other processes made since the last read
    return s;
}

// What became of the user's store: the problem found with it (empty while
// there is none), and whether it has been reported.
struct StoreHealth {
    QString file; // the settings file these findings are about
    QString problem;
    bool reported = false;
    ProblemHandler handler;
    std::unique_ptr<QTemporaryDir> standIn; // the session's values when the file cannot be used
    int groups = 0;                         // WriteGroups alive
    QList<QPair<QString, QString>> pending; // their values, path and text, in the order saved
};

StoreHealth &health()
{
    static StoreHealth h;
    return h;
}

void report(const QString &problem)
{
    StoreHealth &h = health();
    if (h.problem.isEmpty())
        h.problem = problem;
    if (h.reported || !h.handler)
        return;
    h.reported = true;
    h.handler(h.problem);
}

// The user's settings file where the platform keeps one (an INI file under
// the configuration folder; on Windows a registry path, which names no
// file). Opening the store itself would read the file, so the name comes
// from a store of the same organisation that has no file.
QString userFilePath()
{
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QLM"),
                          QStringLiteral("Wordlamp.where"));
    const QFileInfo probeFile(probe.fileName());
    return probeFile.dir().filePath(QStringLiteral("Wordlamp.") + probeFile.suffix());
}

// Why the settings file cannot be read and written, or empty when it can:
// absent, or a regular file (also behind links a dotfile manager makes).
// Anything else is never opened (a pipe would hang start-up) nor replaced
// (saving renames a new file over it, which replaced a linked /dev/null).
const QString ReadOnlyReason = QStringLiteral("読み取り専用です");

// A file its owner made read-only is kept as it is, also from a program that
// runs as root (whom the system would let write it).
bool isReadOnly(const QFileInfo &file)
{
    return !file.isWritable() || !(file.permissions() & QFileDevice::WriteOwner);
}

QString unusableBecause(const QString &file)
{
    const QFileInfo link(file);
    if (!link.exists() && !link.isSymLink())
        return {};
    const QFileInfo target(link.canonicalFilePath());
    if (link.isSymLink() && !target.exists())
        return QStringLiteral("リンク先がありません");
    if (target.isDir())
        return QStringLiteral("フォルダです");
    if (!files::isRegularFile(link.canonicalFilePath())) // a device, a pipe, a socket
        return QStringLiteral("通常のファイルではありません");
    if (isReadOnly(target))
        return ReadOnlyReason;
    return {};
}

std::unique_ptr<QSettings> userStore()
{
    StoreHealth &h = health();
    const QString file = userFilePath();
    if (file != h.file) {
        // Another configuration folder (a test's): findings start afresh.
        h.file = file;
        h.problem.clear();
        h.reported = false;
        h.standIn.reset();
    }
    if (!h.standIn) {
        const QString why = unusableBecause(file);
        if (why.isEmpty())
            return open(QSettings::UserScope, QStringLiteral("QLM"), QStringLiteral("Wordlamp"));
        // The defaults, and this session's changes, live in a file of our
        // own until the program ends; the user's file stays as it is. A
        // read-only file is read: the session starts with its values.
        h.standIn = std::make_unique<QTemporaryDir>();
        if (why == ReadOnlyReason) {
            const QString copy = h.standIn->filePath(QStringLiteral("Wordlamp.conf"));
            QFile::copy(QFileInfo(file).canonicalFilePath(), copy);
            QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            report(QStringLiteral("設定ファイルは読み取り専用です。設定の変更は保存されません。\n%1").arg(file));
        } else {
            report(QStringLiteral("設定ファイルを使えません（%1）。設定は保存されません。\n%2").arg(why, file));
        }
    }
    auto s = std::make_unique<QSettings>(h.standIn->filePath(QStringLiteral("Wordlamp.conf")), QSettings::IniFormat);
    s->setFallbacksEnabled(false);
    return s;
}

QString path(QStringView section, QStringView key)
{
    return section.toString() + u'/' + key.toString();
}

} // namespace

void setProblemHandler(ProblemHandler handler)
{
    StoreHealth &h = health();
    h.handler = std::move(handler);
    if (!h.problem.isEmpty() && !h.reported && h.handler) {
        h.reported = true;
        h.handler(h.problem);
    }
}

QString problem()
{
    return health().problem;
}

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

const Definition &definition(Key key)
{
    return table[std::size_t(key)];
}

QStringView name(Key key)
{
    return definition(key).key;
}

QString defaultText(const Definition &def)
{
    if (def.key == u"Wordmere")
        return datapaths::dictionaryFolder();
    return def.defaultText.toString();
}

QString get(QStringView section, QStringView key, const QString &defaultText)
{
    const QString p = path(section, key);
    for (const auto &[pendingPath, text] : health().pending)
        if (pendingPath == p)
            return text;
    const QVariant v = userStore()->value(p);
    if (!v.isValid())
        return defaultText;
    // An unquoted text with commas, written by hand, reads back as a list.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(u',');
    return v.toString();
}

namespace {

void writeValues(const QList<QPair<QString, QString>> &values)
{
    auto s = userStore();
    for (const auto &[p, text] : values)
        s->setValue(p, text);
    s->sync();
    if (s->status() != QSettings::NoError)
        report(QStringLiteral("設定を保存できません。\n%1").arg(s->fileName()));
}

} // namespace

void save(QStringView section, QStringView key, const QString &text)
{
    StoreHealth &h = health();
    if (h.groups == 0) {
        writeValues({{path(section, key), text}});
        return;
    }
    const QString p = path(section, key);
    for (auto &value : h.pending)
        if (value.first == p) {
            value.second = text;
            return;
        }
    h.pending.append({p, text});
}

WriteGroup::WriteGroup()
{
    ++health().groups;
}

WriteGroup::~WriteGroup()
{
    StoreHealth &h = health();
    if (--h.groups > 0 || h.pending.isEmpty())
        return;
    const auto values = std::exchange(h.pending, {});
    writeValues(values);
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

QString readText(Key key)
{
    const Definition &d = definition(key);
    return get(d.section, d.key, defaultText(d));
}

bool readBool(Key key)
{
    const Definition &d = definition(key);
    bool ok = false;
    const bool value = parseBool(get(d.section, d.key, defaultText(d)), &ok);
    return ok ? value : parseBool(defaultText(d));
}

int readInt(Key key)
{
    const Definition &d = definition(key);
    bool ok = false;
    const int value = parseInt(get(d.section, d.key, defaultText(d)), &ok);
    return ok && value >= d.minimum && value <= d.maximum ? value : parseInt(defaultText(d));
}

float readGeometry(Key key)
{
    const Definition &d = definition(key);
    bool ok = false;
    const float value = parseGeometry(get(d.section, d.key, defaultText(d)), &ok);
    return ok ? value : parseGeometry(defaultText(d));
}

void writeText(Key key, const QString &value)
{
    save(S, definition(key).key, value);
}

void writeBool(Key key, bool value)
{
    save(S, definition(key).key, boolText(value));
}

void writeInt(Key key, int value)
{
    save(S, definition(key).key, QString::number(value));
}

void writeGeometry(Key key, float twips)
{
    save(S, definition(key).key, geometryText(twips));
}

QRectF initialWindowGeometry(QSizeF screenTwips)
{
    const float width = readGeometry(Key::Width);
    const float height = readGeometry(Key::Height);
    float left = readGeometry(Key::Left);
    if (left == CentreMarker)
        left = std::max(0.0f, float(screenTwips.width() - width) / 2);
    float top = readGeometry(Key::Top);
    if (top == CentreMarker)
        top = std::max(0.0f, float(screenTwips.height() - height) / 2);
    return QRectF(left, top, width, height);
}

QRectF initialWindowGeometry(const QList<QRectF> &screens, float minimum)
{
    const float width = readGeometry(Key::Width);
    const float height = readGeometry(Key::Height);
    const float left = readGeometry(Key::Left);
    const float top = readGeometry(Key::Top);
    // On `screen`: the size cut to it, centred where asked.
    const auto placeOn = [&](const QRectF &screen, bool centreX, bool centreY) {
        const auto fit = [minimum](float size, double room) {
            return std::clamp(double(size), std::min(double(minimum), room), room);
        };
        const QSizeF size(fit(width, screen.width()), fit(height, screen.height()));
        const auto centred = [](double start, double room, double size) {
            return start + std::max(0.0, (room - size) / 2);
        };
        return QRectF(centreX ? centred(screen.left(), screen.width(), size.width()) : left,
                      centreY ? centred(screen.top(), screen.height(), size.height()) : top, size.width(),
                      size.height());
    };
    const QRectF primary = screens.value(0, QRectF(0, 0, minimum, minimum));
    const QRectF onPrimary = placeOn(primary, left == CentreMarker, top == CentreMarker);
    const auto holder =
        std::find_if(screens.begin(), screens.end(), [&](const QRectF &s) { return s.intersects(onPrimary); });
    if (holder == screens.end())
        return placeOn(primary, true, true); // nowhere to be seen
    return placeOn(*holder, left == CentreMarker, top == CentreMarker);
}

void saveWindowGeometry(const QRectF &twips)
{
    writeGeometry(Key::Width, float(twips.width()));
    writeGeometry(Key::Height, float(twips.height()));
    writeGeometry(Key::Top, float(twips.top()));
    writeGeometry(Key::Left, float(twips.left()));
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
