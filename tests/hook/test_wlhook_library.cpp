// The built libWlhook.so as the program binds it: by name, exactly five
// exported functions, the state before any hook, and a hook that cannot be
// installed (no X display in this test).

#include "wlhook.h"

#include <QLibrary>
#include <QProcess>
#include <QTest>

class TestWlhookLibrary : public QObject {
    Q_OBJECT

private:
    QLibrary library;

    template <typename Function> Function resolve(const char *name)
    {
        return reinterpret_cast<Function>(library.resolve(name));
    }

private slots:
    void initTestCase()
    {
        library.setFileName(QStringLiteral(WORDLAMP_PROGRAM_DIR "/") + QLatin1String(wlhook::LibraryName));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
    }

    void exportsExactlyTheFiveFunctions()
    {
        QProcess nm;
        nm.start(QStringLiteral("nm"), {"-D", "--defined-only", library.fileName()});
        QVERIFY(nm.waitForFinished(30000));
        QCOMPARE(nm.exitCode(), 0);
        QStringList names;
        for (const QByteArray &line : nm.readAllStandardOutput().split('\n'))
            if (const QList<QByteArray> fields = line.simplified().split(' '); fields.size() == 3)
                names << QString::fromLatin1(fields.at(2));
        names.sort();
        QCOMPARE(names,
                 QStringList({"GetScreenCaret", "GetStrLength", "GetString", "HookKeyHandler", "UnHookKeyHandler"}));
    }

    void stateBeforeAnyHook()
    {
        auto unhook = resolve<UnHookKeyHandlerFunction>("UnHookKeyHandler");
        auto getString = resolve<GetStringFunction>("GetString");
        auto getStrLength = resolve<GetStrLengthFunction>("GetStrLength");
        auto getScreenCaret = resolve<GetScreenCaretFunction>("GetScreenCaret");
        QVERIFY(unhook && getString && getStrLength && getScreenCaret);
        QCOMPARE(unhook(), 0);
        char buffer[4] = {'a', 'b', 'c', 'd'};
        QCOMPARE(getString(buffer, sizeof buffer), int(wlhook::CaptureNone));
        QCOMPARE(QByteArray(buffer, 4), QByteArray(4, '\0'));
        QCOMPARE(getString(nullptr, 0), int(wlhook::CaptureNone));
        QCOMPARE(getStrLength(), 0);
        WlhookPoint p{7, 7};
        getScreenCaret(&p);
        QCOMPARE(p.x, 0);
        QCOMPARE(p.y, 0);
    }

    void hookWithoutDisplayFails()
    {
        auto hook = resolve<HookKeyHandlerFunction>("HookKeyHandler");
        auto unhook = resolve<UnHookKeyHandlerFunction>("UnHookKeyHandler");
        QVERIFY(hook && unhook);
        QCOMPARE(hook(1, wlhook::NotifyMessage, 123), 0);
        QCOMPARE(unhook(), 0);
    }
};

QTEST_APPLESS_MAIN(TestWlhookLibrary)
#include "test_wlhook_library.moc"
