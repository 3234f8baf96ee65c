#include "lists/favoritUnit.h"

#include "lists/FavDirUnit.h"
#include "opening/DocumentHost.h"
#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "platform/DataFolders.h"
#include "platform/Shell.h"
#include "widgets/Action.h"
#include "widgets/BoxSettings.h"
#include "widgets/Controls.h"
#include "widgets/ElidedLabel.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int StartBredde = 580;
constexpr int StartHoejde = 480;
// A title bar below and to the right of the folder-and-file box's first place, so that the boxes
// shown at the first start do not hide each other.
constexpr int StartVenstre = 72;
constexpr int StartTop = 72;
// Narrower than it was designed, the row of icon buttons no longer fits beside a left pane of
// half the width.
constexpr int MindsteBredde = 580;
constexpr int MindsteHoejde = 360;
constexpr int Raekkehoejde = 19;

const QString listeEndelse = QStringLiteral(".txt");
const QString mappeIkkeFundet = QStringLiteral("Information:\rMappen blev ikke fundet.");
// Characters that no file name on the user's desktop may hold; a line break would moreover split
// the settings file's name line in two.
const QString forbudteTegn = QStringLiteral("\\/:*?\"<>|");

// The rows of both lists: a coloured square before the text and a silver line under it.
class RaekkeTegner : public QStyledItemDelegate {
public:
    RaekkeTegner(const QColor &firkant, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_firkant(firkant)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        const bool valgt = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup gruppe = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->save();
        painter->fillRect(r, option.palette.color(gruppe, valgt ? QPalette::Highlight : QPalette::Base));
        painter->fillRect(QRect(r.left() + 2, r.top() + 5, 10, 10), m_firkant);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(gruppe, valgt ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRect(r.left() + 14, r.top() + 1, qMax(0, r.width() - 14), r.height() - 1),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
        painter->setPen(QColor(192, 192, 192));
        painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width() + 14, Raekkehoejde};
    }

private:
    QColor m_firkant;
};

QListWidget *tegnetListe(QWidget *parent, const QString &name, const QString &accessibleName, const QColor &firkant)
{
    QListWidget *liste = namedList(parent, name, accessibleName);
    liste->setItemDelegate(new RaekkeTegner(firkant, liste));
    liste->setUniformItemSizes(true);
    liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return liste;
}

// A name that can be a list file in the favourites folder and a line of the settings file.
bool erListenavn(const QString &navn)
{
    if (navn.isEmpty())
        return false;
    for (const QChar c : navn)
        if (c.unicode() < 32 || forbudteTegn.contains(c))
            return false;
    return true;
}

// The folder part of a path, separator included.
QString mappeDel(const QString &path)
{
#ifdef Q_OS_WIN
    const qsizetype skel = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
#else
    const qsizetype skel = path.lastIndexOf(QLatin1Char('/'));
#endif
    return path.left(skel + 1);
}

// A caption is one line of the item file.
QString enLinje(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}

bool erEnterEllerMellemrum(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

} // namespace

Tfavoritform::Tfavoritform(QWidget *parent)
    : TBox(parent, QStringLiteral("Favoritter"))
{
    setObjectName(QStringLiteral("favoritform"));
    FavFiler = new TReopenFilerX(this);
    buildActions();
    buildControls();
    setMinimumSize(MindsteBredde, MindsteHoejde);
    resize(StartBredde, StartHoejde);
}

