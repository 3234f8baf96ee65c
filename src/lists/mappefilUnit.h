#pragma once

#include "widgets/Box.h"

class QComboBox;
class QLineEdit;
class QToolButton;
class TAction;
class TDirBox;
class TFileBox;

// "Mapper og filer": drives, the folders of the chosen drive and the files of the chosen folder,
// from which files are opened for editing or run. Its chosen folder is shared: the document
// windows move it to the active document's folder and the search boxes start from it.
class Tmappefilform : public TBox {
    Q_OBJECT
public:
    explicit Tmappefilform(QWidget *parent);

    void FormCreate() override;
    // Settings file "mappefilUnit.txt": width, height, left, top and the chosen folder.
    void HentOpt();
    void GemOpt();
    void defaultOpt();

    // Opens every selected file, first to last.
    void openFile();

    // True until the first resize, which leaves the panes as they are.
    bool opstart = true;
    QString optFilnavn;

    QWidget *dirPanel = nullptr;
    TDirBox *dirBox = nullptr;
    QComboBox *diskBox = nullptr;
    QWidget *filPanel = nullptr;
    TFileBox *fileBox = nullptr;
    QLineEdit *fileEditBox = nullptr;
    QToolButton *runButton = nullptr;
    QToolButton *editButton = nullptr;
    TAction *runFile = nullptr;
    TAction *editFile = nullptr;

public slots:
    // Every way of closing the shown box (Escape, the window's close button) ends here.
    void FormClose() override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fileBoxDblClick();
    void fileBoxKeyPress();
    void runButtonClick();
    void editButtonClick();
    void diskBoxChange(int index);
    void fileBoxChange();
    void dirBoxChange(const QString &folder);
    void fillDiskBox();
    // The drive box shows the drive that holds the chosen folder.
    void showDriveOf(const QString &folder);
    // The selected file at the cursor, when it still exists.
    QString chosenFile() const;
};
