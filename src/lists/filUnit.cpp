#include "lists/filUnit.h"

#include "lists/FavDirUnit.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

Tfilform::Tfilform(QWidget *parent)
    : TBox(parent, QStringLiteral("Åbne og lukkede dokumenter"))
{
    setObjectName(QStringLiteral("filform"));
    auto *grid = new QGridLayout(this);
    const auto list = [this, grid](int column, const QString &name, const QString &caption) {
        grid->addWidget(new QLabel(caption, this), 0, column);
        auto *box = new QListWidget(this);
        box->setObjectName(name);
        box->setAccessibleName(caption);
        grid->addWidget(box, 1, column);
        auto *items = new TReopenFilerX(this);
        items->Itemtype = TItemtype::itFil;
        items->ListeBoks = box;
        return std::pair{box, items};
    };
    std::tie(ListBox1, FavFiler1) = list(0, QStringLiteral("ListBox1"), QStringLiteral("Lukkede dokumenter"));
    std::tie(ListBox2, FavFiler2) = list(1, QStringLiteral("ListBox2"), QStringLiteral("Åbne dokumenter"));
}
