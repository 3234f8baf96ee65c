#include "options/boks.h"

#include "options/Fontnavne.h"
#include "platform/DataFolders.h"
#include "platform/Designs.h"
#include "widgets/Action.h"
#include "widgets/BoxSettings.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int Bredde = 532;
constexpr int MindsteHoejde = 400;
// A first run, before the box has a settings file of its own.
constexpr int StartHoejde = 480;

const QString informationTekst = QStringLiteral(
    "Listen til venstre er de fonte, der kan vælges i programmet. Lageret til højre gemmer fontnavne "
    "til senere brug.\r\r"
    "Tryk \"Hent\" for at hente de installerede fonte, vælg en af dem og tryk \"Indsæt\".\r\r"
    "Ændringer gælder først, når der trykkes \"Gem og luk\".");

// Several names can be selected at once; the names are not edited in place.
QListWidget *fontListe(QWidget *parent, const QString &name, const QString &accessibleName)
{
    QListWidget *liste = namedList(parent, name, accessibleName);
    liste->setSelectionMode(QAbstractItemView::ExtendedSelection);
    liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return liste;
}

int valgte(const QListWidget *liste)
{
    return int(liste->selectedItems().size());
}

// Appends the names of `fra` (only the selected ones, or all), top to bottom, to `til` and takes
// them out of `fra`.
void flyt(QListWidget *fra, QListWidget *til, bool kunValgte)
{
    const QSignalBlocker stille(fra);
    QStringList navne;
    for (int i = 0; i < fra->count();) {
        QListWidgetItem *item = fra->item(i);
        if (kunValgte && !item->isSelected()) {
            ++i;
            continue;
        }
        navne << item->text();
        delete fra->takeItem(i);
    }
    til->addItems(navne);
}

void setValgt(QListWidget *liste, int raekke)
{
    liste->clearSelection();
    liste->setCurrentRow(raekke, QItemSelectionModel::ClearAndSelect);
}

} // namespace

