#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What the search in documents asks of the file system besides a folder's listing
// (FolderEntries.h): file names matched against a mask the way the Windows shell matches them,
// where a folder really lies, and the bytes of a file.
namespace Platform {

// Whether a file name matches a mask such as "*.txt" as the Windows shell matches it: "*" any
// run of characters, "?" one character, every other character itself with its letter case
// ignored; a mask ending in ".*" also takes names without an extension, so "*.*" takes every
// name.
bool fileMaskMatches(const QString &mask, const QString &name);

// The folder's own location with every link on the way resolved; empty when it does not exist.
QString realFolderPath(const QString &folder);

// Puts the whole file into bytes, whose memory is kept for the next file: a search reads thousands
// of files, and fresh memory for each costs more than reading it. False, bytes left empty, when the
// file cannot be read (gone, locked, a read error, too big for memory).
bool readWholeFile(const QString &path, QByteArray &bytes);

} // namespace Platform
