#include "app/Main.h"
#include "app/Startup.h"
#include "widgets/Globals.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    // Names on the command line are relative to the folder the user started the program in.
    const QString startFolder = QDir::currentPath();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kyxTavlo"));
    QApplication::setQuitOnLastWindowClosed(true);
    if (!createProgram(QApplication::arguments().mid(1), startFolder))
        return 1;
    mainform->show();
    const int result = QApplication::exec();
    destroyProgram();
    return result;
}
