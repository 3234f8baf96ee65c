#include "lists/favoritUnit.h"

#include "app/Action.h"
#include "app/Globals.h"
#include "app/Main.h"
#include "app/ToolButtons.h"
#include "lists/FavDirUnit.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QToolButton>
#include <QListWidget>
#include <QVBoxLayout>

Tfavoritform::Tfavoritform(QWidget *parent)
    : TBox(parent, QStringLiteral("Favoritter"))
{
    setObjectName(QStringLiteral("favoritform"));
    auto *column = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    insertFil = new TAction(this, QStringLiteral("insertFil"), QStringLiteral("Insæt aktuelle fil i listen"),
                            QStringLiteral("Insæt aktuelle fil i listen"));
    insertFil->setUpdateRule([] { return mainform && !mainform->dokumentFilnavn.isEmpty(); });
    connect(insertFil, &QAction::triggered, this, [this] {
        const QString name = mainform->dokumentFilnavn;
        if (FavFiler->InsertItem(name, QFileInfo(name).fileName(), 3))
            ListeForandret = true;
    });
    buttons->addStretch();
    buttons->addWidget(iconActionButton(this, insertFil, QStringLiteral("list-add")));
    column->addLayout(buttons);
    favFilerListe = new QListWidget(this);
    favFilerListe->setObjectName(QStringLiteral("favFilerListe"));
    favFilerListe->setAccessibleName(QStringLiteral("Favoritliste"));
    column->addWidget(favFilerListe);
    FavFiler = new TReopenFilerX(this);
    FavFiler->Itemtype = TItemtype::itFil;
    FavFiler->ListeBoks = favFilerListe;
}
