#include "lists/filUnit.h"

#include "lists/FavDirUnit.h"
#include "opening/Funktioner.h"
#include "platform/DataFolders.h"
#include "platform/Shell.h"
#include "widgets/Action.h"
#include "widgets/BoxSettings.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

int selectedRow(const QListWidget *list)
{
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
}

} // namespace

Tfilform::Tfilform(QWidget *parent)
    : TBox(parent, QStringLiteral("Åbne og lukkede dokumenter"))
{
    setObjectName(QStringLiteral("filform"));
    ListBox1 = namedList(this, QStringLiteral("ListBox1"), QStringLiteral("Lukkede dokumenter"));
    ListBox2 = namedList(this, QStringLiteral("ListBox2"), QStringLiteral("Åbne dokumenter"));
    for (QListWidget *list : {ListBox1, ListBox2}) {
        list->setMouseTracking(true);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    // The lists exist before the create step: documents reopened at start-up already enter them.
    FavFiler1 = new TReopenFilerX(this);
    FavFiler2 = new TReopenFilerX(this);
    buildActions();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 0);
    auto *panes = new QHBoxLayout;
    BgPanel1 = buildPane(QStringLiteral("BgPanel1"), QStringLiteral("Lukkede dokumenter"), ListBox1,
                         {opdaterBox1, Fabc, FLVisMappe, FLsletValgte, FLsletAlle, FLopenEdit},
                         {aHentFilliste, aGemFilliste});
    BgPanel2 = buildPane(QStringLiteral("BgPanel2"), QStringLiteral("Åbne dokumenter"), ListBox2,
                         {opdaterBox2, Fabc2, FLVisMappe2, FLopenEdit2}, {openDokument});
    panes->addWidget(BgPanel1);
    panes->addWidget(BgPanel2, 1);
    column->addLayout(panes, 1);
    infoBar = new QStatusBar(this);
    infoBar->setObjectName(QStringLiteral("infoBar"));
    infoBar->setSizeGripEnabled(false);
    column->addWidget(infoBar);
}

QWidget *Tfilform::buildPane(const QString &name, const QString &caption, QListWidget *list,
                             const QList<TAction *> &left, const QList<TAction *> &right)
{
    auto *pane = new QWidget(this);
    pane->setObjectName(name);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption, pane));
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(1);
    const auto icon = [](const TAction *action) {
        const QString name = action->objectName();
        if (name.startsWith(QLatin1String("opdaterBox")))
            return QStringLiteral("view-refresh");
        if (name.startsWith(QLatin1String("Fabc")))
            return QStringLiteral("view-sort-ascending");
        if (name.startsWith(QLatin1String("FLVisMappe")))
            return QStringLiteral("folder-open");
        if (name == QLatin1String("FLsletValgte"))
            return QStringLiteral("edit-delete");
        if (name == QLatin1String("FLsletAlle"))
            return QStringLiteral("edit-clear-all");
        if (name.startsWith(QLatin1String("FLopenEdit")))
            return QStringLiteral("document-edit");
        if (name == QLatin1String("aHentFilliste"))
            return QStringLiteral("document-import");
        if (name == QLatin1String("aGemFilliste"))
            return QStringLiteral("document-save");
        return QStringLiteral("document-open");
    };
    for (TAction *action : left)
        buttons->addWidget(iconActionButton(pane, action, icon(action)));
    buttons->addStretch();
    for (TAction *action : right)
        buttons->addWidget(iconActionButton(pane, action, icon(action)));
    layout->addLayout(buttons);
    layout->addWidget(list, 1);
    return pane;
}

