#pragma once

#include "app/Box.h"

class TDirBox;

class Tmappefilform : public TBox {
    Q_OBJECT
public:
    explicit Tmappefilform(QWidget *parent);

    // The chosen folder, shared with the document windows and the search boxes.
    TDirBox *dirBox = nullptr;
};
