#include "search/filmappeUnit.h"

#include "lists/DirBox.h"
#include "lists/FavDirUnit.h"
#include "lists/mappefilUnit.h"
#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "platform/DataFolders.h"
#include "platform/Designs.h"
#include "platform/Dialogs.h"
#include "platform/DocumentSearch.h"
#include "platform/FolderEntries.h"
#include "platform/Shell.h"
#include "widgets/Action.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"
#include "widgets/infUnit.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>
#include <limits>

namespace {

QWidget *listPane(QWidget *parent, QLabel *heading, QListWidget *list)
{
    auto *pane = new QWidget(parent);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    heading->setBuddy(list);
    layout->addWidget(heading);
    layout->addWidget(list, 1);
    return pane;
}

} // namespace

Tfilmappeform::Tfilmappeform(QWidget *parent)
    : TBox(parent, QStringLiteral("Søg efter mapper og filer"))
{
    setObjectName(QStringLiteral("filmappeform"));
    setMinimumSize(320, 480);
    resize(360, 520);

    mappeLabel = new QLabel(QStringLiteral("Søg i følgende mappe"), this);
    mappeEdit = new QLineEdit(this);
    mappeEdit->setObjectName(QStringLiteral("mappeEdit"));
    mappeEdit->setPlaceholderText(QStringLiteral("Indfør søgemappe"));
    mappeLabel->setBuddy(mappeEdit);
    mappeEditBrowse = mappeEdit->addAction(
        Platform::designIcon(QStringLiteral("folder-open"), style()->standardIcon(QStyle::SP_DirOpenIcon)),
        QLineEdit::TrailingPosition);
    mappeEditBrowse->setObjectName(QStringLiteral("mappeEditBrowse"));
    mappeEditBrowse->setText(QStringLiteral("Vælg søgemappe"));
    setHint(mappeEditBrowse, QStringLiteral("Vælg søgemappe"));
    connect(mappeEditBrowse, &QAction::triggered, this, &Tfilmappeform::mappeEditBrowseClick);

    getDirButton = new QToolButton(this);
    getDirButton->setObjectName(QStringLiteral("getDirButton"));
    getDirButton->setIcon(Platform::designIcon(QStringLiteral("go-down"), style()->standardIcon(QStyle::SP_ArrowDown)));
    const QString getDirHint = QStringLiteral("Hent mappen fra mappe-fil-boksen|Indsætter mappen der er valgt i boksen \"Filer og mapper\"");
    setHint(getDirButton, getDirHint);
    getDirButton->setAccessibleName(shortHint(getDirHint));
    connect(getDirButton, &QToolButton::clicked, this, &Tfilmappeform::getDirButtonClick);

    findBar = new QProgressBar(this);
    findBar->setObjectName(QStringLiteral("findBar"));
    findBar->setTextVisible(false);
    findBar->setRange(0, 1);
    findBar->setValue(0);
    BarEdit = new QLabel(QStringLiteral("Søg efter"), this);
    BarEdit->setObjectName(QStringLiteral("BarEdit"));

    findTekstEdit = new QLineEdit(this);
    findTekstEdit->setObjectName(QStringLiteral("findTekstEdit"));
    findTekstEdit->setPlaceholderText(QStringLiteral("Indfør søgeord"));
    findTekstEdit->setAccessibleName(QStringLiteral("Indfør søgeord"));
    connect(findTekstEdit, &QLineEdit::returnPressed, this, &Tfilmappeform::findTekstEditReturn);

    aSearch = new TAction(this, QStringLiteral("aSearch"), QString(), QStringLiteral("Søg efter mapper og filer"));
    aSearch->setUpdateRule([this] { return !m_searching && !findTekstEdit->text().isEmpty() && !mappeEdit->text().isEmpty(); });
    connect(aSearch, &QAction::triggered, this, &Tfilmappeform::aSearchExecute);
    searchButton = iconActionButton(this, aSearch, QStringLiteral("edit-find"));
    searchButton->setObjectName(QStringLiteral("searchButton"));

    mapperOverskrift = new QLabel(QStringLiteral("Mapper"), this);
    mapperOverskrift->setObjectName(QStringLiteral("mapperOverskrift"));
    mappeBoxen = namedList(this, QStringLiteral("mappeBoxen"), QStringLiteral("Mapper"));
    filerOverskrift = new QLabel(QStringLiteral("Filer"), this);
    filerOverskrift->setObjectName(QStringLiteral("filerOverskrift"));
    filBoxen = namedList(this, QStringLiteral("filBoxen"), QStringLiteral("Filer"));
    // Thousands of found names: rows of one height are laid out without measuring each.
    mappeBoxen->setUniformItemSizes(true);
    filBoxen->setUniformItemSizes(true);

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(listPane(splitter, mapperOverskrift, mappeBoxen));
    splitter->addWidget(listPane(splitter, filerOverskrift, filBoxen));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);
    column->addWidget(mappeLabel);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(mappeEdit, 1);
    folderRow->addWidget(getDirButton);
    column->addLayout(folderRow);
    column->addWidget(findBar);
    column->addWidget(BarEdit);
    auto *wordRow = new QHBoxLayout;
    wordRow->addWidget(findTekstEdit, 1);
    wordRow->addWidget(searchButton);
    column->addLayout(wordRow);
    column->addWidget(splitter, 1);
}

