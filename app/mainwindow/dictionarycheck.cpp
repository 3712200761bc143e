#include "mainwindow/dictionarycheck.h"

#include "form/mainform.h"
#include "form/richtextbox.h"
#include "lookup/dicfileset.h"
#include "lookup/lookupstate.h"
#include "mainwindow/spoken.h"

#include <QDir>
#include <QEvent>
#include <QObject>

namespace {

// Speaks once, just after the input box has announced itself on getting the
// focus, which stops what was spoken before it.
class AfterFirstFocus : public QObject {
public:
    AfterFirstFocus(MainForm &form, QString text) : QObject(&form), form_(form), text_(std::move(text)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    spoken::Speak(form_, text_);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    MainForm &form_;
    QString text_;
};

} // namespace

bool dictionarycheck::announceMissing(MainForm &form)
{
    QStringList missing;
    for (const int mode : {lookup::EnglishJapanese, lookup::JapaneseEnglish}) {
        const lookup::DicFileListing listing = lookup::listDicFileSet(form.FilePath, mode);
        if (!listing.ok() || listing.names.isEmpty())
            missing.append(mode == lookup::EnglishJapanese ? QStringLiteral("英和辞書") : QStringLiteral("和英辞書"));
    }
    if (missing.isEmpty())
        return true;
    const QString folder = QDir::toNativeSeparators(form.FilePath);
    const QString text =
        QStringLiteral("%1がみつかりません: %2\n"
                       "The dictionary is missing in %2: install the edict package and build it "
                       "with wordlamp-dict (see wordlamp-dict(1)), or set \"Wordmere\" in the settings file.")
            .arg(missing.join(u'と'), folder);
    form.Text2->setPlainText(text);
    const QString spokenText = QStringLiteral("%1がみつかりません。%2").arg(missing.join(u'と'), folder);
    if (form.TrayResident)
        spoken::Speak(form, spokenText);
    else
        form.Text1->installEventFilter(new AfterFirstFocus(form, spokenText));
    return false;
}
