#pragma once

#include "app/Box.h"


class Topenform : public TBox {
    Q_OBJECT
public:
    explicit Topenform(QWidget *parent);
};
