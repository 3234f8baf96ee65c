#pragma once

#include "app/Box.h"


class Tfilmappeform : public TBox {
    Q_OBJECT
public:
    explicit Tfilmappeform(QWidget *parent);
};
