// The search history's list operations: recording, stepping, jumping,
// loading and saving, with the cases of the worked example.

#include "mainwindow/historymodel.h"

#include <QMap>
#include <QTest>

namespace {
// A history with its own store; a script of operations and the state after it.
struct History {
    QStringList store;
    qint32 index = 0;
    qint32 max = 0;
    HistoryModel model{store, index, max};

    // "apple" records a word; "<" and ">" step; "@b2" jumps; "pN" picks
    // entry N of the pop-up list.
    QStringList run(const QStringList &script)
    {
        QStringList looked;
        for (const QString &op : script) {
            std::optional<QString> w;
            if (op == u"<")
                w = model.back();
            else if (op == u">")
                w = model.next();
            else if (op.startsWith(u'@'))
                w = model.jump(op);
            else if (op.startsWith(u'p'))
                w = model.backBy(op.mid(1).toInt());
            else
                model.RirekiKosin(op);
            if (w)
                looked << *w;
            else if (op == u"<" || op == u">" || op.startsWith(u'@') || op.startsWith(u'p'))
                looked << QStringLiteral("(none)");
        }
        return looked;
    }
    QString state() const
    {
        return QStringLiteral("%1 %2/%3").arg(store.join(u','), QString::number(index), QString::number(max));
    }
};

QMap<QString, QString> saved(const History &h)
{
    QMap<QString, QString> out;
    h.model.save([&](const QString &k, const QString &v) { out.insert(k, v); });
    return out;
}
} // namespace

class TestHistoryModel : public QObject {
    Q_OBJECT
private slots:
    void operations_data();
    void operations();
    void menusAndList();
    void loadAndSave();
    void loadSkipsEmptyAndMarker();
    void fifteenWordsKeepTheLastTen();
    void savesOnlyUpToTheCurrentEntry();
};

void TestHistoryModel::operations_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("lookedUp");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("back");
    QTest::addColumn<bool>("forward");

    QTest::newRow("empty") << QStringList{} << QStringList{} << " 0/0" << false << false;
    QTest::newRow("one word") << QStringList{"apple"} << QStringList{} << "apple 1/1" << false << false;
    QTest::newRow("back at the start does nothing")
        << QStringList{"apple", "<"} << QStringList{"(none)"} << "apple 1/1" << false << false;
    QTest::newRow("three words, back twice")
        << QStringList{"a", "b", "c", "<", "<"} << QStringList{"b", "a"} << "a,b,c 1/3" << false << true;
    QTest::newRow("back and forward") << QStringList{"a", "b", "c", "<", "<", ">"} << QStringList{"b", "a", "b"}
                                      << "a,b,c 2/3" << true << true;
    QTest::newRow("forward at the end does nothing")
        << QStringList{"a", "b", ">"} << QStringList{"(none)"} << "a,b 2/2" << true << false;
    // A new word after stepping back replaces the shown entry and drops the later ones.
    QTest::newRow("overwrite after two steps back")
        << QStringList{"a", "b", "c", "d", "<", "<", "x"} << QStringList{"c", "b"} << "a,x,c,d 2/2" << true << false;
    QTest::newRow("the same word twice is recorded twice")
        << QStringList{"a", "a"} << QStringList{} << "a,a 2/2" << true << false;
    QTest::newRow("prefix word keeps its asterisk")
        << QStringList{"appl*"} << QStringList{} << "appl* 1/1" << false << false;
    QTest::newRow("jump back two") << QStringList{"a", "b", "c", "d", "@b2"} << QStringList{"b"} << "a,b,c,d 2/4"
                                   << true << true;
    QTest::newRow("jump forward three") << QStringList{"a", "b", "c", "d", "@b3", "@n3"} << QStringList{"a", "d"}
                                        << "a,b,c,d 4/4" << true << false;
    QTest::newRow("jump too far does nothing")
        << QStringList{"a", "b", "@b2"} << QStringList{"(none)"} << "a,b 2/2" << true << false;
    QTest::newRow("bad key") << QStringList{"a", "b", "@x1"} << QStringList{"(none)"} << "a,b 2/2" << true << false;
    QTest::newRow("pop-up list, second word")
        << QStringList{"a", "b", "c", "d", "p1"} << QStringList{"b"} << "a,b,c,d 2/4" << true << true;
}

void TestHistoryModel::operations()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, lookedUp);
    QFETCH(QString, state);
    QFETCH(bool, back);
    QFETCH(bool, forward);
    History h;
    QCOMPARE(h.run(script), lookedUp);
    QCOMPARE(h.state(), state);
    QCOMPARE(h.model.canGoBack(), back);
    QCOMPARE(h.model.canGoForward(), forward);
}

