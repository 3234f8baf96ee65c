#include "widgets/Controls.h"

#include "platform/Designs.h"
#include "widgets/Hints.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

// A button that is not the action's own follows its enabled state and hint, and a click runs it.
void followAction(QAbstractButton *button, QAction *action)
{
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setToolTip(action->toolTip());
        button->setStatusTip(action->statusTip());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
}

} // namespace

QToolButton *iconActionButton(QWidget *parent, QAction *action, const QString &iconName)
{
    action->setIcon(Platform::designIcon(iconName));
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAccessibleName(action->toolTip());
    return button;
}

QToolButton *actionTextButton(QWidget *parent, QAction *action)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(action->objectName() + QStringLiteral("Button"));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAccessibleName(action->text());
    // A default action gives the button its icon text, which drops a trailing "...": the dots tell
    // the user that the command asks before it acts, so the caption is shown as it is. Qt puts the
    // icon text back on every change of the action, before the action's changed signal.
    const auto caption = [button, action] { button->setText(action->text()); };
    caption();
    QObject::connect(action, &QAction::changed, button, caption);
    return button;
}

QToolButton *captionedActionButton(QWidget *parent, QAction *action, const QString &caption)
{
    // Not the button's default action: that would put the action's caption back on every change.
    auto *button = new QToolButton(parent);
    button->setObjectName(action->objectName() + QStringLiteral("Button"));
    button->setText(caption);
    button->setAccessibleName(QString(caption).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified());
    followAction(button, action);
    return button;
}

QPushButton *actionPushButton(QWidget *parent, QAction *action)
{
    auto *button = new QPushButton(action->text(), parent);
    button->setObjectName(action->objectName() + QStringLiteral("Button"));
    button->setAccessibleName(action->text());
    button->setAutoDefault(false);
    followAction(button, action);
    return button;
}

QLabel *namedLabel(QWidget *parent, const QString &name, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *pushButton(QWidget *parent, const QString &name, const QString &caption, const QString &iconName,
                        const QString &hint)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (!iconName.isEmpty())
        button->setIcon(Platform::designIcon(iconName));
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    setHint(button, hint);
    button->setAutoDefault(false);
    return button;
}

QToolButton *textToolButton(QWidget *parent, const QString &name, const QString &caption, const QString &iconName,
                            const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(Platform::designIcon(iconName));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAccessibleName(caption);
    setHint(button, hint);
    return button;
}

QToolButton *iconToolButton(QWidget *parent, const QString &name, const QString &iconName, const QString &hint,
                            const QString &caption)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(Platform::designIcon(iconName));
    button->setAccessibleName(hint);
    setHint(button, hint);
    return button;
}

QLineEdit *namedEdit(QWidget *parent, const QString &name, const QString &hint, const QString &placeholder)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setPlaceholderText(placeholder);
    if (!hint.isEmpty()) {
        edit->setAccessibleName(hint);
        setHint(edit, hint);
    }
    return edit;
}

QLineEdit *readOnlyEdit(QWidget *parent, const QString &name, const QString &hint)
{
    QLineEdit *edit = namedEdit(parent, name, hint);
    edit->setReadOnly(true);
    return edit;
}

QListWidget *namedList(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    return list;
}
