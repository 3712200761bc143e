#include "mainwindow/quickguide.h"

#include "orrin/announcer.h"

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "mainwindow/keycodes.h"
#include "mainwindow/spoken.h"
#include "mainwindow/twips.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

namespace helptext {

QString inputBox()
{
    return QStringLiteral("検索する単語を入力します\n"
                          "英語を入力すると、英和辞典に、日本語を入力すると、和英辞典を検索します\n"
                          "単語の終わりに、アスタリスクを入力すると、前方一致で検索します");
}

QString resultPane()
{
    return QStringLiteral("検索結果を表示します\n"
                          "Shift+Ctrl+F12でカーソル位置の単語を検索できます\n"
                          "この機能は他のアプリケーションの文字入力エディットでも使用可能です");
}

QString historyList()
{
    return QStringLiteral("履歴の一覧\n"
                          "いちど検索したことがある単語を過去に１０件までさかのぼって検索できます\n"
                          "上下矢印キーで選択、読み方の入力に戻るには上矢印キーを数回押してください");
}

QString resultBand()
{
    return QStringLiteral("マウス操作(晴眼者向けの説明)\n"
                          "マウスで単語を選択して英和辞典にドロップすると、自動的に辞書を検索します\n"
                          "ツールバーの検索ボタンは、選択中またはカーソル位置の単語を検索することができます");
}

} // namespace helptext

namespace {

// The guide's window: closes on F1, Escape or Enter released, or on a mouse
// press anywhere but on its text.
class GuideWindow : public QDialog {
public:
    GuideWindow(QWidget *owner, const QString &text) : QDialog(owner)
    {
        setObjectName(QStringLiteral("F1Help"));
        setWindowTitle(QuickGuide::Title);
        setAccessibleName(QuickGuide::Title);
        auto *layout = new QVBoxLayout(this);
        title_ = new QLabel(QuickGuide::Title, this);
        title_->setObjectName(QStringLiteral("Label1"));
        QFont bold = title_->font();
        bold.setBold(true);
        title_->setFont(bold);
        text_ = new QPlainTextEdit(this);
        text_->setObjectName(QStringLiteral("Text1"));
        text_->setReadOnly(true);
        text_->setPlainText(text);
        text_->setAccessibleName(QuickGuide::Title);
        // The guide reads itself out when it opens; the screen reader must
        // not talk over it.
        Announcer::setSpeaksForItself(text_);
        fitText(text);
        layout->addWidget(title_);
        layout->addWidget(text_);
        text_->installEventFilter(this);
        title_->installEventFilter(this);
    }
    QString text() const { return text_->toPlainText(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyRelease || event->type() == QEvent::KeyPress)
            return handleKey(static_cast<QKeyEvent *>(event));
        if (watched == title_ && event->type() == QEvent::MouseButtonPress) {
            accept();
            return true;
        }
        return false;
    }
    void keyPressEvent(QKeyEvent *event) override { handleKey(event); }
    void keyReleaseEvent(QKeyEvent *event) override { handleKey(event); }
    void mousePressEvent(QMouseEvent *) override { accept(); }

private:
    // The box as big as its text, so that none of it is cut off: as wide as
    // its longest line (within limits the screen sets), as high as the text
    // wrapped at that width.
    void fitText(const QString &text)
    {
        const QRect area = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
        const QFontMetrics metrics = text_->fontMetrics();
        const int margins = 2 * (text_->frameWidth() + int(text_->document()->documentMargin())) + 4;
        int widest = 0;
        for (const QString &line : text.split(u'\n'))
            widest = qMax(widest, metrics.horizontalAdvance(line));
        const int width = qBound(420, widest + margins, qMax(420, area.width() * 3 / 5));
        // Each line of the text wrapped as the box wraps it.
        const qreal margin = text_->document()->documentMargin();
        const qreal lineWidth = width - 2 * text_->frameWidth() - 2 * margin;
        qreal height = 2 * margin + 2 * text_->frameWidth();
        for (const QString &paragraph : text.split(u'\n')) {
            QTextLayout layout(paragraph, text_->font());
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(lineWidth);
                height += line.height();
            }
            layout.endLayout();
        }
        const int needed = int(std::ceil(height)) + metrics.lineSpacing() / 2;
        const int room = area.height() * 4 / 5;
        text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A scroll bar only for a text taller than the screen has room for.
        text_->setVerticalScrollBarPolicy(needed <= room ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
        text_->setFixedSize(width, qMin(needed, room));
    }

    bool handleKey(QKeyEvent *event)
    {
        const int key = event->key();
        const bool closing =
            key == Qt::Key_F1 || key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
        if (!closing)
            return false;
        // Closed on release; the press must not reach the dialog's own Escape
        // and Enter handling.
        if (event->type() == QEvent::KeyRelease && !event->isAutoRepeat())
            accept();
        event->accept();
        return true;
    }

    QLabel *title_;
    QPlainTextEdit *text_;
};

} // namespace

QuickGuide::QuickGuide(MainForm &form) : form_(form)
{
}

QPoint QuickGuide::position(const QWidget *control, Place place) const
{
    const auto px = [this](double t) { return twips::toPixels(t, &form_); };
    QPoint p = control->mapToGlobal(QPoint(0, 0));
    switch (place) {
    case Place::Below: p += QPoint(0, control->height() + px(100)); break;
    case Place::IntoPane: p += QPoint(px(1000), px(1000)); break;
    case Place::IntoBand: p += QPoint(px(1000), px(3000)); break;
    }
    return p;
}

void QuickGuide::show(const QString &text, QPoint topLeft, QWidget *owner)
{
    QWidget *from = owner ? owner : &form_;
    GuideWindow guide(from, text);
    spoken::StopSpeech(form_);
    guide.move(topLeft);
    F1HelpEnable = true;
    // Announced once the window is up.
    QMetaObject::invokeMethod(
        &guide,
        [this, &guide] {
            spoken::SpeakMarked(form_, Title);
            spoken::Speak(form_, guide.text());
        },
        Qt::QueuedConnection);
    guide.exec();
    // The window the guide came from takes the keys again, unless the guide
    // closed because the user went to another application.
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        from->activateWindow();
    spoken::StopSpeech(form_);
    spoken::Speak(form_, QStringLiteral("ガイド おわり"));
    spoken::Settle(form_);
    F1HelpEnable = false;
}
