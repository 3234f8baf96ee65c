#include "search/findis.h"

Tfindformen::Tfindformen(QWidget *parent)
    : TBox(parent, QStringLiteral("Find tekst i tekst-dokumenter"))
{
}
