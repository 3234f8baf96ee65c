#pragma once

#include "app/Box.h"


class Ttypeform : public TBox {
    Q_OBJECT
public:
    explicit Ttypeform(QWidget *parent);
};
