#include "mainwindow/toolbar.h"

#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/buttonrowkeys.h"
#include "mainwindow/displaymodes.h"
#include "mainwindow/history.h"
#include "mainwindow/paging.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/spoken.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

namespace {
const QString EmptyHistory = QStringLiteral("履歴なし");
const char PlaceholderName[] = "toolbarEmptyList";

struct ButtonText {
    const char16_t *key;
    const char16_t *description;
};
const ButtonText buttonTexts[] = {
    {u"検索", u"入力した単語、選択した文字列、またはカーソル位置の単語を検索します"},
    {u"戻る", u"履歴を戻ります。下矢印キーで前の単語の一覧を開きます"},
    {u"進む", u"履歴を進みます。下矢印キーで後の単語の一覧を開きます"},
    {u"めくる", u"辞書を次の単語へめくります。下矢印キーで前の単語か次の単語を選べます"},
    {u"拡大", u"表示を一段階拡大します。下矢印キーで倍率を選べます"},
    {u"コピー", u"選択した文字列をコピーします"},
    {u"切り取り", u"選択した文字列を切り取ります"},
    {u"貼り付け", u"クリップボードの文字列を貼り付けます"},
};
} // namespace

Toolbar::Toolbar(MainForm &form, SearchWindow &search, History &history, Paging &paging, DisplayModes &display)
    : form_(form), search_(search), history_(history), paging_(paging), display_(display)
{
    form_.Toolbar1->setAccessibleName(QStringLiteral("ツールバー"));
    for (QToolButton *b : form_.toolButtons()) {
        const QString key = b->property("key").toString();
        b->setAccessibleDescription(description(key));
        b->setFocusPolicy(Qt::TabFocus);
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, key] { Toolbar1_ButtonClick(key); });
        if (QMenu *menu = b->menu()) {
            connect(menu, &QMenu::aboutToShow, this, [this, b] { menuAboutToShow(b); });
            connect(menu, &QMenu::aboutToHide, this, [menu] {
                for (QAction *a : menu->actions())
                    if (a->objectName() == QLatin1String(PlaceholderName))
                        a->deleteLater();
            });
            connect(menu, &QMenu::triggered, this, [this](QAction *a) {
                const QString key = a->objectName();
                if (key.startsWith(u'@')) {
                    // Choosing a word refills the list: it is looked up once
                    // the menu is done with the item.
                    QMetaObject::invokeMethod(
                        this, [this, key] { Toolbar1_ButtonMenuClick(key); }, Qt::QueuedConnection);
                } else if (!key.isEmpty() && key != QLatin1String(PlaceholderName)) {
                    Toolbar1_ButtonMenuClick(key);
                }
            });
        }
    }
    fillMenus();
    QList<QAbstractButton *> row;
    for (QToolButton *b : form_.toolButtons())
        row << b;
    new ButtonRowKeys(row, form_.Text1, this);
}

QString Toolbar::description(const QString &key)
{
    for (const ButtonText &t : buttonTexts)
        if (key == QString::fromUtf16(t.key))
            return QString::fromUtf16(t.description);
    return {};
}

void Toolbar::fillMenus()
{
    const auto add = [](QMenu *menu, const QString &key, bool checkable) {
        QAction *a = menu->addAction(key);
        a->setObjectName(key);
        a->setCheckable(checkable);
    };
    QMenu *turn = form_.toolButton(QStringLiteral("めくる"))->menu();
    add(turn, QStringLiteral("前の単語"), false);
    add(turn, QStringLiteral("次の単語"), false);
    QMenu *levels = form_.toolButton(QStringLiteral("拡大"))->menu();
    add(levels, QStringLiteral("通常"), true);
    for (int n = 1; n <= DisplayModes::Levels; ++n)
        add(levels, QStringLiteral("拡大%1").arg(n), true);
}

