#pragma once

#include "widgets/Box.h"

class QTabWidget;
class QTableWidget;

// An overview of some of the program's keyboard shortcuts, four pages of two-column lists. The
// shortcuts themselves belong to the main window; this box only shows them. Shown non-modally.
class Tgenvejsform : public TBox {
    Q_OBJECT
public:
    explicit Tgenvejsform(QWidget *parent = nullptr);

    QTabWidget *const PageControl1;
    QTableWidget *const ListView1; // "Hovedmenuen"
    QTableWidget *const ListView2; // "F taster"
    QTableWidget *const ListView3; // "Internet"
    QTableWidget *const ListView4; // "Ctrl+"

protected:
    // The box takes the width its four tabs need in the design of the moment.
    void showEvent(QShowEvent *event) override;
};
