// The Environment menu's dialogs, driven by keys as a user drives them: each
// opened from the menu, walked control by control with what a screen-reader
// user hears, its quick guide, its values changed and taken over, and what
// the program does afterwards; the limits of the search options' input.

#include "codepage/codepage.h"
#include "dialogs/dicoption.h"
#include "dialogs/sapioption.h"
#include "dialogs/stmenu.h"
#include "englishvoice/transcriptenglishvoice.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/optiondialogs.h"
#include "shell/desktopentry.h"
#include "windowharness.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <unistd.h>

using dialogs::DicOption;
using dialogs::OptionDialog;
using dialogs::SapiOption;
using dialogs::StMenu;

namespace {
const QString dictionary = QStringLiteral(WORDLAMP_TEST_DATA "/mainwindow");
const QString marker = QString(QChar(codepage::SpeechEndMarker));
const QString wideSpace = QString(QChar(0x3000));
const QRegularExpression lockLines(QStringLiteral("^(Lock|Unlock)Speech$"));

// Runs `steps` inside the modal dialog that `keys` open from the
// Environment menu; the dialog is closed afterwards if the steps
// left it open. True when the dialog came up.
bool openFromMenu(WindowHarness &h, QList<Qt::Key> keys, const std::function<void(OptionDialog *)> &steps)
{
    bool ran = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        // The user waits until the dialog is up and waiting for keys: its
        // own loop runs (not events let run while it is still being shown).
        auto *d = qobject_cast<OptionDialog *>(QApplication::activeModalWidget());
        if (!d || ran || QThread::currentThread()->loopLevel() == 0)
            return;
        ran = true;
        poll.stop();
        if (QTest::qWaitForWindowActive(d))
            steps(d);
        if (d->isVisible())
            d->done(QDialog::Rejected);
    });
    poll.start();
    h.form().activateWindow();
    if (!QTest::qWaitForWindowActive(&h.form()))
        return false;
    h.key(Qt::Key_M, Qt::AltModifier);
    QMenu *menu = h.form().menu(QStringLiteral("mnu_kankyo"));
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
        return false;
    for (Qt::Key key : keys)
        QTest::keyClick(menu, key);
    return ran;
}

// Said by the English voice since the mark (line breaks as the transcript
// writes them).
bool heardEnglish(WindowHarness &h, const QString &text)
{
    const QString line = QStringLiteral("SapiSpeak\t") + QString(text).replace(u'\n', QStringLiteral("\\n")) + u'\t';
    return QTest::qWaitFor([&] {
        for (const QString &l : h.transcript())
            if (l.startsWith(line))
                return true;
        return false;
    });
}

// Heard since the mark: spoken by the dialog or announced by the screen reader.
bool heard(WindowHarness &h, const QString &text)
{
    const QString written = QString(text).replace(marker, QStringLiteral("\\m"));
    const bool said = QTest::qWaitFor([&] {
        for (const QString &line : h.transcript())
            if ((line.startsWith(u"Speak\t") || line.startsWith(u"Announce\t")) && line.contains(written))
                return true;
        return false;
    });
    if (!said)
        qWarning().noquote() << "heard:" << h.transcript().join(u'|');
    return said;
}

void press(QWidget *w, Qt::Key key)
{
    QTest::keyClick(w, key);
}

void wideSpaceOn(QWidget *w)
{
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, wideSpace, Qt::NoModifier);
}

// Closes the next quick guide once it is up, and keeps its text.
struct GuideCloser {
    QString text;
    QObject alive; // the closer's timers end with it
    GuideCloser()
    {
        QTimer::singleShot(50, &alive, [this] { close(); });
    }
    void close()
    {
        QWidget *guide = QApplication::activeModalWidget();
        if (!guide || guide->objectName() != u"F1Help") {
            QTimer::singleShot(20, &alive, [this] { close(); });
            return;
        }
        text = guide->findChild<QPlainTextEdit *>()->toPlainText();
        QTest::keyClick(guide->focusWidget() ? guide->focusWidget() : guide, Qt::Key_Escape);
    }
};

