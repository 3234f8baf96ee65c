#pragma once

#include "app/Box.h"

class QListWidget;
class TReopenFilerX;

class Tfilform : public TBox {
    Q_OBJECT
public:
    explicit Tfilform(QWidget *parent);

    // The documents closed during the run and those open now.
    TReopenFilerX *FavFiler1 = nullptr;
    TReopenFilerX *FavFiler2 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QListWidget *ListBox2 = nullptr;
    bool ListeForandret1 = false;
    bool ListeForandret2 = false;
};
