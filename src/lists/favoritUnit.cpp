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

constexpr int StartWidth = 580;
constexpr int StartHeight = 480;
// A title bar below and to the right of the folder-and-file box's first place, so that the boxes
// shown at the first start do not hide each other.
constexpr int StartLeft = 72;
constexpr int StartTop = 72;
// Narrower than it was designed, the row of icon buttons no longer fits beside a left pane of
// half the width.
constexpr int MinimumWidth = 580;
constexpr int MinimumHeight = 360;
constexpr int RowHeight = 19;

const QString listSuffix = QStringLiteral(".txt");
const QString folderNotFound = QStringLiteral("Information:\rMappen blev ikke fundet.");
// Characters that no file name on the user's desktop may hold; a line break would moreover split
// the settings file's name line in two.
const QString forbiddenCharacters = QStringLiteral("\\/:*?\"<>|");

// The rows of both lists: a coloured square before the text and a silver line under it.
class RowPainter : public QStyledItemDelegate {
public:
    RowPainter(const QColor &square, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_square(square)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->save();
        painter->fillRect(r, option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base));
        painter->fillRect(QRect(r.left() + 2, r.top() + 5, 10, 10), m_square);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRect(r.left() + 14, r.top() + 1, qMax(0, r.width() - 14), r.height() - 1),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
        painter->setPen(QColor(192, 192, 192));
        painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width() + 14, RowHeight};
    }

private:
    QColor m_square;
};

QListWidget *drawnList(QWidget *parent, const QString &name, const QString &accessibleName, const QColor &square)
{
    QListWidget *list = namedList(parent, name, accessibleName);
    list->setItemDelegate(new RowPainter(square, list));
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

// A name that can be a list file in the favourites folder and a line of the settings file.
bool isListName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (c.unicode() < 32 || forbiddenCharacters.contains(c))
            return false;
    return true;
}

// The folder part of a path, separator included.
QString folderPart(const QString &path)
{
#ifdef Q_OS_WIN
    const qsizetype lastSeparator = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
#else
    const qsizetype lastSeparator = path.lastIndexOf(QLatin1Char('/'));
#endif
    return path.left(lastSeparator + 1);
}

// A caption is one line of the item file.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}

bool isEnterOrSpace(const QEvent *event)
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
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(StartWidth, StartHeight);
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
                  [this] { return selectedRow() > 0; });
    FLned = action("FLned", QStringLiteral("Ned"), QStringLiteral("Flyt valgte ned"), &Tfavoritform::FLnedExecute, [this] {
        const int row = selectedRow();
        return row >= 0 && row < favFilerListe->count() - 1;
    });
    FLsletValgte = action("FLsletValgte", QStringLiteral("Slet"), QStringLiteral("Slet valgte element fra listen"),
                          &Tfavoritform::FLsletValgteExecute, [this] { return selectedRow() >= 0; });
    FLsletAlle = action("FLsletAlle", QStringLiteral("Slet alle"), QStringLiteral("Slet alle elementer fra listen"),
                        &Tfavoritform::FLsletAlleExecute, [this] { return FavFiler->Antal() > 0; });
    FLopenEdit = action("FLopenEdit", QStringLiteral("Åben"), QStringLiteral("Åben valgte dokument til redigering"),
                        &Tfavoritform::FLopenEditExecute, [this] { return selectedRow() >= 0; });
    FLVisMappe = action("FLVisMappe", QStringLiteral("Mappe"), QStringLiteral("Åben i Windows Stifinder"),
                        &Tfavoritform::FLVisMappeExecute, [this] { return selectedRow() >= 0; });
    insertFil = action("insertFil", QStringLiteral("Indsæt"), QStringLiteral("Insæt aktuelle fil i listen"),
                       &Tfavoritform::insertFilExecute, [] { return openDispatch() && !openDispatch()->host().dokumentFilnavn.isEmpty(); });
    aGemFilliste = action("aGemFilliste", QStringLiteral("Gem"), QStringLiteral("Gem listen"),
                          &Tfavoritform::aGemFillisteExecute, [this] { return ListeForandret; });
    FLRenameCaption = action("FLRenameCaption", QStringLiteral("Omdøb"),
                             QStringLiteral("Indfør ny tekst og tryk her for at omdøbe til den nye tekst. "
                                            "Selve filen omdøbes ikke."),
                             &Tfavoritform::FLRenameCaptionExecute,
                             [this] { return selectedRow() >= 0 && !RenamFEdit->text().isEmpty(); });
    aGemNytNavn = action("aGemNytNavn", QStringLiteral("Gem"), QStringLiteral("Gem indførte listenavn"),
                         &Tfavoritform::aGemNytNavnExecute, [this] { return gemEdit->text().size() >= 2; });
}

