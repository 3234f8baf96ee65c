#include "search/filmappeUnit.h"

Tfilmappeform::Tfilmappeform(QWidget *parent)
    : TBox(parent, QStringLiteral("Søg efter mapper og filer"))
{
}
