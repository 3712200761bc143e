#include "dialogs/dicoption.h"

#include "dialogs/dialoghost.h"
#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "form/messagebox.h"
#include "lookup/dicfileset.h"
#include "lookup/lookupstate.h"
#include "settings/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace dialogs {

namespace {
constexpr int KeyCount = 12;

QString keyName(int index)
{
    return QStringLiteral("Shift+Ctrl+F%1").arg(index + 1);
}

QString defaultFolder()
{
    return settings::defaultText(settings::definition(settings::Key::Wordmere));
}

// A long path is shown with its middle left out.
QString shownPath(const QString &path)
{
    constexpr int Most = 160;
    if (path.size() <= Most)
        return path;
    return path.left(Most / 2) + QStringLiteral("…") + path.right(Most / 2);
}
} // namespace

DicOption::DicOption(MainForm &form, DialogHost &host)
    : OptionDialog(form, host, QStringLiteral("検索オプション"), QSize(420, 380))
{
    setObjectName(QStringLiteral("DicOption"));
    build();
    load();
}

void DicOption::build()
{
    auto *label1 = place(new QLabel(QStringLiteral("前方一致の検索数(&M)"), this), "Label1", {16, 16, 170, 24});
    Text1 = place(new QLineEdit(this), "Text1", {190, 14, 70, 26});
    label1->setBuddy(Text1);
    place(new QLabel(QStringLiteral("(20～100件の範囲で指定してください)"), this), "Label2", {16, 44, 388, 20});

    auto *frame2 = place(new QGroupBox(QStringLiteral("検索結果の設定(&W)"), this), "Frame2", {16, 70, 388, 84});
    chkEng =
        place(new QCheckBox(QStringLiteral("英語のエンジンで読み上げる(&E)"), frame2), "chkEng", {12, 24, 364, 24});
    chkKana =
        place(new QCheckBox(QStringLiteral("｛ふりがな｝を表示しない(&K)"), frame2), "chkKana", {12, 52, 364, 24});

    auto *frame1 = place(new QGroupBox(this), "Frame1", {16, 162, 388, 42});
    Check1 = place(new QCheckBox(QStringLiteral("高度な設定(&H)"), frame1), "Check1", {12, 9, 364, 24});

    Label4 = place(new QLabel(QStringLiteral("外部呼び出しキー(&X)"), this), "Label4", {16, 216, 160, 24});
    Combo1 = place(new QComboBox(this), "Combo1", {190, 214, 170, 26});
    for (int i = 0; i < KeyCount; ++i)
        Combo1->addItem(keyName(i));
    Label4->setBuddy(Combo1);
    Label5 = place(new QLabel(QStringLiteral("辞書フォルダ(&D)"), this), "Label5", {16, 248, 160, 24});
    Text2 = place(new QLineEdit(this), "Text2", {16, 274, 388, 26});
    Label5->setBuddy(Text2);
    place(new QLabel(QStringLiteral("(空白のまま決定すると初期値に戻ります)"), this), "Label3", {16, 302, 388, 20});
    place(new QLabel(QStringLiteral("F1キーでクイックガイドが開きます。"), this), "Label7", {16, 326, 240, 20});
    Command1 = place(new QPushButton(QStringLiteral("設定"), this), "Command1", {228, 340, 84, 30});
    Command2 = place(new QPushButton(QStringLiteral("キャンセル"), this), "Command2", {320, 340, 84, 30});

    QLabel *label11 = addFrame("Label11");
    QLabel *label13 = addFrame("Label13");
    QLabel *label6 = addFrame("Label6");
    for (QWidget *w : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(chkEng), static_cast<QWidget *>(chkKana)})
        setFrame(w, label11);
    setFrame(Check1, label6, frame1);
    setFrame(Combo1, label13);
    setFrame(Text2, label13);
    setFrame(Command1, label6);
    setFrame(Command2, label6);

    // Names and guidance.
    setNames(Text1, QStringLiteral("前方一致の検索数"), {});
    setGuide(Text1, {QStringLiteral("前方一致の検索数を設定します"),
                     QStringLiteral("検索可能な項目数を２０から１００件の範囲で設定します"),
                     QStringLiteral("前方一致検索は和英辞書の検索にも大変便利な機能です")});
    setGuide(chkEng, {QStringLiteral("検索結果の読み上げの際に、英語の部分を英語の音声エンジンで読み上げます"),
                      QStringLiteral("この機能を使用するにはSAPI対応の英語の音声エンジンが必要です")});
    setGuide(chkKana, {QStringLiteral("検索結果を表示するときに{ふりがな}を削除します"),
                       QStringLiteral("たとえば、閑静な住宅街を例にすると、ふりがなつきでは、"
                                      "閑静{かんせい}な住宅街{じゅうたくがい}と表示されます")});
    setGuide(Check1, {QStringLiteral("高度な設定を使用するときにチェックします"),
                      QStringLiteral("通常の利用の場合は、高度な設定は必要ありません"),
                      QStringLiteral("注意:高度な設定を変更すると、英和辞典が正しく動作しなくなる場合があります")});
    setNames(Combo1, QStringLiteral("外部呼び出しキー"), {});
    setGuide(Combo1, {QStringLiteral("外部アプリケーションから英和辞典を呼び出すときのショートカットキーを設定します"),
                      QStringLiteral("左右矢印キーで選択、Enterで決定します"),
                      QStringLiteral("ショートカットキーが他のアプリケーションと重複するときにお使い下さい")});
    setNames(Text2, QStringLiteral("辞書フォルダ"), {});
    setGuide(Text2, {QStringLiteral("辞書フォルダを変更します"),
                     QStringLiteral("辞書フォルダを変更すると辞書検索が正しくできなくなる場合があります"),
                     QStringLiteral("設定した辞書フォルダには、ランプの英和辞典と互換性のある辞書が必要です")});
    const QStringList buttons{QStringLiteral("[設定ボタン]は、検索オプションの変更を登録して、英和辞典に戻ります"),
                              QStringLiteral("[キャンセルボタン]は、登録せずに変更を中止します")};
    setGuide(Command1, buttons);
    setGuide(Command2, buttons);
    frame1->setAccessibleName(Check1->text().remove(u'&'));
    frame2->setAccessibleName(QStringLiteral("検索結果の設定"));
    for (QWidget *w : {static_cast<QWidget *>(frame1), static_cast<QWidget *>(frame2)})
        w->setAccessibleDescription(QStringLiteral("F1キーでクイックガイドが開きます。"));
    for (QLabel *label : findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue; // the highlight frames
        label->setAccessibleName(label->text().remove(u'&'));
        label->setAccessibleDescription(label->buddy() ? label->buddy()->accessibleDescription()
                                                       : QStringLiteral("F1キーでクイックガイドが開きます。"));
    }

    for (QWidget *w : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(Text2), static_cast<QWidget *>(Combo1),
                       static_cast<QWidget *>(Check1), static_cast<QWidget *>(chkEng), static_cast<QWidget *>(chkKana)})
        setEnterMovesOn(w);
    setSpokenOnFocus(
        Text1,
        [this] {
            QTimer::singleShot(0, Text1, &QLineEdit::selectAll);
            return marked(QStringLiteral("前方一致で検索する単語の数は"), Text1->text());
        },
        true);
    setSpokenOnFocus(
        Combo1, [this] { return marked(QStringLiteral("外部呼び出しキーの選択"), Combo1->currentText()); }, false);
    setSpokenOnFocus(
        Text2, [this] { return marked(QStringLiteral("辞書フォルダ"), Text2->text()); }, false);

    setTabOrder(Text1, chkEng);
    setTabOrder(chkEng, chkKana);
    setTabOrder(chkKana, Check1);
    setTabOrder(Check1, Combo1);
    setTabOrder(Combo1, Text2);
    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Command2);

    connect(Check1, &QCheckBox::toggled, this, &DicOption::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &DicOption::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DicOption::reject);
    connect(Text2, &QLineEdit::editingFinished, this, &DicOption::Text2_LostFocus);
}

