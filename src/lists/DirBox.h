#pragma once

#include <QListWidget>

// A folder chooser that shows the chosen folder with the folders above it, one row each.
class TDirBox : public QListWidget {
    Q_OBJECT
public:
    explicit TDirBox(QWidget *parent);

    // A folder that does not exist leaves the choice as it was.
    void setDirectory(const QString &folder);
    QString directory() const { return m_directory; }

private:
    QString m_directory;
};