// Every control a user can reach says what it is and what it does.
void checkNames(QDialog *d)
{
    for (QWidget *w : d->findChildren<QWidget *>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(d))
            continue;
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        QVERIFY2(!w->accessibleDescription().isEmpty(), qPrintable(w->objectName()));
    }
}

// The frame lit behind `control` surrounds it, blinks and then stays lit.
void checkFrame(OptionDialog *d, QWidget *control, const char *frame)
{
    QLabel *label = d->highlightedFrame();
    QVERIFY(label);
    QCOMPARE(label->objectName(), QString::fromLatin1(frame));
    const QRect around(control->mapTo(d, QPoint(0, 0)), control->size());
    QVERIFY(label->geometry().contains(around));
    QTRY_VERIFY(d->blinkCount() > OptionDialog::BlinkTicks);
    QVERIFY(d->frameLit(label));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool validDesktopEntry(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("desktop-file-validate"), {path});
    p.waitForFinished();
    const QByteArray said = p.readAllStandardOutput() + p.readAllStandardError();
    if (!said.trimmed().isEmpty())
        qWarning().noquote() << said << readFile(path);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && said.trimmed().isEmpty();
}

// XDG folders of the shortcut dialog inside a temporary folder, for as long
// as the object lives.
struct TempXdg {
    QTemporaryDir dir;
    QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    QString data, config, desktop;
    TempXdg()
    {
        data = dir.filePath(QStringLiteral("data"));
        config = dir.filePath(QStringLiteral("config"));
        desktop = dir.filePath(QStringLiteral("Desktop"));
        QDir().mkpath(config);
        QDir().mkpath(desktop);
        writeFile(config + QStringLiteral("/user-dirs.dirs"),
                  QStringLiteral("XDG_DESKTOP_DIR=\"%1\"\n").arg(desktop).toUtf8());
        qputenv("XDG_DATA_HOME", data.toUtf8());
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
    }
    ~TempXdg()
    {
        qputenv("XDG_DATA_HOME", oldData);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    QString menuEntry() const { return data + QStringLiteral("/applications/wordlamp-shortcut.desktop"); }
    QString startupEntry() const { return config + QStringLiteral("/autostart/wordlamp-shortcut.desktop"); }
    QString desktopEntry() const { return desktop + QStringLiteral("/wordlamp-shortcut.desktop"); }
};
} // namespace

class TestOptionDialogs : public QObject {
    Q_OBJECT
private slots:
    void searchOptionsWalk();
    void searchOptionsLimits_data();
    void searchOptionsLimits();
    void shortcutsWalk();
    void voiceWalk();
};

