// What the speech-dispatcher back end decides about a text before speaking
// it, and the sounds of the Signal call.

#include "orrin/signalsounds.h"
#include "orrin/speechtext.h"
#include "orrin/wordreadings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>

class TestSpeechText : public QObject {
    Q_OBJECT
private slots:
    void language_data();
    void language();
    void cleaned_data();
    void cleaned();
    void runs_data();
    void runs();
    void tagWords_data();
    void tagWords();
    void dictionaryReadings_data();
    void dictionaryReadings();
    void annotations();
    void durationIsGenerousButBounded();
    void signalSoundsAreValidWav();
    void signalSoundsDifferPerCode();
    void signalFileIsWrittenOnce();
    void signalFileInUnwritableFolder();
    void signalFileTakenByAnotherKind_data();
    void signalFileTakenByAnotherKind();
};

void TestSpeechText::language_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("language");
    QTest::newRow("english") << QStringLiteral("apple pie") << QStringLiteral("en");
    QTest::newRow("empty") << QString() << QStringLiteral("en");
    QTest::newRow("hiragana") << QStringLiteral("りんご") << QStringLiteral("ja");
    QTest::newRow("katakana") << QStringLiteral("リンゴ") << QStringLiteral("ja");
    QTest::newRow("half-width katakana") << QStringLiteral("ﾘﾝｺﾞ") << QStringLiteral("ja");
    QTest::newRow("kanji") << QStringLiteral("林檎") << QStringLiteral("ja");
    QTest::newRow("kanji outside the BMP") << QStringLiteral("𠮷") << QStringLiteral("ja");
    QTest::newRow("one kana in english") << QStringLiteral("apple は") << QStringLiteral("ja");
    QTest::newRow("japanese punctuation only") << QStringLiteral("「」。、") << QStringLiteral("en");
    QTest::newRow("full-width latin") << QStringLiteral("ＡＢＣ") << QStringLiteral("en");
}

void TestSpeechText::language()
{
    QFETCH(QString, text);
    QFETCH(QString, language);
    QCOMPARE(speechtext::language(text), language);
}

void TestSpeechText::runs_data()
{
    // Each run as "language:text", joined by " | ".
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("runs");
    QTest::newRow("english") << "apple tree"
                             << "en:apple tree";
    QTest::newRow("japanese") << "林檎の木"
                              << "ja:林檎の木";
    QTest::newRow("english inside japanese") << "りんご apple tree です"
                                             << "ja:りんご | en:apple tree | ja:です";
    QTest::newRow("note after japanese") << "林檎 (fruit)"
                                         << "ja:林檎 | en:(fruit)";
    QTest::newRow("number stays japanese") << "(名・スル) (1) study"
                                           << "ja:(名・スル) (1) | en:study";
    QTest::newRow("full-width bracket") << "セイヨウリンゴ（Malus domestica)"
                                        << "ja:セイヨウリンゴ（ | en:Malus domestica)";
    QTest::newRow("no space between") << "appleパイ"
                                      << "en:apple | ja:パイ";
    QTest::newRow("signs only") << "(1) ;"
                                << "en:(1) ;";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("full-width latin") << "ＡＢＣの"
                                      << "en:ＡＢＣ | ja:の";
    QTest::newRow("accented latin") << "café です"
                                    << "en:café | ja:です";
}

void TestSpeechText::runs()
{
    QFETCH(QString, text);
    QFETCH(QString, runs);
    QStringList got;
    for (const speechtext::Run &r : speechtext::runs(text))
        got.append(r.language + u':' + r.text);
    QCOMPARE(got.join(QStringLiteral(" | ")), runs);
}

void TestSpeechText::tagWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("heard");
    QTest::newRow("noun, suru") << "(名・スル) (1) study"
                                << "(名詞・スル) (1) study";
    QTest::newRow("intransitive verb") << "(動・自) (2) to run"
                                       << "(動詞・自動詞) (2) to run";
    QTest::newRow("headword tag") << "apple {名}"
                                  << "apple {名詞}";
    QTest::newRow("full-width brackets") << "（形・名）"
                                         << "（形容詞・名詞）";
    QTest::newRow("other tags stay") << "(名) (かな書き) apple"
                                     << "(名詞) (かな書き) apple";
    QTest::newRow("a note is no tag") << "(名詞の例) 名"
                                      << "(名詞の例) 名";
    QTest::newRow("reading group") << "林檎{りんご}"
                                   << "林檎{りんご}";
    QTest::newRow("english note") << "(e.g. 1：2)"
                                  << "(e.g. 1：2)";
    QTest::newRow("unclosed") << "金{かね・"
                              << "金{かね・";
}

void TestSpeechText::tagWords()
{
    QFETCH(QString, text);
    QFETCH(QString, heard);
    QCOMPARE(speechtext::withTagWords(text), heard);
}

