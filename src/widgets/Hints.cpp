#include "widgets/Hints.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QStatusTipEvent>
#include <QToolTip>
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
    // A control whose hint changes under the pointer (a button that names what its next click
    // does) shows the new hint at once; the one on show would tell the state before the click.
    if (widget->underMouse()) {
        QStatusTipEvent tip(longHint(hint));
        QCoreApplication::sendEvent(widget, &tip);
        if (QToolTip::isVisible())
            QToolTip::showText(QCursor::pos(), shortHint(hint), widget);
    }
}

void setHint(QAction *action, const QString &hint)
{
    action->setToolTip(shortHint(hint));
    action->setStatusTip(longHint(hint));
}
