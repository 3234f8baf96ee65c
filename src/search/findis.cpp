#include "search/findis.h"

#include "lists/DirBox.h"
#include "lists/mappefilUnit.h"
#include "opening/FileType.h"
#include "opening/Funktioner.h"
#include "opening/TypeListView.h"
#include "platform/DataFolders.h"
#include "platform/Designs.h"
#include "platform/Dialogs.h"
#include "platform/DocumentSearch.h"
#include "platform/FolderEntries.h"
#include "platform/LineFile.h"
#include "platform/Shell.h"
#include "platform/TextFind.h"
#include "search/SoegeDokument.h"
#include "widgets/Action.h"
#include "widgets/BoxSettings.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"
#include "widgets/infUnit.h"
#include "widgets/ScreenPlace.h"
#include "widgets/spmUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>

namespace {

constexpr int designWidth = 760;

const QString unknownError = QStringLiteral("Information:\rDer opstod en ukendt fejl.");
const QString fileNotFound = QStringLiteral("Filen blev ikke fundet.");

// The busy mouse pointer while a search runs; the normal one comes back however it ends.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

bool endsWithSeparator(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QDir::separator());
}

// The extension of a name from its last dot on, dot included; empty without a dot.
QString extensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

} // namespace

const QStringList Tfindformen::standardTypeList = [] {
    // The search box starts with every type but the last, "Power Shell", ticked.
    QList<FileType> types = textFileTypes();
    types.last().offered = false;
    return fileTypeLines(types);
}();