void Tfilform::buildActions()
{
    const auto action = [this](const char *name, const QString &hint, std::function<bool()> rule,
                               std::function<void()> execute) {
        auto *made = new TAction(this, QString::fromLatin1(name), QString(), hint);
        if (rule)
            made->setUpdateRule(std::move(rule));
        connect(made, &QAction::triggered, this, std::move(execute));
        addAction(made);
        return made;
    };
    const auto selected = [](QListWidget *list) { return [list] { return selectedRow(list) >= 0; }; };
    const auto twoRows = [](QListWidget *list) { return [list] { return list->count() >= 2; }; };

    opdaterBox1 = action("opdaterBox1", QStringLiteral("Undersøg for ikke eksisterende filer"), selected(ListBox1),
                         [this] { removeVanished(FavFiler1); });
    Fabc = action("Fabc", QStringLiteral("Arranger listen alfabetisk"), twoRows(ListBox1), [this] {
        if (sortList(FavFiler1))
            ListeForandret1 = true;
    });
    FLVisMappe = action("FLVisMappe", QStringLiteral("Åben i Windows Stifinder"), selected(ListBox1),
                        [this] { openMappe(FavFiler1->GetFilnavn(selectedRow(ListBox1))); });
    FLsletValgte = action("FLsletValgte", QStringLiteral("Slet valgte element fra listen"), selected(ListBox1), [this] {
        const int row = selectedRow(ListBox1);
        FavFiler1->DeleteItem(row);
        if (row < ListBox1->count())
            ListBox1->setCurrentRow(row);
        else if (row > 0)
            ListBox1->setCurrentRow(row - 1);
        ListeForandret1 = true;
    });
    FLsletAlle = action("FLsletAlle", QStringLiteral("Slet alle elementer fra listen"),
                        [this] { return FavFiler1->Antal() > 0; }, [this] {
                            FavFiler1->SletAlleItems();
                            ListeForandret1 = true;
                        });
    FLopenEdit = action("FLopenEdit", QStringLiteral("Åben valgte dokument til redigering"), selected(ListBox1), [this] {
        const int row = selectedRow(ListBox1);
        const QString path = FavFiler1->GetFilnavn(row);
        if (Platform::fileExists(path)) {
            FavFiler1->DeleteItem(path);
            openDispatch()->openwin(path, QString());
        }
        if (ListBox1->count() > 0)
            ListBox1->setCurrentRow(row < ListBox1->count() ? row : 0);
        ListBox1->setFocus();
    });
    aHentFilliste = action("aHentFilliste", QStringLiteral("Hent den gemte filliste"),
                           [this] { return FavFiler1->Antal() == 0 && FavFiler2->Antal() == 0; }, [this] {
                               FavFiler1->HentReopenFiler();
                               ListeForandret1 = false;
                           });
    aGemFilliste = action("aGemFilliste", QStringLiteral("Gem listen"), [this] { return ListeForandret1; }, [this] {
        // A list that could not be written stays marked, so that it can be tried again.
        if (FavFiler1->GemReopenFiler())
            ListeForandret1 = false;
    });

    opdaterBox2 = action("opdaterBox2", QStringLiteral("Undersøg for ikke eksisterende filer"), selected(ListBox2),
                         [this] { removeVanished(FavFiler2); });
    Fabc2 = action("Fabc2", QStringLiteral("Arranger listen alfabetisk"), twoRows(ListBox2), [this] {
        if (sortList(FavFiler2))
            ListeForandret2 = true;
    });
    FLVisMappe2 = action("FLVisMappe2", QStringLiteral("Åben i Windows Stifinder"), selected(ListBox2),
                         [this] { openMappe(FavFiler2->GetFilnavn(selectedRow(ListBox2))); });
    FLopenEdit2 = action("FLopenEdit2", QStringLiteral("Åben valgte dokument til redigering"), selected(ListBox2), [this] {
        const int row = selectedRow(ListBox2);
        const QString path = FavFiler2->GetFilnavn(row);
        if (Platform::fileExists(path))
            openDispatch()->openwin(path, QString());
        if (ListBox2->count() > 0)
            ListBox2->setCurrentRow(row + 1 < ListBox2->count() ? row + 1 : 0);
        ListBox2->setFocus();
    });
    openDokument = action("openDokument", QStringLiteral("Åben et eksisterende dokument"), {}, [this] {
        emit openDialogWanted(Platform::folderExists(openMappeName) ? openMappeName : QString());
    });
}

