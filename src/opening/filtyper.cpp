#include "opening/filtyper.h"

#include "opening/DocumentHost.h"
#include "opening/Funktioner.h"
#include "opening/TypeListView.h"
#include "widgets/Action.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int Width = 274;
constexpr int MinimumHeight = 490;

const QString informationText = QStringLiteral(
    "Filtyper med flueben åbnes til redigering uden spørgsmål. Andre filer, der kan åbnes som tekst, "
    "åbnes først efter et spørgsmål.\r\r"
    "Skriv et navn i Tekst og filtypen i Type, f.eks. txt, og tryk Enter.\r\r"
    "Ændringer gemmes først med \"Gem og luk\".");

// The list itself lives with the open dispatch's host, which consults it.
DocumentHost &listHost()
{
    return openDispatch()->host();
}

} // namespace

Ttypeform::Ttypeform(QWidget *parent)
    : TBox(parent, QStringLiteral("Filtypeboksen"))
{
    setObjectName(QStringLiteral("typeform"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *heading =
        new QLabel(QStringLiteral("Disse filtyper er tekstfiler, som kan åbnes til redigering i programmet."), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setWordWrap(true);

    typeliste = newTypeListView(this, 150);

    auto *textLabel = new QLabel(QStringLiteral("Tekst"), this);
    auto *typeLabel = new QLabel(QStringLiteral("Type"), this);
    tekstedit = new QLineEdit(this);
    tekstedit->setObjectName(QStringLiteral("tekstedit"));
    tekstedit->setAccessibleName(QStringLiteral("Tekst"));
    textLabel->setBuddy(tekstedit);
    typeedit = new QLineEdit(this);
    typeedit->setObjectName(QStringLiteral("typeedit"));
    typeedit->setAccessibleName(QStringLiteral("Type"));
    typeLabel->setBuddy(typeedit);
    insertknap = iconToolButton(this, QStringLiteral("insertknap"), QStringLiteral("list-add"),
                                QStringLiteral("Indfør i listen"), QStringLiteral("Indfør"));

    aDelete = new TAction(this, QStringLiteral("aDelete"), QStringLiteral("Slet"),
                          QStringLiteral("Slet valgte fra listen"));
    Aop = new TAction(this, QStringLiteral("Aop"), QStringLiteral("Op"),
                      QStringLiteral("Flyt valgte filtype op i listen"));
    Aned = new TAction(this, QStringLiteral("Aned"), QStringLiteral("Ned"),
                       QStringLiteral("Flyt valgte filtype ned i listen"));
    aDelete->setUpdateRule([this] { return selectedRow() >= 0; });
    Aop->setUpdateRule([this] { return selectedRow() > 0; });
    Aned->setUpdateRule([this] {
        const int row = selectedRow();
        return row >= 0 && row < typeliste->topLevelItemCount() - 1;
    });
    typeliste->setContextMenuPolicy(Qt::ActionsContextMenu);
    typeliste->addActions({Aop, Aned});

    standardKnap = pushButton(this, QStringLiteral("standardKnap"), QStringLiteral("Standard"),
                              QStringLiteral("document-revert"),
                              QStringLiteral("Slet nuværende liste og hent standardlisten, der automatisk gemmes"));
    QToolButton *removeButton = iconActionButton(this, aDelete, QStringLiteral("edit-delete"));
    QToolButton *upButton = iconActionButton(this, Aop, QStringLiteral("go-up"));
    QToolButton *downButton = iconActionButton(this, Aned, QStringLiteral("go-down"));

    QToolButton *infoButton = iconToolButton(this, QStringLiteral("infoKnap"), QStringLiteral("dialog-information"),
                                             QStringLiteral("Information"), QStringLiteral("Info"));
    lukKnap = pushButton(this, QStringLiteral("lukKnap"), QStringLiteral("Annuller"), QStringLiteral("dialog-cancel"),
                         QStringLiteral("Luk boksen uden at gemme"));
    saveknap = pushButton(this, QStringLiteral("saveknap"), QStringLiteral("Gem og luk"), QStringLiteral("document-save"),
                          QStringLiteral("Gem listen og luk"));

    auto *entryGrid = new QGridLayout;
    entryGrid->setContentsMargins(0, 0, 0, 0);
    entryGrid->addWidget(textLabel, 0, 0);
    entryGrid->addWidget(typeLabel, 0, 1);
    entryGrid->addWidget(tekstedit, 1, 0);
    entryGrid->addWidget(typeedit, 1, 1);
    entryGrid->addWidget(insertknap, 1, 2);
    entryGrid->setColumnStretch(0, 3);
    entryGrid->setColumnStretch(1, 2);

    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(standardKnap);
    listButtons->addStretch(1);
    listButtons->addWidget(removeButton);
    listButtons->addWidget(upButton);
    listButtons->addWidget(downButton);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(infoButton);
    bottomRow->addStretch(1);
    bottomRow->addWidget(lukKnap);
    bottomRow->addWidget(saveknap);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->addWidget(heading);
    column->addWidget(typeliste, 1);
    column->addLayout(entryGrid);
    column->addLayout(listButtons);
    column->addLayout(bottomRow);

    setFixedWidth(Width);
    setMinimumHeight(MinimumHeight);

    // Whatever the list reports for a row (added, removed, ticked, unticked, selected) makes the
    // list worth saving.
    QAbstractItemModel *model = typeliste->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &Ttypeform::typelisteChange);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &Ttypeform::typelisteChange);
    connect(model, &QAbstractItemModel::dataChanged, this, &Ttypeform::typelisteChange);
    connect(typeliste->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Ttypeform::typelisteChange);

    connect(insertknap, &QToolButton::clicked, this, &Ttypeform::insertknapClick);
    connect(typeedit, &QLineEdit::returnPressed, this, &Ttypeform::insertknapClick);
    connect(standardKnap, &QPushButton::clicked, this, &Ttypeform::standardKnapClick);
    connect(saveknap, &QPushButton::clicked, this, &Ttypeform::saveknapClick);
    connect(lukKnap, &QPushButton::clicked, this, &Ttypeform::lukKnapClick);
    connect(infoButton, &QToolButton::clicked, this, [] { showInfo(informationText); });
    connect(aDelete, &QAction::triggered, this, &Ttypeform::aDeleteExecute);
    connect(Aop, &QAction::triggered, this, [this] { moveRow(-1); });
    connect(Aned, &QAction::triggered, this, [this] { moveRow(1); });
}

void Ttypeform::FormCreate()
{
    listHost().LoadExtListe(true);
    int boxHeight = listHost().filtypeBoksHeight;
    // A remembered height taller than the screen would put the buttons out of reach.
    if (const QScreen *shownOn = screen())
        boxHeight = qMin(boxHeight, shownOn->availableGeometry().height());
    // 0 (nothing remembered) and any other height below the smallest give the smallest: the box
    // never goes below its minimum.
    resize(Width, boxHeight);
}

void Ttypeform::typelisteAdd(const QString &aTekst, const QString &aType, bool check)
{
    typeliste->addTopLevelItem(newTypeRow({aTekst, aType, check}));
}

bool Ttypeform::isItTextfile(const QString &ext) const
{
    for (int i = 0; i < typeliste->topLevelItemCount(); ++i)
        if (sameTextAZ(typeliste->topLevelItem(i)->text(1), ext))
            return true;
    return false;
}

void Ttypeform::insertknapClick()
{
    const QString text = tekstedit->text().trimmed();
    const QString type = typeedit->text();
    if (text.isEmpty() || type.trimmed().isEmpty())
        return;
    typelisteAdd(text, normalisedMask(type), true);
    typeliste->scrollToItem(typeliste->topLevelItem(typeliste->topLevelItemCount() - 1));
    tekstedit->clear();
    typeedit->clear();
    tekstedit->setFocus();
}

void Ttypeform::standardKnapClick()
{
    if (!ask(QStringLiteral("Der vil muligvist blive fjernet typer, der er indført senere!\r"
                            "Skal standardlisten hentes alligevel?")))
        return;
    listHost().makeTypeliste();
    saveknap->setEnabled(false);
}

void Ttypeform::saveknapClick()
{
    // A list that could not be written stays in the box, so the user's work is not lost.
    if (!listHost().GemExtListe())
        return;
    saveknap->setEnabled(false);
    accept();
}

void Ttypeform::lukKnapClick()
{
    reject();
}

void Ttypeform::showEvent(QShowEvent *event)
{
    TBox::showEvent(event);
    // A restore from minimised is not a new showing; it must not throw away the user's edits.
    if (event->spontaneous())
        return;
    listHost().LoadExtListe(true);
    saveknap->setEnabled(false);
}

void Ttypeform::resizeEvent(QResizeEvent *event)
{
    TBox::resizeEvent(event);
    // The size given before the first showing is not the user's; every later change is.
    if (event->oldSize().isValid() && event->oldSize().height() != event->size().height())
        listHost().filtypeBoksHeight = event->size().height();
}

void Ttypeform::typelisteChange()
{
    saveknap->setEnabled(true);
}

int Ttypeform::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = typeliste->selectedItems();
    return selected.isEmpty() ? -1 : typeliste->indexOfTopLevelItem(selected.first());
}

void Ttypeform::aDeleteExecute()
{
    const int index = selectedRow();
    if (index < 0)
        return;
    QTreeWidgetItem *row = typeliste->topLevelItem(index);
    if (!ask(QStringLiteral("Skal filtypen:\r") + row->text(0) + QLatin1Char('\r') + QStringLiteral("slettes?")
             + QLatin1Char('\r') + QStringLiteral("Husk at gemme, hvis ændringer skal bevares.")))
        return;
    if (typeliste->indexOfTopLevelItem(row) < 0)
        return;
    delete row;
    saveknap->setEnabled(true);
}

void Ttypeform::moveRow(int step)
{
    // The enabled state is only brought up to date when the program is idle; a move past either
    // end is ignored.
    const int from = selectedRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= typeliste->topLevelItemCount())
        return;
    QTreeWidgetItem *row = moveTypeRow(typeliste, from, to);
    if (step < 0 && to == 0) {
        typeliste->setCurrentItem(nullptr);
        typeliste->clearSelection();
    } else {
        typeliste->setCurrentItem(row);
    }
}
