#include "lists/mappefilUnit.h"

#include "lists/DirBox.h"
#include "lists/FileBox.h"
#include "opening/Funktioner.h"
#include "platform/DataFolders.h"
#include "platform/FolderListing.h"
#include "widgets/Action.h"
#include "widgets/BoxSettings.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int DefaultWidth = 580;
constexpr int DefaultHeight = 480;
constexpr int DefaultLeft = 40;
constexpr int DefaultTop = 40;

// The left pane's width for a window width: half of it, less the gap between the panes.
int dirPanelWidth(int windowWidth)
{
    return qMax(0, windowWidth / 2 - 12);
}

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity PathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity PathCase = Qt::CaseSensitive;
#endif

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
}

} // namespace

Tmappefilform::Tmappefilform(QWidget *parent)
    : TBox(parent, QStringLiteral("Mapper og filer"))
{
    setObjectName(QStringLiteral("mappefilform"));

    dirPanel = new QWidget(this);
    dirPanel->setObjectName(QStringLiteral("dirPanel"));
    dirBox = new TDirBox(dirPanel);
    diskBox = new QComboBox(dirPanel);
    diskBox->setObjectName(QStringLiteral("diskBox"));
    diskBox->setAccessibleName(QStringLiteral("Drev"));
    auto *dirColumn = new QVBoxLayout(dirPanel);
    dirColumn->setContentsMargins(0, 0, 0, 0);
    dirColumn->addWidget(dirBox, 1);
    dirColumn->addWidget(diskBox);

    filPanel = new QWidget(this);
    filPanel->setObjectName(QStringLiteral("filPanel"));
    fileBox = new TFileBox(filPanel);
    fileEditBox = new QLineEdit(filPanel);
    fileEditBox->setObjectName(QStringLiteral("fileEditBox"));
    fileEditBox->setReadOnly(true);
    fileEditBox->setPlaceholderText(QStringLiteral("Vælg en fil i listen"));
    fileEditBox->setAccessibleName(QStringLiteral("Valgt fil"));
    setHint(fileEditBox, QStringLiteral("Valgte dokument kan forsøges køres eller redigeres"));
    runFile = new TAction(this, QStringLiteral("runFile"), QStringLiteral("Kør"), QStringLiteral("Kør valgte fil"));
    editFile = new TAction(this, QStringLiteral("editFile"), QStringLiteral("Rediger"), QStringLiteral("Rdiger valgte fil"));
    runButton = iconActionButton(filPanel, runFile, QStringLiteral("system-run"));
    runButton->setObjectName(QStringLiteral("runButton"));
    editButton = iconActionButton(filPanel, editFile, QStringLiteral("document-edit"));
    editButton->setObjectName(QStringLiteral("editButton"));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(fileEditBox, 1);
    fileRow->addWidget(runButton);
    fileRow->addWidget(editButton);
    auto *fileColumn = new QVBoxLayout(filPanel);
    fileColumn->setContentsMargins(0, 0, 0, 0);
    fileColumn->addWidget(fileBox, 1);
    fileColumn->addLayout(fileRow);

    auto *panes = new QHBoxLayout(this);
    panes->addWidget(dirPanel);
    panes->addWidget(filPanel, 1);

    setMinimumSize(300, 200);
    resize(DefaultWidth, DefaultHeight);
    dirPanel->setFixedWidth(dirPanelWidth(DefaultWidth));

    connect(dirBox, &TDirBox::directoryChanged, this, &Tmappefilform::dirBoxChange);
    connect(diskBox, &QComboBox::activated, this, &Tmappefilform::diskBoxChange);
    connect(fileBox, &TFileBox::Change, this, &Tmappefilform::fileBoxChange);
    connect(fileBox, &TFileBox::DblClick, this, &Tmappefilform::fileBoxDblClick);
    connect(fileBox, &TFileBox::openKey, this, &Tmappefilform::fileBoxKeyPress);
    connect(runFile, &QAction::triggered, this, &Tmappefilform::runButtonClick);
    connect(editFile, &QAction::triggered, this, &Tmappefilform::editButtonClick);

    // Until the settings say otherwise, the program's own data folder.
    dirBox->setDirectory(Platform::dataRoot());
}

