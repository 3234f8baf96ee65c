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

constexpr int Width = 532;
constexpr int MinimumHeight = 400;
// A first run, before the box has a settings file of its own.
constexpr int StartHeight = 480;

const QString informationText = QStringLiteral(
    "Listen til venstre er de fonte, der kan vælges i programmet. Lageret til højre gemmer fontnavne "
    "til senere brug.\r\r"
    "Tryk \"Hent\" for at hente de installerede fonte, vælg en af dem og tryk \"Indsæt\".\r\r"
    "Ændringer gælder først, når der trykkes \"Gem og luk\".");

// Several names can be selected at once; the names are not edited in place.
QListWidget *fontList(QWidget *parent, const QString &name, const QString &accessibleName)
{
    QListWidget *list = namedList(parent, name, accessibleName);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

int selectedCount(const QListWidget *list)
{
    return int(list->selectedItems().size());
}

// Appends the names of `from` (only the selected ones, or all), top to bottom, to `to` and takes
// them out of `from`.
void moveNames(QListWidget *from, QListWidget *to, bool onlySelected)
{
    const QSignalBlocker blocker(from);
    QStringList names;
    for (int i = 0; i < from->count();) {
        QListWidgetItem *item = from->item(i);
        if (onlySelected && !item->isSelected()) {
            ++i;
            continue;
        }
        names << item->text();
        delete from->takeItem(i);
    }
    to->addItems(names);
}

void selectOnly(QListWidget *list, int row)
{
    list->clearSelection();
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

} // namespace

Tboksform::Tboksform(QWidget *parent)
    : TBox(parent, QStringLiteral("Fontnavne"))
{
    setObjectName(QStringLiteral("boksform"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Box = fontList(this, QStringLiteral("Box"), QStringLiteral("Valgte fonte"));
    lagerBox = fontList(this, QStringLiteral("lagerBox"), QStringLiteral("Lager"));

    fontBox = new TFontnavne(this);
    fontBox->setObjectName(QStringLiteral("fontBox"));
    fontBox->setPlaceholderText(QStringLiteral("Hent fontnavne"));
    fontBox->setAccessibleName(QStringLiteral("Hent fontnavne"));
    fontBox->setMaxVisibleItems(24);

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setAccessibleName(QStringLiteral("Eksempel"));
    Memo->setPlainText(QStringLiteral("Dette er skrevet med følgende font:\nSegoe UI"));
    QFont sampleFont = Memo->font();
    sampleFont.setFamily(QStringLiteral("Segoe UI"));
    Memo->setFont(sampleFont);

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
    AvalgteTilLager->setUpdateRule([this] { return Box->count() > 0 && selectedCount(Box) > 0; });
    AvalgteTilbage->setUpdateRule([this] { return lagerBox->count() > 0 && selectedCount(lagerBox) > 0; });
    AalleTilLager->setUpdateRule([this] { return Box->count() > 0; });
    AalleTilbage->setUpdateRule([this] { return lagerBox->count() > 0; });
    const auto canMove = [this] { return Box->count() >= 2 && selectedCount(Box) == 1; };
    AflytOp->setUpdateRule(canMove);
    AflytNed->setUpdateRule(canMove);

    infoButton = iconToolButton(this, QStringLiteral("infoButton"), QStringLiteral("dialog-information"),
                                QStringLiteral("Information: Administrer grupper"));

    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->setContentsMargins(0, 0, 0, 0);
    buttonColumn->addWidget(infoButton);
    buttonColumn->addSpacing(8);
    buttonColumn->addWidget(iconActionButton(this, AvalgteTilLager, QStringLiteral("go-next")));
    buttonColumn->addWidget(iconActionButton(this, AvalgteTilbage, QStringLiteral("go-previous")));
    buttonColumn->addWidget(iconActionButton(this, AalleTilLager, QStringLiteral("go-last")));
    buttonColumn->addWidget(iconActionButton(this, AalleTilbage, QStringLiteral("go-first")));
    buttonColumn->addWidget(iconActionButton(this, AflytOp, QStringLiteral("go-up")));
    buttonColumn->addWidget(iconActionButton(this, AflytNed, QStringLiteral("go-down")));
    buttonColumn->addWidget(iconActionButton(this, sorterListerne, QStringLiteral("view-sort-ascending")));
    buttonColumn->addStretch(1);

    auto *removeButton = new QToolButton(this);
    sletFontFraListe->setIcon(Platform::designIcon(QStringLiteral("list-remove")));
    removeButton->setDefaultAction(sletFontFraListe);
    removeButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    removeButton->setAccessibleName(QStringLiteral("Fjern"));
    getFontnamesButton = textToolButton(this, QStringLiteral("getFontnamesButton"), QStringLiteral("Hent"),
                                        QStringLiteral("document-import"), QStringLiteral("Indlæs fonte"));
    indsertFontButton = textToolButton(this, QStringLiteral("indsertFontButton"), QStringLiteral("Indsæt"),
                                       QStringLiteral("list-add"), QStringLiteral("Indsæt valgte font i listen"));
    indsertFontButton->setEnabled(false);

    auto *fontButtons = new QHBoxLayout;
    fontButtons->setContentsMargins(0, 0, 0, 0);
    fontButtons->addWidget(removeButton);
    fontButtons->addStretch(1);
    fontButtons->addWidget(getFontnamesButton);
    fontButtons->addWidget(indsertFontButton);

    annullerButton = pushButton(this, QStringLiteral("annullerButton"), QStringLiteral("Annuller"),
                                QStringLiteral("dialog-cancel"), QStringLiteral("Annuller handlinger og luk"));
    okButton = pushButton(this, QStringLiteral("okButton"), QStringLiteral("Gem og luk"), QStringLiteral("document-save"),
                          QStringLiteral("Gem ændringer og luk"));

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(fontAntalLabel, 1);
    bottomRow->addWidget(annullerButton);
    bottomRow->addWidget(okButton);

    Memo->setFixedHeight(fontBox->sizeHint().height() + getFontnamesButton->sizeHint().height() + 6);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Box, 0, 0);
    grid->addLayout(buttonColumn, 0, 1, 3, 1);
    grid->addWidget(lagerBox, 0, 2);
    grid->addWidget(fontBox, 1, 0);
    grid->addLayout(fontButtons, 2, 0);
    grid->addWidget(Memo, 1, 2, 2, 1);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->addLayout(grid, 1);
    column->addLayout(bottomRow);

    setFixedWidth(Width);
    setMinimumHeight(MinimumHeight);
    resize(Width, designedHeight);

    connect(getFontnamesButton, &QToolButton::clicked, this, &Tboksform::getFontnamesButtonClick);
    connect(indsertFontButton, &QToolButton::clicked, this, &Tboksform::indsertFontButtonClick);
    connect(fontBox, &TFontnavne::Changed, indsertFontButton, [this] { indsertFontButton->setEnabled(true); });
    connect(sletFontFraListe, &QAction::triggered, this, &Tboksform::sletFontFraListeExecute);
    connect(AvalgteTilLager, &QAction::triggered, this, [this] {
        moveNames(Box, lagerBox, true);
        updateCounter();
    });
    connect(AvalgteTilbage, &QAction::triggered, this, [this] {
        moveNames(lagerBox, Box, true);
        updateCounter();
    });
    connect(AalleTilLager, &QAction::triggered, this, [this] {
        moveNames(Box, lagerBox, false);
        updateCounter();
    });
    connect(AalleTilbage, &QAction::triggered, this, [this] {
        moveNames(lagerBox, Box, false);
        updateCounter();
    });
    connect(AflytOp, &QAction::triggered, this, &Tboksform::AflytOpExecute);
    connect(AflytNed, &QAction::triggered, this, &Tboksform::AflytNedExecute);
    connect(sorterListerne, &QAction::triggered, this, &Tboksform::sorterListerneExecute);
    // A click on a name that is already the only one selected changes no selection but must still
    // show it; a selection made with the keys is no click but shows it too. The box's own changes
    // of the lists keep quiet about their selections.
    for (QListWidget *list : {Box, lagerBox}) {
        connect(list, &QListWidget::clicked, this, [this, list] { listClick(list); });
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] { listClick(list); });
    }
    connect(annullerButton, &QPushButton::clicked, this, &Tboksform::reject);
    connect(okButton, &QPushButton::clicked, this, &Tboksform::accept);
    connect(infoButton, &QToolButton::clicked, this, [] { showInfo(informationText); });
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
        setBoxHeight(StartHeight);
        return;
    }
    readSettings(optFilnavn, {1, true, false, SettingsRules::Fallback::DesignValues}, {},
                 [this](SettingsLines &lines) { setBoxHeight(lines.integer()); });
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

