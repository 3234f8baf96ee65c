#include "opening/filtyper.h"

Ttypeform::Ttypeform(QWidget *parent)
    : TBox(parent, QStringLiteral("Filtypeboksen"))
{
}
