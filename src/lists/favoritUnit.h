#pragma once

#include "app/Box.h"


class Tfavoritform : public TBox {
    Q_OBJECT
public:
    explicit Tfavoritform(QWidget *parent);
};
