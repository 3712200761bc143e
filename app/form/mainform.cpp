#include "form/mainform.h"

#include "form/imagebutton.h"
#include "form/richtextbox.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinvoice.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

MainForm::MainForm(QWidget *parent) : QMainWindow(parent), speech_(std::make_unique<SpeechCommands>())
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("ランプの英和・和英辞典"));
    Lookup.modeReverse = true; // the stored default
    menuItems_ = buildMenuBar(menuBar());
    buildControls();
    buildToolbar();
    buildImageMenu();
    buildTimers();
}

MainForm::~MainForm() = default;

void MainForm::setSpeech(std::unique_ptr<SpeechCommands> speech)
{
    speech_ = speech ? std::move(speech) : std::make_unique<SpeechCommands>();
}

QAction *MainForm::action(const QString &name) const
{
    QAction *a = menuItems_.actions.value(name);
    Q_ASSERT_X(a, "MainForm::action", qPrintable(name));
    return a;
}

QMenu *MainForm::menu(const QString &name) const
{
    QMenu *m = menuItems_.menus.value(name);
    Q_ASSERT_X(m, "MainForm::menu", qPrintable(name));
    return m;
}

QToolButton *MainForm::toolButton(const QString &key) const
{
    for (QToolButton *b : toolButtons_)
        if (b->property("key").toString() == key)
            return b;
    Q_ASSERT_X(false, "MainForm::toolButton", qPrintable(key));
    return nullptr;
}

void MainForm::setStatusText(const QString &text)
{
    statusPanel1_->setText(text);
    statusPanel1_->setAccessibleName(text);
}

QString MainForm::statusText() const
{
    return statusPanel1_->text();
}

namespace {
QFrame *line(QWidget *parent, const char *name, QFrame::Shape shape)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(shape);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}
} // namespace

void MainForm::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    Line1 = line(client, "Line1", QFrame::HLine);
    Line2 = line(client, "Line2", QFrame::HLine);
    Line3 = line(client, "Line3", QFrame::HLine);
    Line4 = line(client, "Line4", QFrame::HLine);
    Line5 = line(client, "Line5", QFrame::VLine);

    Pic1 = new QWidget(client);
    Pic1->setObjectName(QStringLiteral("Pic1"));

    Label1 = new QLabel(QStringLiteral("検索語(&S)"), client);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new RichTextBox(client);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("検索語"));
    Text1->setAccessibleDescription(
        QStringLiteral("英語は英和辞典、日本語は和英辞典を検索します。Enterで検索、下矢印で履歴、F1で説明"));
    Text1->setLineWrapMode(QTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);
    Label1->setBuddy(Text1);

    Shape1 = new QFrame(client);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Label2 = new QLabel(QStringLiteral("意味・検索結果(&W)"), Shape1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(client);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAutoFillBackground(true);

    Text2 = new RichTextBox(client);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAccessibleName(QStringLiteral("意味・検索結果"));
    Text2->setAccessibleDescription(QStringLiteral("読み取り専用。Alt+F5で読み上げ、Alt+←とAlt+→で履歴、F1で説明"));
    Text2->setTabChangesFocus(true);
    Label2->setBuddy(Text2);

    List1 = new QListWidget(client);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("履歴"));
    List1->setAccessibleDescription(QStringLiteral("検索した単語を10件まで。Enterで検索、Escで戻る"));
    List1->hide();

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusPanel1_ = new QLabel(StatusBar1);
    statusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
    StatusBar1->addWidget(statusPanel1_, 1);
    Pic2 = new QLabel(client);
    Pic2->setObjectName(QStringLiteral("Pic2"));
    Image2 = new QLabel(client);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->hide();

    Tips = new QFrame(client);
    Tips->setObjectName(QStringLiteral("Tips"));
    static_cast<QFrame *>(Tips)->setFrameShape(QFrame::Box);
    Tips->setAutoFillBackground(true);
    LabelTips = new QLabel(Tips);
    LabelTips->setObjectName(QStringLiteral("LabelTips"));
    Tips->hide();

    Picture1 = new QLabel(client);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->hide();
}

void MainForm::buildToolbar()
{
    Toolbar1 = new QToolBar(Pic1);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const char16_t *keys[] = {u"検索", u"戻る", u"進む", u"めくる", u"拡大", u"コピー", u"切り取り", u"貼り付け"};
    for (const char16_t *k : keys) {
        const QString key = QString::fromUtf16(k);
        auto *b = new QToolButton(Toolbar1);
        b->setObjectName(QStringLiteral("Toolbar1_") + key);
        b->setProperty("key", key);
        b->setText(key);
        b->setAccessibleName(key);
        b->setFocusPolicy(Qt::NoFocus);
        Toolbar1->addWidget(b);
        toolButtons_.append(b);
    }
    // Buttons with drop-down lists: history words, word paging, magnification.
    for (const char16_t *k : {u"戻る", u"進む", u"めくる", u"拡大"}) {
        QToolButton *b = toolButton(QString::fromUtf16(k));
        b->setPopupMode(QToolButton::MenuButtonPopup);
        b->setMenu(new QMenu(b));
    }
}

void MainForm::buildImageMenu()
{
    // The image menu sits at the right end of the status bar.
    Pic2->setParent(StatusBar1);
    StatusBar1->addPermanentWidget(Pic2);
    for (int i = 0; i < ImageButton::Count; ++i)
        ImageX[size_t(i)] = new ImageButton(i, Pic2);
    Image2->setParent(Pic2);
    Image2->setAutoFillBackground(true);
    QPalette grey = Image2->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128, 176));
    Image2->setPalette(grey);
    Image2->hide();
}

void MainForm::buildTimers()
{
    for (QTimer *t : {&Timer1, &Timer2, &TimerMemo}) {
        t->setInterval(10);
        t->setSingleShot(true);
    }
    TimerHook.setInterval(50);
    TimerHook.setSingleShot(true);
    TimerAppSetFocus.setInterval(100);
    TimerTips.setInterval(2000);
    chkOrrin.setInterval(4000);
}