void Toolbar::menuAboutToShow(QToolButton *button)
{
    QMenu *menu = button->menu();
    const QString key = button->property("key").toString();
    if (key == u"拡大") {
        // The marks of the View menu's magnification items.
        QList<QAction *> items = menu->actions();
        items.at(0)->setChecked(form_.action(QStringLiteral("mnu_view_tujo"))->isChecked());
        for (int n = 1; n < items.size(); ++n)
            items.at(n)->setChecked(form_.action(QStringLiteral("mnu_view_big%1").arg(n))->isChecked());
    } else if ((key == u"戻る" || key == u"進む") && menu->isEmpty()) {
        QAction *none = menu->addAction(EmptyHistory);
        none->setObjectName(QLatin1String(PlaceholderName));
        none->setEnabled(false);
        spoken::Speak(form_, EmptyHistory);
    }
}

bool Toolbar::refusedWhileBusy()
{
    // While a lookup runs (it lets the window's events run) a command that
    // would start another or change the entry under it is refused, as a
    // second lookup is.
    if (!form_.KensakuEnable)
        return false;
    spoken::Signal(form_, 10, 1, 0);
    return true;
}

void Toolbar::Toolbar1_ButtonClick(const QString &key)
{
    if (refusedWhileBusy())
        return;
    form_.AllReadFlag = false;
    eventloop::DoEvents();
    spoken::StopSpeech(form_);
    form_.speech().SapiCancel();
    if (key == u"検索")
        search();
    else if (key == u"戻る")
        history_.RirekiBack();
    else if (key == u"進む")
        history_.RirekiNext();
    else if (key == u"めくる")
        paging_.mnu_file_nextpage_Click();
    else if (key == u"拡大")
        magnify(-1);
    else if (key == u"コピー")
        form_.action(QStringLiteral("mnu_edit_copy"))->trigger();
    else if (key == u"貼り付け")
        form_.action(QStringLiteral("mnu_edit_paste"))->trigger();
    else if (key == u"切り取り")
        form_.action(QStringLiteral("mnu_edit_cut"))->trigger();
}

void Toolbar::Toolbar1_ButtonMenuClick(const QString &key)
{
    if (refusedWhileBusy())
        return;
    spoken::StopSpeech(form_);
    form_.speech().SapiCancel();
    if (key == u"前の単語") {
        paging_.mnu_file_backpage_Click();
    } else if (key == u"次の単語") {
        paging_.mnu_file_nextpage_Click();
    } else if (key == u"通常") {
        magnify(0);
    } else if (key.startsWith(QStringLiteral("拡大"))) {
        bool ok = false;
        const int level = key.mid(2).toInt(&ok);
        if (ok && level >= 1 && level <= DisplayModes::Levels)
            magnify(level);
    } else if (key.startsWith(QStringLiteral("@b")) || key.startsWith(QStringLiteral("@n"))) {
        history_.chooseItem(key);
    }
}

void Toolbar::search()
{
    QString word;
    if (form_.Text1Enable) {
        word = form_.Text1->toPlainText();
        search_.Kensaku(word, true);
        return;
    }
    const QTextCursor selection = form_.Text2->textCursor();
    if (selection.hasSelection()) {
        word = selection.selectedText();
        word.replace(QChar::ParagraphSeparator, u' ');
    } else {
        word = form_.speech().GetCurStr();
    }
    if (word.isEmpty()) {
        // Nothing selected and a blank at the cursor: nothing to look up.
        spoken::Signal(form_, 100, 3, 0);
        return;
    }
    form_.Text1->setPlainText(word);
    search_.Kensaku(word, true);
}

void Toolbar::magnify(int level)
{
    if (level < 0)
        display_.magnifyButtonClick();
    else
        display_.magnifyMenuChoice(level);
    // The new size is said, as for the magnification keys.
    spoken::Speak(form_, form_.modeBigFont ? QStringLiteral("拡大%1").arg(form_.modeFontSize) : QStringLiteral("通常"));
}

bool Toolbar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *button = static_cast<QToolButton *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || key->isAutoRepeat())
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: button->click(); return true;
    case Qt::Key_Down:
        if (button->menu())
            QMetaObject::invokeMethod(button, &QToolButton::showMenu, Qt::QueuedConnection);
        return true;
    default: return false;
    }
}
