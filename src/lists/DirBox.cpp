#include "lists/DirBox.h"

#include <QDir>
#include <QFileInfo>

TDirBox::TDirBox(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("dirBox"));
    setDirectory(QDir::homePath());
}

void TDirBox::setDirectory(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return;
    m_directory = QDir::toNativeSeparators(info.absoluteFilePath());
    clear();
    QStringList chain;
    for (QDir dir(info.absoluteFilePath());; ) {
        chain.prepend(dir.isRoot() ? QDir::toNativeSeparators(dir.absolutePath()) : dir.dirName());
        if (!dir.cdUp())
            break;
    }
    for (int i = 0; i < chain.size(); ++i)
        addItem(QString(i * 2, QLatin1Char(' ')) + chain[i]);
    setCurrentRow(count() - 1);
}
