#pragma once

#include "opening/FileType.h"

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// A list of file types, a display text and a mask a row, each with a tick: the file type box and
// the search box show theirs the same way.
QTreeWidget *newTypeListView(QWidget *parent, int textColumnWidth);
QTreeWidgetItem *newTypeRow(const FileType &type);
// The rows of the list as they stand, ticks included, and a list shown anew.
QList<FileType> typeRows(const QTreeWidget *list);
void showTypeRows(QTreeWidget *list, const QList<FileType> &types);
// A typed type as a mask: "txt", ".txt" and "*.txt" all give "*.txt", "a.b.c" gives "*.c", and
// "*.*" comes out as itself (what follows its last dot is "*").
QString normalisedMask(const QString &typed);
// Moves a row with its text, mask and tick from one place to another; returns it.
QTreeWidgetItem *moveTypeRow(QTreeWidget *list, int from, int to);
