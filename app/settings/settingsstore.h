#pragma once
// The settings store: every option that survives a restart, and the search
// history, kept as text values in the per-user store of the platform (the
// registry on Windows, an INI file under the user's configuration folder
// elsewhere), organisation "QLM", application "Wordlamp". There is no cache:
// every read asks the store, every write is written out at once.

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <functional>
#include <limits>

namespace settings {

// The user's store cannot be used: its file is not a regular file (a
// device, a pipe, a folder, a broken link), or a change could not be saved.
// The program then goes on with the defaults and this session's changes,
// and never touches the file. The handler hears of the first problem once
// (at once, if it happened before the handler was set).
using ProblemHandler = std::function<void(const QString &message)>;
void setProblemHandler(ProblemHandler handler);
QString problem(); // the first problem, or empty

inline constexpr char16_t SettingsSection[] = u"Settings";
inline constexpr char16_t HistorySection[] = u"History";

enum class Type { Text, Boolean, Integer, Geometry };

// The options of the "Settings" section, in the order of the table in
// settingsstore.cpp. Each value's stored name is the enumerator's name.
enum class Key {
    Version,
    EngUse,
    BrixCheck,
    DicKana,
    SapiEngine,
    SapiEngineSpeed,
    Wordmere,
    StatusBar,
    Width,
    Height,
    Top,
    Left,
    BigMode,
    FontSize,
    Reverse,
    ZenpoMax,
    KeyFunc,
    CheckKodo,
    Count
};

struct Definition {
    QStringView section;
    QStringView key;
    Type type;
    QStringView defaultText; // empty with a special default (see defaultText())
    // An integer outside this range reads as absent (the default applies).
    int minimum = std::numeric_limits<int>::min();
    int maximum = std::numeric_limits<int>::max();
};

// The whole table of stored values with their types and defaults.
const Definition *find(QStringView section, QStringView key);
const Definition &definition(Key key);
// The stored name of an option ("Wordmere").
QStringView name(Key key);
// The default of a value as text ("Wordmere" defaults to the program's folder).
QString defaultText(const Definition &def);

// The two store operations. get() returns the stored text, or `defaultText`
// when the value is absent; nothing is written on read.
QString get(QStringView section, QStringView key, const QString &defaultText);
void save(QStringView section, QStringView key, const QString &text);

// While a WriteGroup lives, save() keeps the values (get() sees them); they
// are written together, in one write of the store, when the last group
// ends. Shutdown saves the window and the history this way.
class WriteGroup {
public:
    WriteGroup();
    ~WriteGroup();
    WriteGroup(const WriteGroup &) = delete;
    WriteGroup &operator=(const WriteGroup &) = delete;
};

// Text conversions of the stored encodings. Each returns false when the text
// does not parse as its type.
bool parseBool(QStringView text, bool *ok = nullptr);
int parseInt(QStringView text, bool *ok = nullptr);
float parseGeometry(QStringView text, bool *ok = nullptr);
QString boolText(bool value);      // "True" / "False"
QString geometryText(float twips); // "11385", or "11385.5" when not whole

// Typed reads of the "Settings" section through the table: a value that is
// absent or does not parse as its type reads as its default.
QString readText(Key key);
bool readBool(Key key);
int readInt(Key key);
float readGeometry(Key key);
void writeText(Key key, const QString &value);
void writeBool(Key key, bool value);
void writeInt(Key key, int value);
void writeGeometry(Key key, float twips);

// Window placement at start-up, in twips: width and height from "Width" and
// "Height"; "Left" and "Top" from their values, or centred on the screen
// when they hold -99 (never a negative left or top when centring).
QRectF initialWindowGeometry(QSizeF screenTwips);
// The same made safe for the screens there are. `screens` are the screens'
// available areas in twips, the primary first, in the coordinates of the
// stored "Left" and "Top" (the primary's top-left corner at 0, 0). Width and
// height are at least `minimum` and at most the size of the screen that
// holds the window; a window wholly off every screen is centred on the
// primary one, and so is a window whose "Left" or "Top" holds -99.
QRectF initialWindowGeometry(const QList<QRectF> &screens, float minimum);
// At shutdown, when the window is in its normal state: "Width", "Height",
// "Top", "Left", in this order.
void saveWindowGeometry(const QRectF &twips);

// Values of other components that are read but never written: the
// machine-wide store first, the user's when that gives an empty text; a
// trailing NUL character is dropped. `keyPath` is the registry path, such as
// "SOFTWARE\QLM\System Global\Settings".
QString ReadMachineThenUser(const QString &keyPath, const QString &valueName);
QString ReadManualFolder();
// True unless the shared "WindowOperation" option is "2".
bool ReadWindowOperation();

} // namespace settings