void TestOptionDialogs::searchOptionsWalk()
{
    QTemporaryDir other;
    writeFile(other.filePath(QStringLiteral("eiother.txt")),
              testsupport::sjis(QStringLiteral("■zebra : シマウマ\r\n")));
    WindowHarness::Options o;
    o.dictionaryFolder = dictionary;
    o.settings << QStringLiteral("CheckKodo=1");
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &f = h.form();
    const QString folder = f.FilePath;
    h.markTranscript();
    QStringList hooks;
    const bool opened = openFromMenu(h, {Qt::Key_O}, [&](OptionDialog *d) {
        auto *dlg = qobject_cast<DicOption *>(d);
        QVERIFY(dlg);
        QCOMPARE(d->windowTitle(), QStringLiteral("検索オプション"));
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Text1);
        QVERIFY(heard(h, QStringLiteral("検索オプション ダイアログ 前方一致で検索する単語の数は") + marker +
                             QStringLiteral("50")));
        checkNames(d);
        // Widened by the input box's font, the height in proportion.
        const double factor = OptionDialog::widthFactor(f.Text1->font().pointSizeF());
        QCOMPARE(d->width(), qRound(420 * factor));
        QCOMPARE(d->height(), qRound(380 * factor));
        QCOMPARE(dlg->Command2->width(), qRound(84 * factor));
        QCOMPARE(OptionDialog::widthFactor(36), 2.0);
        // Enter moves on; Tab to the end, every control heard.
        press(dlg->Text1, Qt::Key_Return);
        const QList<std::pair<QWidget *, QString>> walk{
            {dlg->chkEng, QStringLiteral("英語のエンジンで読み上げる")},
            {dlg->chkKana, QStringLiteral("ふりがな｝を表示しない")},
            {dlg->Check1, QStringLiteral("高度な設定")},
            {dlg->Combo1, QStringLiteral("外部呼び出しキーの選択") + marker + QStringLiteral("Shift+Ctrl+F12")},
            {dlg->Text2, QStringLiteral("辞書フォルダ") + marker + folder},
            {dlg->Command1, QStringLiteral("設定 ボタン")},
            {dlg->Command2, QStringLiteral("キャンセル ボタン")}};
        for (const auto &[control, said] : walk) {
            QTRY_COMPARE(QApplication::focusWidget(), control);
            QVERIFY2(heard(h, said), qPrintable(said));
            if (control != dlg->Command2)
                press(control, Qt::Key_Tab);
        }
        checkFrame(d, dlg->Command2, "Label6");
        // F1 on a control: its guide, below it.
        dlg->chkKana->setFocus();
        GuideCloser guide;
        press(dlg->chkKana, Qt::Key_F1);
        QTRY_COMPARE(guide.text, d->guide(dlg->chkKana));
        QVERIFY(guide.text.startsWith(QStringLiteral("検索結果を表示するときに{ふりがな}を削除します\n")));
        QTRY_COMPARE(QApplication::focusWidget(), dlg->chkKana);
        // New values: the full-width space ticks, the arrows choose a key.
        dlg->chkKana->setChecked(false);
        wideSpaceOn(dlg->chkKana);
        QTRY_VERIFY(dlg->chkKana->isChecked());
        dlg->Combo1->setFocus();
        press(dlg->Combo1, Qt::Key_Right);
        QCOMPARE(dlg->Combo1->currentText(), QStringLiteral("Shift+Ctrl+F12"));
        press(dlg->Combo1, Qt::Key_Down); // dropped under the shared keyboard option
        QCOMPARE(dlg->Combo1->currentText(), QStringLiteral("Shift+Ctrl+F12"));
        press(dlg->Combo1, Qt::Key_Space); // the next key, from the last to the first
        QCOMPARE(dlg->Combo1->currentText(), QStringLiteral("Shift+Ctrl+F1"));
        wideSpaceOn(dlg->Combo1);
        QTRY_COMPARE(dlg->Combo1->currentText(), QStringLiteral("Shift+Ctrl+F2"));
        dlg->Combo1->setCurrentIndex(11);
        press(dlg->Combo1, Qt::Key_Left);
        QCOMPARE(dlg->Combo1->currentText(), QStringLiteral("Shift+Ctrl+F11"));
        dlg->Text1->setFocus();
        QTRY_COMPARE(dlg->Text1->selectedText(), QStringLiteral("50"));
        QTest::keyClicks(dlg->Text1, QStringLiteral("60"));
        dlg->Text2->setText(other.path());
        hooks = WindowHarness::hookCalls();
        dlg->Command1->setFocus();
        press(dlg->Command1, Qt::Key_Return);
        QVERIFY(!d->isVisible());
    });
    QVERIFY(opened);
    QCOMPARE(h.setting("Settings", "ZenpoMax"), QStringLiteral("60"));
    QCOMPARE(h.setting("Settings", "DicKana"), QStringLiteral("True"));
    QCOMPARE(h.setting("Settings", "KeyFunc"), QStringLiteral("11"));
    QCOMPARE(h.setting("Settings", "CheckKodo"), QStringLiteral("1"));
    QCOMPARE(h.setting("Settings", "Wordmere"), other.path());
    QCOMPARE(f.ZenpoMax, 60);
    QVERIFY(f.DicKana);
    QCOMPARE(f.KeyFunc, 11);
    // The new key is hooked at once: the old hook is removed first.
    QCOMPARE(WindowHarness::hookCalls().mid(hooks.size()),
             (QStringList{QStringLiteral("UnHookKeyHandler"), QStringLiteral("HookKeyHandler 1 1024 122")}));
    QVERIFY(h.messages.isEmpty());
    // The next lookup searches the new folder.
    QVERIFY(QTest::qWaitForWindowActive(&f));
    h.lookUp(QStringLiteral("zebra"));
    QTRY_VERIFY2(f.Text2->toPlainText().contains(QStringLiteral("シマウマ")), qPrintable(h.spoken().join(u'|')));

    // Cancel: "パス", nothing taken over.
    h.markTranscript();
    QVERIFY(openFromMenu(h, {Qt::Key_O}, [&](OptionDialog *d) {
        auto *dlg = qobject_cast<DicOption *>(d);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Text1);
        QTest::keyClicks(dlg->Text1, QStringLiteral("99"));
        press(dlg->Text1, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
    }));
    QVERIFY(h.spoken().contains(QStringLiteral("パス")));
    QCOMPARE(h.setting("Settings", "ZenpoMax"), QStringLiteral("60"));
    QCOMPARE(f.ZenpoMax, 60);
}