Tfindformen::Tfindformen(QWidget *parent)
    : TBox(parent, QStringLiteral("Søg i dokumenter"))
{
    setObjectName(QStringLiteral("findformen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    ButtonInfo = pushButton(this, QStringLiteral("ButtonInfo"), QStringLiteral("&Information"));
    ButtonLuk = pushButton(this, QStringLiteral("ButtonLuk"), QStringLiteral("&Luk"));
    auto *heading = new QLabel(QStringLiteral("Søg i dokumenter"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    if (headingFont.pointSizeF() > 0)
        headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    dirEdit = new QLineEdit(this);
    dirEdit->setObjectName(QStringLiteral("dirEdit"));
    dirEdit->setAccessibleName(QStringLiteral("Søgemappe"));
    dirEdit->setPlaceholderText(QStringLiteral("Indfør søgemappe"));
    dirBrowse = dirEdit->addAction(Platform::designIcon(QStringLiteral("folder-open")), QLineEdit::TrailingPosition);
    dirBrowse->setObjectName(QStringLiteral("dirBrowse"));
    dirBrowse->setText(QStringLiteral("Vælg søgemappe"));
    setHint(dirBrowse, QStringLiteral("Vælg søgemappe"));
    auto *dirLabel = new QLabel(QStringLiteral("Søgemappe"), this);
    dirLabel->setBuddy(dirEdit);

    pageBog = new QTabWidget(this);
    pageBog->setObjectName(QStringLiteral("pageBog"));
    buildActions();
    pageBog->addTab(buildSearchPage(), QStringLiteral("Søg"));
    pageBog->addTab(buildFilterPage(), QStringLiteral("Filtre"));

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(ButtonInfo);
    titleRow->addStretch(1);
    titleRow->addWidget(heading);
    titleRow->addStretch(1);
    titleRow->addWidget(ButtonLuk);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(dirLabel);
    folderRow->addWidget(dirEdit, 1);
    folderRow->addWidget(actionTextButton(this, aAktuelle));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addLayout(titleRow);
    column->addLayout(folderRow);
    column->addWidget(pageBog, 1);

    connect(ButtonInfo, &QPushButton::clicked, this, [this] { pageBog->setCurrentIndex(1); });
    connect(ButtonLuk, &QPushButton::clicked, this, &QWidget::close);
    connect(dirEdit, &QLineEdit::textChanged, this, [this](const QString &text) { Mappe = text; });
    connect(dirBrowse, &QAction::triggered, this, [this] {
        const QString folder = Platform::dialogs().folder(this, Mappe);
        if (!folder.isEmpty())
            dirEdit->setText(QDir::toNativeSeparators(folder));
    });
    resize(designWidth, 580);
}

Tfindformen::~Tfindformen() = default;

void Tfindformen::buildActions()
{
    const auto action = [this](const char *name, const QString &caption, const QString &hint,
                               std::function<bool()> rule, std::function<void()> execute) {
        auto *made = new TAction(this, QString::fromLatin1(name), caption, hint);
        made->setUpdateRule(std::move(rule));
        connect(made, &QAction::triggered, this, std::move(execute));
        return made;
    };
    const auto oneRow = [this] { return selectedRows().size() == 1; };

    AfindBib = action("AfindBib", QStringLiteral("Find i bibliotek"), QStringLiteral("Find i alle filer i valgte bibliotek"),
                      [this] { return !m_searching && !EditFind->currentText().isEmpty(); },
                      [this] { AfindBibExecute(); });
    aAktuelle = action("aAktuelle", QStringLiteral("Aktuelle"), QStringLiteral("Sæt aktuelle mappe som søgemappe"),
                       [this] { return Platform::folderExists(Mappe); }, [this] {
                           const QString folder = mappefilform->dirBox->directory();
                           if (Platform::folderExists(folder)) {
                               Mappe = folder;
                               dirEdit->setText(folder);
                           }
                       });
    AopenAll = action("AopenAll", QStringLiteral("Åben alle"), QStringLiteral("Åben alle valgte dokumenter"),
                      [this] { return !selectedRows().isEmpty(); }, [this] {
                          // The rows are taken first: opening a document may show a question, and
                          // the user's selection must not change under the loop.
                          QStringList paths;
                          for (int row : selectedRows())
                              paths << rowPath(row);
                          for (const QString &path : paths)
                              if (Platform::fileExists(path))
                                  openDispatch()->openwin(path, QString());
                      });
    AvisValgte = action("AvisValgte", QStringLiteral("Åben"), QStringLiteral("Åben valgte dokument"), oneRow, [this] {
        const QList<int> rows = selectedRows();
        if (rows.size() == 1)
            showRow(rows.first());
    });
    ArunValgte = action("ArunValgte", QStringLiteral("Kør"), QStringLiteral("Kør valgte dokument hvis muligt"), oneRow,
                        [this] { openSelectedWithShell(false); });
    AeditValgte = action("AeditValgte", QStringLiteral("Rediger"),
                         QStringLiteral("Åben valgte fil til redigering, hvis muligt"), oneRow,
                         [this] { openSelectedWithShell(true); });
    aFind = action("aFind", QStringLiteral("Find"), QStringLiteral("Vis valgte i Stifinder"), oneRow,
                   [this] { aFindExecute(); });
    Afjern = action("Afjern", QStringLiteral("Fjern valgte"), QStringLiteral("Fjern det i listen valgte element"),
                    [this] { return findis->rowCount() > 0 && !selectedRows().isEmpty(); }, [this] { AfjernExecute(); });
    AsletAlt = action("AsletAlt", QStringLiteral("Ryd listen"), QStringLiteral("Fjern alle fundne elementer"),
                      [this] { return findis->rowCount() > 0; }, [this] { AsletAltExecute(); });

    Aop = action("Aop", QStringLiteral("Flyt valgte op"), QStringLiteral("Flyt valgte filtype op i listen"),
                 [this] { return selectedType() > 0; }, [this] { moveType(-1); });
    Aned = action("Aned", QStringLiteral("Flyt valgte ned"), QStringLiteral("Flyt valgte filtype ned i listen"), [this] {
        const int row = selectedType();
        return row >= 0 && row < typeliste->topLevelItemCount() - 1;
    }, [this] { moveType(1); });
    // The button shows only its image; the caption is what shows where the desktop has none.
    aInsertNew = action("aInsertNew", QStringLiteral("Indfør"), QStringLiteral("Indfør i listen"),
                        [this] { return !tekstedit->text().isEmpty() && !typeedit->text().isEmpty(); },
                        [this] { aInsertNewExecute(); });
    aSletValgte = action("aSletValgte", QStringLiteral("Slet valgte"), QString(),
                         [this] { return selectedType() > 0; }, [this] { aSletValgteExecute(); });
}

QWidget *Tfindformen::buildSearchPage()
{
    auto *page = new QWidget(pageBog);
    page->setObjectName(QStringLiteral("soegSide"));

    filterBoks = new QComboBox(page);
    filterBoks->setObjectName(QStringLiteral("filterBoks"));
    filterBoks->setAccessibleName(QStringLiteral("Filtype filter"));
    auto *filterLabel = new QLabel(QStringLiteral("Filtype filter"), page);
    filterLabel->setBuddy(filterBoks);

    EditFind = new QComboBox(page);
    EditFind->setObjectName(QStringLiteral("EditFind"));
    EditFind->setAccessibleName(QStringLiteral("Søg efter"));
    EditFind->setEditable(true);
    // The history grows only by searches, never by Enter in the field.
    EditFind->setInsertPolicy(QComboBox::NoInsert);
    // The history holds texts that differ only in letter case as entries of their own. Matched
    // ignoring case, the field would take the first such entry's text in place of the typed one
    // whenever it loses the focus.
    EditFind->completer()->setCaseSensitivity(Qt::CaseSensitive);
    EditFind->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *findLabel = new QLabel(QStringLiteral("Søg efter"), page);
    findLabel->setBuddy(EditFind);
    Button1 = new QToolButton(page);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setText(QStringLiteral("#"));
    Button1->setAccessibleName(QStringLiteral("Ryd find- listen"));
    setHint(Button1, QStringLiteral("Ryd find- listen"));

    Check1 = new QCheckBox(QStringLiteral("Kun hele ord"), page);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check2 = new QCheckBox(QStringLiteral("Forskel på store og små bogstaver"), page);
    Check2->setObjectName(QStringLiteral("Check2"));
    countdis = new QLabel(QStringLiteral("0"), page);
    countdis->setObjectName(QStringLiteral("countdis"));
    rekursivCheck = new QCheckBox(QStringLiteral("Rekursivt"), page);
    rekursivCheck->setObjectName(QStringLiteral("rekursivCheck"));
    setHint(rekursivCheck, QStringLiteral("Søg også i mappers undermapper"));

    findis = new QTableWidget(0, 3, page);
    findis->setObjectName(QStringLiteral("findis"));
    findis->setAccessibleName(QStringLiteral("Fundne"));
    findis->setHorizontalHeaderLabels({QStringLiteral("Dokument"), QStringLiteral("Position"), QStringLiteral("Tekst")});
    findis->setShowGrid(true);
    findis->setWordWrap(false);
    findis->setSelectionBehavior(QAbstractItemView::SelectRows);
    findis->setSelectionMode(QAbstractItemView::ExtendedSelection);
    findis->setEditTriggers(QAbstractItemView::NoEditTriggers);
    findis->verticalHeader()->hide();
    findis->verticalHeader()->setDefaultSectionSize(findis->fontMetrics().height() + 4);
    findis->horizontalHeader()->setSectionsClickable(false);
    findis->horizontalHeader()->setStretchLastSection(true);
    findis->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    findis->setColumnWidth(0, 320);

    mappeLabel = new QLabel(QStringLiteral("Mapper"), page);
    mappeLabel->setObjectName(QStringLiteral("mappeLabel"));
    filLabel = new QLabel(QStringLiteral("Filer"), page);
    filLabel->setObjectName(QStringLiteral("filLabel"));
    findBar = new QProgressBar(page);
    findBar->setObjectName(QStringLiteral("findBar"));
    findBar->setTextVisible(false);
    // Never a range of nothing: that would show as a bar that is forever busy.
    findBar->setRange(0, 1);
    findBar->setValue(0);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filterBoks, 1);
    auto *findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(EditFind, 1);
    findRow->addWidget(Button1);
    findRow->addWidget(actionPushButton(page, AfindBib));
    auto *optionRow = new QHBoxLayout;
    optionRow->addWidget(Check1);
    optionRow->addWidget(Check2);
    optionRow->addStretch(1);
    optionRow->addWidget(new QLabel(QStringLiteral("Fundne:"), page));
    optionRow->addWidget(countdis);
    optionRow->addStretch(1);
    optionRow->addWidget(rekursivCheck);
    auto *buttonRow = new QHBoxLayout;
    for (TAction *command : {Afjern, AsletAlt, AopenAll, AvisValgte, ArunValgte, AeditValgte, aFind})
        buttonRow->addWidget(actionTextButton(page, command));
    buttonRow->addStretch(1);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(mappeLabel);
    bottomRow->addSpacing(12);
    bottomRow->addWidget(filLabel);
    bottomRow->addSpacing(12);
    bottomRow->addWidget(findBar, 1);

    auto *column = new QVBoxLayout(page);
    column->addLayout(filterRow);
    column->addLayout(findRow);
    column->addLayout(optionRow);
    column->addWidget(findis, 1);
    column->addLayout(buttonRow);
    column->addLayout(bottomRow);

    connect(Button1, &QToolButton::clicked, this, [this] {
        // Only the history goes; what stands in the field stays.
        const QString text = EditFind->currentText();
        EditFind->clear();
        EditFind->setEditText(text);
    });
    // Enter is taken before the drop-down sees it. A key arrives at the drop-down itself (its field
    // hands the focus on to it), which passes the key to its field behind any filter and then on
    // to the box; and it would replace the typed text by a history entry that differs from it
    // only in letter case.
    EditFind->installEventFilter(this);
    connect(findis, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { showRow(row); });
    return page;
}

QWidget *Tfindformen::buildFilterPage()
{
    auto *page = new QSplitter(Qt::Horizontal, pageBog);
    page->setObjectName(QStringLiteral("filterSide"));
    page->setChildrenCollapsible(false);
    auto *typesPane = new QWidget(page);

    auto *explanation =
        new QLabel(QStringLiteral("Afkryds filtyper der skal være tilgængelige i Filterboksen."), typesPane);
    explanation->setWordWrap(true);

    typeliste = newTypeListView(typesPane, 180);
    typeliste->setColumnWidth(1, 60);
    typeliste->header()->setSectionsClickable(false);
    // The list's context menu carries the two moves, as the file type box's does.
    typeliste->setContextMenuPolicy(Qt::ActionsContextMenu);
    typeliste->addActions({Aop, Aned});

    tekstedit = new QLineEdit(typesPane);
    tekstedit->setObjectName(QStringLiteral("tekstedit"));
    tekstedit->setAccessibleName(QStringLiteral("Tekst"));
    typeedit = new QLineEdit(typesPane);
    typeedit->setObjectName(QStringLiteral("typeedit"));
    typeedit->setAccessibleName(QStringLiteral("Type"));
    auto *textLabel = new QLabel(QStringLiteral("Tekst"), typesPane);
    textLabel->setBuddy(tekstedit);
    auto *typeLabel = new QLabel(QStringLiteral("Type"), typesPane);
    typeLabel->setBuddy(typeedit);

    standardKnap = pushButton(typesPane, QStringLiteral("standardKnap"), QStringLiteral("Standard"));
    setHint(standardKnap, QStringLiteral("Slet nuværende liste og hent standardlisten, der automatisk gemmes"));
    saveknap = pushButton(typesPane, QStringLiteral("saveknap"), QStringLiteral("Gem"));
    // Saving keeps the box open: the list is the box's own and is often edited and tried at once.
    setHint(saveknap, QStringLiteral("Gem listen"));
    saveknap->setEnabled(false);

    auto *moveRow = new QHBoxLayout;
    moveRow->addWidget(iconActionButton(typesPane, Aop, QStringLiteral("go-up")));
    moveRow->addWidget(iconActionButton(typesPane, Aned, QStringLiteral("go-down")));
    moveRow->addStretch(1);

    auto *entryGrid = new QGridLayout;
    entryGrid->addWidget(textLabel, 0, 0);
    entryGrid->addWidget(typeLabel, 0, 1);
    entryGrid->addWidget(tekstedit, 1, 0);
    entryGrid->addWidget(typeedit, 1, 1);
    entryGrid->addWidget(iconActionButton(typesPane, aInsertNew, QStringLiteral("list-add")), 1, 2);
    entryGrid->setColumnStretch(0, 3);
    entryGrid->setColumnStretch(1, 2);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(actionTextButton(typesPane, aSletValgte));
    buttonRow->addStretch(1);
    buttonRow->addWidget(standardKnap);
    buttonRow->addWidget(saveknap);

    auto *column = new QVBoxLayout(typesPane);
    column->addWidget(explanation);
    column->addLayout(moveRow);
    column->addWidget(typeliste, 1);
    column->addLayout(entryGrid);
    column->addLayout(buttonRow);

    WebBrowser1 = new QTextBrowser(page);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setAccessibleName(QStringLiteral("Hjælp"));
    page->addWidget(typesPane);
    page->addWidget(WebBrowser1);
    page->setStretchFactor(1, 1);

    connect(typeedit, &QLineEdit::returnPressed, this, [this] {
        aInsertNew->Execute();
    });
    connect(standardKnap, &QPushButton::clicked, this, &Tfindformen::standardKnapClick);
    connect(saveknap, &QPushButton::clicked, this, &Tfindformen::saveknapClick);
    return page;
}

bool Tfindformen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditFind && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AfindBib->Execute();
            return true;
        }
    }
    return TBox::eventFilter(watched, event);
}

