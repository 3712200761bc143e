// Pieces of the X11 backend that need no X server: the conversion of
// accessible text to code page 932 and the hot key's keysym.

#include "cp932.h"
#include "hotkey.h"
#include "testsupport.h"

#include <QTest>

using namespace wlhook::x11;

class TestWlhookX11Units : public QObject {
    Q_OBJECT

private slots:
    void toCp932_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("ascii") << QByteArray("word") << QByteArray("word");
        QTest::newRow("Japanese") << QStringLiteral("辞書です").toUtf8()
                                  << testsupport::sjis(QStringLiteral("辞書です"));
        QTest::newRow("half-width katakana")
            << QStringLiteral("ｶﾀｶﾅ").toUtf8() << testsupport::sjis(QStringLiteral("ｶﾀｶﾅ"));
        QTest::newRow("no code: default character") << QStringLiteral("a😀b").toUtf8() << QByteArray("a?b");
        QTest::newRow("no code, two-byte") << QStringLiteral("éa").toUtf8() << QByteArray("?a");
        QTest::newRow("invalid byte") << QByteArray("a\xFF"
                                                    "b")
                                      << QByteArray("a?b");
        QTest::newRow("truncated sequence keeps what follows") << QByteArray("a\xE8\xBE"
                                                                             "b")
                                                               << QByteArray("a?b");
        QTest::newRow("the speech end marker") << QStringLiteral("x\uF8F2").toUtf8() << QByteArray("x\xFE");
        QTest::newRow("embedded NUL") << QByteArray("a\0b", 3) << QByteArray("a\0b", 3);
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void toCp932()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, expected);
        const std::string out = utf8ToCp932(std::string_view(utf8.constData(), std::size_t(utf8.size())));
        QCOMPARE(QByteArray(out.data(), qsizetype(out.size())), expected);
    }

    void conversionStopsOnceEnoughIsThere()
    {
        const QByteArray utf8 = QString(5000, QChar(u'語')).toUtf8();
        const std::string out = utf8ToCp932(std::string_view(utf8.constData(), std::size_t(utf8.size())), 1024);
        QVERIFY(out.size() >= 1024 && out.size() <= 1025);
    }

    void keysyms_data()
    {
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<uint>("keysym");
        QTest::newRow("F1") << 112 << 0xFFBEu;
        QTest::newRow("F11") << 122 << 0xFFC8u;
        QTest::newRow("F12") << 123 << 0xFFC9u;
        QTest::newRow("F24") << 135 << 0xFFD5u;
        QTest::newRow("A") << int('A') << uint('a');
        QTest::newRow("9") << int('9') << uint('9');
        QTest::newRow("none") << 0 << 0u;
        QTest::newRow("Escape has none here") << 27 << 0u;
    }
    void keysyms()
    {
        QFETCH(int, virtualKey);
        QFETCH(uint, keysym);
        QCOMPARE(keysymForVirtualKey(virtualKey), keysym);
    }
};

QTEST_APPLESS_MAIN(TestWlhookX11Units)
#include "test_wlhook_x11_units.moc"
