// The other application of the X11 capture tests: a window with one line
// edit, text edit or list, made accessible (the test starts it with
// QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1).
//
//   wlhook_qttarget KIND TEXT [START END] [--clipboard TEXT]
//     KIND lineedit | textedit | list; START END select (equal: the caret).
//
// Prints "ready X Y W H" (the widget's screen rectangle) once its window is
// active and the widget has the focus, and "key-press F12" / "key-release
// F12" for each F12 event that reaches it. Commands on standard input:
// "select START END", "activate" (prints "ready ..." again), "quit".

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class KeyReporter : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && watched->isWidgetType() &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_F12 && static_cast<QWidget *>(watched)->hasFocus())
            say(event->type() == QEvent::KeyPress ? QStringLiteral("key-press F12")
                                                  : QStringLiteral("key-release F12"));
        return false;
    }
};

void select(QWidget *widget, int start, int end)
{
    if (auto *line = qobject_cast<QLineEdit *>(widget)) {
        if (start == end)
            line->setCursorPosition(start);
        else
            line->setSelection(start, end - start);
    } else if (auto *text = qobject_cast<QTextEdit *>(widget)) {
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString clipboard;
    if (const int at = args.indexOf(QStringLiteral("--clipboard")); at >= 0 && at + 1 < args.size()) {
        clipboard = args.at(at + 1);
        args.remove(at, 2);
    }
    if (args.size() < 2)
        return 2;
    const QString kind = args.at(0);
    const QString text = args.at(1);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Wlhook target"));
    auto *layout = new QVBoxLayout(&window);
    QWidget *widget = nullptr;
    if (kind == QLatin1String("lineedit")) {
        widget = new QLineEdit(text);
    } else if (kind == QLatin1String("textedit")) {
        auto *edit = new QTextEdit;
        edit->setPlainText(text);
        widget = edit;
    } else {
        auto *list = new QListWidget;
        list->addItems(text.split(QLatin1Char('|')));
        list->setCurrentRow(0);
        widget = list;
    }
    layout->addWidget(widget);
    window.resize(480, 240);
    window.move(100, 100);
    if (args.size() >= 4)
        select(widget, args.at(2).toInt(), args.at(3).toInt());
    if (!clipboard.isEmpty())
        QGuiApplication::clipboard()->setText(clipboard);

    KeyReporter keys;
    app.installEventFilter(&keys);

    // Reports "ready" once the window is active and the widget has the focus.
    QTimer readiness;
    readiness.setInterval(20);
    QObject::connect(&readiness, &QTimer::timeout, [&] {
        if (!window.isActiveWindow() || !widget->hasFocus()) {
            window.activateWindow();
            widget->setFocus();
            return;
        }
        readiness.stop();
        const QRect r(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        say(QStringLiteral("ready %1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[256];
        const ssize_t n = read(STDIN_FILENO, line, sizeof line - 1);
        if (n <= 0) {
            app.quit();
            return;
        }
        line[n] = '\0';
        for (const QString &command : QString::fromUtf8(line).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QStringList words = command.split(QLatin1Char(' '));
            if (words.value(0) == QLatin1String("select") && words.size() == 3) {
                select(widget, words.at(1).toInt(), words.at(2).toInt());
                say(QStringLiteral("selected"));
            } else if (words.value(0) == QLatin1String("activate")) {
                readiness.start();
            } else if (words.value(0) == QLatin1String("quit")) {
                app.quit();
            }
        }
    });

    window.show();
    widget->setFocus();
    window.activateWindow();
    readiness.start();
    return app.exec();
}
