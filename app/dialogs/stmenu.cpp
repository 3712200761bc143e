#include "dialogs/stmenu.h"

#include "form/mainform.h"
#include "form/messagebox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>

namespace dialogs {

namespace {
const shell::Place Places[] = {shell::Place::Menu, shell::Place::Startup, shell::Place::Desktop};

QString placeName(shell::Place place)
{
    switch (place) {
    case shell::Place::Menu: return QStringLiteral("スタートメニュー");
    case shell::Place::Startup: return QStringLiteral("スタートアップ");
    case shell::Place::Desktop: return QStringLiteral("デスクトップ");
    }
    return {};
}

QString failureText(shell::Place place, const shell::Outcome &outcome)
{
    const QString where = QDir::toNativeSeparators(outcome.path);
    QString what;
    switch (outcome.failure) {
    case shell::Failure::None: return {};
    case shell::Failure::NoFolder:
        what = where.isEmpty() ? QStringLiteral("フォルダがわかりません")
                               : QStringLiteral("フォルダがありません: %1").arg(where);
        break;
    case shell::Failure::FolderNotMade: what = QStringLiteral("フォルダを作れません: %1").arg(where); break;
    case shell::Failure::Exists:
        what = QStringLiteral("同じ名前のファイルがあるため、登録しませんでした: %1").arg(where);
        break;
    case shell::Failure::WriteFailed: what = QStringLiteral("登録できませんでした: %1").arg(where); break;
    case shell::Failure::NotOurs:
        what = QStringLiteral("このプログラムが作ったファイルではないため、削除しませんでした: %1").arg(where);
        break;
    case shell::Failure::RemoveFailed: what = QStringLiteral("削除できませんでした: %1").arg(where); break;
    }
    return placeName(place) + QStringLiteral(": ") + what;
}

shell::Shortcut programShortcut(shell::Place place)
{
    shell::Shortcut s;
    s.name = QStringLiteral("Wordlamp");
    s.localName = QStringLiteral("ランプの英和・和英辞典");
    s.comment = QStringLiteral("Talking English-Japanese and Japanese-English dictionary");
    s.target = QCoreApplication::applicationFilePath();
    // Started with the session: resident in the notification area.
    if (place == shell::Place::Startup)
        s.arguments = {QStringLiteral("/TSR")};
    s.icon = QStringLiteral("wordlamp");
    return s;
}
} // namespace

StMenu::StMenu(MainForm &form, DialogHost &host, std::unique_ptr<shell::Shortcuts> shortcuts)
    : OptionDialog(form, host, QStringLiteral("スタートメニューの設定"), QSize(380, 200)),
      shortcuts_(std::move(shortcuts))
{
    setObjectName(QStringLiteral("StMenu"));
    auto *frame1 = place(new QGroupBox(QStringLiteral("メニューの登録と削除"), this), "Frame1", {12, 10, 356, 180});
    frame1->setAccessibleName(QStringLiteral("メニューの登録と削除"));
    frame1->setAccessibleDescription(QStringLiteral("F1キーでクイックガイドが開きます。"));
    CheckMenu =
        place(new QCheckBox(QStringLiteral("スタートメニューに登録する(&M)"), frame1), "CheckMenu", {16, 28, 320, 24});
    CheckUp =
        place(new QCheckBox(QStringLiteral("スタートアップに登録する(&S)"), frame1), "CheckUp", {16, 60, 320, 24});
    CheckDesk =
        place(new QCheckBox(QStringLiteral("デスクトップに登録する(&D)"), frame1), "CheckDesk", {16, 92, 320, 24});
    Command1 = place(new QPushButton(QStringLiteral("設定"), frame1), "Command1", {152, 136, 88, 30});
    Command2 = place(new QPushButton(QStringLiteral("キャンセル"), frame1), "Command2", {252, 136, 88, 30});

    QLabel *label2 = addFrame("Label2");
    QLabel *label3 = addFrame("Label3");
    for (QCheckBox *c : {CheckMenu, CheckUp, CheckDesk}) {
        setFrame(c, label2);
        setEnterMovesOn(c);
    }
    setFrame(Command1, label3);
    setFrame(Command2, label3);

    setGuide(CheckMenu, {QStringLiteral("スタートメニューにアイコンを登録します"),
                         QStringLiteral("スタートボタンを押して英和辞典を選択、起動できるようになります"),
                         QStringLiteral("チェックなしに設定すると登録済みのメニューを削除することもできます")});
    setGuide(CheckUp, {QStringLiteral("スタートアップにアイコンを登録します"),
                       QStringLiteral("Windowsの起動と同時に英和辞典がシステムに常駐して待機します"),
                       QStringLiteral("英和辞典を他のアプリケーションからよく使う場合に便利です")});
    setGuide(CheckDesk, {QStringLiteral("デスクトップにアイコンを登録します"),
                         QStringLiteral("デスクトップから英和辞典を起動できるようになります"),
                         QStringLiteral("チェックなしに設定すると登録済みのメニューを削除することもできます")});
    const QStringList buttons{QStringLiteral("[設定ボタン]は、スタートメニューの設定を登録して、英和辞典に戻ります"),
                              QStringLiteral("[キャンセルボタン]は、登録せずに変更を中止します")};
    setGuide(Command1, buttons);
    setGuide(Command2, buttons);

    setTabOrder(CheckMenu, CheckUp);
    setTabOrder(CheckUp, CheckDesk);
    setTabOrder(CheckDesk, Command1);
    setTabOrder(Command1, Command2);
    connect(Command1, &QPushButton::clicked, this, &StMenu::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &StMenu::reject);

    Command1->setDefault(!DialogKeys);
    GetMenuMode();
    CheckMenu->setFocus();
}

StMenu::~StMenu() = default;

QCheckBox *StMenu::box(shell::Place place) const
{
    switch (place) {
    case shell::Place::Menu: return CheckMenu;
    case shell::Place::Startup: return CheckUp;
    case shell::Place::Desktop: return CheckDesk;
    }
    return nullptr;
}

void StMenu::GetMenuMode()
{
    for (const shell::Place place : Places) {
        const bool there = shortcuts_->exists(place);
        existed_[int(place)] = there;
        QCheckBox *c = box(place);
        // Grey: the shortcut is there and stays unless the box is cleared.
        c->setTristate(there);
        c->setCheckState(there ? Qt::PartiallyChecked : Qt::Unchecked);
    }
}

void StMenu::Command1_Click()
{
    QStringList failures;
    for (const shell::Place place : Places) {
        const Qt::CheckState state = box(place)->checkState();
        shell::Outcome outcome;
        if (existed_[int(place)] && state == Qt::Unchecked)
            outcome = shortcuts_->remove(place);
        else if (!existed_[int(place)] && state == Qt::Checked)
            outcome = shortcuts_->create(place, programShortcut(place));
        if (!outcome.ok())
            failures.append(failureText(place, outcome));
    }
    if (!failures.isEmpty())
        showMessage(this, QMessageBox::Critical, windowTitle(), failures.join(u'\n'));
    accept();
}

bool StMenu::controlKey(QWidget *control, QKeyEvent *event)
{
    // Down on the last box goes to the set button (on the release).
    return control == CheckDesk && event->key() == Qt::Key_Down;
}

bool StMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CheckDesk && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down) {
        Command1->setFocus(Qt::TabFocusReason);
        return true;
    }
    return OptionDialog::eventFilter(watched, event);
}

} // namespace dialogs
