#pragma once

#include <QString>

class QAction;
class QWidget;

// A hint is "short|long" or just one text for both: the short part is the tooltip, the long part
// goes to the status line.
QString shortHint(const QString &hint);
QString longHint(const QString &hint);
void setHint(QWidget *widget, const QString &hint);
void setHint(QAction *action, const QString &hint);