void Tfindformen::FormCreate()
{
    filliste.clear();
    typelistenavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("Filtertyper.txt"));
    saveknap->setEnabled(false);
    opstart = true;
    setWindowTitle(QStringLiteral("Søg i dokumenter"));
    optFilnavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("Findis.txt"));
    HentOpt();
    const QString helpPage =
        Platform::joinPath(Platform::informationFolder(), QStringLiteral("Find i dokumenter2.html"));
    if (QFileInfo(helpPage).isFile())
        WebBrowser1->setSource(QUrl::fromLocalFile(helpPage));
    else
        WebBrowser1->setPlainText(QStringLiteral("Hjælpesiden blev ikke fundet:\n") + helpPage);
}

void Tfindformen::HentOpt()
{
    // The width is the design's; the file keeps the place and the height only.
    readSettings(optFilnavn, {3, false, false, SettingsRules::Fallback::Defaults},
                 [this] {
                     move(20, 40);
                     resize(width(), 580);
                 },
                 [this](SettingsLines &lines) {
                     const int left = lines.integer();
                     move(left, y());
                     const int top = lines.integer();
                     move(x(), top);
                     const int h = lines.integer();
                     resize(width(), h);
                 });
    keepOnScreen(*this);
}

void Tfindformen::GemOpt()
{
    SettingsWriter().integer(x()).integer(y()).integer(height()).write(optFilnavn);
}

