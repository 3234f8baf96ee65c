#pragma once

#include <QString>

class QAction;
class QToolButton;
class QWidget;

// A button showing only the action's icon; screen readers (and the tests) know it by its hint.
QToolButton *iconActionButton(QWidget *parent, QAction *action, const QString &iconName);
