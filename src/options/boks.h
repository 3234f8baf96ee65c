#pragma once

#include "app/Box.h"


class Tboksform : public TBox {
    Q_OBJECT
public:
    explicit Tboksform(QWidget *parent);
};