Tboksform::Tboksform(QWidget *parent)
    : TBox(parent, QStringLiteral("Fontnavne"))
{
    setObjectName(QStringLiteral("boksform"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Box = fontListe(this, QStringLiteral("Box"), QStringLiteral("Valgte fonte"));
    lagerBox = fontListe(this, QStringLiteral("lagerBox"), QStringLiteral("Lager"));

    fontBox = new TFontnavne(this);
    fontBox->setObjectName(QStringLiteral("fontBox"));
    fontBox->setPlaceholderText(QStringLiteral("Hent fontnavne"));
    fontBox->setAccessibleName(QStringLiteral("Hent fontnavne"));
    fontBox->setMaxVisibleItems(24);

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setAccessibleName(QStringLiteral("Eksempel"));
    Memo->setPlainText(QStringLiteral("Dette er skrevet med følgende font:\nSegoe UI"));
    QFont eksempelFont = Memo->font();
    eksempelFont.setFamily(QStringLiteral("Segoe UI"));
    Memo->setFont(eksempelFont);

    fontAntalLabel = new QLabel(QStringLiteral("Du har valgt 0 fonte"), this);
    fontAntalLabel->setObjectName(QStringLiteral("fontAntalLabel"));

    sletFontFraListe = new TAction(this, QStringLiteral("sletFontFraListe"), QStringLiteral("Fjern"),
                                   QStringLiteral("Fjern valgte fontnavn fra listen"));
    AvalgteTilLager = new TAction(this, QStringLiteral("AvalgteTilLager"), QStringLiteral("Valgte til lager"),
                                  QStringLiteral("Flyt valgte til lager"));
    AvalgteTilbage = new TAction(this, QStringLiteral("AvalgteTilbage"), QStringLiteral("Valgte tilbage"),
                                 QStringLiteral("Flyt valgte tilbage"));
    AalleTilLager = new TAction(this, QStringLiteral("AalleTilLager"), QStringLiteral("Alle til lager"),
                                QStringLiteral("Flyt alle til lager"));
    AalleTilbage = new TAction(this, QStringLiteral("AalleTilbage"), QStringLiteral("Alle tilbage"),
                               QStringLiteral("Flyt alle tilbage"));
    AflytOp = new TAction(this, QStringLiteral("AflytOp"), QStringLiteral("Op"), QStringLiteral("Flyt valgte op"));
    AflytNed = new TAction(this, QStringLiteral("AflytNed"), QStringLiteral("Ned"), QStringLiteral("Flyt valgte ned"));
    sorterListerne = new TAction(this, QStringLiteral("sorterListerne"), QStringLiteral("Sorter"),
                                 QStringLiteral("Sorter listerne alfabetisk"));

    sletFontFraListe->setUpdateRule([this] { return Box->currentRow() >= 0; });
    AvalgteTilLager->setUpdateRule([this] { return Box->count() > 0 && valgte(Box) > 0; });
    AvalgteTilbage->setUpdateRule([this] { return lagerBox->count() > 0 && valgte(lagerBox) > 0; });
    AalleTilLager->setUpdateRule([this] { return Box->count() > 0; });
    AalleTilbage->setUpdateRule([this] { return lagerBox->count() > 0; });
    const auto kanFlyttes = [this] { return Box->count() >= 2 && valgte(Box) == 1; };
    AflytOp->setUpdateRule(kanFlyttes);
    AflytNed->setUpdateRule(kanFlyttes);

    infoButton = iconToolButton(this, QStringLiteral("infoButton"), QStringLiteral("dialog-information"),
                                QStringLiteral("Information: Administrer grupper"));

    auto *knapSoejle = new QVBoxLayout;
    knapSoejle->setContentsMargins(0, 0, 0, 0);
    knapSoejle->addWidget(infoButton);
    knapSoejle->addSpacing(8);
    knapSoejle->addWidget(iconActionButton(this, AvalgteTilLager, QStringLiteral("go-next")));
    knapSoejle->addWidget(iconActionButton(this, AvalgteTilbage, QStringLiteral("go-previous")));
    knapSoejle->addWidget(iconActionButton(this, AalleTilLager, QStringLiteral("go-last")));
    knapSoejle->addWidget(iconActionButton(this, AalleTilbage, QStringLiteral("go-first")));
    knapSoejle->addWidget(iconActionButton(this, AflytOp, QStringLiteral("go-up")));
    knapSoejle->addWidget(iconActionButton(this, AflytNed, QStringLiteral("go-down")));
    knapSoejle->addWidget(iconActionButton(this, sorterListerne, QStringLiteral("view-sort-ascending")));
    knapSoejle->addStretch(1);

    auto *sletKnap = new QToolButton(this);
    sletFontFraListe->setIcon(Platform::designIcon(QStringLiteral("list-remove")));
    sletKnap->setDefaultAction(sletFontFraListe);
    sletKnap->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    sletKnap->setAccessibleName(QStringLiteral("Fjern"));
    getFontnamesButton = textToolButton(this, QStringLiteral("getFontnamesButton"), QStringLiteral("Hent"),
                                        QStringLiteral("document-import"), QStringLiteral("Indlæs fonte"));
    indsertFontButton = textToolButton(this, QStringLiteral("indsertFontButton"), QStringLiteral("Indsæt"),
                                       QStringLiteral("list-add"), QStringLiteral("Indsæt valgte font i listen"));
    indsertFontButton->setEnabled(false);

    auto *fontKnapper = new QHBoxLayout;
    fontKnapper->setContentsMargins(0, 0, 0, 0);
    fontKnapper->addWidget(sletKnap);
    fontKnapper->addStretch(1);
    fontKnapper->addWidget(getFontnamesButton);
    fontKnapper->addWidget(indsertFontButton);

    annullerButton = pushButton(this, QStringLiteral("annullerButton"), QStringLiteral("Annuller"),
                                QStringLiteral("dialog-cancel"), QStringLiteral("Annuller handlinger og luk"));
    okButton = pushButton(this, QStringLiteral("okButton"), QStringLiteral("Gem og luk"), QStringLiteral("document-save"),
                          QStringLiteral("Gem ændringer og luk"));

    auto *bund = new QHBoxLayout;
    bund->addWidget(fontAntalLabel, 1);
    bund->addWidget(annullerButton);
    bund->addWidget(okButton);

    Memo->setFixedHeight(fontBox->sizeHint().height() + getFontnamesButton->sizeHint().height() + 6);

    auto *gitter = new QGridLayout;
    gitter->setContentsMargins(0, 0, 0, 0);
    gitter->addWidget(Box, 0, 0);
    gitter->addLayout(knapSoejle, 0, 1, 3, 1);
    gitter->addWidget(lagerBox, 0, 2);
    gitter->addWidget(fontBox, 1, 0);
    gitter->addLayout(fontKnapper, 2, 0);
    gitter->addWidget(Memo, 1, 2, 2, 1);
    gitter->setRowStretch(0, 1);
    gitter->setColumnStretch(0, 1);
    gitter->setColumnStretch(2, 1);

    auto *lag = new QVBoxLayout(this);
    lag->setContentsMargins(8, 8, 8, 8);
    lag->addLayout(gitter, 1);
    lag->addLayout(bund);

    setFixedWidth(Bredde);
    setMinimumHeight(MindsteHoejde);
    resize(Bredde, designedHeight);

    connect(getFontnamesButton, &QToolButton::clicked, this, &Tboksform::getFontnamesButtonClick);
    connect(indsertFontButton, &QToolButton::clicked, this, &Tboksform::indsertFontButtonClick);
    connect(fontBox, &TFontnavne::Changed, indsertFontButton, [this] { indsertFontButton->setEnabled(true); });
    connect(sletFontFraListe, &QAction::triggered, this, &Tboksform::sletFontFraListeExecute);
    connect(AvalgteTilLager, &QAction::triggered, this, [this] {
        flyt(Box, lagerBox, true);
        updateCounter();
    });
    connect(AvalgteTilbage, &QAction::triggered, this, [this] {
        flyt(lagerBox, Box, true);
        updateCounter();
    });
    connect(AalleTilLager, &QAction::triggered, this, [this] {
        flyt(Box, lagerBox, false);
        updateCounter();
    });
    connect(AalleTilbage, &QAction::triggered, this, [this] {
        flyt(lagerBox, Box, false);
        updateCounter();
    });
    connect(AflytOp, &QAction::triggered, this, &Tboksform::AflytOpExecute);
    connect(AflytNed, &QAction::triggered, this, &Tboksform::AflytNedExecute);
    connect(sorterListerne, &QAction::triggered, this, &Tboksform::sorterListerneExecute);
    // A click on a name that is already the only one selected changes no selection but must still
    // show it; a selection made with the keys is no click but shows it too. The box's own changes
    // of the lists keep quiet about their selections.
    for (QListWidget *liste : {Box, lagerBox}) {
        connect(liste, &QListWidget::clicked, this, [this, liste] { listClick(liste); });
        connect(liste, &QListWidget::itemSelectionChanged, this, [this, liste] { listClick(liste); });
    }
    connect(annullerButton, &QPushButton::clicked, this, &Tboksform::reject);
    connect(okButton, &QPushButton::clicked, this, &Tboksform::accept);
    connect(infoButton, &QToolButton::clicked, this, [] { showInfo(informationTekst); });
}

void Tboksform::FormCreate()
{
    optFilnavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("boks.txt"));
    hentOpt();
}

void Tboksform::hentOpt()
{
    // The settings rules give one fallback for a missing file and a file of another length; this
    // box tells them apart: no file yet is a first run, a file of another length is not the box's.
    if (!QFileInfo::exists(optFilnavn)) {
        setHoejde(StartHoejde);
        return;
    }
    readSettings(optFilnavn, {1, true, false, SettingsRules::Fallback::DesignValues}, {},
                 [this](SettingsLines &lines) { setHoejde(lines.integer()); });
}

void Tboksform::gemOpt()
{
    SettingsWriter().integer(height()).write(optFilnavn);
}

void Tboksform::updateCounter()
{
    fontAntalLabel->setText(QStringLiteral("Der er valgt ") + QString::number(Box->count()) + QStringLiteral(" antal fonte"));
}

void Tboksform::FormClose()
{
    gemOpt();
}

void Tboksform::setHoejde(int hoejde)
{
    // A remembered height taller than the screen would put the buttons out of reach.
    if (const QScreen *skaerm = screen())
        hoejde = qMin(hoejde, skaerm->availableGeometry().height());
    resize(Bredde, qMax(hoejde, MindsteHoejde));
}

void Tboksform::getFontnamesButtonClick()
{
    fontBox->GetFontNames();
    if (fontBox->count() > 0)
        fontBox->setCurrentIndex(0);
    getFontnamesButton->setEnabled(false);
    indsertFontButton->setEnabled(true);
}

void Tboksform::indsertFontButtonClick()
{
    if (fontBox->currentIndex() < 0)
        return;
    Box->addItem(fontBox->currentText());
    indsertFontButton->setEnabled(false);
    updateCounter();
}

void Tboksform::sletFontFraListeExecute()
{
    const QSignalBlocker stille(Box);
    for (QListWidgetItem *item : Box->selectedItems())
        delete Box->takeItem(Box->row(item));
    updateCounter();
}

void Tboksform::AflytOpExecute()
{
    // The enabled state is only brought up to date when the program is idle.
    const QList<QListWidgetItem *> valgt = Box->selectedItems();
    if (Box->count() < 2 || valgt.size() != 1)
        return;
    const int fra = Box->row(valgt.first());
    // The first name wraps round to the end; every other name moves one place up.
    const int til = fra > 0 ? fra - 1 : Box->count() - 1;
    const QSignalBlocker stille(Box);
    Box->insertItem(til, Box->takeItem(fra));
    setValgt(Box, til);
}

void Tboksform::AflytNedExecute()
{
    const QList<QListWidgetItem *> valgt = Box->selectedItems();
    if (Box->count() < 2 || valgt.size() != 1)
        return;
    const int fra = Box->row(valgt.first());
    // The last name wraps round to the top; every other name moves one place down.
    const int til = fra < Box->count() - 1 ? fra + 1 : 0;
    const QSignalBlocker stille(Box);
    Box->insertItem(til, Box->takeItem(fra));
    setValgt(Box, til);
}

void Tboksform::sorterListerneExecute()
{
    for (QListWidget *liste : {Box, lagerBox}) {
        const QSignalBlocker stille(liste);
        QStringList navne;
        for (int i = 0; i < liste->count(); ++i)
            navne << liste->item(i)->text();
        sortFontNames(navne);
        liste->clear();
        liste->addItems(navne);
    }
}

void Tboksform::listClick(QListWidget *list)
{
    const QList<QListWidgetItem *> valgt = list->selectedItems();
    if (valgt.size() != 1)
        return;
    const QString navn = valgt.first()->text();
    QStringList linjer = Memo->toPlainText().split(QLatin1Char('\n'));
    while (linjer.size() < 2)
        linjer << QString();
    linjer[0] = QStringLiteral("Fontnavn:");
    linjer[1] = navn;
    Memo->setPlainText(linjer.join(QLatin1Char('\n')));
    QFont font = Memo->font();
    font.setFamily(navn);
    Memo->setFont(font);
}
