#include "mainwindow/windowlayout.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/imagemenu.h"
#include "mainwindow/twips.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QToolBar>

WindowLayout::WindowLayout(MainForm &form) : form_(form)
{
    form_.installEventFilter(this);
}

double WindowLayout::toolScale() const
{
    // As the input box's font grows from its normal 12 points.
    return qMax(1.0, form_.Text1->font().pointSizeF() / 12.0);
}

int WindowLayout::fitToolbar(int room)
{
    QToolBar *bar = form_.Toolbar1;
    QVariant base = bar->property("normalPointSize");
    if (!base.isValid()) {
        base = bar->font().pointSizeF();
        bar->setProperty("normalPointSize", base);
    }
    for (double scale = toolScale();; scale = qMax(1.0, scale - 0.25)) {
        QFont font = bar->font();
        font.setPointSizeF(base.toDouble() * scale);
        bar->setFont(font);
        const int width = bar->sizeHint().width();
        if (width <= room || scale <= 1.0)
            return width;
    }
}

int WindowLayout::inputBoxHeight() const
{
    return twips::toPixels(20.0 * form_.Text1->font().pointSizeF(), form_.Text1) + 10;
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &form_ && event->type() == QEvent::Resize)
        Form_Resize();
    return false;
}

void WindowLayout::Form_Resize()
{
    if (form_.ResizeBusy)
        return;
    if (!form_.isMinimized()) {
        // Both sides at once: a resize asked for from inside the resize
        // event does not come back on every platform, so the layout runs
        // now with the corrected size rather than wait for it.
        const int minimum = twips::toPixels(MinimumTwips, &form_);
        if (form_.width() < minimum || form_.height() < minimum)
            form_.resize(qMax(minimum, form_.width()), qMax(minimum, form_.height()));
    }
    form_.Picture1->raise();
    form_.ResizeBusy = true;
    placeControls();
    form_.ResizeBusy = false;
}

void WindowLayout::placeControls()
{
    QWidget *client = form_.centralWidget();
    const auto px = [this](double t) { return twips::toPixels(t, &form_); };
    const int width = client->width();
    const int height = client->height();

    // Two lines under the menu.
    form_.Line1->setGeometry(0, 0, width, 1);
    form_.Line2->setGeometry(0, 1, width, 1);

    // The input box with its label, then the toolbar strip 80 twips to its right.
    const int inputHeight = inputBoxHeight();
    form_.Text1->setFixedHeight(inputHeight);
    const int labelWidth = form_.Label1->sizeHint().width();
    const int inputLeft = 4 + labelWidth + 4;
    // The toolbar grows with the magnification as far as all its buttons fit
    // beside the input box; the input box gives up width for them, down to
    // its least width.
    const int toolbarRoom = width - inputLeft - MinimumInputWidth - px(80);
    const int toolbarWidth = fitToolbar(toolbarRoom);
    const int inputWidth =
        qMax(MinimumInputWidth, qMin((width - inputLeft) * 2 / 5, width - inputLeft - px(80) - toolbarWidth));
    const int stripLeft = inputLeft + inputWidth + px(80);
    const int toolbarHeight = form_.Toolbar1->sizeHint().height();
    const int stripHeight = inputHeight > toolbarHeight ? inputHeight + 2 : toolbarHeight;
    const int stripTop = 2;
    form_.Pic1->setGeometry(stripLeft, stripTop, qMax(0, width - stripLeft), stripHeight);
    form_.Toolbar1->setGeometry(0, (stripHeight - toolbarHeight) / 2, form_.Pic1->width(), toolbarHeight);
    form_.Text1->setGeometry(inputLeft, stripTop + (stripHeight - inputHeight) / 2, inputWidth, inputHeight);
    const int labelHeight = form_.Label1->sizeHint().height();
    form_.Label1->setGeometry(4, stripTop + (stripHeight - labelHeight) / 2, labelWidth, labelHeight);

    // Two lines under the strip, the framed label under them.
    const int linesTop = stripTop + stripHeight;
    form_.Line3->setGeometry(0, linesTop, width, 1);
    form_.Line4->setGeometry(0, linesTop + 1, width, 1);
    const int frameTop = linesTop + 2;
    const int label2Height = form_.Label2->sizeHint().height();
    const int frameHeight = label2Height + 6;
    form_.Shape1->setGeometry(0, frameTop, width, frameHeight);
    form_.Label2->setGeometry(0, (frameHeight - label2Height) / 2, width, label2Height);

    // The result band down to the status bar; the result pane on it.
    const int bandTop = frameTop + frameHeight;
    form_.Label3->setGeometry(0, bandTop, width, qMax(0, height - bandTop));
    const int paneLeft = px(300);
    const int paneTop = bandTop + 2;
    const int paneWidth = qMax(0, width - px(300) - 2 - px(100));
    const int paneHeight = qMax(0, height - paneTop - 2);
    form_.Text2->setGeometry(paneLeft, paneTop, paneWidth, paneHeight);
    form_.Line5->setGeometry(paneLeft - 2, paneTop, 1, paneHeight);

    // The status bar's picture, the image menu, sits at the right end of the
    // status bar and grows with the magnification while the status bar
    // shows (from level 3 on it is hidden: its size then stays, so that the
    // status bar shown for a moment during a change keeps its height).
    const bool statusBarLevel = !form_.modeBigFont || form_.modeFontSize <= 2;
    ImageMenu::place(form_, statusBarLevel ? toolScale() : 1.0);
    if (form_.Picture1->isVisible())
        form_.Picture1->setGeometry(client->rect());
    if (form_.List1->isVisible())
        form_.List1->setGeometry(form_.Text1->x(), form_.Text1->geometry().bottom() + 1 + px(16), form_.Text1->width(),
                                 form_.List1->height());
}
