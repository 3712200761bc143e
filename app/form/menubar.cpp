#include "form/menubar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

struct Item {
    const char *name; // nullptr: separator
    const char16_t *caption;
    const char *submenu = nullptr; // the item opens this submenu
};

struct Menu {
    const char *name;
    const char16_t *caption;
    std::initializer_list<Item> items;
};

const Menu menus[] = {
    {"mnu_file",
     u"操作(&F)",
     {{"mnu_file_yudo1", u"カーソル位置から検索(&C)"},
      {"mnu_file_yomi", u"読みを入力して検索(&S)"},
      {"mnu_file_select", u"選択範囲を検索(&H)"},
      {"mnu_file_clip", u"クリップボードから検索(&P)"},
      {nullptr, nullptr},
      {"mnu_file_oldback", u"履歴を戻る(&O) Alt + ←"},
      {"mnu_file_oldnext", u"履歴を進む(&L) Alt + →"},
      {nullptr, nullptr},
      {"mnu_file_backpage", u"前へ辞書をめくる(&B) Alt + ↑"},
      {"mnu_file_nextpage", u"次へ辞書をめくる(&N) Alt + ↓"},
      {nullptr, nullptr},
      {"mnu_file_exit", u"終了(&X)"}}},
    {"mnu_yomi",
     u"読み(&R)",
     {{"mnu_yomi_all_top", u"検索結果の読み上げ(&T) Alt+F5"},
      {nullptr, nullptr},
      {"mnu_yomi_english", u"カーソル位置から英語読み(&E) Alt+F7"},
      {"mnu_yomi_all", u"カーソル位置から全文読み(&A) Alt+F10"},
      {"mnu_yomi_para", u"段落読み(&S) Alt+F9"},
      {"mnu_yomi_line", u"１行読み(&L) Alt+F8"},
      {nullptr, nullptr},
      {"mnu_yomi_speed", u"音声スピード切替(&P)"},
      {"mnu_yomi_cursolmove", u"カーソル移動時の読み方切替(&M)"},
      {"mnu_yomi_cursolpos", u"カーソル位置読み上げ(&N)"}}},
    {"mnu_edit",
     u"編集(&E)",
     {{"mnu_edit_cut", u"切り取り(&T)"},
      {"mnu_edit_copy", u"コピー(&C)"},
      {"mnu_edit_paste", u"貼り付け(&P)"},
      {nullptr, nullptr},
      {"mnu_edit_clear", u"検索文字クリア(&L) Escape"},
      {"mnu_edit_allcopy", u"検索結果をすべてコピー(&A)"}}},
    {"mnu_view",
     u"表示(&V)",
     {{"mnu_view_switch", u"通常/拡大切換"},
      {"mnu_view_big", u"拡大率切替(&V)", "mnu_view_big"},
      {"mnu_view_font", u"反転表示(&R)", "mnu_view_font"},
      {nullptr, nullptr},
      {"mnu_view_status", u"ステータスバー(&S)"}}},
    {"mnu_view_big",
     nullptr,
     {{"mnu_view_tujo", u"通常(&0)"},
      {nullptr, nullptr},
      {"mnu_view_big1", u"拡大1(&1)"},
      {"mnu_view_big2", u"拡大2(&2)"},
      {"mnu_view_big3", u"拡大3(&3)"},
      {"mnu_view_big4", u"拡大4(&4)"},
      {"mnu_view_big5", u"拡大5(&5)"},
      {"mnu_view_big6", u"拡大6(&6)"},
      {"mnu_view_big7", u"拡大7(&7)"}}},
    {"mnu_view_font", nullptr, {{"mnu_view_font_hyojun", u"標準(&N)"}, {"mnu_view_font_hanten", u"白黒反転(&R)"}}},
    {"mnu_kankyo",
     u"環境(&M)",
     {{"mnu_kankyo_option", u"検索オプション(&O)..."},
      {"mnu_kankyo_english", u"英語読みの音声(&E)..."},
      {nullptr, nullptr},
      {"mnu_kankyo_StMenu", u"スタートメニューの設定(&S)..."},
      {"mnu_kankyo_wordmere", u"フォルダ設定(&E)..."}}},
    {"mnu_help",
     u"ヘルプ(&H)",
     {{"mnu_help_doc", u"オンラインマニュアル(&D)", "mnu_help_doc"},
      {"mnu_help_update", u"ライブアップデート(製品版にはこの機能はありません)(&U)..."},
      {nullptr, nullptr},
      {"mnu_help_version", u"バージョン情報(&A)..."}}},
};

const Menu *findMenu(const char *name)
{
    for (const Menu &m : menus)
        if (qstrcmp(m.name, name) == 0)
            return &m;
    return nullptr;
}

void fill(QMenu *menu, const Menu &spec, MenuBarItems &out)
{
    for (const Item &item : spec.items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        const QString caption = QString::fromUtf16(item.caption);
        if (item.submenu) {
            QMenu *sub = menu->addMenu(caption);
            sub->setObjectName(QString::fromLatin1(item.submenu));
            sub->menuAction()->setObjectName(QString::fromLatin1(item.name));
            out.menus.insert(sub->objectName(), sub);
            out.actions.insert(sub->menuAction()->objectName(), sub->menuAction());
            if (const Menu *subSpec = findMenu(item.submenu))
                fill(sub, *subSpec, out);
            continue;
        }
        QAction *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(item.name));
        out.actions.insert(a->objectName(), a);
    }
}

} // namespace

MenuBarItems buildMenuBar(QMenuBar *bar)
{
    MenuBarItems out;
    for (const Menu &m : menus) {
        if (!m.caption)
            continue; // a submenu, filled by its parent
        QMenu *menu = bar->addMenu(QString::fromUtf16(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(m.name));
        out.menus.insert(menu->objectName(), menu);
        fill(menu, m, out);
    }
    // The manuals: ten items captioned at start-up with the manual names.
    QMenu *doc = out.menus.value(QStringLiteral("mnu_help_doc"));
    for (int i = 0; i < 10; ++i) {
        QAction *a = doc->addAction(QStringLiteral("aaa%1").arg(i + 1));
        a->setObjectName(QStringLiteral("Manuals%1").arg(i));
        a->setVisible(false);
        out.actions.insert(a->objectName(), a);
    }
    for (const char *checkable :
         {"mnu_view_tujo", "mnu_view_big1", "mnu_view_big2", "mnu_view_big3", "mnu_view_big4", "mnu_view_big5",
          "mnu_view_big6", "mnu_view_big7", "mnu_view_font_hyojun", "mnu_view_font_hanten", "mnu_view_status"})
        out.actions.value(QString::fromLatin1(checkable))->setCheckable(true);
    return out;
}