void TestSpeechText::cleaned_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clean");
    QTest::newRow("plain") << QStringLiteral("apple") << QStringLiteral("apple");
    QTest::newRow("end marker") << QStringLiteral("見つかりませんでした\uF8F2")
                                << QStringLiteral("見つかりませんでした");
    QTest::newRow("only end marker") << QStringLiteral("\uF8F2") << QString();
    QTest::newRow("line breaks") << QStringLiteral("a\r\nb\rc\nd") << QStringLiteral("a\nb\nc\nd");
    QTest::newRow("tab and controls") << QStringLiteral("a\tb\x01\x7f"
                                                        "c")
                                      << QStringLiteral("a bc");
    QTest::newRow("blank") << QStringLiteral(" \r\n\t ") << QString();
    QTest::newRow("trimmed") << QStringLiteral("  word \n") << QStringLiteral("word");
    QTest::newRow("dot lines stay") << QStringLiteral("a\r\n.\r\nb") << QStringLiteral("a\n.\nb");
}

void TestSpeechText::cleaned()
{
    QFETCH(QString, text);
    QFETCH(QString, clean);
    QCOMPARE(speechtext::cleaned(text), clean);
}

void TestSpeechText::durationIsGenerousButBounded()
{
    using speechtext::expectedDurationMs;
    const QString english = QStringLiteral("The quick brown fox jumps over the lazy dog."); // 44 characters
    // Far more than a voice needs at normal speed (about three seconds)...
    QVERIFY(expectedDurationMs(english, 0) >= 5000);
    // ... but not without end.
    QVERIFY(expectedDurationMs(english, 0) <= 10000);
    // Slower rates allow more time, faster ones less, to the ends of the range.
    QVERIFY(expectedDurationMs(english, -25) > expectedDurationMs(english, 0));
    QVERIFY(expectedDurationMs(english, 50) < expectedDurationMs(english, 0));
    QCOMPARE(expectedDurationMs(english, -500), expectedDurationMs(english, -100));
    QCOMPARE(expectedDurationMs(english, 500), expectedDurationMs(english, 100));
    // Kanji stand for several syllables.
    QVERIFY(expectedDurationMs(QStringLiteral("林檎"), 0) > expectedDurationMs(QStringLiteral("りん"), 0));
    QVERIFY(expectedDurationMs(QString(), 0) > 0);
    // Even 2,000 kanji at the slowest rate end within the hour.
    QVERIFY(expectedDurationMs(QString(2000, QChar(0x6797)), -100) < 60 * 60 * 1000);
}

void TestSpeechText::signalSoundsAreValidWav()
{
    for (int code : {1, 3, 11, 99}) {
        const QByteArray wav = signalsounds::wav(10, code);
        QVERIFY(wav.startsWith("RIFF"));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint32>(wav.constData() + 4), quint32(wav.size() - 8));
        QCOMPARE(qFromLittleEndian<quint16>(wav.constData() + 20), quint16(1)); // PCM
        QCOMPARE(qFromLittleEndian<quint16>(wav.constData() + 22), quint16(1)); // mono
        QCOMPARE(qFromLittleEndian<quint32>(wav.constData() + 24), quint32(signalsounds::SampleRate));
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        const quint32 samples = qFromLittleEndian<quint32>(wav.constData() + 40) / 2;
        QCOMPARE(qsizetype(44 + samples * 2), wav.size());
        const int expected = signalsounds::SampleRate * signalsounds::durationMs(10, code) / 1000;
        QVERIFY(qAbs(int(samples) - expected) <= 3); // each tone rounds to whole samples
        // Short: a signal must not hold up the speech behind it.
        QVERIFY(signalsounds::durationMs(100, code) <= 500);
    }
}

void TestSpeechText::signalSoundsDifferPerCode()
{
    QSet<QByteArray> sounds;
    for (int code : {1, 3, 11})
        sounds.insert(signalsounds::wav(100, code));
    QCOMPARE(sounds.size(), 3);
    QVERIFY(signalsounds::durationMs(100, 3) > signalsounds::durationMs(10, 3));
}

void TestSpeechText::signalFileIsWrittenOnce()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("a/b"));
    const QString path = signalsounds::file(100, 3, folder);
    QVERIFY(!path.isEmpty());
    QVERIFY(path.endsWith(QStringLiteral(".wav")));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), signalsounds::wav(100, 3));
    const QDateTime written = QFileInfo(path).lastModified();
    QCOMPARE(signalsounds::file(100, 3, folder), path);
    QCOMPARE(QFileInfo(path).lastModified(), written);
    QVERIFY(signalsounds::file(10, 3, folder) != path);
    QVERIFY(signalsounds::file(100, 1, folder) != path);
}