void Tfindformen::FormClose()
{
    GemOpt();
}

void Tfindformen::showEvent(QShowEvent *event)
{
    TBox::showEvent(event);
    if (!opstart)
        return;
    opstart = false;
    HentTypeliste();
    LoadTypeliste();
    const QString current = mappefilform ? mappefilform->dirBox->directory() : QString();
    // Where the browse box shows no folder, the search starts at the top of the file system.
    Mappe = Platform::folderExists(current) ? current : QDir::toNativeSeparators(QDir::rootPath());
    dirEdit->setText(Mappe);
    saveknap->setEnabled(false);
}

// ---- The filter list ----

void Tfindformen::HentTypeliste()
{
    if (!QFileInfo::exists(typelistenavn)) {
        makeTypeliste();
    } else if (const std::optional<QStringList> lines = Platform::readLines(typelistenavn, &m_typelisteEncoding)) {
        filliste = *lines;
    } else {
        // A file that is there but cannot be read is not overwritten: the standard list serves
        // for this run and the user's own list stays on the disk.
        filliste = standardTypeList;
    }
    LoadFilterBoks();
}

void Tfindformen::makeTypeliste()
{
    filliste = standardTypeList;
    writeUserFile(typelistenavn, filliste, m_typelisteEncoding);
}

void Tfindformen::LoadTypeliste()
{
    showTypeRows(typeliste, readFileTypes(filliste));
}

