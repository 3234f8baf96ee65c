#pragma once

#include "app/Box.h"


class Tprintform : public TBox {
    Q_OBJECT
public:
    explicit Tprintform(QWidget *parent);
};
