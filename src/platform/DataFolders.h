#pragma once

#include <QString>

// Where the program keeps its data, and who is using it.
namespace Platform {

// The data root with a trailing separator: KYXTAVLO_DATA_ROOT when set, else "C:\kyxTavlo3\" on
// Windows and $HOME/kyxTavlo3/ elsewhere.
QString dataRoot();

// a + separator + b, with the native separator; a may or may not end in one.
QString joinPath(const QString &a, const QString &b);

// Creates the folder with every missing parent; true when it exists afterwards.
bool makeFolder(const QString &path);

// The logged-on user's name; empty when it cannot be read.
QString userName();

} // namespace Platform

namespace Platform {
// A file, not a folder, of that name exists (as the Windows FileExists).
bool fileExists(const QString &path);
bool folderExists(const QString &path);
} // namespace Platform
