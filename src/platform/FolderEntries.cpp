#include "platform/FolderEntries.h"

#include <algorithm>

#ifdef Q_OS_UNIX
#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace Platform {

bool listedBefore(const QString &a, const QString &b)
{
    const int ignoringCase = a.compare(b, Qt::CaseInsensitive);
    return ignoringCase != 0 ? ignoringCase < 0 : a < b;
}

namespace {

void sortByName(FolderListing &listing)
{
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry &a, const FolderEntry &b) { return listedBefore(a.name, b.name); });
}

} // namespace

#ifdef Q_OS_UNIX

namespace {

// The entry's kind from the folder's own record when the file system gives it, which spares a
// status call per entry on big trees; links are followed to see whether they lead to a folder.
void classify(int folderFd, const dirent &record, FolderEntry &entry)
{
    struct stat status {};
    const auto takeKind = [&entry, &status] {
        entry.folder = S_ISDIR(status.st_mode);
        entry.file = S_ISREG(status.st_mode);
    };
    switch (record.d_type) {
    case DT_DIR:
        entry.folder = true;
        return;
    case DT_REG:
        entry.file = true;
        return;
    case DT_LNK:
        entry.link = true;
        if (fstatat(folderFd, record.d_name, &status, 0) == 0)
            takeKind();
        return;
    case DT_UNKNOWN:
        if (fstatat(folderFd, record.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        entry.link = S_ISLNK(status.st_mode);
        if (!entry.link || fstatat(folderFd, record.d_name, &status, 0) == 0)
            takeKind();
        return;
    default:
        return;
    }
}

} // namespace

FolderListing listFolder(const QString &folder)
{
    FolderListing listing;
    DIR *handle = opendir(QFile::encodeName(folder).constData());
    if (!handle)
        return listing;
    listing.status = ListingStatus::Complete;
    const int fd = dirfd(handle);
    for (;;) {
        errno = 0;
        const dirent *record = readdir(handle);
        if (!record) {
            if (errno != 0)
                listing.status = ListingStatus::Interrupted;
            break;
        }
        const char *name = record->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        FolderEntry entry;
        entry.name = QFile::decodeName(name);
        classify(fd, *record, entry);
        listing.entries.append(std::move(entry));
    }
    closedir(handle);
    sortByName(listing);
    return listing;
}

#else

FolderListing listFolder(const QString &folder)
{
    FolderListing listing;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable())
        return listing;
    listing.status = ListingStatus::Complete;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo found = it.fileInfo();
        listing.entries.append({found.fileName(), found.isDir(), found.isFile(), found.isSymLink()});
    }
    sortByName(listing);
    return listing;
}

#endif

} // namespace Platform
