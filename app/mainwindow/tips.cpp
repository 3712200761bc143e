#include "mainwindow/tips.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/twips.h"

#include <QLabel>

Tips::Tips(MainForm &form) : form_(form)
{
    form_.TimerTips.setInterval(ShowMs);
    form_.TimerTips.setSingleShot(true);
    connect(&form_.TimerTips, &QTimer::timeout, this, &Tips::TimerTips_Timer);
    form_.Tips->setAccessibleName(QStringLiteral("ヒント"));
    QPalette p = form_.Tips->palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, p.color(QPalette::ToolTipText));
    form_.Tips->setPalette(p);
}

void Tips::ShowTips(const QString &text)
{
    const auto px = [this](double t) { return twips::toPixels(t, &form_); };
    form_.LabelTips->setText(text);
    form_.LabelTips->adjustSize();
    const QSize label = form_.LabelTips->size();
    form_.Tips->resize(label.width() + px(120), label.height() + px(120));
    form_.LabelTips->move(px(60), px(60));

    QPoint place;
    if (form_.Text1Enable) {
        place = QPoint(form_.Text1->x(), form_.Text1->geometry().bottom() + 1 + px(20));
    } else {
        const QRect caret = form_.Text2->cursorRect();
        const QPoint inPane = form_.Text2->viewport()->mapTo(form_.Text2, caret.topLeft());
        place = QPoint(form_.Text2->x() + inPane.x(), form_.Text2->y() + inPane.y() - form_.Tips->height() - px(30));
        const int paneRight = form_.Text2->geometry().right() + 1;
        if (place.x() + form_.Tips->width() > paneRight)
            place.setX(paneRight - px(30) - form_.Tips->width());
    }
    form_.Tips->move(place);
    form_.Tips->raise();
    form_.Tips->show();
    form_.TimerTips.stop();
    form_.TimerTips.start();
}

void Tips::TimerTips_Timer()
{
    form_.TimerTips.stop();
    form_.Tips->hide();
}
