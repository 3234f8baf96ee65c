#include "options/boks.h"

Tboksform::Tboksform(QWidget *parent)
    : TBox(parent, QStringLiteral("Fontnavne"))
{
}