void Tfilmappeform::FormCreate()
{
    createObjecter();
}

void Tfilmappeform::createObjecter()
{
    const auto make = [this](const QString &file, QListWidget *box, TItemtype type,
                             void (Tfilmappeform::*click)(const QString &, const QString &),
                             void (Tfilmappeform::*doubleClick)(const QString &, const QString &)) {
        auto *list = new TReopenFilerX(this);
        list->Itemfile = Platform::joinPath(Platform::settingsFolder(), file);
        list->ListeBoks = box;
        list->OnDblListeKlik = [this, doubleClick](const QString &caption, const QString &path) {
            (this->*doubleClick)(caption, path);
        };
        list->OnListeKlik = [this, click](const QString &caption, const QString &path) { (this->*click)(caption, path); };
        list->Itemtype = type;
        list->MakeListeMenu();
        return list;
    };
    findDir = make(QStringLiteral("findmapper.txt"), mappeBoxen, TItemtype::itBibliotek,
                   &Tfilmappeform::findDirListeKlik, &Tfilmappeform::findDirDblListeKlik);
    findFiler = make(QStringLiteral("findfiler.txt"), filBoxen, TItemtype::itFil,
                     &Tfilmappeform::findFilerListeKlik, &Tfilmappeform::findFilerDblListeKlik);
}

QString Tfilmappeform::delimKon(const QString &path)
{
    if (path.endsWith(QDir::separator()) || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QDir::separator();
}

QString Tfilmappeform::percentText(qint64 position, qint64 total, bool ranItsCourse)
{
    if (total <= 0)
        return ranItsCourse ? QStringLiteral("100%") : QStringLiteral("0%");
    const qint64 scaled = position * 100;
    qint64 percent = scaled / total;
    const qint64 twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && percent % 2 != 0))
        ++percent;
    return QString::number(percent) + QLatin1Char('%');
}

void Tfilmappeform::ClearAlt()
{
    findDir->DeleteAlleItems();
    findFiler->DeleteAlleItems();
    mapperOverskrift->setText(QStringLiteral("Mapper"));
    filerOverskrift->setText(QStringLiteral("Filer"));
    BarEdit->setText(QStringLiteral("Søg efter"));
    findBar->setValue(0);
    QCoreApplication::processEvents();
}

void Tfilmappeform::aSearchExecute()
{
    // The pending events let in before the walk could ask for a second search inside this one.
    if (m_searching)
        return;
    m_searching = true;
    ClearAlt();
    const QString word = findTekstEdit->text();
    QString folder = mappeEdit->text();
    if (!Platform::folderExists(folder)) {
        showInfo(QStringLiteral("Information:\rMappen eksisterer ikke."));
    } else {
        // The found paths outlive the current folder, against which a relative name resolves.
        if (QDir::isRelativePath(folder))
            folder = QDir::toNativeSeparators(QDir::current().absoluteFilePath(folder));
        findElement(folder, word);
    }
    m_searching = false;
}