void DicOption::load()
{
    Command1->setDefault(!DialogKeys);
    Text2->setText(form_.FilePath);
    chkKana->setChecked(form_.DicKana);
    chkEng->setChecked(form_.EngUse);
    chkEng->setEnabled(form_.EnglishMode);
    Text1->setText(QString::number(form_.ZenpoMax));
    Check1->setChecked(settings::readInt(settings::Key::CheckKodo) != 0);
    // A stored key outside F1 to F12 shows the default, F12.
    const int key = form_.KeyFunc >= 1 && form_.KeyFunc <= KeyCount ? form_.KeyFunc : KeyCount;
    Combo1->setCurrentIndex(key - 1);
    shownKeyIndex_ = key - 1;
    Check1_Click();
    Text1->setFocus();
}

void DicOption::Check1_Click()
{
    const bool on = Check1->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(Label4), static_cast<QWidget *>(Combo1), static_cast<QWidget *>(Label5),
                       static_cast<QWidget *>(Text2)}) {
        w->setEnabled(on);
    }
    for (QWidget *w : {static_cast<QWidget *>(Combo1), static_cast<QWidget *>(Text2)}) {
        QPalette p = w->palette();
        const QColor background = palette().color(on ? QPalette::Base : QPalette::Button);
        p.setColor(QPalette::Disabled, QPalette::Base, background);
        p.setColor(QPalette::Active, QPalette::Base, background);
        p.setColor(QPalette::Inactive, QPalette::Base, background);
        w->setPalette(p);
    }
}

