#include "lists/OpenUnit.h"

Topenform::Topenform(QWidget *parent)
    : TBox(parent, QStringLiteral("Åben"))
{
}
