#include "platform/DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#include <lmcons.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace Platform {

QString dataRoot()
{
    QString root = qEnvironmentVariable("KYXTAVLO_DATA_ROOT");
    if (root.isEmpty()) {
#ifdef Q_OS_WIN
        root = QStringLiteral("C:\\kyxTavlo3\\");
#else
        root = QDir::homePath() + QStringLiteral("/kyxTavlo3/");
#endif
    }
    root = QDir::toNativeSeparators(root);
    if (!root.endsWith(QDir::separator()))
        root += QDir::separator();
    return root;
}

QString programFolder()
{
    // Where the program folder lies below the prefix, seen from the folder of the program itself,
    // as the build's install layout names it; so a package unpacked anywhere finds its own.
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(KYX_INSTALLED_PROGRAM_FOLDER));
    return programFolder(dataRoot(), installed);
}

QString programFolder(const QString &dataRoot, const QString &installedFolder)
{
    const QString own = joinPath(dataRoot, QStringLiteral("Program"));
    const QString chosen = !folderExists(own) && folderExists(installedFolder)
        ? QDir::toNativeSeparators(QDir::cleanPath(installedFolder))
        : own;
    return chosen + QDir::separator();
}

QString informationFolder()
{
    return programFolder() + QStringLiteral("Information");
}

QString settingsFolder()
{
    return dataRoot() + QStringLiteral("Brugere") + QDir::separator() + userName() + QDir::separator()
           + QStringLiteral("Egenskaber");
}

QString joinPath(const QString &a, const QString &b)
{
    if (a.isEmpty() || a.endsWith(QDir::separator()))
        return a + b;
    return a + QDir::separator() + b;
}

bool makeFolder(const QString &path)
{
    QFileInfo info(path);
    if (info.isDir())
        return true;
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

QString userName()
{
#ifdef Q_OS_WIN
    wchar_t buffer[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(buffer, &size) || size == 0)
        return {};
    return QString::fromWCharArray(buffer, int(size) - 1);
#else
    const passwd *entry = getpwuid(geteuid());
    if (!entry || !entry->pw_name)
        return {};
    return QString::fromLocal8Bit(entry->pw_name);
#endif
}

} // namespace Platform

namespace Platform {

bool fileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool folderExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

PathKind pathKind(const QString &path)
{
    if (path.isEmpty())
        return PathKind::None;
    const QFileInfo info(path);
    return info.isDir() ? PathKind::Folder : info.isFile() ? PathKind::File : PathKind::None;
}

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const auto name = [](const QString &path) {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
#ifdef Q_OS_WIN
    const auto foldAZ = [](QString text) {
        for (QChar &c : text)
            if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                c = QChar(c.unicode() + ('a' - 'A'));
        return text;
    };
    return foldAZ(name(a)) == foldAZ(name(b));
#else
    return name(a) == name(b);
#endif
}

} // namespace Platform
