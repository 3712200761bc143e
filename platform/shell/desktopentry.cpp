#include "shell/desktopentry.h"

#include <QList>

namespace shell {

namespace {

// Characters that make an argument quoted, and those escaped inside quotes.
bool reserved(QChar c)
{
    return QStringView(u" \t\n\"'\\><~|&;$*?#()`").contains(c);
}

QString quoted(const QString &argument)
{
    bool needs = argument.isEmpty();
    for (const QChar c : argument)
        needs = needs || reserved(c);
    if (!needs)
        return argument;
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

// The escapes of a string value: a backslash doubled; "%" is a field code
// in Exec, so a literal one is doubled there.
QString stringValue(QString text, bool exec)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    if (exec)
        text.replace(u'%', QStringLiteral("%%"));
    return text;
}

bool writable(const QString &text)
{
    for (const QChar c : text)
        if (c == u'\n' || c == u'\r' || c.unicode() == 0)
            return false;
    return true;
}

} // namespace

QString execValue(const QString &target, const QStringList &arguments)
{
    QStringList parts{quoted(target)};
    if (!writable(target))
        return {};
    for (const QString &a : arguments) {
        if (!writable(a))
            return {};
        parts.append(quoted(a));
    }
    return stringValue(parts.join(u' '), true);
}

QByteArray desktopEntry(const Shortcut &shortcut)
{
    const QString exec = execValue(shortcut.target, shortcut.arguments);
    if (exec.isEmpty() || !writable(shortcut.name) || !writable(shortcut.localName) || !writable(shortcut.comment) ||
        !writable(shortcut.icon))
        return {};
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
    text += QStringLiteral("Name=%1\n").arg(stringValue(shortcut.name, false));
    if (!shortcut.localName.isEmpty())
        text += QStringLiteral("Name[ja]=%1\n").arg(stringValue(shortcut.localName, false));
    if (!shortcut.comment.isEmpty())
        text += QStringLiteral("Comment=%1\n").arg(stringValue(shortcut.comment, false));
    text += QStringLiteral("Exec=%1\n").arg(exec);
    if (!shortcut.icon.isEmpty())
        text += QStringLiteral("Icon=%1\n").arg(stringValue(shortcut.icon, false));
    text += QStringLiteral("Terminal=false\nCategories=Office;Dictionary;\n");
    text += QString::fromLatin1(OwnerKey) + QStringLiteral("=true\n");
    return text.toUtf8();
}

bool isOwnEntry(const QByteArray &content)
{
    bool inMain = false;
    for (const QByteArray &raw : content.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inMain = line == "[Desktop Entry]";
        else if (inMain && line.startsWith(OwnerKey)) {
            const QByteArray rest = line.mid(int(sizeof(OwnerKey)) - 1).trimmed();
            if (rest.startsWith('='))
                return rest.mid(1).trimmed() == "true";
        }
    }
    return false;
}

} // namespace shell