void Tfavoritform::buildActions()
{
    // The buttons show icons and are known by their hints; the short caption is shown only where
    // the desktop has no icon for them.
    const auto action = [this](const char *name, const QString &caption, const QString &hint,
                               void (Tfavoritform::*execute)(), std::function<bool()> rule) {
        auto *a = new TAction(this, QString::fromLatin1(name), caption, hint);
        a->setUpdateRule(std::move(rule));
        connect(a, &QAction::triggered, this, execute);
        return a;
    };
    Fabc = action("Fabc", QStringLiteral("ABC"), QStringLiteral("Arranger listen alfabetisk"), &Tfavoritform::FabcExecute,
                  [this] { return favFilerListe->count() >= 2; });
    FLop = action("FLop", QStringLiteral("Op"), QStringLiteral("Flyt valgte op"), &Tfavoritform::FLopExecute,
                  [this] { return valgtRaekke() > 0; });
    FLned = action("FLned", QStringLiteral("Ned"), QStringLiteral("Flyt valgte ned"), &Tfavoritform::FLnedExecute, [this] {
        const int row = valgtRaekke();
        return row >= 0 && row < favFilerListe->count() - 1;
    });
    FLsletValgte = action("FLsletValgte", QStringLiteral("Slet"), QStringLiteral("Slet valgte element fra listen"),
                          &Tfavoritform::FLsletValgteExecute, [this] { return valgtRaekke() >= 0; });
    FLsletAlle = action("FLsletAlle", QStringLiteral("Slet alle"), QStringLiteral("Slet alle elementer fra listen"),
                        &Tfavoritform::FLsletAlleExecute, [this] { return FavFiler->Antal() > 0; });
    FLopenEdit = action("FLopenEdit", QStringLiteral("Åben"), QStringLiteral("Åben valgte dokument til redigering"),
                        &Tfavoritform::FLopenEditExecute, [this] { return valgtRaekke() >= 0; });
    FLVisMappe = action("FLVisMappe", QStringLiteral("Mappe"), QStringLiteral("Åben i Windows Stifinder"),
                        &Tfavoritform::FLVisMappeExecute, [this] { return valgtRaekke() >= 0; });
    insertFil = action("insertFil", QStringLiteral("Indsæt"), QStringLiteral("Insæt aktuelle fil i listen"),
                       &Tfavoritform::insertFilExecute, [] { return openDispatch() && !openDispatch()->host().dokumentFilnavn.isEmpty(); });
    aGemFilliste = action("aGemFilliste", QStringLiteral("Gem"), QStringLiteral("Gem listen"),
                          &Tfavoritform::aGemFillisteExecute, [this] { return ListeForandret; });
    FLRenameCaption = action("FLRenameCaption", QStringLiteral("Omdøb"),
                             QStringLiteral("Indfør ny tekst og tryk her for at omdøbe til den nye tekst. "
                                            "Selve filen omdøbes ikke."),
                             &Tfavoritform::FLRenameCaptionExecute,
                             [this] { return valgtRaekke() >= 0 && !RenamFEdit->text().isEmpty(); });
    aGemNytNavn = action("aGemNytNavn", QStringLiteral("Gem"), QStringLiteral("Gem indførte listenavn"),
                         &Tfavoritform::aGemNytNavnExecute, [this] { return gemEdit->text().size() >= 2; });
}

