#include "app/Globals.h"
#include "app/Main.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kyxTavlo"));
    QApplication::setQuitOnLastWindowClosed(true);
    if (!createProgram(QApplication::arguments().mid(1)))
        return 1;
    mainform->show();
    const int result = QApplication::exec();
    destroyProgram();
    return result;
}