void TestOptionDialogs::searchOptionsLimits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("folder"); // "", "long", "file", "empty", "unreadable"
    QTest::addColumn<int>("stored");     // 0: refused, nothing stored
    QTest::newRow("5") << "5"
                       << "" << 20;
    QTest::newRow("150") << "150"
                         << "" << 100;
    QTest::newRow("abc") << "abc"
                         << "" << 20;
    QTest::newRow("60") << "60"
                        << "" << 60;
    QTest::newRow("-5") << "-5"
                        << "" << 20;
    QTest::newRow("99999") << "99999"
                           << "" << 100;
    QTest::newRow("empty") << ""
                           << "" << 20;
    QTest::newRow("leading number") << " 45abc"
                                    << "" << 45;
    QTest::newRow("half to even down") << "20.5"
                                       << "" << 20;
    QTest::newRow("half to even up") << "21.5"
                                     << "" << 22;
    QTest::newRow("folder path of 2000 characters") << "30"
                                                    << "long" << 0;
    QTest::newRow("folder that is a file") << "30"
                                           << "file" << 0;
    QTest::newRow("folder without dictionary") << "30"
                                               << "empty" << 0;
    if (geteuid() != 0) // root reads any folder
        QTest::newRow("unreadable folder") << "30"
                                           << "unreadable" << 0;
}

void TestOptionDialogs::searchOptionsLimits()
{
    QFETCH(QString, typed);
    QFETCH(QString, folder);
    QFETCH(int, stored);
    QTemporaryDir temp;
    QString path;
    if (folder == u"long")
        path = temp.path() + u'/' + QString(2000 - temp.path().size() - 1, u'd');
    else if (folder == u"file") {
        path = temp.filePath(QStringLiteral("ei.txt"));
        writeFile(path, "x");
    } else if (folder == u"empty" || folder == u"unreadable") {
        path = temp.filePath(QStringLiteral("dic"));
        QDir().mkpath(path);
        if (folder == u"unreadable") {
            writeFile(path + QStringLiteral("/eia.txt"), testsupport::sjis(QStringLiteral("■a : あ\r\n")));
            QFile::setPermissions(path, QFileDevice::Permissions());
        }
    }
    WindowHarness::Options o;
    o.dictionaryFolder = dictionary;
    o.settings << QStringLiteral("CheckKodo=1");
    WindowHarness h(o);
    QVERIFY(h.load());
    QVERIFY(openFromMenu(h, {Qt::Key_O}, [&](OptionDialog *d) {
        auto *dlg = qobject_cast<DicOption *>(d);
        dlg->Text1->setText(typed);
        if (!path.isEmpty())
            dlg->Text2->setText(path);
        dlg->Command1->click();
        // A refused folder keeps the dialog open at the folder box.
        QCOMPARE(d->isVisible(), stored == 0);
        if (stored == 0)
            QCOMPARE(QApplication::focusWidget(), dlg->Text2);
    }));
    if (folder == u"unreadable")
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (stored == 0) {
        QCOMPARE(h.messages.size(), 1);
        QCOMPARE(h.messages[0].title, QStringLiteral("辞書ファイルエラー"));
        QVERIFY(h.messages[0].text.startsWith(QStringLiteral("英和辞書がみつかりません\n和英辞書がみつかりません")));
        QCOMPARE(h.setting("Settings", "ZenpoMax"), QString());
        QCOMPARE(h.form().FilePath, dictionary);
    } else {
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(h.setting("Settings", "ZenpoMax"), QString::number(stored));
        QCOMPARE(h.form().ZenpoMax, stored);
    }
}