void Tfavoritform::buildControls()
{
    opretPanel = new QWidget(this);
    opretPanel->setObjectName(QStringLiteral("opretPanel"));
    auto *venstre = new QVBoxLayout(opretPanel);
    venstre->setContentsMargins(0, 0, 0, 0);
    venstre->addWidget(namedLabel(opretPanel, QStringLiteral("fillistenLabel"), QStringLiteral("Favoritlister")));
    fillisten = tegnetListe(opretPanel, QStringLiteral("fillisten"), QStringLiteral("Favoritlister"), QColor(255, 0, 0));
    venstre->addWidget(fillisten, 1);
    auto *nyRaekke = new QHBoxLayout;
    gemEdit = namedEdit(opretPanel, QStringLiteral("gemEdit"), QStringLiteral("Indfør navn for ny filliste"),
                        QStringLiteral("Indfør fillistenavn og tryk Gem"));
    nyRaekke->addWidget(gemEdit, 1);
    nyRaekke->addWidget(iconActionButton(opretPanel, aGemNytNavn, QStringLiteral("document-new")));
    venstre->addLayout(nyRaekke);
    auto *knapper = new QHBoxLayout;
    opdaterButton = pushButton(opretPanel, QStringLiteral("opdaterButton"), QStringLiteral("Opdater"), QString(),
                               QStringLiteral("Opdater listen efter redigering"));
    redigerButton = pushButton(opretPanel, QStringLiteral("redigerButton"), QStringLiteral("Rediger"), QString(),
                               QStringLiteral("Omdøb eller slet listefiler"));
    knapper->addWidget(opdaterButton);
    knapper->addWidget(redigerButton);
    knapper->addStretch();
    venstre->addLayout(knapper);

    favfilerPanel = new QWidget(this);
    favfilerPanel->setObjectName(QStringLiteral("favfilerPanel"));
    auto *hoejre = new QVBoxLayout(favfilerPanel);
    hoejre->setContentsMargins(0, 0, 0, 0);
    fillisteNavn = namedLabel(favfilerPanel, QStringLiteral("fillisteNavn"), QStringLiteral("Listenavn"));
    hoejre->addWidget(fillisteNavn);
    auto *ikoner = new QHBoxLayout;
    ikoner->setSpacing(2);
    const QList<std::pair<TAction *, const char *>> venstreIkoner{
        {Fabc, "view-sort-ascending"},   {FLop, "go-up"},                {FLned, "go-down"},
        {FLsletValgte, "list-remove"},   {FLsletAlle, "edit-clear-list"}, {FLopenEdit, "document-edit"},
        {FLVisMappe, "folder-open"}};
    for (const auto &[a, ikon] : venstreIkoner)
        ikoner->addWidget(iconActionButton(favfilerPanel, a, QString::fromLatin1(ikon)));
    ikoner->addStretch();
    ikoner->addWidget(iconActionButton(favfilerPanel, insertFil, QStringLiteral("list-add")));
    ikoner->addWidget(iconActionButton(favfilerPanel, aGemFilliste, QStringLiteral("document-save")));
    hoejre->addLayout(ikoner);
    favFilerListe = tegnetListe(favfilerPanel, QStringLiteral("favFilerListe"), QStringLiteral("Favoritliste"),
                                QColor(0, 255, 255));
    hoejre->addWidget(favFilerListe, 1);
    hoejre->addWidget(namedLabel(favfilerPanel, QStringLiteral("valgtLabel"), QStringLiteral("Valgte element:")));
    auto *omdoeb = new QHBoxLayout;
    RenamFEdit = namedEdit(favfilerPanel, QStringLiteral("RenamFEdit"),
                           QStringLiteral("Indfør ny tekst til valgte punkt"), QStringLiteral("Vælg et element i listen"));
    omdoeb->addWidget(RenamFEdit, 1);
    omdoeb->addWidget(iconActionButton(favfilerPanel, FLRenameCaption, QStringLiteral("edit-rename")));
    hoejre->addLayout(omdoeb);

    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    infoBar = new ElidedLabel(statusBar);
    infoBar->setObjectName(QStringLiteral("infoBar"));
    infoBar->setAccessibleName(QStringLiteral("Status"));
    statusBar->addWidget(infoBar, 1);

    auto *ruder = new QHBoxLayout;
    ruder->addWidget(opretPanel);
    ruder->addWidget(favfilerPanel, 1);
    auto *lag = new QVBoxLayout(this);
    lag->setContentsMargins(8, 8, 8, 0);
    lag->addLayout(ruder, 1);
    lag->addWidget(statusBar);

    connect(opdaterButton, &QPushButton::clicked, this, &Tfavoritform::opdaterButtonClick);
    connect(redigerButton, &QPushButton::clicked, this, [this] { openDirectory(Listemappe); });
    connect(fillisten, &QListWidget::itemDoubleClicked, this, [this] {
        if (QListWidgetItem *item = fillisten->currentItem(); item && item->isSelected())
            LoadListe(item->text(), true);
    });
    // A row reached with the arrow keys is selected as much as a clicked one: the field and the
    // status text follow it, or Enter in the field would rename it with the last row's caption.
    connect(favFilerListe, &QListWidget::currentRowChanged, this, [this] {
        if (const int row = valgtRaekke(); row >= 0)
            FavFilerListeKlik(FavFiler->GetCaption(row), FavFiler->GetFilnavn(row));
    });
    connect(RenamFEdit, &QLineEdit::returnPressed, this, [this] { FLRenameCaption->Execute(); });
    connect(gemEdit, &QLineEdit::returnPressed, this, [this] { aGemNytNavn->Execute(); });
    fillisten->installEventFilter(this);
    favFilerListe->installEventFilter(this);
}