void Tfindformen::LoadFilterBoks()
{
    filterBoks->clear();
    for (const FileType &type : readFileTypes(filliste))
        if (type.offered)
            filterBoks->addItem(type.text + QStringLiteral(" (") + type.mask + QLatin1Char(')'));
    filterBoks->setMaxVisibleItems(filterBoks->count());
    filterBoks->setCurrentIndex(filterBoks->count() > 0 ? 0 : -1);
}

void Tfindformen::GemTypeliste()
{
    filliste = fileTypeLines(typeRows(typeliste));
    const bool written = writeUserFile(typelistenavn, filliste, m_typelisteEncoding);
    LoadFilterBoks();
    // A list that could not be written stays marked, so that saving can be tried again.
    saveknap->setEnabled(!written);
}

void Tfindformen::typelisteAdd(const QString &aTekst, const QString &aType, bool check)
{
    typeliste->addTopLevelItem(newTypeRow({aTekst, aType, check}));
}

int Tfindformen::selectedType() const
{
    const QList<QTreeWidgetItem *> selected = typeliste->selectedItems();
    return selected.isEmpty() ? -1 : typeliste->indexOfTopLevelItem(selected.first());
}

void Tfindformen::moveType(int step)
{
    // The enabled state is brought up to date only when the program is idle; a move past either
    // end is ignored.
    const int from = selectedType();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= typeliste->topLevelItemCount())
        return;
    moveTypeRow(typeliste, from, to);
    typeliste->clearSelection();
    typeliste->setCurrentItem(nullptr);
    saveknap->setEnabled(true);
}

