#include "app/Main.h"
#include "app/Startup.h"
#include "platform/DataFolders.h"
#include "platform/ProgramChannel.h"
#include "platform/SystemMemory.h"
#include "widgets/Globals.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    // Names on the command line are relative to the folder the user started the program in.
    const QString startFolder = QDir::currentPath();
    Platform::giveLargeBlocksBack();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kyxTavlo"));
    QApplication::setQuitOnLastWindowClosed(true);
    const QStringList arguments = QApplication::arguments().mid(1);
    // One program per user and data root: two would each write the user's settings and lists at
    // their close, the last one throwing away what the other wrote. A second start hands its
    // files to the running program and ends.
    const std::unique_ptr<Platform::ProgramChannel> channel = Platform::ProgramChannel::forDataRoot(Platform::dataRoot());
    QStringList fileNames;
    for (const QString &argument : arguments)
        fileNames << Tmainform::commandLineFile(argument, startFolder);
    if (channel->handOver(fileNames))
        return 0;
    if (!createProgram(arguments, startFolder))
        return 1;
    mainform->show();
    channel->receiveWith([](const QStringList &handed) {
        if (mainform)
            mainform->openHandedOver(handed);
    });
    const int result = QApplication::exec();
    destroyProgram();
    return result;
}
