#include "platform/FolderListing.h"

#include <QDir>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Platform {

namespace {

QString withTrailingSeparator(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

#ifndef Q_OS_WIN
bool isNetworkFileSystem(const QByteArray &type)
{
    static const QSet<QByteArray> network{"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "fuse.sshfs", "davfs"};
    return network.contains(type);
}

bool isOpticalDisc(const QByteArray &device, const QByteArray &type)
{
    return device.startsWith("/dev/sr") || device.startsWith("/dev/cdrom") || type == "iso9660" || type == "udf";
}
#endif

// QDir::entryList builds a file information record for every name, which doubles the time
// a folder of tens of thousands of files takes; the iterator gives the names alone.
QStringList namesIn(const QString &folder, QDir::Filters filters)
{
    QStringList names;
    for (QDirIterator it(folder, filters); it.hasNext();) {
        it.next();
        names << it.fileName();
    }
    // Names that differ only in letter case keep one order, whatever the folder gave.
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

QFileIconProvider &iconProvider()
{
    static QFileIconProvider provider;
    return provider;
}

} // namespace

QList<Drive> drives()
{
    QList<Drive> found;
    QSet<QString> roots;
    const auto add = [&](const QString &rootPath, const QString &label, Drive::Kind kind) {
        const QString root = withTrailingSeparator(rootPath);
        if (!roots.contains(root)) {
            roots.insert(root);
            found.append({root, label, kind});
        }
    };
#ifndef Q_OS_WIN
    // In a container the root is an overlay, not a disk, yet it is where every folder hangs.
    add(QDir::rootPath(), QString(), Drive::Kind::Disk);
#endif
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid())
            continue;
        Drive::Kind kind = Drive::Kind::Disk;
#ifdef Q_OS_WIN
        // Fixed, network and CD-ROM drives; removable media and RAM disks are left out.
        const QString root = QDir::toNativeSeparators(volume.rootPath());
        switch (GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16()))) {
        case DRIVE_FIXED:
            break;
        case DRIVE_REMOTE:
            kind = Drive::Kind::Network;
            break;
        case DRIVE_CDROM:
            kind = Drive::Kind::Optical;
            break;
        default:
            continue;
        }
#else
        const QByteArray device = volume.device();
        const QByteArray type = volume.fileSystemType();
        if (!volume.isReady() || !QFileInfo(volume.rootPath()).isDir())
            continue;
        if (isNetworkFileSystem(type))
            kind = Drive::Kind::Network;
        else if (isOpticalDisc(device, type))
            kind = Drive::Kind::Optical;
        else if (!device.startsWith("/dev/") || type == "squashfs")
            continue;
#endif
        add(volume.rootPath(), volume.name(), kind);
    }
    // The root is a prefix of every other root, so it sorts first.
    std::sort(found.begin(), found.end(), [](const Drive &a, const Drive &b) { return a.root < b.root; });
    return found;
}

QStringList subfolderNames(const QString &folder)
{
    return namesIn(folder, QDir::Dirs | QDir::NoDotAndDotDot);
}

QStringList fileNames(const QString &folder)
{
    return namesIn(folder, QDir::Files);
}

QString nearestExistingFolder(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    QString candidate = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(candidate).isDir()) {
        const QString parent = QFileInfo(candidate).absolutePath();
        if (parent == candidate)
            return {};
        candidate = parent;
    }
    return QDir::toNativeSeparators(candidate);
}

QIcon fileIcon(const QString &path)
{
    return iconProvider().icon(QFileInfo(path));
}

QIcon folderIcon(bool open)
{
    if (open) {
        const QIcon themed = QIcon::fromTheme(QStringLiteral("folder-open"));
        if (!themed.isNull())
            return themed;
    }
    return iconProvider().icon(QAbstractFileIconProvider::Folder);
}

QIcon driveIcon(Drive::Kind kind)
{
    switch (kind) {
    case Drive::Kind::Optical:
        return QIcon::fromTheme(QStringLiteral("drive-optical"), iconProvider().icon(QAbstractFileIconProvider::Drive));
    case Drive::Kind::Network:
        return iconProvider().icon(QAbstractFileIconProvider::Network);
    case Drive::Kind::Disk:
        break;
    }
    return iconProvider().icon(QAbstractFileIconProvider::Drive);
}

} // namespace Platform
