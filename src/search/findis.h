#pragma once

#include "app/Box.h"


class Tfindformen : public TBox {
    Q_OBJECT
public:
    explicit Tfindformen(QWidget *parent);
};