void TestOptionDialogs::shortcutsWalk()
{
    TempXdg xdg;
    // The user's own autostart entry of the same name.
    const QByteArray users = "[Desktop Entry]\nType=Application\nName=Mine\nExec=true\n";
    QDir().mkpath(xdg.config + QStringLiteral("/autostart"));
    writeFile(xdg.startupEntry(), users);
    WindowHarness h;
    QVERIFY(h.load());
    h.markTranscript();
    QVERIFY(openFromMenu(h, {Qt::Key_S}, [&](OptionDialog *d) {
        auto *dlg = qobject_cast<StMenu *>(d);
        QVERIFY(dlg);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->CheckMenu);
        QVERIFY(heard(h, QStringLiteral("スタートメニューの設定 ダイアログ")));
        checkNames(d);
        // An entry already there is grey.
        QCOMPARE(dlg->CheckMenu->checkState(), Qt::Unchecked);
        QCOMPARE(dlg->CheckUp->checkState(), Qt::PartiallyChecked);
        QCOMPARE(dlg->CheckDesk->checkState(), Qt::Unchecked);
        QVERIFY(heard(h, QStringLiteral("スタートメニューに登録する")));
        press(dlg->CheckMenu, Qt::Key_Return); // moves on
        QTRY_COMPARE(QApplication::focusWidget(), dlg->CheckUp);
        QVERIFY(heard(h, QStringLiteral("スタートアップに登録する")));
        press(dlg->CheckUp, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->CheckDesk);
        QVERIFY(heard(h, QStringLiteral("デスクトップに登録する")));
        checkFrame(d, dlg->CheckDesk, "Label2");
        GuideCloser guide;
        press(dlg->CheckDesk, Qt::Key_F1);
        QTRY_COMPARE(guide.text, d->guide(dlg->CheckDesk));
        QTRY_COMPARE(QApplication::focusWidget(), dlg->CheckDesk);
        press(dlg->CheckDesk, Qt::Key_Down);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Command1);
        QVERIFY(heard(h, QStringLiteral("設定 ボタン")));
        press(dlg->Command1, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Command2);
        QVERIFY(heard(h, QStringLiteral("キャンセル ボタン")));
        // Menu and desktop ticked; the user's autostart entry to be deleted.
        wideSpaceOn(dlg->CheckMenu);
        QTRY_COMPARE(dlg->CheckMenu->checkState(), Qt::Checked);
        press(dlg->CheckDesk, Qt::Key_Space);
        QTRY_COMPARE(dlg->CheckDesk->checkState(), Qt::Checked);
        dlg->CheckUp->setCheckState(Qt::Unchecked);
        press(dlg->Command1, Qt::Key_Return);
        QVERIFY(!d->isVisible());
    }));
    for (const QString &entry : {xdg.menuEntry(), xdg.desktopEntry()}) {
        QVERIFY2(validDesktopEntry(entry), qPrintable(entry));
        const QByteArray text = readFile(entry);
        QVERIFY(shell::isOwnEntry(text));
        QVERIFY(text.contains("Exec=" + QCoreApplication::applicationFilePath().toUtf8() + "\n"));
    }
    QVERIFY(QFileInfo(xdg.desktopEntry()).permissions() & QFileDevice::ExeOwner);
    // The user's entry is kept, and the user told why.
    QCOMPARE(readFile(xdg.startupEntry()), users);
    QCOMPARE(h.messages.size(), 1);
    QVERIFY(h.messages[0].text.contains(QStringLiteral("作ったファイルではないため、削除しませんでした")));

    // Our autostart entry starts the program resident; an entry of ours is
    // deleted when its box is cleared.
    QVERIFY(QFile::remove(xdg.startupEntry()));
    h.messages.clear();
    QVERIFY(openFromMenu(h, {Qt::Key_S}, [&](OptionDialog *d) {
        auto *dlg = qobject_cast<StMenu *>(d);
        QCOMPARE(dlg->CheckMenu->checkState(), Qt::PartiallyChecked);
        QCOMPARE(dlg->CheckDesk->checkState(), Qt::PartiallyChecked);
        dlg->CheckUp->setCheckState(Qt::Checked);
        dlg->CheckMenu->setCheckState(Qt::Unchecked);
        dlg->Command1->click();
    }));
    QVERIFY(h.messages.isEmpty());
    QVERIFY(!QFile::exists(xdg.menuEntry()));
    QVERIFY(QFile::exists(xdg.desktopEntry()));
    QVERIFY(validDesktopEntry(xdg.startupEntry()));
    QVERIFY(readFile(xdg.startupEntry()).contains(" /TSR\n"));

    // No desktop folder, and an applications folder that cannot be made:
    // said clearly, nothing written.
    QVERIFY(QFile::remove(xdg.desktopEntry()));
    QVERIFY(QDir(xdg.desktop).removeRecursively());
    QVERIFY(QDir(xdg.data + QStringLiteral("/applications")).removeRecursively());
    writeFile(xdg.data + QStringLiteral("/applications"), "not a folder");
    QVERIFY(openFromMenu(h, {Qt::Key_S}, [&](OptionDialog *d) {
        auto *dlg = qobject_cast<StMenu *>(d);
        dlg->CheckMenu->setCheckState(Qt::Checked);
        dlg->CheckDesk->setCheckState(Qt::Checked);
        dlg->Command1->click();
    }));
    QCOMPARE(h.messages.size(), 1);
    QVERIFY(h.messages[0].text.contains(QStringLiteral("スタートメニュー: フォルダを作れません")));
    QVERIFY(h.messages[0].text.contains(QStringLiteral("デスクトップ: フォルダがありません")));
    QVERIFY(!QFileInfo::exists(xdg.desktop));
    QCOMPARE(QDir(xdg.data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("applications")});
}

