#pragma once

#include <QStringList>

// Creates the main window and then every box, each running its create step before the next is
// made. Returns false (after telling the user) when the user's data folders cannot be made;
// nothing is left created then. args are the command-line file names, relative ones taken from
// startFolder, the working folder the program was started in.
bool createProgram(const QStringList &args, const QString &startFolder);
// Frees the boxes and the main window.
void destroyProgram();
