// The menu bar: every menu and item with its caption, in display order, and
// the controls' accessible names.

#include "form/mainform.h"
#include "form/richtextbox.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

class TestMenuBar : public QObject {
    Q_OBJECT
private slots:
    void menus_data();
    void menus();
    void submenus();
    void controls();
};

void TestMenuBar::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items"); // name=caption, "-" for a separator
    QTest::newRow("file") << "mnu_file"
                          << "操作(&F)"
                          << QStringList{"mnu_file_yudo1=カーソル位置から検索(&C)",
                                         "mnu_file_yomi=読みを入力して検索(&S)",
                                         "mnu_file_select=選択範囲を検索(&H)",
                                         "mnu_file_clip=クリップボードから検索(&P)",
                                         "-",
                                         "mnu_file_oldback=履歴を戻る(&O) Alt + ←",
                                         "mnu_file_oldnext=履歴を進む(&L) Alt + →",
                                         "-",
                                         "mnu_file_backpage=前へ辞書をめくる(&B) Alt + ↑",
                                         "mnu_file_nextpage=次へ辞書をめくる(&N) Alt + ↓",
                                         "-",
                                         "mnu_file_exit=終了(&X)"};
    QTest::newRow("reading") << "mnu_yomi"
                             << "読み(&R)"
                             << QStringList{"mnu_yomi_all_top=検索結果の読み上げ(&T) Alt+F5",
                                            "-",
                                            "mnu_yomi_english=カーソル位置から英語読み(&E) Alt+F7",
                                            "mnu_yomi_all=カーソル位置から全文読み(&A) Alt+F10",
                                            "mnu_yomi_para=段落読み(&S) Alt+F9",
                                            "mnu_yomi_line=１行読み(&L) Alt+F8",
                                            "-",
                                            "mnu_yomi_speed=音声スピード切替(&P)",
                                            "mnu_yomi_cursolmove=カーソル移動時の読み方切替(&M)",
                                            "mnu_yomi_cursolpos=カーソル位置読み上げ(&N)"};
    QTest::newRow("edit") << "mnu_edit"
                          << "編集(&E)"
                          << QStringList{"mnu_edit_cut=切り取り(&T)",
                                         "mnu_edit_copy=コピー(&C)",
                                         "mnu_edit_paste=貼り付け(&P)",
                                         "-",
                                         "mnu_edit_clear=検索文字クリア(&L) Escape",
                                         "mnu_edit_allcopy=検索結果をすべてコピー(&A)"};
    QTest::newRow("view") << "mnu_view"
                          << "表示(&V)"
                          << QStringList{"mnu_view_switch=通常/拡大切換", "mnu_view_big=拡大率切替(&V)",
                                         "mnu_view_font=反転表示(&R)", "-", "mnu_view_status=ステータスバー(&S)"};
    QTest::newRow("environment") << "mnu_kankyo"
                                 << "環境(&M)"
                                 << QStringList{"mnu_kankyo_option=検索オプション(&O)...",
                                                "mnu_kankyo_english=英語読みの音声(&E)...", "-",
                                                "mnu_kankyo_StMenu=スタートメニューの設定(&S)...",
                                                "mnu_kankyo_wordmere=フォルダ設定(&E)..."};
    QTest::newRow("help") << "mnu_help"
                          << "ヘルプ(&H)"
                          << QStringList{"mnu_help_doc=オンラインマニュアル(&D)",
                                         "mnu_help_update=ライブアップデート(製品版にはこの機能はありません)(&U)...",
                                         "-", "mnu_help_version=バージョン情報(&A)..."};
}

void TestMenuBar::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    MainForm form;
    QMenu *m = form.menu(menu);
    QCOMPARE(m->title(), caption);
    QStringList actual;
    for (QAction *a : m->actions())
        actual << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'=' + a->text());
    QCOMPARE(actual, items);
}

void TestMenuBar::submenus()
{
    MainForm form;
    QStringList big;
    for (QAction *a : form.menu(QStringLiteral("mnu_view_big"))->actions())
        big << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(big, (QStringList{"通常(&0)", "-", "拡大1(&1)", "拡大2(&2)", "拡大3(&3)", "拡大4(&4)", "拡大5(&5)",
                               "拡大6(&6)", "拡大7(&7)"}));
    QCOMPARE(form.action(QStringLiteral("mnu_view_font_hyojun"))->text(), QStringLiteral("標準(&N)"));
    QCOMPARE(form.action(QStringLiteral("mnu_view_font_hanten"))->text(), QStringLiteral("白黒反転(&R)"));
    QCOMPARE(form.menu(QStringLiteral("mnu_help_doc"))->actions().size(), 10);
    QCOMPARE(form.action(QStringLiteral("Manuals0"))->isVisible(), false);
    // The menu titles appear on the bar in this order.
    QStringList bar;
    for (QAction *a : form.menuBar()->actions())
        bar << a->text();
    QCOMPARE(bar, (QStringList{"操作(&F)", "読み(&R)", "編集(&E)", "表示(&V)", "環境(&M)", "ヘルプ(&H)"}));
}

void TestMenuBar::controls()
{
    MainForm form;
    QCOMPARE(form.Text1->accessibleName(), QStringLiteral("検索語"));
    QCOMPARE(form.Text2->accessibleName(), QStringLiteral("意味・検索結果"));
    QCOMPARE(form.List1->isVisibleTo(&form), false);
    QStringList keys;
    for (QToolButton *b : form.toolButtons())
        keys << b->property("key").toString();
    QCOMPARE(keys, (QStringList{"検索", "戻る", "進む", "めくる", "拡大", "コピー", "切り取り", "貼り付け"}));
}

QTEST_MAIN(TestMenuBar)
#include "test_menubar.moc"