void TestHistoryModel::menusAndList()
{
    History h;
    h.run({"w1", "w2", "w3", "w4", "w5", "w6", "w7", "w8", "w9", "w10", "w11", "w12", "w13"});
    // Newest earlier word first, at most ten.
    QCOMPARE(h.model.earlierWords(), (QStringList{"w12", "w11", "w10", "w9", "w8", "w7", "w6", "w5", "w4", "w3"}));
    QVERIFY(h.model.laterWords().isEmpty());
    h.run({"@b4"});
    QCOMPARE(h.model.laterWords(), (QStringList{"w10", "w11", "w12", "w13"}));
    QCOMPARE(h.model.earlierWords().first(), QStringLiteral("w8"));
    History one;
    one.run({"only"});
    QVERIFY(one.model.earlierWords().isEmpty());
}

void TestHistoryModel::loadAndSave()
{
    // The worked example: Word7 = apple, Word8 = pen, Word9 = dog, the rest "-".
    const QMap<QString, QString> stored{{"Word7", "apple"}, {"Word8", "pen"}, {"Word9", "dog"}};
    History h;
    h.model.load([&](const QString &k) { return stored.value(k, QStringLiteral("-")); });
    QCOMPARE(h.state(), QStringLiteral("apple,pen,dog,- 4/4"));
    QVERIFY(h.model.canGoBack());
    QVERIFY(!h.model.canGoForward());
    const QMap<QString, QString> out = saved(h);
    QCOMPARE(out.size(), 10);
    QCOMPARE(out.value("Word10"), QStringLiteral("-"));
    QCOMPARE(out.value("Word9"), QStringLiteral("dog"));
    QCOMPARE(out.value("Word8"), QStringLiteral("pen"));
    QCOMPARE(out.value("Word7"), QStringLiteral("apple"));
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(out.value(QStringLiteral("Word%1").arg(n)), QStringLiteral("-"));

    // Back leads to the last word of the previous run; the marker goes.
    QCOMPARE(h.run({"<"}), QStringList{"dog"});
    QCOMPARE(h.state(), QStringLiteral("apple,pen,dog,- 3/3"));
    QVERIFY(!h.model.canGoForward());
    // A new word after a restart overwrites the marker.
    History r;
    r.model.load([&](const QString &k) { return stored.value(k, QStringLiteral("-")); });
    r.run({"cat"});
    QCOMPARE(r.state(), QStringLiteral("apple,pen,dog,cat 4/4"));
    QCOMPARE(r.run({"<"}), QStringList{"dog"});
}

void TestHistoryModel::loadSkipsEmptyAndMarker()
{
    const QMap<QString, QString> stored{{"Word1", ""}, {"Word2", "-"}, {"Word3", "one"}, {"Word10", "two"}};
    History h;
    h.model.load([&](const QString &k) { return stored.value(k, QStringLiteral("-")); });
    QCOMPARE(h.state(), QStringLiteral("one,two,- 3/3"));
    History empty;
    empty.model.load([](const QString &) { return QStringLiteral("-"); });
    QCOMPARE(empty.state(), QStringLiteral(" 0/0"));
    QVERIFY(!empty.model.canGoBack());
    QCOMPARE(saved(empty).value("Word10"), QStringLiteral("-"));
}

void TestHistoryModel::fifteenWordsKeepTheLastTen()
{
    History h;
    for (int i = 1; i <= 15; ++i)
        h.run({QStringLiteral("w%1").arg(i)});
    const QMap<QString, QString> out = saved(h);
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(out.value(QStringLiteral("Word%1").arg(n)), QStringLiteral("w%1").arg(n + 5));
    History next;
    next.model.load([&](const QString &k) { return out.value(k); });
    QCOMPARE(next.model.earlierWords().size(), 10);
    QCOMPARE(next.model.earlierWords().first(), QStringLiteral("w15"));
    QCOMPARE(next.model.earlierWords().last(), QStringLiteral("w6"));
}

void TestHistoryModel::savesOnlyUpToTheCurrentEntry()
{
    History h;
    h.run({"a", "b", "c", "<", "<"});
    const QMap<QString, QString> out = saved(h);
    QCOMPARE(out.value("Word10"), QStringLiteral("a"));
    QCOMPARE(out.value("Word9"), QStringLiteral("-"));
}

QTEST_APPLESS_MAIN(TestHistoryModel)
#include "test_historymodel.moc"
