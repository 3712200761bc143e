#include "mainwindow/windowsteps.h"

#include "form/mainform.h"

#include <QAction>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>

namespace windowsteps {

void ShowMe(MainForm &form)
{
    if (form.isMinimized())
        form.showNormal();
    form.show();
    form.raise();
    form.activateWindow();
}

void EditSetting(MainForm &form)
{
    form.action(QStringLiteral("mnu_edit_cut"))->setEnabled(form.editCut);
    form.action(QStringLiteral("mnu_edit_paste"))->setEnabled(form.editPaste);
    form.toolButton(QStringLiteral("貼り付け"))->setEnabled(form.editPaste);
    form.toolButton(QStringLiteral("切り取り"))->setEnabled(form.editCut);
    form.action(QStringLiteral("mnu_edit_copy"))->setEnabled(form.editCopy);
    form.toolButton(QStringLiteral("コピー"))->setEnabled(form.editCopy);
}

void DummyScreen(MainForm &form)
{
    QWidget *client = form.centralWidget();
    if (!form.isVisible()) {
        form.Picture1->hide();
        return; // nothing on screen to hold still
    }
    if (form.Picture1->isVisible())
        return; // the picture already stands
    form.Picture1->setPixmap(client->grab());
    form.Picture1->setGeometry(client->rect());
    form.Picture1->raise();
    form.Picture1->show();
}

} // namespace windowsteps
