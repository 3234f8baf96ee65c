#pragma once

#include <QList>
#include <QString>

// Every entry of one folder, by name: for walking a whole folder tree by name.
namespace Platform {

struct FolderEntry {
    QString name;
    // Carries the directory attribute: a folder, or a link that leads to one.
    bool folder = false;
    // An ordinary file, or a link to one: not a folder, a device or a pipe.
    bool file = false;
    // A symbolic link, wherever it leads: only through a link can a walk come to a folder twice.
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

// All entries of the folder, hidden and system ones included, "." and ".." left out, by name
// (listedBefore). Reads the whole folder and closes it before returning, so a deep walk holds no
// folder open.
FolderListing listFolder(const QString &folder);

// Whether name a comes before name b in a folder listed by name: letter case ignored, the order
// in which Windows lists a folder of its own disks, on every system; names that differ only in
// letter case by their exact text. A walk cut short then takes the same names everywhere.
bool listedBefore(const QString &a, const QString &b);

} // namespace Platform
