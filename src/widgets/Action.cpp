#include "widgets/Action.h"

#include "widgets/Hints.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QList>
#include <QPointer>

namespace {
QList<QPointer<TAction>> &allActions()
{
    static QList<QPointer<TAction>> actions;
    return actions;
}
} // namespace

TAction::TAction(QObject *parent, const QString &name, const QString &caption, const QString &hint,
                 const QKeySequence &shortcut, Qt::ShortcutContext context)
    : QAction(caption, parent)
{
    setObjectName(name);
    ::setHint(this, hint);
    if (!shortcut.isEmpty()) {
        setShortcut(shortcut);
        setShortcutContext(context);
    }
    allActions().append(this);
}

void TAction::setHint(const QString &hint)
{
    ::setHint(this, hint);
}

void TAction::update()
{
    if (m_rule)
        setEnabled(m_rule());
}

void TAction::Execute()
{
    update();
    if (isEnabled())
        trigger();
}

void TAction::updateAll()
{
    QList<QPointer<TAction>> &actions = allActions();
    actions.removeAll(nullptr);
    // A rule may create or destroy windows; work on a copy.
    const QList<QPointer<TAction>> snapshot = actions;
    for (const QPointer<TAction> &action : snapshot)
        if (action)
            action->update();
}

void TAction::installIdleUpdates()
{
    static bool installed = false;
    if (installed)
        return;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    // The rules run once each time the program falls idle after it woke for something, however
    // often the loop asks in between. A rule that changes nothing posts nothing, so an idle
    // program sleeps until the user or the system wakes it.
    static bool woken = true;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, qApp, [] { woken = true; });
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, qApp, [] {
        if (!woken)
            return;
        woken = false;
        updateAll();
    });
    installed = true;
}
