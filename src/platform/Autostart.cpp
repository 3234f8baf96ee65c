#include "platform/Autostart.h"

#include "platform/DataFolders.h"

#include <QDir>

namespace Platform {

QString startupFolder(const QString &userName)
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Users\\") + userName
        + QStringLiteral("\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
#else
    Q_UNUSED(userName);
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart");
#endif
}

bool provideStartupFolder(const QString &folder)
{
#ifdef Q_OS_WIN
    return folderExists(folder);
#else
    return makeFolder(folder);
#endif
}

QString shortcutFileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("kyxTavlo.lnk");
#else
    return QStringLiteral("kyxTavlo.desktop");
#endif
}

QString shortcutScriptName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("createShortcut.vbs");
#else
    return QStringLiteral("createShortcut.sh");
#endif
}

} // namespace Platform
