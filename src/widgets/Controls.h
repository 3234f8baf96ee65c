#pragma once

#include <QString>

// The one home of the small factories for the controls of the main window and the boxes.

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
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

// A label known by its object name; its caption is shown as it stands, never as rich text.
QLabel *namedLabel(QWidget *parent, const QString &name, const QString &caption);
// A push button that Enter never presses: Enter belongs to the field or list that has the focus.
// Screen readers know it by its caption without the mnemonic's "&". An empty icon name gives it
// no icon.
QPushButton *pushButton(QWidget *parent, const QString &name, const QString &caption,
                        const QString &iconName = QString(), const QString &hint = QString());
// A tool button with its icon beside its caption.
QToolButton *textToolButton(QWidget *parent, const QString &name, const QString &caption, const QString &iconName,
                            const QString &hint);
// A tool button showing only its icon; screen readers (and the tests) know it by its hint. The
// caption, if any, shows only when the icon theme has no such icon.
QToolButton *iconToolButton(QWidget *parent, const QString &name, const QString &iconName, const QString &hint,
                            const QString &caption = QString());
// A field known by its object name and, for screen readers, by its hint. An empty hint gives it
// none; the placeholder shows while the field is empty.
QLineEdit *namedEdit(QWidget *parent, const QString &name, const QString &hint,
                     const QString &placeholder = QString());
// A field that shows a value the user does not type.
QLineEdit *readOnlyEdit(QWidget *parent, const QString &name, const QString &hint);
// A list known by its object name and, for screen readers, by its accessible name.
QListWidget *namedList(QWidget *parent, const QString &name, const QString &accessibleName);
