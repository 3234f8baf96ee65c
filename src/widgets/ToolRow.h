#pragma once

#include <QString>

class QToolBar;
class QWidget;

// A row of a window's tool panel. It never asks for more width than it gets: the controls that do
// not fit move into the overflow button ("»") at the row's right end, so a narrow window cuts
// nothing off and never grows wider than its frame.
QToolBar *toolRow(QWidget *parent, const QString &name);
// Room that takes the row's spare width, so that the controls added after it sit at the right end.
void addSpring(QToolBar *row);