void Tfilmappeform::findTekstEditReturn()
{
    aSearch->Execute();
}

bool Tfilmappeform::limitReached() const
{
    return m_counts.filesFound == m_maxElementer || m_counts.foldersFound == m_maxElementer;
}

namespace {

// Where a folder entry really lies, the folder holding it really lying at folderReal. Only a link
// needs the file system to tell; asking it for every folder of a big tree costs as much as
// listing the tree.
QString realLocation(const QString &folderReal, const QString &path, const Platform::FolderEntry &entry)
{
    if (entry.link)
        return Platform::realFolderPath(path);
    return folderReal.endsWith(QLatin1Char('/')) ? folderReal + entry.name : folderReal + QLatin1Char('/') + entry.name;
}

} // namespace

QString Tfilmappeform::startWalk(const QString &folder)
{
    m_walkedFolders.clear();
    const QString real = Platform::realFolderPath(folder);
    firstVisit(real);
    return real;
}

bool Tfilmappeform::firstVisit(const QString &real)
{
    if (real.isEmpty() || m_walkedFolders.contains(real))
        return false;
    m_walkedFolders.insert(real);
    return true;
}

void Tfilmappeform::findElement(const QString &folder, const QString &word)
{
    try {
        BarEdit->setText(QStringLiteral("Undersøger..."));
        // No events are let in during the walk; the text is painted now so that it shows meanwhile.
        BarEdit->repaint();
        m_counts = Counts();
        m_barPosition = 0;
        m_ranItsCourse = false;
        m_word = lowerAZ(word);
        // A negative maximum is never equalled, so it sets no limit.
        m_maxElementer = optform ? optform->maxElementer : -1;

        m_listings.clear();
        m_listedEntries = 0;
        getAntal(folder, startWalk(folder));
        m_counts.total = m_counts.filesBefore + m_counts.foldersBefore;
        findBar->setRange(0, int(qBound(qint64(1), m_counts.total, qint64(std::numeric_limits<int>::max()))));
        findBar->setValue(0);

        m_ranItsCourse = getInfo(folder, startWalk(folder));
        m_listings.clear();
        m_listedEntries = 0;
        findBar->setValue(int(qMin(m_barPosition, qint64(findBar->maximum()))));

        if (m_counts.foldersExamined > 0)
            mapperOverskrift->setText(QStringLiteral("Der er undersøgt %1:%2 mappenavne")
                                          .arg(m_counts.foldersExamined)
                                          .arg(m_counts.foldersFound));
        if (m_counts.filesExamined > 0)
            filerOverskrift->setText(QStringLiteral("Der er undersøgt %1:%2 filnavne")
                                         .arg(m_counts.filesExamined)
                                         .arg(m_counts.filesFound));
        if (m_counts.total == 0 && m_ranItsCourse)
            findBar->setValue(findBar->maximum());
        showPercent();
    } catch (const std::exception &) {
        showInfo(QStringLiteral("Information:\rDer opstod en ukendt fejl."));
    }
}

void Tfilmappeform::getAntal(const QString &folder, const QString &real)
{
    // A listing that broke off is counted as far as it came; the walk that follows reports it.
    const Platform::FolderListing listing = Platform::listFolder(folder);
    constexpr qsizetype keptEntries = 1'000'000;
    if (m_listedEntries + listing.entries.size() <= keptEntries) {
        m_listings.insert(folder, listing);
        m_listedEntries += listing.entries.size();
    }
    const QString base = delimKon(folder);
    for (const Platform::FolderEntry &entry : listing.entries) {
        if (limitReached())
            return;
        if (entry.folder) {
            ++m_counts.foldersBefore;
            const QString path = base + entry.name;
            if (const QString entryReal = realLocation(real, path, entry); firstVisit(entryReal))
                getAntal(path, entryReal);
        } else {
            ++m_counts.filesBefore;
        }
    }
}

Platform::FolderListing Tfilmappeform::takeListing(const QString &folder)
{
    const auto kept = m_listings.constFind(folder);
    if (kept == m_listings.cend())
        return Platform::listFolder(folder);
    Platform::FolderListing listing = *kept;
    m_listings.erase(kept);
    return listing;
}