void DicOption::Text2_LostFocus()
{
    if (Text2->text().trimmed().isEmpty())
        Text2->setText(defaultFolder());
    else if (Text2->text() != Text2->text().trimmed())
        Text2->setText(Text2->text().trimmed());
}

int DicOption::zenpoValue(const QString &text)
{
    // The leading number: blanks, a sign, digits, a fraction.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    const qsizetype digits = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            ++i;
    }
    bool ok = false;
    double n = i > digits ? text.mid(start, i - start).toDouble(&ok) : 0.0;
    if (!ok || std::isnan(n))
        n = 0.0;
    n = std::clamp(n, double(ZenpoLow), double(ZenpoHigh));
    return int(std::nearbyint(n)); // halves to the even neighbour
}

bool DicOption::dictionaryFolderUsable(const QString &folder)
{
    QStringList missing;
    for (const int mode : {lookup::EnglishJapanese, lookup::JapaneseEnglish}) {
        const lookup::DicFileListing listing = lookup::listDicFileSet(folder, mode);
        if (!listing.ok() || listing.names.isEmpty())
            missing.append(mode == lookup::EnglishJapanese ? QStringLiteral("英和辞書がみつかりません")
                                                           : QStringLiteral("和英辞書がみつかりません"));
    }
    // A folder with the files of one direction serves that direction.
    if (missing.size() < 2)
        return true;
    missing.append(shownPath(QDir::toNativeSeparators(folder)));
    showMessage(this, QMessageBox::Critical, QStringLiteral("辞書ファイルエラー"), missing.join(u'\n'));
    return false;
}

bool DicOption::Settei()
{
    eventloop::DoEvents();
    QString folder = Text2->text().trimmed();
    if (folder.isEmpty())
        folder = defaultFolder();
    Text2->setText(folder);
    // A new folder must hold a dictionary; nothing is taken over otherwise.
    if (folder != form_.FilePath && !dictionaryFolderUsable(folder)) {
        Text2->setFocus();
        Text2->selectAll();
        return false;
    }
    form_.DicKana = chkKana->isChecked();
    settings::writeBool(settings::Key::DicKana, form_.DicKana);
    form_.ZenpoMax = zenpoValue(Text1->text());
    settings::writeInt(settings::Key::ZenpoMax, form_.ZenpoMax);
    settings::writeText(settings::Key::Wordmere, folder);
    form_.EngUse = chkEng->isChecked();
    settings::writeBool(settings::Key::EngUse, form_.EngUse);
    form_.FilePath = folder; // the next lookup searches here
    settings::writeInt(settings::Key::CheckKodo, Check1->isChecked() ? 1 : 0);
    const int index = Combo1->currentIndex();
    settings::writeInt(settings::Key::KeyFunc, index + 1);
    form_.KeyFunc = index + 1;
    // A new hot key is taken into use at once.
    if (index != shownKeyIndex_ && !host_.reinstallHook(form_.KeyFunc))
        showMessage(this, QMessageBox::Warning, QString(),
                    QStringLiteral("外部呼び出しキー %1 を登録できませんでした").arg(Combo1->currentText()));
    return true;
}

void DicOption::Command1_Click()
{
    if (Settei())
        accept();
}

bool DicOption::controlKey(QWidget *control, QKeyEvent *event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool wideSpace = event->text() == QString(QChar(0x3000));
    if (control == Command1 && enter) {
        Command1_Click();
        return true;
    }
    if (control == Command2 && enter) {
        closeQuietly();
        return true;
    }
    if (control == Combo1) {
        const int i = Combo1->currentIndex();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            Combo1->setCurrentIndex(std::clamp(i + (key == Qt::Key_Right ? 1 : -1), 0, KeyCount - 1));
            return true;
        }
        if (DialogKeys && (key == Qt::Key_Space || wideSpace)) {
            if (i == KeyCount - 1)
                Combo1->setCurrentIndex(0);
            else
                postKey(Combo1, Qt::Key_Right);
            return true;
        }
        if (!DialogKeys && wideSpace) {
            postKey(this, Qt::Key_Space, QStringLiteral(" "));
            return true;
        }
    }
    return false;
}

} // namespace dialogs
