#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One entry of a file type list ("ExtListe.txt", the search box's "Filtertyper.txt"): the text
// shown for it, its mask ("*.txt"), and whether it is offered (ticked).
struct FileType {
    QString text;
    QString mask;
    bool offered = true;

    friend bool operator==(const FileType &, const FileType &) = default;
};

// The common types of text files, every one offered: the list a user starts with. A function, so
// that the program's other lists made from it at start-up find it made.
QList<FileType> textFileTypes();

// A file type list's lines hold three lines an entry: the text, the mask, and a mark that offers
// the entry only when it is exactly "1". One or two lines after the last whole entry make no
// entry; when unfinished is given, they are put there (a text, and a mask when there are two
// lines), not offered.
QList<FileType> readFileTypes(const QStringList &lines, std::optional<FileType> *unfinished = nullptr);
QStringList fileTypeLines(const QList<FileType> &types);