bool Tfilmappeform::getInfo(const QString &folder, const QString &real)
{
    const Platform::FolderListing listing = takeListing(folder);
    if (listing.status == Platform::ListingStatus::NotOpened)
        return true;
    const QString base = delimKon(folder);
    try {
        for (const Platform::FolderEntry &entry : listing.entries) {
            if (limitReached())
                return false;
            // Most names of a big tree neither match nor lead further: they cost no copy.
            const bool matches = containsAZ(entry.name, m_word);
            if (entry.folder)
                ++m_counts.foldersExamined;
            else
                ++m_counts.filesExamined;
            stepBar();
            if (!matches && !entry.folder)
                continue;
            const QString path = base + entry.name;
            if (matches) {
                try {
                    RegisterEle(path);
                } catch (const std::exception &) {
                    // An entry that could not be registered is left out; the walk goes on.
                }
            }
            // A link to a folder is entered as the folder it leads to, unless that folder has been
            // walked already: a link back up the tree would go round in a circle, and a second
            // way into one folder would find its entries twice.
            if (entry.folder) {
                const QString entryReal = realLocation(real, path, entry);
                if (firstVisit(entryReal) && !getInfo(path, entryReal))
                    return false;
            }
        }
        if (listing.status == Platform::ListingStatus::Interrupted)
            showInfo(QStringLiteral("Der opstod en fejl.\rVælg eventuelt ny mappe, der skal søges i."));
    } catch (const std::exception &) {
        showInfo(QStringLiteral("Der opstod en fejl.\rVælg eventuelt ny mappe, der skal søges i."));
    }
    return true;
}

void Tfilmappeform::stepBar()
{
    // The tree may have grown since it was counted; the bar stops at its end.
    if (m_barPosition < m_counts.total) {
        ++m_barPosition;
        // Setting the bar measures its text and style each time, which on a tree of many entries
        // costs more than walking it: the bar is set when it moves by a thousandth.
        if (m_barPosition * 1000 / m_counts.total != (m_barPosition - 1) * 1000 / m_counts.total)
            findBar->setValue(int(m_barPosition));
    }
}

void Tfilmappeform::showPercent()
{
    BarEdit->setText(percentText(m_barPosition, m_counts.total, m_ranItsCourse));
}

void Tfilmappeform::RegisterEle(const QString &path)
{
    switch (Platform::pathKind(path)) {
    case Platform::PathKind::Folder:
        findDir->InsertItem(path, path.mid(path.lastIndexOf(QDir::separator()) + 1), 0);
        ++m_counts.foldersFound;
        break;
    case Platform::PathKind::File:
        findFiler->InsertItem(path, QFileInfo(path).fileName(), 0);
        ++m_counts.filesFound;
        break;
    case Platform::PathKind::None:
        break;
    }
    showPercent();
}

void Tfilmappeform::getDirButtonClick()
{
    mappeEdit->setText(mappefilform->dirBox->directory());
}

void Tfilmappeform::mappeEditBeforeDialog()
{
    m_dialogStart = mappeEdit->text();
}

void Tfilmappeform::mappeEditBrowseClick()
{
    mappeEditBeforeDialog();
    const QString chosen = Platform::dialogs().folder(this, m_dialogStart);
    if (!chosen.isEmpty())
        mappeEdit->setText(QDir::toNativeSeparators(chosen));
}

void Tfilmappeform::findDirListeKlik(const QString &, const QString &Filnavn)
{
    emit nameShown(Filnavn);
}

void Tfilmappeform::findFilerListeKlik(const QString &, const QString &Filnavn)
{
    emit nameShown(Filnavn);
}

void Tfilmappeform::findDirDblListeKlik(const QString &, const QString &Filnavn)
{
    if (Platform::folderExists(Filnavn))
        Platform::shell().execute(QStringLiteral("open"), Filnavn, QString(), QString());
    else
        showInfo(QStringLiteral("Information:\rMappen blev ikke fundet."));
}

void Tfilmappeform::findFilerDblListeKlik(const QString &, const QString &Filnavn)
{
    if (Platform::fileExists(Filnavn))
        openDispatch()->openwin(Filnavn, QString());
}