void Tmappefilform::FormCreate()
{
    opstart = true;
    optFilnavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("mappefilUnit.txt"));
    HentOpt();
}

void Tmappefilform::defaultOpt()
{
    resize(DefaultWidth, DefaultHeight);
    move(DefaultLeft, DefaultTop);
    dirBox->setDirectory(Platform::dataRoot());
}

void Tmappefilform::HentOpt()
{
    readSettings(optFilnavn, {5, false, true, SettingsRules::Fallback::Defaults}, [this] { defaultOpt(); },
                 [this](SettingsLines &lines) {
                     lines.windowGeometry(*this);
                     // A folder removed since the last run leaves the box in the folder that held it.
                     dirBox->setDirectory(Platform::nearestExistingFolder(lines.text()));
                 });
}

void Tmappefilform::GemOpt()
{
    SettingsWriter()
        .windowGeometry(*this)
        .text(dirBox->directory())
        .write(optFilnavn);
}

void Tmappefilform::FormClose()
{
    GemOpt();
}

void Tmappefilform::showEvent(QShowEvent *event)
{
    // Drives are mounted and unmounted while the box is hidden.
    fillDiskBox();
    showDriveOf(dirBox->directory());
    fileBoxChange();
    TBox::showEvent(event);
}

void Tmappefilform::resizeEvent(QResizeEvent *event)
{
    TBox::resizeEvent(event);
    if (opstart) {
        opstart = false;
        return;
    }
    dirPanel->setFixedWidth(dirPanelWidth(width()));
}

void Tmappefilform::fillDiskBox()
{
    const QSignalBlocker quiet(diskBox);
    diskBox->clear();
    for (const Platform::Drive &drive : Platform::drives()) {
        const QString caption = drive.label.isEmpty() ? drive.root : drive.root + QStringLiteral(" [") + drive.label + QLatin1Char(']');
        diskBox->addItem(Platform::driveIcon(drive.kind), caption, drive.root);
    }
}

void Tmappefilform::showDriveOf(const QString &folder)
{
    const QString path = withSeparator(folder);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < diskBox->count(); ++i) {
        const QString root = diskBox->itemData(i).toString();
        if (root.size() > bestLength && path.startsWith(root, PathCase)) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(diskBox);
    diskBox->setCurrentIndex(best);
}

void Tmappefilform::dirBoxChange(const QString &folder)
{
    fileBox->setDirectory(folder);
    showDriveOf(folder);
    fileBoxChange();
}

void Tmappefilform::diskBoxChange(int index)
{
    if (dirBox->setDirectory(diskBox->itemData(index).toString()))
        return;
    // A drive that went away since the list was read: the box stays where it was.
    fillDiskBox();
    showDriveOf(dirBox->directory());
}

void Tmappefilform::fileBoxChange()
{
    // Without a selected file at the cursor the edit is empty, so that its placeholder shows.
    fileEditBox->setText(fileBox->fileName());
}

QString Tmappefilform::chosenFile() const
{
    const QString path = fileBox->filePath();
    return Platform::fileExists(path) ? path : QString();
}

void Tmappefilform::openFile()
{
    // Opening a document moves the chosen folder and may list it anew; the names are taken first.
    for (const QString &path : fileBox->selectedFilePaths())
        openDispatch()->openwin(path, TFunktioner::fileExtension(path));
}

void Tmappefilform::fileBoxDblClick()
{
    openFile();
}

void Tmappefilform::fileBoxKeyPress()
{
    if (!chosenFile().isEmpty())
        openFile();
}

void Tmappefilform::runButtonClick()
{
    const QString path = chosenFile();
    if (!path.isEmpty())
        openDispatch()->runFilname(path, 0);
}

void Tmappefilform::editButtonClick()
{
    const QString path = chosenFile();
    if (path.isEmpty())
        return;
    if (openDispatch()->extKontrol(path))
        openDispatch()->openwin(path, TFunktioner::fileExtension(path));
    else
        openDispatch()->runFilname(path, 1);
}
