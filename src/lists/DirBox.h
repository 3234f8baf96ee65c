#pragma once

#include <QListWidget>

// The folder list: the chosen folder with the folders above it, each a step further in, and the
// folders inside it below. A double click or Enter on a folder chooses it. The chosen folder is
// also the program's current folder.
class TDirBox : public QListWidget {
    Q_OBJECT
public:
    explicit TDirBox(QWidget *parent);

    // A folder that does not exist leaves the choice as it was; returns whether it was chosen.
    bool setDirectory(const QString &folder);
    // Native separators, no trailing separator except at a root ("/", "C:\").
    QString directory() const { return m_directory; }
    // Reads the folders again; a hidden list reads them when it is shown.
    void refresh();

    // The full path of a row.
    static constexpr int PathRole = Qt::UserRole;
    // How many steps in a row is drawn.
    static constexpr int DepthRole = Qt::UserRole + 1;

signals:
    void directoryChanged(const QString &folder);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void chooseRow(const QListWidgetItem *item);

    QString m_directory;
};
