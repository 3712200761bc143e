#include "mainwindow/versiondialog.h"

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "mainwindow/appicon.h"
#include "mainwindow/spoken.h"
#include "orrin/announcer.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

const QString ProductName = QStringLiteral("ランプの英和");
const QString VersionText = QStringLiteral("和英辞典　バージョン 1.12");

// The picture: the program's icon, its name and its version.
QPixmap versionPicture(const QFont &font)
{
    QPixmap picture(360, 150);
    picture.fill(QColor(0x30, 0x30, 0x30));
    QPainter p(&picture);
    p.drawPixmap(24, 43, appIcon().pixmap(64, 64));
    p.setPen(Qt::white);
    QFont title = font;
    title.setPointSizeF(font.pointSizeF() * 1.4);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(108, 30, 240, 40), Qt::AlignLeft | Qt::AlignVCenter, ProductName + QStringLiteral("・和英辞典"));
    p.setFont(font);
    p.drawText(QRect(108, 72, 240, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("バージョン 1.12"));
    p.drawText(QRect(108, 98, 240, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Wordlamp"));
    return picture;
}

class VerInfo : public QDialog {
public:
    explicit VerInfo(MainForm &form) : QDialog(&form), form_(form)
    {
        setObjectName(QStringLiteral("VerInfo"));
        setWindowTitle(QStringLiteral("バージョン情報"));
        // It says who it is when it opens; the screen reader need not.
        Announcer::setSpeaksForItself(this);
        image_ = new QLabel(this);
        image_->setObjectName(QStringLiteral("Image1"));
        image_->setPixmap(versionPicture(font()));
        image_->setAccessibleName(ProductName + QStringLiteral("・") + VersionText);
        image_->move(0, 0);
        image_->adjustSize();
        // The window is as big as its picture.
        setFixedSize(image_->size());
        image_->installEventFilter(this);
    }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::WindowActivate && !announced_) {
            announced_ = true;
            spoken::Speak(form_, ProductName + QChar(codepage::SpeechEndMarker) + VersionText);
            spoken::Settle(form_);
            if (form_.EnglishMode)
                form_.speech().SapiGo(QStringLiteral(" + English"));
        }
        return QDialog::event(e);
    }
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == image_ && e->type() == QEvent::MouseButtonPress) {
            accept();
            return true;
        }
        return QDialog::eventFilter(watched, e);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        switch (e->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter: accept(); break;
        default: QDialog::keyPressEvent(e);
        }
    }

private:
    MainForm &form_;
    QLabel *image_;
    bool announced_ = false;
};

} // namespace

void showVersionDialog(MainForm &form)
{
    VerInfo dialog(form);
    dialog.exec();
    form.speech().SapiCancel();
}
