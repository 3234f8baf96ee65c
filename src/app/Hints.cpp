#include "app/Hints.h"

#include <QAction>
#include <QWidget>

QString shortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(shortHint(hint));
    widget->setStatusTip(longHint(hint));
    widget->setAccessibleDescription(longHint(hint));
}

void setHint(QAction *action, const QString &hint)
{
    action->setToolTip(shortHint(hint));
    action->setStatusTip(longHint(hint));
}
