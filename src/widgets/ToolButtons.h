#pragma once

#include <QString>

class QAction;
class QPushButton;
class QToolButton;
class QWidget;

// A button showing only the action's icon; screen readers (and the tests) know it by its hint.
QToolButton *iconActionButton(QWidget *parent, QAction *action, const QString &iconName);
// A button showing the action's caption as it is, trailing "..." included.
QToolButton *actionTextButton(QWidget *parent, QAction *action);
// A button for the action with a caption of its own ("\n" breaks it into lines); it follows the
// action's enabled state and hint.
QToolButton *captionedActionButton(QWidget *parent, QAction *action, const QString &caption);
// A raised button for the action, for a command that stands among labels and fields, where a flat
// button would read as one more label. It shows the action's caption and follows its enabled state
// and hint.
QPushButton *actionPushButton(QWidget *parent, QAction *action);
