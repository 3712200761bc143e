#include "mainwindow/historypopup.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/history.h"
#include "mainwindow/keycodes.h"
#include "mainwindow/quickguide.h"
#include "mainwindow/spoken.h"
#include "mainwindow/twips.h"

#include <QCoreApplication>
#include <QListWidget>

using namespace keys;

HistoryPopup::HistoryPopup(MainForm &form, History &history, QuickGuide &quickGuide)
    : form_(form), history_(history), quickGuide_(quickGuide)
{
    form_.List1->setSelectionMode(QAbstractItemView::SingleSelection);
}

void HistoryPopup::open()
{
    QListWidget *list = form_.List1;
    list->clear();
    list->addItems(history_.model().earlierWords());
    const int rows = qBound(3, list->count(), HistoryModel::MenuWords);
    const int height = rows * list->fontMetrics().lineSpacing() + 2 * list->frameWidth() + 4;
    list->setGeometry(form_.Text1->x(), form_.Text1->geometry().bottom() + 1 + twips::toPixels(16, &form_),
                      form_.Text1->width(), height);
    list->raise();
    list->show();
    list->setFocus();
}

void HistoryPopup::backToInputBox()
{
    form_.List1->hide();
    form_.Text1->setFocus();
}

void HistoryPopup::List1_GotFocus()
{
    QListWidget *list = form_.List1;
    form_.List1Enable = false;
    spoken::SpeakMarked(form_, QStringLiteral("履歴を戻るの選択"));
    if (list->count() == 0) {
        spoken::Speak(form_, QStringLiteral("履歴なし"));
    } else {
        list->setCurrentRow(0);
        spoken::Speak(form_, list->item(0)->text());
    }
}

void HistoryPopup::List1_KeyDown(int &KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == Escape || (KeyCode == Up && form_.List1->currentRow() <= 0)) {
        backToInputBox();
        KeyCode = 0;
    }
}

void HistoryPopup::List1_KeyUp(int &KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == Return) {
        List1_DblClick();
        KeyCode = 0;
    } else if (KeyCode == F1) {
        form_.List1Enable = true; // the list stays open under the guide
        quickGuide_.show(helptext::historyList(), quickGuide_.position(form_.List1, QuickGuide::Place::Below));
        KeyCode = 0;
        form_.List1Enable = false;
    }
}

void HistoryPopup::List1_DblClick()
{
    const int selected = form_.List1->currentRow();
    if (form_.RirekiIndex > 1 && selected >= 0)
        history_.choosePopupWord(selected);
    form_.List1->hide();
}

void HistoryPopup::List1_LostFocus()
{
    if (!form_.List1Enable)
        form_.List1->hide();
}
