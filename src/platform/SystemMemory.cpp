#include "platform/SystemMemory.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QByteArray>
#include <QFile>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace Platform {

std::optional<qint64> availableMemory()
{
#ifdef Q_OS_WIN
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return std::nullopt;
    return qint64(status.ullAvailPhys);
#else
    // Linux tells its estimate of what can be had without swapping as "MemAvailable: N kB".
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray key("MemAvailable:");
    for (QByteArray line = meminfo.readLine(); !line.isEmpty(); line = meminfo.readLine()) {
        if (!line.startsWith(key))
            continue;
        bool ok = false;
        const qint64 kilobytes = line.mid(key.size()).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? std::optional<qint64>(kilobytes * 1024) : std::nullopt;
    }
    return std::nullopt;
#endif
}

void giveLargeBlocksBack()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

} // namespace Platform
