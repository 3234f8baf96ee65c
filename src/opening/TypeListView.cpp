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

namespace {

FileType rowType(const QTreeWidgetItem *row)
{
    return {row->text(0), row->text(1), row->checkState(0) == Qt::Checked};
}

} // namespace

QTreeWidgetItem *newTypeRow(const FileType &type)
{
    auto *row = new QTreeWidgetItem({type.text, type.mask});
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    row->setCheckState(0, type.offered ? Qt::Checked : Qt::Unchecked);
    return row;
}

QList<FileType> typeRows(const QTreeWidget *list)
{
    QList<FileType> types;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        types.append(rowType(list->topLevelItem(i)));
    return types;
}

void showTypeRows(QTreeWidget *list, const QList<FileType> &types)
{
    list->clear();
    for (const FileType &type : types)
        list->addTopLevelItem(newTypeRow(type));
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
    QTreeWidgetItem *row = newTypeRow(rowType(old));
    delete old;
    list->insertTopLevelItem(to, row);
    return row;
}
