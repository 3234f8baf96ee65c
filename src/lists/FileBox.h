#pragma once

#include <QListView>

class TFileListModel;

// The files of a folder with their icons; several can be selected at once. Icons are looked up
// only for the rows that are drawn, so a folder of tens of thousands of files lists at once.
class TFileBox : public QListView {
    Q_OBJECT
public:
    explicit TFileBox(QWidget *parent);

    // Lists every file of the folder, as the mask "*.*" does on Windows (names without a dot too).
    void setDirectory(const QString &folder);
    QString directory() const { return m_directory; }
    // Reads the folder again; a hidden list reads it when it is shown.
    void refresh();

    int count() const;
    QString name(int row) const;
    // The name of the file at the cursor when that entry is selected, else empty.
    QString fileName() const;
    // Its full path, or empty.
    QString filePath() const;
    // The full paths of the selected entries, first to last.
    QStringList selectedFilePaths() const;

signals:
    // The cursor or the selection changed.
    void Change();
    // A double click anywhere in the list.
    void DblClick();
    // Enter, Return or Space.
    void openKey();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString pathOf(int row) const;

    TFileListModel *m_model = nullptr;
    QString m_directory;
};