void TestSpeechText::signalFileInUnwritableFolder()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(signalsounds::file(10, 1, dir.filePath(QStringLiteral("file/sub"))), QString());
    QCOMPARE(signalsounds::file(10, 1, QString()), QString());
}

void TestSpeechText::signalFileTakenByAnotherKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("link to a file of the same size") << QStringLiteral("link same size");
    QTest::newRow("link to another file") << QStringLiteral("link");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("pipe") << QStringLiteral("pipe");
}

void TestSpeechText::signalFileTakenByAnotherKind()
{
    // Whatever is in the sound's place and is not a regular file is left as
    // it is, and so is what a link points to: no sound then.
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("signals"));
    QVERIFY(QDir().mkpath(folder));
    const QString place = QFileInfo(signalsounds::file(100, 3, folder)).filePath();
    QVERIFY(QFile::remove(place));
    const QString target = dir.filePath(QStringLiteral("someone else's"));
    const QByteArray theirs =
        kind == u"link same size" ? QByteArray(signalsounds::wav(100, 3).size(), 'x') : QByteArray("theirs");
    if (kind.startsWith(u"link")) {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(theirs);
    }
    if (kind.startsWith(u"link") || kind == u"dangling")
        QVERIFY(QFile::link(target, place));
    else if (kind == u"folder")
        QVERIFY(QDir().mkpath(place));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(place).constData(), 0600), 0);
    QCOMPARE(signalsounds::file(100, 3, folder), QString());
    if (kind.startsWith(u"link")) {
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), theirs);
    }
    QCOMPARE(QFileInfo(target).exists(), kind.startsWith(u"link"));
    QVERIFY(QFileInfo(place).isSymLink() == (kind.startsWith(u"link") || kind == u"dangling"));
}

void TestSpeechText::dictionaryReadings_data()
{
    // "word=reading" for each piece, in order.
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("readings");
    QTest::newRow("first of a group") << QStringLiteral("■money {名} : 金{かね・きん}") << QStringList{"金=かね"};
    QTest::newRow("okurigana") << QStringLiteral("■eat {動} : 認める{したためる}") << QStringList{"認=したた"};
    QTest::newRow("kana inside") << QStringLiteral("■x : 手を打つ{てをうつ}") << QStringList{"手=て", "打=う"};
    QTest::newRow("katakana in the word") << QStringLiteral("■x : ボール箱{ボールばこ}") << QStringList{"箱=ばこ"};
    QTest::newRow("two stretches") << QStringLiteral("■x : 書き物{かきもの}; 気持ち{きもち}")
                                   << QStringList{"書=か", "物=もの", "気持=きも"};
    QTest::newRow("japanese headword") << QStringLiteral("■金 {かね} : (名) (1) money") << QStringList{"金=かね"};
    QTest::newRow("written form in braces") << QStringLiteral("■かね {金} : (名) money") << QStringList{"金=かね"};
    QTest::newRow("tags") << QStringLiteral("■go {動} : 行く{いく}") << QStringList{"行=い"};
    QTest::newRow("unclosed") << QStringLiteral("■money : 金{かね・") << QStringList{};
    QTest::newRow("unclosed before a group") << QStringLiteral("■x : 金{かね・銀{ぎん}") << QStringList{};
    QTest::newRow("kana word") << QStringLiteral("■x : りんご{りんご}") << QStringList{};
    QTest::newRow("not kana") << QStringLiteral("■x : 金{Au}") << QStringList{};
    QTest::newRow("mismatch") << QStringLiteral("■x : 食べる{のむ}") << QStringList{"食べる=のむ"};
}

void TestSpeechText::dictionaryReadings()
{
    QFETCH(QString, line);
    QFETCH(QStringList, readings);
    QStringList got;
    for (const wordreadings::Reading &r : wordreadings::fromDictionaryLine(line))
        got << r.text + u'=' + r.reading;
    QCOMPARE(got, readings);
}

void TestSpeechText::annotations()
{
    const QString text = QStringLiteral("お") + wordreadings::annotated(QStringLiteral("金"), QStringLiteral("かね")) +
                         QStringLiteral("を払う");
    QCOMPARE(wordreadings::shown(text), QStringLiteral("お金を払う"));
    QCOMPARE(wordreadings::spoken(text), QStringLiteral("おかねを払う"));
    // A broken annotation keeps its word and loses nothing else.
    const QString broken = QStringLiteral("a") + QChar(wordreadings::Anchor) + QStringLiteral("金b");
    QCOMPARE(wordreadings::spoken(broken), QStringLiteral("a金b"));
    QCOMPARE(wordreadings::shown(broken), QStringLiteral("a金b"));
}

QTEST_GUILESS_MAIN(TestSpeechText)
#include "test_speechtext.moc"
