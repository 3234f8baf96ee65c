#pragma once

#include <QAction>
#include <functional>

// A command of the program: caption, hint, optional shortcut, an update rule for its enabled
// state and its execute step (the triggered signal). Update rules run when the program is idle.
class TAction : public QAction {
    Q_OBJECT
public:
    TAction(QObject *parent, const QString &name, const QString &caption, const QString &hint,
            const QKeySequence &shortcut = {}, Qt::ShortcutContext context = Qt::WindowShortcut);

    void setUpdateRule(std::function<bool()> rule) { m_rule = std::move(rule); }
    // "short|long", as for every hint of the program.
    void setHint(const QString &hint);
    void update();
    // Runs the command if its rule allows it now; the rule is asked at once rather than at the
    // next idle moment, as keys and clicks that stand in for the command's own button need.
    void Execute();

    // Runs every update rule of the program now; also done whenever the event loop is about to
    // wait.
    static void updateAll();
    static void installIdleUpdates();

private:
    std::function<bool()> m_rule;
};