void Tfavoritform::FormCreate()
{
    opstart = true;
    createMappe();
    optFilnavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("favoritUnit.txt"));
    HentOpt();
    // The first resize, at the first showing, is ignored; the pane already fits the read width.
    opretPanel->setFixedWidth(qMax(0, width() / 2 - 12));
    FavFiler->Itemfile = listefil(FavFilerFilename);
    FavFiler->ListeBoks = favFilerListe;
    FavFiler->OnDblListeKlik = [this](const QString &Capnavn, const QString &Filnavn) {
        FavFilerDblListeKlik(Capnavn, Filnavn);
    };
    FavFiler->OnListeKlik = [this](const QString &Capnavn, const QString &Filnavn) { FavFilerListeKlik(Capnavn, Filnavn); };
    FavFiler->Itemtype = TItemtype::itFil;
    FavFiler->HentReopenFiler();
    LoadListe(FavFilerFilename, false);
    ListeForandret = false;
}

void Tfavoritform::createMappe()
{
    Listemappe = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("Favoritter"));
    // A folder that cannot be made shows up as a failed save, which is reported.
    Platform::makeFolder(Listemappe);
    Listemappe += QDir::separator();
}

void Tfavoritform::defaultOpt()
{
    resize(StartBredde, StartHoejde);
    move(StartVenstre, StartTop);
    FavFilerFilename = QStringLiteral("Favoritter");
}

void Tfavoritform::HentOpt()
{
    readSettings(optFilnavn, {5, false, true, SettingsRules::Fallback::Defaults}, [this] { defaultOpt(); },
                 [this](SettingsLines &lines) {
                     lines.windowGeometry(*this);
                     FavFilerFilename = lines.text();
                 });
}

void Tfavoritform::GemOpt()
{
    SettingsWriter()
        .windowGeometry(*this)
        .text(FavFilerFilename)
        .write(optFilnavn);
}

QString Tfavoritform::listefil(const QString &navn) const
{
    return erListenavn(navn) ? Listemappe + navn + listeEndelse : QString();
}

void Tfavoritform::setAktuelNavn(const QString &navn)
{
    FavFilerFilename = navn;
    FavFiler->Itemfile = listefil(navn);
}

bool Tfavoritform::gemTilItemfil()
{
    if (FavFiler->Itemfile.isEmpty()) {
        showInfo(QStringLiteral("Listen har intet navn og blev ikke gemt.\rGem den som en ny liste med et navn."));
        return false;
    }
    return FavFiler->GemReopenFiler();
}

void Tfavoritform::showEvent(QShowEvent *event)
{
    TBox::showEvent(event);
    // A window brought back from the task bar is not shown anew.
    if (!event->spontaneous())
        FormShow();
}

void Tfavoritform::FormShow()
{
    LoadFillister();
    selectFilliste(FavFilerFilename);
    fillistenIndex = fillisten->currentRow();
}

void Tfavoritform::selectFilliste(const QString &navn)
{
    fillisten->clearSelection();
    fillisten->setCurrentRow(-1);
    for (int i = 0; i < fillisten->count(); ++i) {
        if (sameTextAZ(fillisten->item(i)->text(), navn)) {
            fillisten->setCurrentRow(i);
            return;
        }
    }
}

void Tfavoritform::LoadFillister()
{
    fillisten->clear();
    // Sorted by name as the user's desktop (NTFS) enumerates them, so every system shows one order.
    const QFileInfoList filer = QDir(Listemappe).entryInfoList({QStringLiteral("*") + listeEndelse},
                                                               QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fil : filer) {
        const QString navn = fil.fileName().chopped(listeEndelse.size());
        if (!navn.isEmpty())
            fillisten->addItem(navn);
    }
}

void Tfavoritform::LoadListe(const QString &aListename, bool medInfo)
{
    if (ListeForandret && ask(QStringLiteral("Nuværende liste er forandret.\rSkal den gemmes?")))
        aGemFillisteExecute();
    const QString fil = listefil(aListename);
    if (!fil.isEmpty() && Platform::fileExists(fil)) {
        // A list file that cannot be read leaves the current list under its own name: under the
        // other name, saving it would write its items over the file that could not be read.
        const QString previous = FavFilerFilename;
        setAktuelNavn(aListename);
        if (!FavFiler->HentReopenFiler()) {
            setAktuelNavn(previous);
            return;
        }
        fillisteNavn->setText(aListename);
        RenamFEdit->clear();
        ListeForandret = false;
    } else if (medInfo) {
        showInfo(QStringLiteral("Filen: ") + aListename + listeEndelse + QLatin1Char('\r')
                 + QStringLiteral("kunne ikke findes."));
    }
}

