#include "lists/favoritUnit.h"

Tfavoritform::Tfavoritform(QWidget *parent)
    : TBox(parent, QStringLiteral("Favoritter"))
{
}
