#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("ランプの英和・和英辞典"));
    label.show();
    return app.exec();
}
