#include "opening/TypeListView.h"

#include <QHeaderView>
#include <QTreeWidget>

QTreeWidget *newTypeListView(QWidget *parent, int textColumnWidth)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("typeliste"));
    list->setAccessibleName(QStringLiteral("Filtyper"));
    list->setColumnCount(2);
    list->setHeaderLabels({QStringLiteral("Tekst"), QStringLiteral("Type")});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setColumnWidth(0, textColumnWidth);
    list->header()->setSectionsMovable(false);
    return list;
}

QTreeWidgetItem *newTypeRow(const QString &text, const QString &mask, bool ticked)
{
    auto *row = new QTreeWidgetItem({text, mask});
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    row->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    return row;
}

QString normalisedMask(const QString &typed)
{
    // Spaces around a typed type are never meant as part of it.
    const QString type = typed.trimmed();
    return QStringLiteral("*.") + type.mid(type.lastIndexOf(QLatin1Char('.')) + 1);
}

QTreeWidgetItem *moveTypeRow(QTreeWidget *list, int from, int to)
{
    // A new row, not the taken one put back: the view keeps no selection or state of the old.
    QTreeWidgetItem *old = list->takeTopLevelItem(from);
    QTreeWidgetItem *row = newTypeRow(old->text(0), old->text(1), old->checkState(0) == Qt::Checked);
    delete old;
    list->insertTopLevelItem(to, row);
    return row;
}
