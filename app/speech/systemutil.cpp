#include "speech/systemutil.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

int OsLevelOf(QOperatingSystemVersion::OSType type, int major, int minor)
{
    if (type != QOperatingSystemVersion::Windows)
        return 5;
    if (major < 5)
        return 3;
    return minor >= 1 || major > 5 ? 5 : 4;
}

int OsLevel()
{
    const QOperatingSystemVersion v = QOperatingSystemVersion::current();
    return OsLevelOf(v.type(), v.majorVersion(), v.minorVersion());
}

namespace {
struct KeyName {
    int qtKey;
    QString text;
};

// The Windows key codes the program posts, and the few around them.
KeyName keyOf(int vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return {Qt::Key_A + (vk - 'A'), QString(QChar(vk + ('a' - 'A')))};
    if (vk >= '0' && vk <= '9')
        return {Qt::Key_0 + (vk - '0'), QString(QChar(vk))};
    switch (vk) {
    case 8: return {Qt::Key_Backspace, QStringLiteral("\b")};
    case 9: return {Qt::Key_Tab, QStringLiteral("\t")};
    case 13: return {Qt::Key_Return, QStringLiteral("\r")};
    case 27: return {Qt::Key_Escape, QString(QChar(27))};
    case 32: return {Qt::Key_Space, QStringLiteral(" ")};
    case 37: return {Qt::Key_Left, {}};
    case 38: return {Qt::Key_Up, {}};
    case 39: return {Qt::Key_Right, {}};
    case 40: return {Qt::Key_Down, {}};
    default: return {Qt::Key_unknown, {}};
    }
}
} // namespace

void PostKey(QWidget *window, int key, qint32 lparam)
{
    if (!window)
        return;
    const KeyName k = keyOf(key);
    const quint32 scanCode = (quint32(lparam) >> 16) & 0xFF;
    const QString text = key == 39 ? QString() : k.text;
    QCoreApplication::postEvent(
        window, new QKeyEvent(QEvent::KeyPress, k.qtKey, Qt::NoModifier, scanCode, quint32(key), 0, text));
    QCoreApplication::postEvent(
        window, new QKeyEvent(QEvent::KeyRelease, k.qtKey, Qt::NoModifier, scanCode, quint32(key), 0, text));
}