void Tboksform::setBoxHeight(int boxHeight)
{
    // A remembered height taller than the screen would put the buttons out of reach.
    if (const QScreen *shownOn = screen())
        boxHeight = qMin(boxHeight, shownOn->availableGeometry().height());
    resize(Width, qMax(boxHeight, MinimumHeight));
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
    const QSignalBlocker blocker(Box);
    for (QListWidgetItem *item : Box->selectedItems())
        delete Box->takeItem(Box->row(item));
    updateCounter();
}

void Tboksform::AflytOpExecute()
{
    // The enabled state is only brought up to date when the program is idle.
    const QList<QListWidgetItem *> selected = Box->selectedItems();
    if (Box->count() < 2 || selected.size() != 1)
        return;
    const int from = Box->row(selected.first());
    // The first name wraps round to the end; every other name moves one place up.
    const int to = from > 0 ? from - 1 : Box->count() - 1;
    const QSignalBlocker blocker(Box);
    Box->insertItem(to, Box->takeItem(from));
    selectOnly(Box, to);
}

void Tboksform::AflytNedExecute()
{
    const QList<QListWidgetItem *> selected = Box->selectedItems();
    if (Box->count() < 2 || selected.size() != 1)
        return;
    const int from = Box->row(selected.first());
    // The last name wraps round to the top; every other name moves one place down.
    const int to = from < Box->count() - 1 ? from + 1 : 0;
    const QSignalBlocker blocker(Box);
    Box->insertItem(to, Box->takeItem(from));
    selectOnly(Box, to);
}

void Tboksform::sorterListerneExecute()
{
    for (QListWidget *list : {Box, lagerBox}) {
        const QSignalBlocker blocker(list);
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        sortFontNames(names);
        list->clear();
        list->addItems(names);
    }
}

void Tboksform::listClick(QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    if (selected.size() != 1)
        return;
    const QString name = selected.first()->text();
    QStringList lines = Memo->toPlainText().split(QLatin1Char('\n'));
    while (lines.size() < 2)
        lines << QString();
    lines[0] = QStringLiteral("Fontnavn:");
    lines[1] = name;
    Memo->setPlainText(lines.join(QLatin1Char('\n')));
    QFont font = Memo->font();
    font.setFamily(name);
    Memo->setFont(font);
}
