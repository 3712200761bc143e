#include "orrin/accessibletext.h"

#include <QAccessibleInterface>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

namespace accessibletext {

QString roleName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton: return QStringLiteral("ボタン");
    case QAccessible::ButtonMenu: return QStringLiteral("メニューボタン");
    case QAccessible::CheckBox: return QStringLiteral("チェックボックス");
    case QAccessible::RadioButton: return QStringLiteral("ラジオボタン");
    case QAccessible::ComboBox: return QStringLiteral("コンボボックス");
    case QAccessible::List: return QStringLiteral("リスト");
    case QAccessible::ListItem: return QStringLiteral("リスト項目");
    case QAccessible::EditableText: return QStringLiteral("エディット");
    case QAccessible::Slider: return QStringLiteral("スライダー");
    case QAccessible::SpinBox: return QStringLiteral("スピンボタン");
    case QAccessible::ScrollBar: return QStringLiteral("スクロールバー");
    case QAccessible::ProgressBar: return QStringLiteral("プログレスバー");
    case QAccessible::MenuBar: return QStringLiteral("メニューバー");
    case QAccessible::PopupMenu: return QStringLiteral("メニュー");
    case QAccessible::MenuItem: return QStringLiteral("メニュー項目");
    case QAccessible::PageTab: return QStringLiteral("タブ");
    case QAccessible::PageTabList: return QStringLiteral("タブ一覧");
    case QAccessible::Table: return QStringLiteral("表");
    case QAccessible::Tree: return QStringLiteral("ツリー");
    case QAccessible::TreeItem: return QStringLiteral("ツリー項目");
    case QAccessible::ToolBar: return QStringLiteral("ツールバー");
    case QAccessible::Link: return QStringLiteral("リンク");
    case QAccessible::Dialog: return QStringLiteral("ダイアログ");
    default: return {};
    }
}

QString stateText(QAccessibleInterface *iface)
{
    if (!iface)
        return {};
    const QAccessible::State s = iface->state();
    QStringList parts;
    switch (iface->role()) {
    case QAccessible::CheckBox:
        parts << (s.checked           ? QStringLiteral("チェックあり")
                  : s.checkStateMixed ? QStringLiteral("一部チェック")
                                      : QStringLiteral("チェックなし"));
        break;
    case QAccessible::RadioButton: parts << (s.checked ? QStringLiteral("選択") : QStringLiteral("未選択")); break;
    case QAccessible::PushButton:
        if (s.checkable)
            parts << (s.checked ? QStringLiteral("押されています") : QStringLiteral("押されていません"));
        break;
    case QAccessible::MenuItem:
        if (s.checkable && s.checked)
            parts << QStringLiteral("チェックあり");
        if (s.hasPopup)
            parts << QStringLiteral("サブメニュー");
        break;
    case QAccessible::EditableText:
        if (s.readOnly)
            parts << QStringLiteral("読み取り専用");
        break;
    default: break;
    }
    if (s.disabled)
        parts << QStringLiteral("使用不可");
    return parts.join(u' ');
}

bool isMultiLine(QAccessibleInterface *iface)
{
    return iface && iface->state().multiLine;
}

QString textAt(QAccessibleInterface *iface, int offset, QAccessible::TextBoundaryType boundary, int *startOut)
{
    if (startOut)
        *startOut = 0;
    QAccessibleTextInterface *text = iface ? iface->textInterface() : nullptr;
    if (!text)
        return {};
    const int count = text->characterCount();
    if (offset < 0 || offset >= count) {
        // A caret after the last character: the end of the last line or word.
        if (boundary == QAccessible::CharBoundary || count == 0)
            return {};
        offset = count - 1;
    }
    int start = 0, end = 0;
    QString t = text->textAtOffset(offset, boundary, &start, &end);
    if (startOut)
        *startOut = start;
    if (boundary == QAccessible::LineBoundary) {
        while (t.endsWith(u'\n') || t.endsWith(QChar::ParagraphSeparator) || t.endsWith(QChar::LineSeparator))
            t.chop(1);
    }
    return t;
}

QString valueText(QAccessibleInterface *iface)
{
    if (!iface)
        return {};
    switch (iface->role()) {
    case QAccessible::EditableText: {
        QAccessibleTextInterface *text = iface->textInterface();
        if (!text)
            return iface->text(QAccessible::Value);
        if (isMultiLine(iface))
            return textAt(iface, text->cursorPosition(), QAccessible::LineBoundary);
        return text->text(0, text->characterCount());
    }
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree: {
        QAccessibleInterface *item = iface->focusChild();
        return item && item != iface ? item->text(QAccessible::Name) : QString();
    }
    default: break;
    }
    if (QAccessibleValueInterface *value = iface->valueInterface())
        return value->currentValue().toString();
    return iface->text(QAccessible::Value);
}

QString spokenName(const QString &name)
{
    // Japanese captions carry their access key in brackets, "検索(&S)", which
    // the accessible name keeps as "検索(S)": not worth hearing.
    static const QRegularExpression accessKey(QStringLiteral("(?<=[^\\x00-\\x7f])\\([A-Za-z0-9]\\)"));
    // "拡大3(&3)" repeats its key just before the bracket: "拡大3".
    static const QRegularExpression repeatedKey(QStringLiteral("(?<=[^\\x00-\\x7f])([A-Za-z0-9])\\(\\1\\)"));
    QString out = name;
    out.remove(accessKey);
    out.replace(repeatedKey, QStringLiteral("\\1"));
    return out;
}

QString nameOf(QAccessibleInterface *iface)
{
    if (!iface)
        return {};
    if (const auto *w = qobject_cast<const QWidget *>(iface->object()); w && !w->accessibleName().isEmpty())
        return spokenName(w->accessibleName());
    // A label that names the control (a buddy label).
    for (const auto &relation : iface->relations(QAccessible::Label))
        if (relation.first)
            return spokenName(relation.first->text(QAccessible::Name));
    // On some systems a combo box's name is its current item: that is its value.
    if (iface->role() == QAccessible::ComboBox)
        return {};
    return spokenName(iface->text(QAccessible::Name));
}

QString describe(QAccessibleInterface *iface)
{
    if (!iface)
        return {};
    QStringList parts;
    const QString name = nameOf(iface);
    const QString value = valueText(iface);
    // What the control does, when it says so (a toolbar button's purpose).
    const QString description = iface->text(QAccessible::Description);
    for (const QString &p : {name, roleName(iface->role()), stateText(iface), value == name ? QString() : value,
                             description == name ? QString() : description})
        if (!p.trimmed().isEmpty())
            parts << p.trimmed();
    return parts.join(u' ');
}

} // namespace accessibletext
