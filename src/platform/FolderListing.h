#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

// What the folder-and-file browser asks of the file system: the drives, the folders and files
// of a folder, their icons, and the process's current folder.
namespace Platform {

struct Drive {
    enum class Kind { Disk, Optical, Network };
    QString root;  // native separators, ending in one ("/", "C:\", "/media/usb/")
    QString label; // the volume's name, empty when it has none
    Kind kind = Kind::Disk;
};

// The drives a user browses: on Windows the fixed, network and CD-ROM drives, elsewhere the root
// and the mounted volumes that are real disks, optical discs or network shares (no pseudo or snap
// file systems). Sorted by their roots, so "/" comes first.
QList<Drive> drives();

// The folders and the files of a folder, by name with letter case ignored; hidden ones are left
// out. An unreadable or vanished folder has none.
QStringList subfolderNames(const QString &folder);
QStringList fileNames(const QString &folder);

// The folder itself when it exists, else the nearest folder above it that does; empty when none.
QString nearestExistingFolder(const QString &folder);

// The desktop's icon for a file, for a folder (open: on the way to the chosen folder) and for a
// drive.
QIcon fileIcon(const QString &path);
QIcon folderIcon(bool open);
QIcon driveIcon(Drive::Kind kind);

} // namespace Platform
