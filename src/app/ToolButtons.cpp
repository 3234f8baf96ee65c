#include "app/ToolButtons.h"

#include <QAction>
#include <QIcon>
#include <QToolButton>

QToolButton *iconActionButton(QWidget *parent, QAction *action, const QString &iconName)
{
    action->setIcon(QIcon::fromTheme(iconName));
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAccessibleName(action->toolTip());
    return button;
}
