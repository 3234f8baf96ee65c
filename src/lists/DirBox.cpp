#include "lists/DirBox.h"

#include "platform/FolderListing.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {

constexpr int Indent = 12;

// Draws each row a step further in for every folder above it.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex &index) { return index.data(TDirBox::DepthRole).toInt() * Indent; }
};

} // namespace

TDirBox::TDirBox(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("dirBox"));
    setAccessibleName(QStringLiteral("Mapper"));
    setItemDelegate(new IndentDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

bool TDirBox::setDirectory(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QString chosen = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    if (chosen == m_directory)
        return true;
    m_directory = chosen;
    refresh();
    emit directoryChanged(m_directory);
    return true;
}

void TDirBox::refresh()
{
    // The document windows move the folder at every activation; reading it for a list nobody
    // sees would only slow them down. Showing the list reads it.
    if (!isVisible())
        return;
    clear();
    if (m_directory.isEmpty())
        return;
    QStringList above;
    QStringList paths;
    for (QDir dir(m_directory);;) {
        above.prepend(dir.isRoot() ? QDir::toNativeSeparators(dir.absolutePath()) : dir.dirName());
        paths.prepend(QDir::toNativeSeparators(dir.absolutePath()));
        if (!dir.cdUp())
            break;
    }
    const QIcon open = Platform::folderIcon(true);
    for (int i = 0; i < above.size(); ++i) {
        auto *row = new QListWidgetItem(open, above[i], this);
        row->setData(PathRole, paths[i]);
        row->setData(DepthRole, i);
    }
    QListWidgetItem *chosen = item(count() - 1);
    const QIcon closed = Platform::folderIcon(false);
    const int depth = int(above.size());
    for (const QString &name : Platform::subfolderNames(m_directory)) {
        auto *row = new QListWidgetItem(closed, name, this);
        row->setData(PathRole, QDir::toNativeSeparators(QDir(m_directory).filePath(name)));
        row->setData(DepthRole, depth);
    }
    setCurrentItem(chosen);
    scrollToItem(chosen);
}

void TDirBox::showEvent(QShowEvent *event)
{
    // Folders come and go while the box is hidden.
    refresh();
    QListWidget::showEvent(event);
}

void TDirBox::chooseRow(const QListWidgetItem *item)
{
    if (!item)
        return;
    // A folder removed since the list was read takes the list back to what is there.
    if (!setDirectory(item->data(PathRole).toString()))
        refresh();
}

void TDirBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        chooseRow(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TDirBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    chooseRow(itemAt(event->position().toPoint()));
}
