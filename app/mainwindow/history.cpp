#include "mainwindow/history.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

History::History(MainForm &form) : form_(form), model_(form.RirekiList, form.RirekiIndex, form.RirekiMax)
{
    connect(form_.action(QStringLiteral("mnu_file_oldback")), &QAction::triggered, this,
            &History::mnu_file_oldback_Click);
    connect(form_.action(QStringLiteral("mnu_file_oldnext")), &QAction::triggered, this,
            &History::mnu_file_oldnext_Click);
}

void History::RirekiKosin(const QString &word)
{
    model_.RirekiKosin(word);
}

void History::lookUp(const QString &word)
{
    form_.Text1->setPlainText(word);
    emit wordChosen(word);
}

void History::RirekiBack()
{
    const std::optional<QString> word = model_.back();
    if (!word)
        return;
    RirekiSetting();
    lookUp(*word);
}

void History::RirekiNext()
{
    const std::optional<QString> word = model_.next();
    if (!word)
        return;
    RirekiSetting();
    lookUp(*word);
}

void History::mnu_file_oldback_Click()
{
    form_.speech().AllCancel();
    RirekiBack();
}

void History::mnu_file_oldnext_Click()
{
    form_.speech().AllCancel();
    RirekiNext();
}

void History::chooseItem(const QString &key)
{
    const std::optional<QString> word = model_.jump(key);
    if (!word)
        return;
    RirekiSetting();
    lookUp(*word);
}

void History::choosePopupWord(int selectedIndex)
{
    const std::optional<QString> word = model_.backBy(selectedIndex);
    if (!word)
        return;
    RirekiSetting();
    lookUp(*word);
}

void History::RirekiLoad()
{
    model_.load(
        [](const QString &key) { return settings::get(settings::HistorySection, key, HistoryModel::EmptySlot); });
}

void History::RirekiSave()
{
    model_.save([](const QString &key, const QString &value) { settings::save(settings::HistorySection, key, value); });
}

void History::RirekiSetting()
{
    const bool back = model_.canGoBack();
    const bool forward = model_.canGoForward();
    form_.toolButton(QStringLiteral("戻る"))->setEnabled(back);
    form_.action(QStringLiteral("mnu_file_oldback"))->setEnabled(back);
    form_.toolButton(QStringLiteral("進む"))->setEnabled(forward);
    form_.action(QStringLiteral("mnu_file_oldnext"))->setEnabled(forward);

    // The items are named by their keys; the toolbar looks a chosen one up.
    const auto fill = [](QMenu *menu, const QStringList &words, const QString &prefix) {
        menu->clear();
        for (int c = 1; c <= words.size(); ++c)
            menu->addAction(words.at(c - 1))->setObjectName(prefix + QString::number(c));
    };
    fill(form_.toolButton(QStringLiteral("戻る"))->menu(), model_.earlierWords(), QStringLiteral("@b"));
    fill(form_.toolButton(QStringLiteral("進む"))->menu(), model_.laterWords(), QStringLiteral("@n"));
}

void History::RollSetting(bool ExecRoll)
{
    const bool enabled = ExecRoll && !form_.ZenpoFlag;
    form_.toolButton(QStringLiteral("めくる"))->setEnabled(enabled);
    form_.action(QStringLiteral("mnu_file_backpage"))->setEnabled(enabled);
    form_.action(QStringLiteral("mnu_file_nextpage"))->setEnabled(enabled);
}