void Tfavoritform::buildControls()
{
    opretPanel = new QWidget(this);
    opretPanel->setObjectName(QStringLiteral("opretPanel"));
    auto *leftColumn = new QVBoxLayout(opretPanel);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    leftColumn->addWidget(namedLabel(opretPanel, QStringLiteral("fillistenLabel"), QStringLiteral("Favoritlister")));
    fillisten = drawnList(opretPanel, QStringLiteral("fillisten"), QStringLiteral("Favoritlister"), QColor(255, 0, 0));
    leftColumn->addWidget(fillisten, 1);
    auto *newListRow = new QHBoxLayout;
    gemEdit = namedEdit(opretPanel, QStringLiteral("gemEdit"), QStringLiteral("Indfør navn for ny filliste"),
                        QStringLiteral("Indfør fillistenavn og tryk Gem"));
    newListRow->addWidget(gemEdit, 1);
    newListRow->addWidget(iconActionButton(opretPanel, aGemNytNavn, QStringLiteral("document-new")));
    leftColumn->addLayout(newListRow);
    auto *buttonRow = new QHBoxLayout;
    opdaterButton = pushButton(opretPanel, QStringLiteral("opdaterButton"), QStringLiteral("Opdater"), QString(),
                               QStringLiteral("Opdater listen efter redigering"));
    redigerButton = pushButton(opretPanel, QStringLiteral("redigerButton"), QStringLiteral("Rediger"), QString(),
                               QStringLiteral("Omdøb eller slet listefiler"));
    buttonRow->addWidget(opdaterButton);
    buttonRow->addWidget(redigerButton);
    buttonRow->addStretch();
    leftColumn->addLayout(buttonRow);

    favfilerPanel = new QWidget(this);
    favfilerPanel->setObjectName(QStringLiteral("favfilerPanel"));
    auto *rightColumn = new QVBoxLayout(favfilerPanel);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    fillisteNavn = namedLabel(favfilerPanel, QStringLiteral("fillisteNavn"), QStringLiteral("Listenavn"));
    rightColumn->addWidget(fillisteNavn);
    auto *iconRow = new QHBoxLayout;
    iconRow->setSpacing(2);
    const QList<std::pair<TAction *, const char *>> leftIcons{
        {Fabc, "view-sort-ascending"},   {FLop, "go-up"},                {FLned, "go-down"},
        {FLsletValgte, "list-remove"},   {FLsletAlle, "edit-clear-list"}, {FLopenEdit, "document-edit"},
        {FLVisMappe, "folder-open"}};
    for (const auto &[a, icon] : leftIcons)
        iconRow->addWidget(iconActionButton(favfilerPanel, a, QString::fromLatin1(icon)));
    iconRow->addStretch();
    iconRow->addWidget(iconActionButton(favfilerPanel, insertFil, QStringLiteral("list-add")));
    iconRow->addWidget(iconActionButton(favfilerPanel, aGemFilliste, QStringLiteral("document-save")));
    rightColumn->addLayout(iconRow);
    favFilerListe = drawnList(favfilerPanel, QStringLiteral("favFilerListe"), QStringLiteral("Favoritliste"),
                              QColor(0, 255, 255));
    rightColumn->addWidget(favFilerListe, 1);
    rightColumn->addWidget(namedLabel(favfilerPanel, QStringLiteral("valgtLabel"), QStringLiteral("Valgte element:")));
    auto *renameRow = new QHBoxLayout;
    RenamFEdit = namedEdit(favfilerPanel, QStringLiteral("RenamFEdit"),
                           QStringLiteral("Indfør ny tekst til valgte punkt"), QStringLiteral("Vælg et element i listen"));
    renameRow->addWidget(RenamFEdit, 1);
    renameRow->addWidget(iconActionButton(favfilerPanel, FLRenameCaption, QStringLiteral("edit-rename")));
    rightColumn->addLayout(renameRow);

    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    infoBar = new ElidedLabel(statusBar);
    infoBar->setObjectName(QStringLiteral("infoBar"));
    infoBar->setAccessibleName(QStringLiteral("Status"));
    statusBar->addWidget(infoBar, 1);

    auto *panes = new QHBoxLayout;
    panes->addWidget(opretPanel);
    panes->addWidget(favfilerPanel, 1);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 0);
    column->addLayout(panes, 1);
    column->addWidget(statusBar);

    connect(opdaterButton, &QPushButton::clicked, this, &Tfavoritform::opdaterButtonClick);
    connect(redigerButton, &QPushButton::clicked, this, [this] { openDirectory(Listemappe); });
    connect(fillisten, &QListWidget::itemDoubleClicked, this, [this] {
        if (QListWidgetItem *item = fillisten->currentItem(); item && item->isSelected())
            LoadListe(item->text(), true);
    });
    // A row reached with the arrow keys is selected as much as a clicked one: the field and the
    // status text follow it, or Enter in the field would rename it with the last row's caption.
    connect(favFilerListe, &QListWidget::currentRowChanged, this, [this] {
        if (const int row = selectedRow(); row >= 0)
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
    FavFiler->Itemfile = listFile(FavFilerFilename);
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
    resize(StartWidth, StartHeight);
    move(StartLeft, StartTop);
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

QString Tfavoritform::listFile(const QString &name) const
{
    return isListName(name) ? Listemappe + name + listSuffix : QString();
}

void Tfavoritform::setCurrentName(const QString &name)
{
    FavFilerFilename = name;
    FavFiler->Itemfile = listFile(name);
}

bool Tfavoritform::saveToItemFile()
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
    selectListName(FavFilerFilename);
    fillistenIndex = fillisten->currentRow();
}

void Tfavoritform::selectListName(const QString &name)
{
    fillisten->clearSelection();
    fillisten->setCurrentRow(-1);
    for (int i = 0; i < fillisten->count(); ++i) {
        if (sameTextAZ(fillisten->item(i)->text(), name)) {
            fillisten->setCurrentRow(i);
            return;
        }
    }
}

void Tfavoritform::LoadFillister()
{
    fillisten->clear();
    // Sorted by name as the user's desktop (NTFS) enumerates them, so every system shows one order.
    const QFileInfoList files = QDir(Listemappe).entryInfoList({QStringLiteral("*") + listSuffix},
                                                               QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        const QString name = file.fileName().chopped(listSuffix.size());
        if (!name.isEmpty())
            fillisten->addItem(name);
    }
}

void Tfavoritform::LoadListe(const QString &aListename, bool medInfo)
{
    if (ListeForandret && ask(QStringLiteral("Nuværende liste er forandret.\rSkal den gemmes?")))
        aGemFillisteExecute();
    const QString file = listFile(aListename);
    if (!file.isEmpty() && Platform::fileExists(file)) {
        // A list file that cannot be read leaves the current list under its own name: under the
        // other name, saving it would write its items over the file that could not be read.
        const QString previous = FavFilerFilename;
        setCurrentName(aListename);
        if (!FavFiler->HentReopenFiler()) {
            setCurrentName(previous);
            return;
        }
        fillisteNavn->setText(aListename);
        RenamFEdit->clear();
        ListeForandret = false;
    } else if (medInfo) {
        showInfo(QStringLiteral("Filen: ") + aListename + listSuffix + QLatin1Char('\r')
                 + QStringLiteral("kunne ikke findes."));
    }
}

void Tfavoritform::opdaterButtonClick()
{
    LoadFillister();
    selectListName(FavFilerFilename);
    // A list file renamed or deleted in the file manager. Unsaved changes keep the list as it
    // is: "Gem listen" writes it again under its name.
    if (fillisten->count() == 0 || ListeForandret || FavFilerFilename.isEmpty()
        || fillisten->currentRow() >= 0)
        return;
    if (fillistenIndex >= 0 && fillistenIndex < fillisten->count()) {
        const QString name = fillisten->item(fillistenIndex)->text();
        setCurrentName(name);
        fillisteNavn->setText(name);
        fillisten->setCurrentRow(fillistenIndex);
        return;
    }
    setCurrentName(QString());
    fillisteNavn->clear();
    FavFiler->DeleteAlleItems();
    showInfo(QStringLiteral("Den valgte listefil eksisterer ikke længere.\rVælg en ny listefil."));
}

void Tfavoritform::openMappe(const QString &aFilename)
{
    QString folder = aFilename;
    if (Platform::fileExists(folder))
        folder = QDir::toNativeSeparators(QFileInfo(folder).absolutePath());
    openDirectory(folder);
}

void Tfavoritform::openDirectory(const QString &aFoldername)
{
    if (!Platform::folderExists(aFoldername)) {
        showInfo(folderNotFound);
        return;
    }
    const int result = Platform::shell().execute(QStringLiteral("open"), aFoldername, QString(), QString());
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

int Tfavoritform::selectedRow() const
{
    const int row = favFilerListe->currentRow();
    if (row < 0 || row >= FavFiler->Antal() || row >= favFilerListe->count() || !favFilerListe->item(row)->isSelected())
        return -1;
    return row;
}

QString Tfavoritform::infoText() const
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
    const int row = selectedRow();
    if (!FavFiler->flytOp(row))
        return;
    FavFiler->MakeListeMenu();
    selectRow(row - 1);
    ListeForandret = true;
}

void Tfavoritform::FLnedExecute()
{
    const int row = selectedRow();
    if (!FavFiler->flytNed(row))
        return;
    FavFiler->MakeListeMenu();
    selectRow(row + 1);
    ListeForandret = true;
}

void Tfavoritform::FLsletValgteExecute()
{
    const int row = selectedRow();
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
    const QString file = FavFiler->GetFilnavn(selectedRow());
    if (Platform::fileExists(file))
        openDispatch()->openwin(file, QString());
}

void Tfavoritform::FLVisMappeExecute()
{
    const int row = selectedRow();
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
    setCurrentName(fillisteNavn->text());
    // A failed save keeps the mark, so that closing offers to save again.
    ListeForandret = !saveToItemFile();
    if (!ListeForandret && fillisten->findItems(FavFilerFilename, Qt::MatchFixedString | Qt::MatchCaseSensitive).isEmpty()) {
        LoadFillister();
        selectListName(FavFilerFilename);
    }
}

void Tfavoritform::FLRenameCaptionExecute()
{
    const int row = selectedRow();
    const QString text = oneLine(RenamFEdit->text());
    if (row < 0 || text.isEmpty())
        return;
    if (text == FavFiler->GetCaption(row)) {
        showInfo(QStringLiteral("Elementet har allerede det indførte elementnavn!\r"
                                "Hvis det skal omdøbes, så indfør det nye navn først."));
        return;
    }
    FavFiler->SetCaption(row, text);
    selectRow(row);
    ListeForandret = true;
    RenamFEdit->clear();
}

void Tfavoritform::aGemNytNavnExecute()
{
    const QString S = gemEdit->text();
    if (S.size() < 2)
        return;
    if (!isListName(S)) {
        showInfo(QStringLiteral("Et listenavn kan ikke indeholde tegnene ") + forbiddenCharacters
                 + QStringLiteral("\rIndfør et andet navn for den nye liste."));
        return;
    }
    if (QFileInfo::exists(Listemappe + S + listSuffix)) {
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
        if (isEnterOrSpace(event)) {
            // No existence check here: a missing document is passed over in silence.
            const int row = selectedRow();
            if (row >= 0)
                FavFilerDblListeKlik(FavFiler->GetCaption(row), FavFiler->GetFilnavn(row));
            return true;
        }
        if (event->type() == QEvent::Enter) {
            const int row = selectedRow();
            if (row >= 0)
                setInfo(folderPart(FavFiler->GetFilnavn(row)));
        } else if (event->type() == QEvent::Leave) {
            setInfo(QString());
        }
    } else if (watched == fillisten && isEnterOrSpace(event)) {
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
            saveToItemFile();
        else if (ask(QStringLiteral("Favoritlisten er forandret men ikke gemt.\rSkal den gemmes?")))
            saveToItemFile();
    }
    GemOpt();
}
