#pragma once

#include <QString>

// Where the program keeps its data, and who is using it.
namespace Platform {

// The data root with a trailing separator: KYXTAVLO_DATA_ROOT when set, else "C:\kyxTavlo3\" on
// Windows and $HOME/kyxTavlo3/ elsewhere.
QString dataRoot();

// The program folder (help pages, scripts) with a trailing separator: the data root's "Program"
// folder where it exists; else the folder that an installation keeps below its prefix
// (share/kyxtavlo beside the program's bin folder) where that exists; else the data root's
// "Program" folder still, which a set-up may lay out later.
QString programFolder();
// The same choice between a given data root and installed program folder.
QString programFolder(const QString &dataRoot, const QString &installedFolder);

// The program's help pages, without a trailing separator: the program folder + "Information".
QString informationFolder();

// The user's settings folder, without a trailing separator: the data root + "Brugere", the user's
// name, "Egenskaber". Every settings and list file of the user lies in it.
QString settingsFolder();

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
enum class PathKind { None, File, Folder };
// Which of the two stands at path, asked of the file system once.
PathKind pathKind(const QString &path);
// Whether two names name the same file, as the file system tells names apart: on Windows letter
// case A to Z does not count; elsewhere names differing in case are different files, and two
// names of one existing file (through a link, "..", a second slash) are the same.
bool sameFile(const QString &a, const QString &b);
} // namespace Platform
