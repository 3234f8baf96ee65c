#include "lists/mappefilUnit.h"

#include "lists/DirBox.h"

Tmappefilform::Tmappefilform(QWidget *parent)
    : TBox(parent, QStringLiteral("Mapper og filer"))
{
    dirBox = new TDirBox(this);
}
