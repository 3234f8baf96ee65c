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

constexpr int Bredde = 274;
constexpr int MindsteHoejde = 490;

const QString informationTekst = QStringLiteral(
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

    auto *overskrift =
        new QLabel(QStringLiteral("Disse filtyper er tekstfiler, som kan åbnes til redigering i programmet."), this);
    overskrift->setObjectName(QStringLiteral("Label1"));
    overskrift->setWordWrap(true);

    typeliste = newTypeListView(this, 150);

    auto *tekstLabel = new QLabel(QStringLiteral("Tekst"), this);
    auto *typeLabel = new QLabel(QStringLiteral("Type"), this);
    tekstedit = new QLineEdit(this);
    tekstedit->setObjectName(QStringLiteral("tekstedit"));
    tekstedit->setAccessibleName(QStringLiteral("Tekst"));
    tekstLabel->setBuddy(tekstedit);
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
    aDelete->setUpdateRule([this] { return valgtRaekke() >= 0; });
    Aop->setUpdateRule([this] { return valgtRaekke() > 0; });
    Aned->setUpdateRule([this] {
        const int raekke = valgtRaekke();
        return raekke >= 0 && raekke < typeliste->topLevelItemCount() - 1;
    });
    typeliste->setContextMenuPolicy(Qt::ActionsContextMenu);
    typeliste->addActions({Aop, Aned});

    standardKnap = pushButton(this, QStringLiteral("standardKnap"), QStringLiteral("Standard"),
                              QStringLiteral("document-revert"),
                              QStringLiteral("Slet nuværende liste og hent standardlisten, der automatisk gemmes"));
    QToolButton *sletKnap = iconActionButton(this, aDelete, QStringLiteral("edit-delete"));
    QToolButton *opKnap = iconActionButton(this, Aop, QStringLiteral("go-up"));
    QToolButton *nedKnap = iconActionButton(this, Aned, QStringLiteral("go-down"));

    QToolButton *infoKnap = iconToolButton(this, QStringLiteral("infoKnap"), QStringLiteral("dialog-information"),
                                           QStringLiteral("Information"), QStringLiteral("Info"));
    lukKnap = pushButton(this, QStringLiteral("lukKnap"), QStringLiteral("Annuller"), QStringLiteral("dialog-cancel"),
                         QStringLiteral("Luk boksen uden at gemme"));
    saveknap = pushButton(this, QStringLiteral("saveknap"), QStringLiteral("Gem og luk"), QStringLiteral("document-save"),
                          QStringLiteral("Gem listen og luk"));

    auto *indtastning = new QGridLayout;
    indtastning->setContentsMargins(0, 0, 0, 0);
    indtastning->addWidget(tekstLabel, 0, 0);
    indtastning->addWidget(typeLabel, 0, 1);
    indtastning->addWidget(tekstedit, 1, 0);
    indtastning->addWidget(typeedit, 1, 1);
    indtastning->addWidget(insertknap, 1, 2);
    indtastning->setColumnStretch(0, 3);
    indtastning->setColumnStretch(1, 2);

    auto *listeKnapper = new QHBoxLayout;
    listeKnapper->addWidget(standardKnap);
    listeKnapper->addStretch(1);
    listeKnapper->addWidget(sletKnap);
    listeKnapper->addWidget(opKnap);
    listeKnapper->addWidget(nedKnap);

    auto *bund = new QHBoxLayout;
    bund->addWidget(infoKnap);
    bund->addStretch(1);
    bund->addWidget(lukKnap);
    bund->addWidget(saveknap);

    auto *lag = new QVBoxLayout(this);
    lag->setContentsMargins(8, 8, 8, 8);
    lag->addWidget(overskrift);
    lag->addWidget(typeliste, 1);
    lag->addLayout(indtastning);
    lag->addLayout(listeKnapper);
    lag->addLayout(bund);

    setFixedWidth(Bredde);
    setMinimumHeight(MindsteHoejde);

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
    connect(infoKnap, &QToolButton::clicked, this, [] { showInfo(informationTekst); });
    connect(aDelete, &QAction::triggered, this, &Ttypeform::aDeleteExecute);
    connect(Aop, &QAction::triggered, this, [this] { flytRaekke(-1); });
    connect(Aned, &QAction::triggered, this, [this] { flytRaekke(1); });
}

void Ttypeform::FormCreate()
{
    listHost().LoadExtListe(true);
    int hoejde = listHost().filtypeBoksHeight;
    // A remembered height taller than the screen would put the buttons out of reach.
    if (const QScreen *skaerm = screen())
        hoejde = qMin(hoejde, skaerm->availableGeometry().height());
    // 0 (nothing remembered) and any other height below the smallest give the smallest: the box
    // never goes below its minimum.
    resize(Bredde, hoejde);
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
    const QString tekst = tekstedit->text().trimmed();
    const QString type = typeedit->text();
    if (tekst.isEmpty() || type.trimmed().isEmpty())
        return;
    typelisteAdd(tekst, normalisedMask(type), true);
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

int Ttypeform::valgtRaekke() const
{
    const QList<QTreeWidgetItem *> valgte = typeliste->selectedItems();
    return valgte.isEmpty() ? -1 : typeliste->indexOfTopLevelItem(valgte.first());
}

void Ttypeform::aDeleteExecute()
{
    const int indeks = valgtRaekke();
    if (indeks < 0)
        return;
    QTreeWidgetItem *raekke = typeliste->topLevelItem(indeks);
    if (!ask(QStringLiteral("Skal filtypen:\r") + raekke->text(0) + QLatin1Char('\r') + QStringLiteral("slettes?")
             + QLatin1Char('\r') + QStringLiteral("Husk at gemme, hvis ændringer skal bevares.")))
        return;
    if (typeliste->indexOfTopLevelItem(raekke) < 0)
        return;
    delete raekke;
    saveknap->setEnabled(true);
}

void Ttypeform::flytRaekke(int skridt)
{
    // The enabled state is only brought up to date when the program is idle; a move past either
    // end is ignored.
    const int fra = valgtRaekke();
    const int til = fra + skridt;
    if (fra < 0 || til < 0 || til >= typeliste->topLevelItemCount())
        return;
    QTreeWidgetItem *raekke = moveTypeRow(typeliste, fra, til);
    if (skridt < 0 && til == 0) {
        typeliste->setCurrentItem(nullptr);
        typeliste->clearSelection();
    } else {
        typeliste->setCurrentItem(raekke);
    }
}
