#pragma once
// What the screen reader says about a control, taken from Qt's
// accessibility interfaces (the same names, roles, states and text that
// other screen readers read): "name role state value", in Japanese.

#include <QAccessible>
#include <QString>

class QAccessibleInterface;

namespace accessibletext {

// "ボタン", "チェックボックス" ...; empty for roles that are not named.
QString roleName(QAccessible::Role role);
// "チェックあり", "使用不可" ...; empty when nothing is worth saying.
QString stateText(QAccessibleInterface *iface);
// The value: a box's text (the caret's line in a multi-line box), the
// current item of a list or combo box, a slider's number.
QString valueText(QAccessibleInterface *iface);
// An accessible name as spoken: without the bracketed access key of a
// Japanese caption ("検索(S)" is said "検索").
QString spokenName(const QString &name);
// The control's name: its accessible name, else the label that names it.
QString nameOf(QAccessibleInterface *iface);
// Name, role, state, value and description joined by spaces.
QString describe(QAccessibleInterface *iface);

// Text of the character, word or line at `offset` of a text control;
// empty when there is none. `start` gets the offset the text begins at.
QString textAt(QAccessibleInterface *iface, int offset, QAccessible::TextBoundaryType boundary, int *start = nullptr);
bool isMultiLine(QAccessibleInterface *iface);

} // namespace accessibletext