void Tfavoritform::opdaterButtonClick()
{
    LoadFillister();
    selectFilliste(FavFilerFilename);
    // A list file renamed or deleted in the file manager. Unsaved changes keep the list as it
    // is: "Gem listen" writes it again under its name.
    if (fillisten->count() == 0 || ListeForandret || FavFilerFilename.isEmpty()
        || fillisten->currentRow() >= 0)
        return;
    if (fillistenIndex >= 0 && fillistenIndex < fillisten->count()) {
        const QString navn = fillisten->item(fillistenIndex)->text();
        setAktuelNavn(navn);
        fillisteNavn->setText(navn);
        fillisten->setCurrentRow(fillistenIndex);
        return;
    }
    setAktuelNavn(QString());
    fillisteNavn->clear();
    FavFiler->DeleteAlleItems();
    showInfo(QStringLiteral("Den valgte listefil eksisterer ikke længere.\rVælg en ny listefil."));
}

void Tfavoritform::openMappe(const QString &aFilename)
{
    QString mappe = aFilename;
    if (Platform::fileExists(mappe))
        mappe = QDir::toNativeSeparators(QFileInfo(mappe).absolutePath());
    openDirectory(mappe);
}

void Tfavoritform::openDirectory(const QString &aMappename)
{
    if (!Platform::folderExists(aMappename)) {
        showInfo(mappeIkkeFundet);
        return;
    }
    const int result = Platform::shell().execute(QStringLiteral("open"), aMappename, QString(), QString());
    if (result <= 32)
        TFunktioner::ErrorInfo(result);
}

void Tfavoritform::FavFilerListeKlik(const QString &Capnavn, const QString &Filnavn)
{
    RenamFEdit->setText(Capnavn);
    setInfo(Filnavn);
}

void Tfavoritform::FavFilerDblListeKlik(const QString &, const QString &Filnavn)
{
    if (Platform::fileExists(Filnavn))
        openDispatch()->openwin(Filnavn, QString());
}

int Tfavoritform::valgtRaekke() const
{
    const int row = favFilerListe->currentRow();
    if (row < 0 || row >= FavFiler->Antal() || row >= favFilerListe->count() || !favFilerListe->item(row)->isSelected())
        return -1;
    return row;
}

QString Tfavoritform::infoTekst() const
{
    return infoBar->text();
}

void Tfavoritform::setInfo(const QString &text)
{
    infoBar->setText(text);
}

void Tfavoritform::selectRow(int row)
{
    if (row >= 0 && row < favFilerListe->count())
        favFilerListe->setCurrentRow(row);
}

void Tfavoritform::FabcExecute()
{
    if (favFilerListe->count() < 2)
        return;
    if (!ask(QStringLiteral("Hvis listen sorteres, kan handlingen ikke annulleres.\rSkal listen sorteres alfabetisk?")))
        return;
    if (FavFiler->sorterABC(0)) {
        setInfo(QStringLiteral("Listen blev sorteret alfabetisk"));
        ListeForandret = true;
    } else {
        setInfo(QStringLiteral("Listen blev ikke ændret"));
    }
}

void Tfavoritform::FLopExecute()
{
    const int row = valgtRaekke();
    if (!FavFiler->flytOp(row))
        return;
    FavFiler->MakeListeMenu();
    selectRow(row - 1);
    ListeForandret = true;
}

void Tfavoritform::FLnedExecute()
{
    const int row = valgtRaekke();
    if (!FavFiler->flytNed(row))
        return;
    FavFiler->MakeListeMenu();
    selectRow(row + 1);
    ListeForandret = true;
}

void Tfavoritform::FLsletValgteExecute()
{
    const int row = valgtRaekke();
    if (row < 0)
        return;
    FavFiler->DeleteItem(row);
    selectRow(row < favFilerListe->count() ? row : row - 1);
    ListeForandret = true;
}

void Tfavoritform::FLsletAlleExecute()
{
    if (FavFiler->Antal() == 0)
        return;
    FavFiler->SletAlleItems();
    ListeForandret = true;
}

