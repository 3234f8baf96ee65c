#include "platform/Shell.h"

#include "platform/Seam.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace Platform {

namespace {

#ifdef Q_OS_WIN
class WindowsShell : public Shell {
public:
    int execute(const QString &operation, const QString &file, const QString &parameters,
                const QString &folder) override
    {
        const auto result = ShellExecuteW(nullptr, reinterpret_cast<LPCWSTR>(operation.utf16()),
                                          reinterpret_cast<LPCWSTR>(file.utf16()),
                                          reinterpret_cast<LPCWSTR>(parameters.utf16()),
                                          folder.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(folder.utf16()),
                                          SW_SHOWNORMAL);
        return int(reinterpret_cast<INT_PTR>(result));
    }
};
using RealShell = WindowsShell;
#else
class DesktopShell : public Shell {
public:
    int execute(const QString &operation, const QString &file, const QString &parameters,
                const QString &folder) override
    {
        if (file == QLatin1String("cmd") && parameters.startsWith(QLatin1String("/K ")))
            return runBatchInTerminal(parameters.mid(3), folder);

        const QString path = QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(file);
        const QFileInfo info(path);
        if (!info.exists())
            return QFileInfo(info.absolutePath()).isDir() ? ShellCode::FileNotFound : ShellCode::PathNotFound;
        if (!info.isReadable())
            return ShellCode::AccessDenied;
        if (operation == QLatin1String("open") && info.isFile() && info.isExecutable()) {
            return QProcess::startDetached(info.absoluteFilePath(), QProcess::splitCommand(parameters),
                                           info.absolutePath())
                ? ShellCode::Success
                : ShellCode::AccessDenied;
        }
        // Desktops outside Windows have no separate edit verb: the associated program opens it.
        return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()))
            ? ShellCode::Success
            : ShellCode::NoAssociation;
    }

private:
    static int runBatchInTerminal(const QString &batchFile, const QString &folder)
    {
        const QFileInfo info(QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(batchFile));
        if (!info.exists())
            return ShellCode::FileNotFound;
        for (const char *terminal : {"x-terminal-emulator", "xterm", "konsole", "gnome-terminal"}) {
            const QString program = QStandardPaths::findExecutable(QString::fromLatin1(terminal));
            if (program.isEmpty())
                continue;
            // The shell stays open after the script, as "cmd /K" does.
            const QStringList arguments{QStringLiteral("-e"), QStringLiteral("sh"), QStringLiteral("-c"),
                                        QStringLiteral("sh \"$0\"; exec \"${SHELL:-/bin/sh}\""),
                                        info.absoluteFilePath()};
            if (QProcess::startDetached(program, arguments, info.absolutePath()))
                return ShellCode::Success;
        }
        return ShellCode::NoAssociation;
    }
};
using RealShell = DesktopShell;
#endif


} // namespace

Shell &shell()
{
    return Seam<Shell>::get<RealShell>();
}

void setShell(Shell *fake)
{
    Seam<Shell>::replace(fake);
}

} // namespace Platform