void Tfilform::FormCreate()
{
    opstart = true;
    const auto configure = [this](TReopenFilerX *list, const QString &file, QListWidget *box,
                                  void (Tfilform::*doubleClick)(const QString &, const QString &)) {
        list->Itemfile = Platform::joinPath(Platform::settingsFolder(), file);
        list->ListeBoks = box;
        list->OnDblListeKlik = [this, doubleClick](const QString &caption, const QString &path) {
            (this->*doubleClick)(caption, path);
        };
        list->OnListeKlik = [this](const QString &caption, const QString &path) { FavFilerListeKlik(caption, path); };
        list->Itemtype = TItemtype::itFil;
        list->MakeListeMenu();
    };
    configure(FavFiler1, QStringLiteral("FavFiler1.txt"), ListBox1, &Tfilform::FavFilerListeDblKlik1);
    configure(FavFiler2, QStringLiteral("FavFiler2.txt"), ListBox2, &Tfilform::FavFilerListeDblKlik2);
    ListeForandret1 = false;
    ListeForandret2 = false;
    optFilnavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("filUnit.txt"));
    HentOpt();
}

void Tfilform::defaultOpt()
{
    resize(580, 480);
    // Below the favourites box's first place, which lies below the folder-and-file box's.
    move(104, 104);
}

void Tfilform::HentOpt()
{
    readSettings(optFilnavn, {4, false, true, SettingsRules::Fallback::Defaults}, [this] { defaultOpt(); },
                 [this](SettingsLines &lines) {
                     lines.windowGeometry(*this);
                 });
}

void Tfilform::GemOpt()
{
    SettingsWriter().windowGeometry(*this).write(optFilnavn);
}

void Tfilform::FormClose()
{
    // The closed-documents list is kept only by "Gem listen"; closing saves the window's place.
    GemOpt();
}

void Tfilform::resizeEvent(QResizeEvent *event)
{
    TBox::resizeEvent(event);
    if (opstart) {
        opstart = false;
        return;
    }
    BgPanel1->setFixedWidth(qMax(0, width() / 2 - 12));
}

void Tfilform::openMappe(const QString &aFilename)
{
    if (Platform::fileExists(aFilename))
        openMappeName = QFileInfo(aFilename).absolutePath();
    if (Platform::folderExists(openMappeName))
        Platform::shell().execute(QStringLiteral("open"), openMappeName, QString(), QString());
    else
        showInfo(QStringLiteral("Information:\rMappen blev ikke fundet."));
}

void Tfilform::removeVanished(TReopenFilerX *list)
{
    for (int i = list->Antal() - 1; i >= 0; --i)
        if (!Platform::fileExists(list->GetFilnavn(i)))
            list->DeleteItem(i);
}

bool Tfilform::sortList(TReopenFilerX *list)
{
    const bool moved = list->sorterABC(0);
    infoBar->showMessage(moved ? QStringLiteral("Listen blev sorteret alfabetisk")
                               : QStringLiteral("Listen blev ikke ændret"));
    return moved;
}

void Tfilform::FavFilerListeKlik(const QString &, const QString &Filnavn)
{
    infoBar->showMessage(Filnavn);
}

void Tfilform::FavFilerListeDblKlik1(const QString &, const QString &Filnavn)
{
    FavFiler1->DeleteItem(Filnavn);
    openDispatch()->openwin(Filnavn, QString());
}

void Tfilform::FavFilerListeDblKlik2(const QString &, const QString &Filnavn)
{
    openDispatch()->openwin(Filnavn, QString());
}

bool Tfilform::eventFilter(QObject *watched, QEvent *event)
{
    for (auto [list, open] : {std::pair{ListBox1, FLopenEdit}, std::pair{ListBox2, FLopenEdit2}}) {
        if (watched == list && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                open->Execute();
                return true;
            }
        }
        if (watched == list->viewport() && event->type() == QEvent::Leave)
            infoBar->clearMessage();
    }
    return TBox::eventFilter(watched, event);
}
