#include "lists/filUnit.h"

#include "lists/FavDirUnit.h"

Tfilform::Tfilform(QWidget *parent)
    : TBox(parent, QStringLiteral("Åbne og lukkede dokumenter"))
{
    FavFiler1 = new TReopenFilerX(this);
    FavFiler1->Itemtype = TItemtype::itFil;
    FavFiler2 = new TReopenFilerX(this);
    FavFiler2->Itemtype = TItemtype::itFil;
}
