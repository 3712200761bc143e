#include "mainwindow/extbox.h"

#include "form/mainform.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/twips.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {
const QString NoBoxTitle = QStringLiteral("TessaⅢ");
constexpr int TitleLimit = 256;
constexpr int GapTwips = 16; // between the box and the caret
} // namespace

ExtBox::ExtBox(MainForm &form, HookBinding &hook, desktop::Windows &windows)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      form_(form), hook_(hook), windows_(windows)
{
    setObjectName(QStringLiteral("ExtBox"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMargin(4);
    Label1->setAutoFillBackground(true);
    Label1->setFrameShape(QFrame::Box);
    Timer1.setInterval(ShowMs);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] {
        Timer1.stop();
        hide();
    });
}

ExtBox::~ExtBox() = default;

void ExtBox::ShowExtBox(const QString &text)
{
    const desktop::WindowId source = form_.SourceWindow;
    const QString title = windows_.title(source).left(TitleLimit);
    if (title.startsWith(NoBoxTitle)) {
        QGuiApplication::clipboard()->clear();
        return;
    }
    WlhookPoint caret{0, 0};
    if (hook_.isBound())
        hook_.api().GetScreenCaret(&caret);

    Label1->setText(text);
    Label1->adjustSize();
    Label1->move(0, 0);
    placeAbove(QPoint(caret.x, caret.y));
    show();
    raise();
    if (form_.QevSelMode)
        form_.activateWindow();
    Timer1.stop();
    Timer1.start();
    if (source != 0)
        windows_.activate(source);
}

void ExtBox::placeAbove(QPoint caret)
{
    // The caret the library saw may lie off every screen (a window partly
    // outside, a stale point): the box stays on the screen that holds the
    // source window, inside it; a text wider than the screen is cut there.
    const QRect frame = windows_.frame(form_.SourceWindow);
    QScreen *screen = frame.isEmpty() ? nullptr : QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = QGuiApplication::screenAt(caret);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QSize size = Label1->size();
    if (screen)
        size = size.boundedTo(screen->geometry().size());
    Label1->resize(size);
    resize(size);
    QPoint topLeft(caret.x(), caret.y() - twips::toPixels(GapTwips, this) - height());
    if (screen) {
        const QRect area = screen->geometry();
        topLeft.setX(qBound(area.left(), topLeft.x(), qMax(area.left(), area.right() + 1 - width())));
        topLeft.setY(qBound(area.top(), topLeft.y(), qMax(area.top(), area.bottom() + 1 - height())));
    }
    move(topLeft);
}