void Tfindformen::aInsertNewExecute()
{
    if (tekstedit->text().isEmpty() || typeedit->text().isEmpty())
        return;
    typelisteAdd(tekstedit->text(), normalisedMask(typeedit->text()), true);
    typeliste->scrollToItem(typeliste->topLevelItem(typeliste->topLevelItemCount() - 1));
    tekstedit->clear();
    typeedit->clear();
    tekstedit->setFocus();
    saveknap->setEnabled(true);
}

void Tfindformen::aSletValgteExecute()
{
    const int index = selectedType();
    if (index < 0) {
        showInfo(QStringLiteral("Der er ikke valgt en filtype!"));
        return;
    }
    // The first entry stays; the command is offered only for the others.
    if (index == 0)
        return;
    QTreeWidgetItem *row = typeliste->topLevelItem(index);
    if (!ask(QStringLiteral("Skal filtypen:\r") + row->text(0) + QLatin1Char('\r')
             + QStringLiteral("slettes permanent?")))
        return;
    delete row;
    saveknap->setEnabled(true);
}

void Tfindformen::standardKnapClick()
{
    if (!ask(QStringLiteral("Der vil muligvist blive fjernet typer, der er indført senere!\r"
                            "Skal standardlisten hentes alligevel?")))
        return;
    filliste = standardTypeList;
    const bool written = writeUserFile(typelistenavn, filliste, m_typelisteEncoding);
    LoadTypeliste();
    LoadFilterBoks();
    saveknap->setEnabled(!written);
}

void Tfindformen::saveknapClick()
{
    GemTypeliste();
}

// ---- The search ----

QString Tfindformen::delimKon(const QString &path)
{
    return endsWithSeparator(path) ? path : path + QDir::separator();
}

namespace {

// What the three cells of a hit's row show.
struct Hit {
    QString path;
    int position = 0;
    THitLine line;
};

// A cell of a hit's row. Its text is made when the list shows it or someone reads it: a common
// word gives rows by the hundred thousand, of which the list shows a screenful.
class HitItem : public QTableWidgetItem {
public:
    HitItem(std::shared_ptr<const Hit> hit, int column)
        : m_hit(std::move(hit))
        , m_column(column)
    {
    }
    QVariant data(int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return QTableWidgetItem::data(role);
        switch (m_column) {
        case 0: return m_hit->path;
        case 1: return QString::number(m_hit->position);
        default: return m_hit->line.text();
        }
    }

private:
    std::shared_ptr<const Hit> m_hit;
    int m_column;
};

} // namespace

