#pragma once

#include "widgets/Box.h"

class QLabel;
class QListWidget;
class QStatusBar;
class QWidget;
class TAction;
class TReopenFilerX;

// The documents closed during the run (left) and those open now (right): reopen them, prune,
// sort, and keep the closed-documents list in its item file.
class Tfilform : public TBox {
    Q_OBJECT
public:
    explicit Tfilform(QWidget *parent);

    void FormCreate() override;
    // Settings file "filUnit.txt": the window's size and place.
    void HentOpt();
    void GemOpt();
    void defaultOpt();
    // Opens the folder of the item (or the folder shown last, when the item's file is gone) in
    // the file manager.
    void openMappe(const QString &aFilename);

    bool opstart = true;
    QString optFilnavn;
    QString openMappeName;
    // The documents closed during the run and those open now.
    TReopenFilerX *FavFiler1 = nullptr;
    TReopenFilerX *FavFiler2 = nullptr;
    bool ListeForandret1 = false;
    bool ListeForandret2 = false;

    QWidget *BgPanel1 = nullptr;
    QWidget *BgPanel2 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QListWidget *ListBox2 = nullptr;
    QStatusBar *infoBar = nullptr;

    TAction *opdaterBox1 = nullptr;
    TAction *Fabc = nullptr;
    TAction *FLVisMappe = nullptr;
    TAction *FLsletValgte = nullptr;
    TAction *FLsletAlle = nullptr;
    TAction *FLopenEdit = nullptr;
    TAction *aHentFilliste = nullptr;
    TAction *aGemFilliste = nullptr;
    TAction *opdaterBox2 = nullptr;
    TAction *Fabc2 = nullptr;
    TAction *FLVisMappe2 = nullptr;
    TAction *FLopenEdit2 = nullptr;
    TAction *openDokument = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void FormClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The program's open dialog is wanted, starting in folder; empty: where it was last.
    void openDialogWanted(const QString &folder);

private:
    void buildActions();
    QWidget *buildPane(const QString &name, const QString &caption, QListWidget *list,
                       const QList<TAction *> &left, const QList<TAction *> &right);
    void FavFilerListeKlik(const QString &Capnavn, const QString &Filnavn);
    void FavFilerListeDblKlik1(const QString &Capnavn, const QString &Filnavn);
    void FavFilerListeDblKlik2(const QString &Capnavn, const QString &Filnavn);
    // Removes every item whose file is gone, from the last row to the first.
    static void removeVanished(TReopenFilerX *list);
    // Sorts without a question; true when the order changed.
    bool sortList(TReopenFilerX *list);
};
