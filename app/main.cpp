#include "mainform.h"
#include "speech.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainForm form;
    form.setSpeech(std::make_unique<Speech>(form));
    form.show();
    return app.exec();
}
