#include "lists/FileBox.h"

#include "platform/FolderListing.h"

#include <QAbstractListModel>
#include <QDir>
#include <QKeyEvent>
#include <QVector>

#include <algorithm>

// The names of a folder's files; an icon is looked up the first time its row is drawn.
class TFileListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void load(const QString &folder)
    {
        beginResetModel();
        m_folder = folder;
        m_names = folder.isEmpty() ? QStringList() : Platform::fileNames(folder);
        m_icons = QVector<QIcon>(m_names.size());
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_names.size()); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_names.size())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return m_names[index.row()];
        case Qt::DecorationRole: {
            QIcon &icon = m_icons[index.row()];
            if (icon.isNull())
                icon = Platform::fileIcon(path(index.row()));
            return icon;
        }
        default:
            return {};
        }
    }

    QString name(int row) const { return row >= 0 && row < m_names.size() ? m_names[row] : QString(); }
    QString path(int row) const
    {
        const QString entry = name(row);
        return entry.isEmpty() ? QString() : QDir::toNativeSeparators(QDir(m_folder).filePath(entry));
    }

private:
    QString m_folder;
    QStringList m_names;
    mutable QVector<QIcon> m_icons;
};

TFileBox::TFileBox(QWidget *parent)
    : QListView(parent)
    , m_model(new TFileListModel(this))
{
    setObjectName(QStringLiteral("fileBox"));
    setAccessibleName(QStringLiteral("Filer"));
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &TFileBox::Change);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFileBox::Change);
}

void TFileBox::setDirectory(const QString &folder)
{
    m_directory = folder;
    refresh();
}

void TFileBox::refresh()
{
    // A hidden list is read when it is shown; the chosen folder moves with every document that
    // comes forward.
    if (!isVisible())
        return;
    m_model->load(m_directory);
    emit Change();
}

int TFileBox::count() const
{
    return m_model->rowCount();
}

QString TFileBox::name(int row) const
{
    return m_model->name(row);
}

QString TFileBox::pathOf(int row) const
{
    return m_model->path(row);
}

QString TFileBox::fileName() const
{
    const QModelIndex cursor = currentIndex();
    if (!cursor.isValid() || !selectionModel()->isSelected(cursor))
        return {};
    return name(cursor.row());
}

QString TFileBox::filePath() const
{
    const QModelIndex cursor = currentIndex();
    if (!cursor.isValid() || !selectionModel()->isSelected(cursor))
        return {};
    return pathOf(cursor.row());
}

QStringList TFileBox::selectedFilePaths() const
{
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList paths;
    for (const QModelIndex &row : rows)
        paths << pathOf(row.row());
    return paths;
}

void TFileBox::showEvent(QShowEvent *event)
{
    // Files come and go while the box is hidden.
    refresh();
    QListView::showEvent(event);
}

void TFileBox::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Space stays the list's own: it selects or deselects the entry at the cursor.
    const bool space = event->key() == Qt::Key_Space && !(event->modifiers() & Qt::ControlModifier);
    if (space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit openKey();
        return;
    }
    QListView::keyPressEvent(event);
}

void TFileBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    emit DblClick();
}