void Tfavoritform::FLopenEditExecute()
{
    const QString fil = FavFiler->GetFilnavn(valgtRaekke());
    if (Platform::fileExists(fil))
        openDispatch()->openwin(fil, QString());
}

void Tfavoritform::FLVisMappeExecute()
{
    const int row = valgtRaekke();
    if (row >= 0)
        openMappe(FavFiler->GetFilnavn(row));
}

void Tfavoritform::insertFilExecute()
{
    const QString name = openDispatch()->host().dokumentFilnavn;
    if (!name.isEmpty() && FavFiler->InsertItem(name, QFileInfo(name).fileName(), 3))
        ListeForandret = true;
}

void Tfavoritform::aGemFillisteExecute()
{
    setAktuelNavn(fillisteNavn->text());
    // A failed save keeps the mark, so that closing offers to save again.
    ListeForandret = !gemTilItemfil();
    if (!ListeForandret && fillisten->findItems(FavFilerFilename, Qt::MatchFixedString | Qt::MatchCaseSensitive).isEmpty()) {
        LoadFillister();
        selectFilliste(FavFilerFilename);
    }
}

void Tfavoritform::FLRenameCaptionExecute()
{
    const int row = valgtRaekke();
    const QString tekst = enLinje(RenamFEdit->text());
    if (row < 0 || tekst.isEmpty())
        return;
    if (tekst == FavFiler->GetCaption(row)) {
        showInfo(QStringLiteral("Elementet har allerede det indførte elementnavn!\r"
                                "Hvis det skal omdøbes, så indfør det nye navn først."));
        return;
    }
    FavFiler->SetCaption(row, tekst);
    selectRow(row);
    ListeForandret = true;
    RenamFEdit->clear();
}

void Tfavoritform::aGemNytNavnExecute()
{
    const QString S = gemEdit->text();
    if (S.size() < 2)
        return;
    if (!erListenavn(S)) {
        showInfo(QStringLiteral("Et listenavn kan ikke indeholde tegnene ") + forbudteTegn
                 + QStringLiteral("\rIndfør et andet navn for den nye liste."));
        return;
    }
    if (QFileInfo::exists(Listemappe + S + listeEndelse)) {
        showInfo(QStringLiteral("Dette listenavn er allerede i brug.\rIndfør et andet navn for den nye liste."));
        return;
    }
    if (ListeForandret && ask(QStringLiteral("Nuværende liste er ikke gemt.\rSkal listen gemmes?")))
        aGemFillisteExecute();
    // "Nej" to emptying starts the new list as a copy of the current one.
    FavFiler->SletAlleItems();
    fillisteNavn->setText(S);
    aGemFillisteExecute();
    opdaterButtonClick();
    gemEdit->clear();
}

bool Tfavoritform::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == favFilerListe) {
        if (erEnterEllerMellemrum(event)) {
            // No existence check here: a missing document is passed over in silence.
            const int row = valgtRaekke();
            if (row >= 0)
                FavFilerDblListeKlik(FavFiler->GetCaption(row), FavFiler->GetFilnavn(row));
            return true;
        }
        if (event->type() == QEvent::Enter) {
            const int row = valgtRaekke();
            if (row >= 0)
                setInfo(mappeDel(FavFiler->GetFilnavn(row)));
        } else if (event->type() == QEvent::Leave) {
            setInfo(QString());
        }
    } else if (watched == fillisten && erEnterEllerMellemrum(event)) {
        if (QListWidgetItem *item = fillisten->currentItem(); item && item->isSelected())
            LoadListe(item->text(), true);
        return true;
    }
    return TBox::eventFilter(watched, event);
}

void Tfavoritform::resizeEvent(QResizeEvent *event)
{
    TBox::resizeEvent(event);
    FormResize();
}

void Tfavoritform::FormResize()
{
    if (opstart) {
        opstart = false;
        return;
    }
    opretPanel->setFixedWidth(qMax(0, width() / 2 - 12));
}

void Tfavoritform::FormClose()
{
    if (ListeForandret) {
        if (optform && optform->CheckVedLuk->isChecked())
            gemTilItemfil();
        else if (ask(QStringLiteral("Favoritlisten er forandret men ikke gemt.\rSkal den gemmes?")))
            gemTilItemfil();
    }
    GemOpt();
}
