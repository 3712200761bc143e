#include "mainwindow/windowsteps.h"

#include "form/mainform.h"
#include "mainwindow/pendingcommands.h"

#include <QLabel>
#include <QPixmap>

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
    pending::setEnabled(form.action(QStringLiteral("mnu_edit_cut")), form.editCut);
    pending::setEnabled(form.action(QStringLiteral("mnu_edit_paste")), form.editPaste);
    pending::setEnabled(form.toolButton(QStringLiteral("貼り付け")), form.editPaste);
    pending::setEnabled(form.toolButton(QStringLiteral("切り取り")), form.editCut);
    pending::setEnabled(form.action(QStringLiteral("mnu_edit_copy")), form.editCopy);
    pending::setEnabled(form.toolButton(QStringLiteral("コピー")), form.editCopy);
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
