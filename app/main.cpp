#include "commandline.h"
#include "form/mainform.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"
#include "speech/speech.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (commandline::answered(argc, argv))
        return 0;
    // GLib's default main context is left to the capture library's thread:
    // libatspi serves its connections to other applications there (wlhook.h).
    qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordlamp"));
    QApplication::setOrganizationName(QStringLiteral("QLM"));
    MainForm form;
    MainWindow window(form);
    form.setSpeech(std::make_unique<Speech>(form));
    if (!window.lifecycle().Form_Load(QApplication::arguments()))
        return window.lifecycle().exitCode();
    if (!form.TrayResident) {
        form.show();
        form.activateWindow(); // also where no window manager hands out the focus
    }
    return app.exec();
}
