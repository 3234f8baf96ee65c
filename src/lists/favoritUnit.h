#pragma once

#include "widgets/Box.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;
class TAction;
class TReopenFilerX;

// The user's named favourite lists of documents. Each list is an item file "<name>.txt" in the
// favourites folder; the left pane lists those files, the right pane shows and edits the current
// list, FavFiler. The box remembers its geometry and the current list's name in "favoritUnit.txt".
class Tfavoritform : public TBox {
    Q_OBJECT
public:
    explicit Tfavoritform(QWidget *parent);

    void FormCreate() override;

    // Settings file "favoritUnit.txt": width, height, left, top and the current list's name.
    void HentOpt();
    void GemOpt();
    void defaultOpt();

    // Fills the left list with the names of the list files.
    void LoadFillister();
    // Makes the list aListename current, after offering to save unsaved changes. A missing list
    // file is reported only when medInfo is true.
    void LoadListe(const QString &aListename, bool medInfo);
    // The "Opdater" button: reloads the list names and copes with a current list whose file has
    // been renamed or deleted in the file manager.
    void opdaterButtonClick();
    // Shows the folder of aFilename (or the folder aFilename) in the file manager.
    void openMappe(const QString &aFilename);
    void openDirectory(const QString &aFoldername);

    // Events of the current list's rows.
    void FavFilerListeKlik(const QString &Capnavn, const QString &Filnavn);
    void FavFilerDblListeKlik(const QString &Capnavn, const QString &Filnavn);

    // The row selected in the item list, or -1.
    int selectedRow() const;
    // The status bar's text.
    QString infoText() const;

    bool opstart = false;
    int fillistenIndex = -1;
    // The current list's name (no folder, no ".txt"); also what a settings file cut short keeps.
    QString FavFilerFilename = QStringLiteral("Favoritter");
    // The favourites folder, with a trailing separator.
    QString Listemappe;
    QString optFilnavn;
    // The current list has changes that are not saved.
    bool ListeForandret = false;
    TReopenFilerX *FavFiler = nullptr;

    // Left pane.
    QWidget *opretPanel = nullptr;
    QListWidget *fillisten = nullptr;
    QLineEdit *gemEdit = nullptr;
    QPushButton *opdaterButton = nullptr;
    QPushButton *redigerButton = nullptr;
    // Right pane.
    QWidget *favfilerPanel = nullptr;
    QLabel *fillisteNavn = nullptr;
    QListWidget *favFilerListe = nullptr;
    QLineEdit *RenamFEdit = nullptr;
    QStatusBar *statusBar = nullptr;
    QLabel *infoBar = nullptr;

    TAction *Fabc = nullptr;
    TAction *FLop = nullptr;
    TAction *FLned = nullptr;
    TAction *FLsletValgte = nullptr;
    TAction *FLsletAlle = nullptr;
    TAction *FLopenEdit = nullptr;
    TAction *FLVisMappe = nullptr;
    // Puts the main window's active document into the current list.
    TAction *insertFil = nullptr;
    TAction *aGemFilliste = nullptr;
    TAction *FLRenameCaption = nullptr;
    TAction *aGemNytNavn = nullptr;

    // Asks about (or saves) a changed list, then writes the settings file.
    void FormClose() override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildActions();
    void buildControls();
    void createMappe();
    void FormShow();
    void FormResize();
    void FabcExecute();
    void FLopExecute();
    void FLnedExecute();
    void FLsletValgteExecute();
    void FLsletAlleExecute();
    void FLopenEditExecute();
    void FLVisMappeExecute();
    void insertFilExecute();
    void aGemFillisteExecute();
    void FLRenameCaptionExecute();
    void aGemNytNavnExecute();
    // The item file of a list name; empty for no name.
    QString listFile(const QString &name) const;
    void setCurrentName(const QString &name);
    // Saves the items to the current item file; false (and the user told) when nothing was saved.
    bool saveToItemFile();
    void selectRow(int row);
    void selectListName(const QString &name);
    void setInfo(const QString &text);
};
