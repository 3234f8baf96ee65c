#pragma once

#include <QList>
#include <QString>

// Every entry of one folder, as the system enumerates it: for walking a whole folder tree by name.
namespace Platform {

struct FolderEntry {
    QString name;
    // Carries the directory attribute: a folder, or a link that leads to one.
    bool folder = false;
    // A symbolic link or junction: it leads somewhere else, so a walk should not enter it.
    bool link = false;
};

enum class ListingStatus {
    Complete,
    // The folder could not be opened for listing (gone, no permission, not a folder).
    NotOpened,
    // The listing broke off part-way; the entries read before the failure are given.
    Interrupted,
};

struct FolderListing {
    ListingStatus status = ListingStatus::NotOpened;
    QList<FolderEntry> entries;
};

// All entries of the folder, hidden and system ones included, "." and ".." left out, in the
// order of the system's enumeration. Reads the whole folder and closes it before returning, so a
// deep walk holds no folder open.
FolderListing listFolder(const QString &folder);

} // namespace Platform
