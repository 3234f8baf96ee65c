#pragma once

#include "widgets/Box.h"

class QLineEdit;
class QPushButton;

// Asks for the page margins in centimetres and the number of copies before a document is
// printed. Its values last for the run; every start begins with the standard values.
class Tprintform : public TBox {
    Q_OBJECT
public:
    explicit Tprintform(QWidget *parent);

    // The text with what a field may not hold removed: a margin keeps digits and the comma, the
    // number of copies digits only.
    static QString Floatkon(const QString &text);
    static QString IntegerKon(const QString &text);
    void StandardClick();

    QLineEdit *Edit1 = nullptr; // left margin
    QLineEdit *Edit2 = nullptr; // right margin
    QLineEdit *Edit3 = nullptr; // top margin
    QLineEdit *Edit4 = nullptr; // bottom margin
    QLineEdit *Edit5 = nullptr; // copies
    QPushButton *standardButton = nullptr;
    QPushButton *annullerButton = nullptr;
    QPushButton *printButton = nullptr;
};
