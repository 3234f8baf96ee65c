#pragma once

#include "widgets/Box.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TAction;
class TFontnavne;

// The font box: which font names the editor offers (Box), a store of names put aside for later
// (lagerBox), and the installed fonts to take new names from (fontBox). The options box fills
// the two lists before it shows the box and takes them back when it closes with "Gem og luk".
class Tboksform : public TBox {
    Q_OBJECT
public:
    explicit Tboksform(QWidget *parent);

    void FormCreate() override;

    // Settings file "boks.txt": the box's height.
    void hentOpt();
    void gemOpt();

    // Writes the number of names in Box into the counter.
    void updateCounter();

    QString optFilnavn;

    QListWidget *Box = nullptr;
    QListWidget *lagerBox = nullptr;
    TFontnavne *fontBox = nullptr;
    QPlainTextEdit *Memo = nullptr;
    QLabel *fontAntalLabel = nullptr;
    QToolButton *infoButton = nullptr;
    QToolButton *getFontnamesButton = nullptr;
    QToolButton *indsertFontButton = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *annullerButton = nullptr;

    TAction *sletFontFraListe = nullptr;
    TAction *AvalgteTilLager = nullptr;
    TAction *AvalgteTilbage = nullptr;
    TAction *AalleTilLager = nullptr;
    TAction *AalleTilbage = nullptr;
    TAction *AflytOp = nullptr;
    TAction *AflytNed = nullptr;
    TAction *sorterListerne = nullptr;

    // The height the box was designed with; a settings file that is not the box's own leaves it.
    static constexpr int designedHeight = 520;

public slots:
    // Every way of closing (the two buttons, Escape, the window's close button) ends here.
    void FormClose() override;

private:
    void getFontnamesButtonClick();
    void indsertFontButtonClick();
    void sletFontFraListeExecute();
    void AflytOpExecute();
    void AflytNedExecute();
    void sorterListerneExecute();
    void listClick(QListWidget *list);
    void setBoxHeight(int boxHeight);
};