void TestOptionDialogs::voiceWalk()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QVERIFY(f.EnglishMode);
    h.markTranscript();
    const QString kal = QStringLiteral("English-American: kal (Adult Male)");
    const QString slt = QStringLiteral("English-American: slt (Adult Female)");
    QVERIFY(openFromMenu(h, {Qt::Key_E, Qt::Key_Return}, [&](OptionDialog *d) {
        auto *dlg = qobject_cast<SapiOption *>(d);
        QVERIFY(dlg);
        checkNames(d);
        // The English voices, by name; the screen reader is silent.
        QStringList names;
        for (int i = 0; i < dlg->List1->count(); ++i)
            names << dlg->List1->item(i)->text();
        QCOMPARE(names, (QStringList{kal, slt, QStringLiteral("English-British: rms (Adult Male)")}));
        QVERIFY(h.transcript().contains(QStringLiteral("LockSpeech")));
        QTRY_COMPARE(QApplication::focusWidget(), dlg->List1);
        QVERIFY(heardEnglish(h, QStringLiteral("Select Voice:\n") + dlg->List1->currentItem()->text()));
        // Each voice chosen says its name in that voice.
        dlg->List1->setCurrentRow(0);
        press(dlg->List1, Qt::Key_Down);
        QVERIFY(heardEnglish(h, slt));
        QVERIFY(h.transcript().contains(QStringLiteral("SapiVoice\t3\t") + slt));
        press(dlg->List1, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Combo1);
        QVERIFY(heardEnglish(h, QStringLiteral("Speed 4")));
        press(dlg->Combo1, Qt::Key_Right);
        QVERIFY(heardEnglish(h, QStringLiteral("Speed 5")));
        QCOMPARE(dlg->Slider1->value(), 5);
        GuideCloser guide;
        press(dlg->Combo1, Qt::Key_F1);
        QTRY_COMPARE(guide.text, d->guide(dlg->Combo1));
        QVERIFY(h.spoken().contains(guide.text)); // read by the screen reader
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Combo1);
        press(dlg->Combo1, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Slider1);
        press(dlg->Slider1, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), dlg->Command1);
        QVERIFY(heardEnglish(h, QStringLiteral("OK PushButton to Press Use Enter")));
        press(dlg->Command1, Qt::Key_Tab);
        QVERIFY(heardEnglish(h, QStringLiteral("Cancel PushButton to Press Use Enter")));
        dlg->Command1->setFocus();
        press(dlg->Command1, Qt::Key_Return);
        QVERIFY(!d->isVisible());
    }));
    QCOMPARE(h.setting("Settings", "SapiEngine"), slt);
    QCOMPARE(h.setting("Settings", "SapiEngineSpeed"), QStringLiteral("5"));
    QCOMPARE(f.SapiEngineName, slt);
    QCOMPARE(f.SapiEngineID, QStringLiteral("3"));
    QCOMPARE(h.transcript().filter(lockLines).last(), QStringLiteral("UnlockSpeech"));

    // No English voice: the item is greyed, and the dialog says why.
    f.EnglishMode = false;
    QMenu *menu = f.menu(QStringLiteral("mnu_kankyo"));
    menu->popup(f.mapToGlobal(QPoint(0, 0)));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!f.action(QStringLiteral("mnu_kankyo_english"))->isEnabled());
    menu->hide();
    EnglishVoice::setFactory([](QString *error) {
        std::unique_ptr<EnglishVoice> voice = TranscriptEnglishVoice::create(error);
        static_cast<TranscriptEnglishVoice *>(voice.get())->setVoices({QStringLiteral("Japanese-Japan: mei")});
        return voice;
    });
    h.markTranscript();
    h.window().optionDialogs().mnu_kankyo_english_Click();
    EnglishVoice::setFactory({});
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(h.spoken().contains(QStringLiteral("英語の音声エンジンがみつかりません")));
    QCOMPARE(h.transcript().filter(lockLines).last(), QStringLiteral("UnlockSpeech"));

    // Escape typed while the dialog is still opening (its first sample not
    // yet started) closes it, and the program goes on.
    f.EnglishMode = true;
    EnglishVoice::setFactory([](QString *error) {
        std::unique_ptr<EnglishVoice> voice = TranscriptEnglishVoice::create(error);
        static_cast<TranscriptEnglishVoice *>(voice.get())->setStartDelay(300);
        return voice;
    });
    bool typed = false;
    QTimer early;
    early.setInterval(1);
    QObject::connect(&early, &QTimer::timeout, [&] {
        auto *d = qobject_cast<SapiOption *>(QApplication::activeModalWidget());
        if (!d || typed)
            return;
        typed = true;
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : d, Qt::Key_Escape);
    });
    early.start();
    h.markTranscript();
    h.window().optionDialogs().mnu_kankyo_english_Click();
    early.stop();
    EnglishVoice::setFactory({});
    QVERIFY(typed);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(h.spoken().contains(QStringLiteral("パス")));
    QCOMPARE(h.setting("Settings", "SapiEngine"), slt);
}

QTEST_MAIN(TestOptionDialogs)
#include "test_optiondialogs.moc"
