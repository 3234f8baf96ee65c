#pragma once

#include "app/Box.h"

class QListWidget;
class TAction;
class TReopenFilerX;

// The named favourite lists of documents; the current list is FavFiler.
class Tfavoritform : public TBox {
    Q_OBJECT
public:
    explicit Tfavoritform(QWidget *parent);

    TReopenFilerX *FavFiler = nullptr;
    // The current list has changes that are not saved.
    bool ListeForandret = false;
    QListWidget *favFilerListe = nullptr;
    // Puts the main window's active document into the current list.
    TAction *insertFil = nullptr;
};