void Tfindformen::InsertInDis(int row, const QString &path, THitLine line, int position)
{
    const auto hit = std::make_shared<const Hit>(Hit{path, position, std::move(line)});
    for (int column = 0; column < 3; ++column)
        findis->setItem(row, column, new HitItem(hit, column));
}

void Tfindformen::InsertInRulliste()
{
    const QString text = EditFind->currentText();
    if (text.isEmpty() || EditFind->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    EditFind->addItem(text);
    EditFind->setEditText(text);
}

int Tfindformen::chosenEntry() const
{
    // The filter box shows the ticked entries of the saved list, so its choice is counted in that
    // list: ticks changed in the list view and not saved yet never make a search use a type the
    // filter box does not show.
    const int chosen = filterBoks->currentIndex();
    if (chosen < 0)
        return -1;
    const QList<FileType> types = readFileTypes(filliste);
    int ticked = -1;
    for (qsizetype i = 0; i < types.size(); ++i)
        if (types.at(i).offered && ++ticked == chosen)
            return int(i);
    return -1;
}

void Tfindformen::AfindBibExecute()
{
    // Pending events run once during a search; a second press then must not start another.
    if (m_searching)
        return;
    bool succeeded = false;
    {
        const QScopedValueRollback<bool> searching(m_searching, true);
        const BusyPointer busy;
        try {
            succeeded = runSearch();
        } catch (const std::bad_alloc &) {
            succeeded = false;
        }
        RE.reset();
        m_screen.reset();
        mappeSL.clear();
        m_walkedFolders.clear();
    }
    if (!succeeded)
        showInfo(unknownError);
}

bool Tfindformen::runSearch()
{
    const int entry = chosenEntry();
    if (entry < 0)
        return false;
    searchMaskIndex = entry;
    searchMask = readFileTypes(filliste).at(entry).mask;

    findis->setRowCount(0);
    countdis->clear();
    mappeLabel->clear();
    filLabel->clear();
    findBar->setValue(0);
    QCoreApplication::processEvents();

    RE = std::make_unique<TSearchDocument>();
    m_screen = std::make_unique<Platform::ByteScreen>(EditFind->currentText(),
                                                      Platform::FindFlags{Check1->isChecked(), Check2->isChecked()});
    m_barPosition = 0;
    if (rekursivCheck->isChecked()) {
        mappeSL.clear();
        m_walkedFolders.clear();
        if (const QString real = Platform::realFolderPath(Mappe); !real.isEmpty())
            m_walkedFolders.insert(real);
        int folderCount = 0;
        int fileCount = 0;
        getAntal(Mappe, folderCount, fileCount);
        mappeLabel->setText(QStringLiteral("Mapper: ") + QString::number(folderCount));
        filLabel->setText(QStringLiteral("Filer: ") + QString::number(fileCount));
        m_barMaximum = fileCount;
        findBar->setRange(0, qMax(1, fileCount));
        findBar->setValue(0);
        FindSD(Mappe);
        for (const QString &folder : std::as_const(mappeSL))
            FindSD(delimKon(folder));
        mappeSL.clear();
        findBar->setValue(m_barPosition);
    } else {
        FindSD(Mappe);
    }
    countdis->setText(QString::number(findis->rowCount()));
    InsertInRulliste();
    return true;
}

void Tfindformen::getAntal(const QString &folder, int &folderCount, int &fileCount)
{
    const QString base = delimKon(folder);
    for (const Platform::FolderEntry &entry : Platform::listFolder(folder).entries) {
        const QString path = base + entry.name;
        if (entry.folder) {
            // A link back up the tree (or to a folder already walked) would be walked for ever,
            // or its files searched twice.
            const QString real = Platform::realFolderPath(path);
            if (m_walkedFolders.contains(real))
                continue;
            m_walkedFolders.insert(real);
            ++folderCount;
            mappeSL.append(path);
            getAntal(path, folderCount, fileCount);
        } else if (sameTextAZ(QLatin1Char('*') + extensionOf(entry.name), searchMask)) {
            ++fileCount;
        }
    }
}

void Tfindformen::FindSD(const QString &folder)
{
    if (!Platform::folderExists(folder))
        return;
    FTekst = EditFind->currentText();
    if (FTekst.isEmpty())
        return;
    FindDokumenter(folder);
}

void Tfindformen::FindDokumenter(const QString &folder)
{
    const QString base = delimKon(folder);
    for (const Platform::FolderEntry &entry : Platform::listFolder(base).entries)
        if (entry.file && Platform::fileMaskMatches(searchMask, entry.name))
            InsertInList(base + entry.name);
}

void Tfindformen::stepBar()
{
    if (m_barPosition >= m_barMaximum)
        return;
    ++m_barPosition;
    // Setting the bar measures its style each time, which costs more than searching a small file.
    if (qint64(m_barPosition) * 1000 / m_barMaximum != qint64(m_barPosition - 1) * 1000 / m_barMaximum)
        findBar->setValue(m_barPosition);
}

void Tfindformen::InsertInList(const QString &path)
{
    if (rekursivCheck->isChecked())
        stepBar();
    // A file that cannot be read is passed over alone; the rest of its folder is still searched.
    if (!RE->LoadFromFile(path, *m_screen) || RE->text().isEmpty())
        return;
    const Platform::TextFinder finder(RE->text(), FTekst, {Check1->isChecked(), Check2->isChecked()});
    const int length = finder.textLength();
    QList<int> hits;
    for (int start = 0;;) {
        const int hit = finder.find(start, length);
        if (hit < 0)
            break;
        hits << hit;
        start = hit + qMax(1, finder.length());
    }
    // The list grows once for the file: a row inserted on its own costs the list a round of
    // signals each time.
    const int first = findis->rowCount();
    findis->setRowCount(first + int(hits.size()));
    for (int i = 0; i < hits.size(); ++i)
        InsertInDis(first + i, path, RE->lineAt(hits[i]), hits[i]);
}

// ---- The result list ----

QList<int> Tfindformen::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : findis->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString Tfindformen::rowPath(int row) const
{
    const QTableWidgetItem *item = findis->item(row, 0);
    return item ? item->text() : QString();
}

void Tfindformen::showRow(int row)
{
    const QString path = rowPath(row);
    if (!Platform::fileExists(path)) {
        showInfo(fileNotFound);
        return;
    }
    const QTableWidgetItem *lineItem = findis->item(row, 2);
    const QString line = lineItem ? lineItem->text() : QString();
    openDispatch()->openwin(path, QString());
    emit searchPageWanted(line);
}

void Tfindformen::openSelectedWithShell(bool forRedigering)
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const QString path = rowPath(rows.first());
    if (Platform::fileExists(path))
        openDispatch()->OpenFilen(path, forRedigering);
    else
        showInfo(fileNotFound);
}

void Tfindformen::aFindExecute()
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const QString path = rowPath(rows.first());
    const QString folder = Platform::fileExists(path) ? QDir::toNativeSeparators(QFileInfo(path).absolutePath()) : QString();
    if (Platform::folderExists(folder))
        Platform::shell().execute(QStringLiteral("open"), folder, QString(), QString());
    else
        showInfo(QStringLiteral("Fejlinformation:\rMappen blev ikke fundet."));
}

void Tfindformen::AfjernExecute()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    const int row = rows.first();
    findis->removeRow(row);
    countdis->setText(QString::number(findis->rowCount()));
    const int next = row < findis->rowCount() ? row : row - 1;
    if (next >= 0)
        findis->selectionModel()->setCurrentIndex(findis->model()->index(next, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void Tfindformen::AsletAltExecute()
{
    findis->setRowCount(0);
    EditFind->setEditText(QString());
    countdis->setText(QStringLiteral("0"));
}
