#include "mainwindow/pendingcommands.h"

#include "form/mainform.h"

#include <QAction>
#include <QToolButton>

namespace pending {

namespace {
const char *const menuItems[] = {
    "mnu_file_select", "mnu_file_clip",    "mnu_edit_cut",    "mnu_edit_copy",    "mnu_edit_paste",
    "mnu_edit_clear",  "mnu_edit_allcopy", "mnu_help_update", "mnu_help_version",
};
const char16_t *const toolButtons[] = {u"検索", u"コピー", u"切り取り", u"貼り付け"};

QString buttonName(const char16_t *key)
{
    return QStringLiteral("Toolbar1_") + QString::fromUtf16(key);
}
} // namespace

bool isPending(const QString &name)
{
    for (const char *item : menuItems)
        if (name == QLatin1String(item))
            return true;
    for (const char16_t *key : toolButtons)
        if (name == buttonName(key))
            return true;
    return false;
}

void disableAll(MainForm &form)
{
    for (const char *item : menuItems)
        form.action(QString::fromLatin1(item))->setEnabled(false);
    for (const char16_t *key : toolButtons)
        form.toolButton(QString::fromUtf16(key))->setEnabled(false);
}

void setEnabled(QAction *action, bool enabled)
{
    action->setEnabled(enabled && !isPending(action->objectName()));
}

void setEnabled(QToolButton *button, bool enabled)
{
    button->setEnabled(enabled && !isPending(button->objectName()));
}

} // namespace pending
