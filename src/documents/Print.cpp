#include "documents/Print.h"

Tprintform::Tprintform(QWidget *parent)
    : TBox(parent, QStringLiteral("Udskriv dokument"))
{
}
