#include "app/Main.h"

#include "app/NameField.h"
#include "documents/DatoCompo.h"
#include "documents/DocumentForm.h"
#include "documents/DocumentRecovery.h"
#include "documents/Win1.h"
#include "documents/Win2.h"
#include "lists/DirBox.h"
#include "lists/favoritUnit.h"
#include "lists/filUnit.h"
#include "lists/mappefilUnit.h"
#include "opening/filtyper.h"
#include "opening/FileType.h"
#include "opening/Funktioner.h"
#include "opening/TypeListView.h"
#include "options/boks.h"
#include "options/optUnit.h"
#include "platform/Clock.h"
#include "platform/DataFolders.h"
#include "platform/Dialogs.h"
#include "platform/LineFile.h"
#include "platform/Modal.h"
#include "platform/Notifications.h"
#include "platform/RichEdit.h"
#include "search/filmappeUnit.h"
#include "search/findis.h"
#include "widgets/Action.h"
#include "widgets/BoxSettings.h"
#include "widgets/ElidedLabel.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"
#include "widgets/RadioGroup.h"
#include "widgets/ScreenPlace.h"
#include "widgets/infUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

Tmainform *mainform = nullptr;

const QStringList Tmainform::standardTypeList = fileTypeLines(textFileTypes());

Tmainform::Tmainform(const QStringList &arguments, const QString &startFolder)
    : m_arguments(arguments)
    , m_startFolder(startFolder)
{
    setObjectName(QStringLiteral("mainform"));
    buildControls();
    buildActions();
    buildMenuBog();
    buildMenus();
    FormCreate();
}

Tmainform::~Tmainform()
{
    // The children go after this destructor; none of their last events may reach it.
    qApp->removeEventFilter(this);
    disconnect(mdiArea, nullptr, this, nullptr);
    disconnect(tc, nullptr, this, nullptr);
    delete Datoer;
}

void Tmainform::buildControls()
{
    resize(920, 580);
    QFont segoe = font();
    segoe.setFamily(QStringLiteral("Segoe UI"));
    setFont(segoe);

    MainMenu = new QMenuBar(this);
    setMenuBar(MainMenu);

    auto *client = new QWidget(this);
    auto *column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    hovedmenuPanel = new QWidget(client);
    hovedmenuPanel->setObjectName(QStringLiteral("hovedmenuPanel"));
    auto *strip = new QHBoxLayout(hovedmenuPanel);
    strip->setContentsMargins(2, 2, 2, 2);
    strip->addStretch();
    column->addWidget(hovedmenuPanel);

    menuBog = new QStackedWidget(client);
    menuBog->setObjectName(QStringLiteral("menuBog"));
    menuBog->hide();
    column->addWidget(menuBog);

    mdiArea = new QMdiArea(client);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setActivationOrder(QMdiArea::CreationOrder);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &Tmainform::subWindowActivated);
    column->addWidget(mdiArea, 1);

    tc = new QTabBar(client);
    tc->setObjectName(QStringLiteral("tc"));
    tc->setAccessibleName(QStringLiteral("Dokumenter"));
    tc->setExpanding(false);
    tc->setDocumentMode(true);
    connect(tc, &QTabBar::currentChanged, this, &Tmainform::tcChange);
    tc->installEventFilter(this);
    qApp->installEventFilter(this);
    column->addWidget(tc);

    bundPanel = new QWidget(client);
    bundPanel->setObjectName(QStringLiteral("bundPanel"));
    auto *bottom = new QHBoxLayout(bundPanel);
    bottom->setContentsMargins(4, 2, 4, 2);
    // Paths, hints and search results of any length: they must never widen the window.
    Info = new ElidedLabel(bundPanel);
    Info->setObjectName(QStringLiteral("Info"));
    bottom->addWidget(Info, 1);
    column->addWidget(bundPanel);

    setCentralWidget(client);

    TrayIcon = new QSystemTrayIcon(QApplication::windowIcon(), this);
    TrayIcon->setToolTip(QStringLiteral("kyxTavlo"));
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason != QSystemTrayIcon::Trigger)
            return;
        showNormal();
        activateWindow();
        TrayIconRestoreApp();
    });
}

QString Tmainform::GetUserFromWindows()
{
    return Platform::userName();
}

QString Tmainform::getFname(QString s)
{
    return s.remove(QLatin1Char('"'));
}

QString Tmainform::commandLineFile(const QString &argument, const QString &folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(folder).absoluteFilePath(getFname(argument))));
}

void Tmainform::openCommandLine(const QStringList &arguments, const QString &folder)
{
    for (const QString &argument : arguments) {
        const QString name = commandLineFile(argument, folder);
        if (Platform::fileExists(name))
            funk->openwin(name, QString());
    }
}

void Tmainform::openHandedOver(const QStringList &fileNames)
{
    // The user started the program to see it: from the notification area, minimised or behind
    // other windows, it comes to the front before the files open.
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    TrayIconRestoreApp();
    openCommandLine(fileNames, QString());
}

void Tmainform::FormCreate()
{
    opstart = true;
    extListe.clear();
    Brugernavn = GetUserFromWindows();
    programmappe = Platform::programFolder();
    OptMappe = Platform::settingsFolder();
    m_dataFoldersReady = Platform::makeFolder(OptMappe);
    extListeFilename = Platform::joinPath(OptMappe, QStringLiteral("ExtListe.txt"));
    infoDir = Platform::informationFolder();
    setWindowTitle(QStringLiteral("Velkommen ") + Brugernavn);
    menuBogHeight = 108;
    applyMenuBogDocking();
    resetFileInfo();
    funk = new TFunktioner(*this, this);
    optFilnavn = Platform::joinPath(OptMappe, QStringLiteral("Main.txt"));
    maximisedFilename = Platform::joinPath(OptMappe, QStringLiteral("MainMaksimeret.txt"));
    dokumentfil = Platform::joinPath(OptMappe, QStringLiteral("Dokumentfil.txt"));
    if (m_dataFoldersReady)
        HentOpt();
    Datoer = new TDatoer;
}

void Tmainform::defaultOpt()
{
    resize(800, 600);
    move(640, 240);
    showWhollyOnScreen(*this);
}

void Tmainform::HentOpt()
{
    readSettings(optFilnavn, {5, true, false, SettingsRules::Fallback::Defaults}, [this] { defaultOpt(); },
                 [this](SettingsLines &lines) {
                     lines.windowGeometry(*this);
                     filtypeBoksHeight = lines.integer();
                 });
    rememberNormalPlace();
    readSettings(maximisedFilename, {1, true, false, SettingsRules::Fallback::DesignValues}, {},
                 [this](SettingsLines &lines) {
                     if (lines.yesNo())
                         setWindowState(windowState() | Qt::WindowMaximized);
                 });
}

void Tmainform::GemOpt()
{
    rememberNormalPlace();
    SettingsWriter()
        .windowGeometry(m_normalPlace)
        .integer(filtypeBoksHeight)
        .write(optFilnavn);
    // Other readers rely on the five lines of "Main.txt"; whether the window was maximised is
    // kept beside it.
    SettingsWriter().yesNo(isMaximized()).write(maximisedFilename);
}

void Tmainform::rememberNormalPlace()
{
    // Qt's normal geometry of a maximised window is its inner rectangle; put back as the frame's
    // position it would move the window by its frame at every start.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        m_normalPlace = QRect(pos(), size());
}

void Tmainform::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    rememberNormalPlace();
}

void Tmainform::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void Tmainform::FormShow()
{
    // A restore from the notification area shows the window again; that is not a first showing.
    if (!opstart || m_firstShowDone)
        return;
    m_firstShowDone = true;
    setTrayIcon(optform->trayCheck->isChecked());
    setStandardSize();
    if (!optform->windowsCheck->isChecked()) {
        MainMenu->hide();
        MainMenu->setEnabled(false);
    }
    hovedmenuPanel->setVisible(optform->hovedmenuCheck->isChecked());
    // Brought back first, so that a file also named on the command line is not opened twice.
    offerRecovery(*this);
    openCommandLine(m_arguments, m_startFolder);
    if (optform->dokumentCheck->isChecked() && Platform::fileExists(dokumentfil)) {
        if (const std::optional<QStringList> lines = Platform::readLines(dokumentfil))
            for (const QString &line : documentsToReopen(*lines))
                funk->openwin(line, QString());
    }
    yearNuButtonClick();
    tc->setVisible(optform->dokumentlinjeCheck->isChecked());
    setAcceptDrops(true);
    if (optform->minimerCheck->isChecked())
        showMinimized();
    if (TrayIcon->isVisible())
        return;
    if (optform->minimerCheck->isChecked())
        return;
    opstart = false;
    showStartupBoxes();
}

QStringList Tmainform::documentsToReopen(QStringList lines)
{
    // A blank line stands for a new document that was open. The program writes one per such
    // document, so a longer run of blank lines than anyone keeps documents open is damage, and
    // it and everything after it are left: each would cost a window.
    constexpr qsizetype kMostNewDocuments = 50;
    qsizetype blankRun = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        blankRun = lines[i].isEmpty() ? blankRun + 1 : 0;
        if (blankRun > kMostNewDocuments) {
            lines.resize(i + 1 - blankRun);
            break;
        }
    }
    return lines;
}

void Tmainform::showStartupBoxes()
{
    if (optform->bokseCheck1->isChecked())
        mappefilform->show();
    if (optform->bokseCheck2->isChecked())
        favoritform->show();
    if (optform->bokseCheck3->isChecked())
        filform->show();
}

void Tmainform::setTrayIcon(bool wanted)
{
    TrayIcon->setVisible(wanted && Platform::notifications().hasNotificationArea());
}

void Tmainform::TrayIconRestoreApp()
{
    if (!opstart)
        return;
    opstart = false;
    showStartupBoxes();
}

void Tmainform::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Minimised with the icon showing, the program lives in the notification area until the icon
    // is clicked. A notification area gone since the icon was shown cannot be clicked, so the
    // window stays reachable on the task bar.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TrayIcon->isVisible()
        && Platform::notifications().hasNotificationArea())
        hide();
}

void Tmainform::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    rememberNormalPlace();
    FormResize();
}

void Tmainform::FormResize()
{
    if (!opstart && optform)
        optform->setProgSize(width(), height());
}

void Tmainform::setStandardSize()
{
    if (optform->marginCheck->isChecked()) {
        standardWidth = 861;
        standardHeight = 800;
        m_margin = 70;
    } else {
        standardWidth = 728;
        standardHeight = 700;
        m_margin = 8;
    }
    for (TDocumentForm *window : documentWindows())
        window->editor()->setInnerMargins(m_margin);
}

bool Tmainform::documentsAnswerCloseQueries()
{
    for (TDocumentForm *window : documentWindows())
        if (!window->FormCloseQuery())
            return false;
    return true;
}

void Tmainform::closeEvent(QCloseEvent *event)
{
    // A document whose save was cancelled or failed keeps the program open.
    if (!documentsAnswerCloseQueries()) {
        event->ignore();
        return;
    }
    FormCloseQuery();
    FormClose();
    event->accept();
}

bool Tmainform::FormCloseQuery()
{
    setAcceptDrops(false);
    delete Datoer;
    Datoer = nullptr;
    extListe.clear();
    mappefilform->closeBox();
    favoritform->closeBox();
    optform->GemOpt();
    return true;
}

void Tmainform::FormClose()
{
    const QList<TDocumentForm *> windows = documentWindows();
    if (optform->dokumentCheck->isChecked() && !windows.isEmpty()) {
        QStringList names;
        for (TDocumentForm *window : windows)
            if (Platform::fileExists(window->Filnavn))
                names << window->Filnavn;
        writeUserFile(dokumentfil, names);
    } else if (QFileInfo::exists(dokumentfil)) {
        QFile::remove(dokumentfil);
    }
    delete funk;
    funk = nullptr;
    GemOpt();
}

QList<TDocumentForm *> Tmainform::documentWindows() const
{
    QList<TDocumentForm *> windows;
    for (QMdiSubWindow *window : mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto *document = qobject_cast<TDocumentForm *>(window))
            windows << document;
    return windows;
}

TDocumentForm *Tmainform::activeDocument() const
{
    return qobject_cast<TDocumentForm *>(mdiArea->currentSubWindow());
}

TDocumentForm *Tmainform::createDocumentWindow(bool rich)
{
    hideOptionsPanel();
    const DocumentOpening opening{docFilnavn, docExt, newCount, docRecovered};
    const FrameCommands commands{fileGem, fileGemSom, openMenu1, udskrivDokument, winLuk, winLukAlle};
    TDocumentForm *window = rich ? static_cast<TDocumentForm *>(new Twinform2(opening, commands))
                                 : new Twinform1(opening, commands);
    if (window->openFailed()) {
        delete window;
        return nullptr;
    }
    if (!window->isLoading())
        showOpeningNote(window);
    connectDocument(window);
    mdiArea->addSubWindow(window);
    // The size it comes back to from maximised fits the frame, whatever its controls would like.
    window->resize(window->size().boundedTo(mdiArea->viewport()->size()));
    activateDocument(window);
    return window;
}

void Tmainform::followOptions(Toptform &box)
{
    box.showProgramSizeCommand(aProgramSize);
    connect(&box, &Toptform::tabRowToggled, tc, &QWidget::setVisible);
    connect(&box, &Toptform::menuBarHidden, MainMenu, &QWidget::hide);
    connect(&box, &Toptform::standardSizeChanged, this, [this] {
        setStandardSize();
        resize(standardWidth, standardHeight);
    });
    connect(&box, &Toptform::trayIconToggled, this, &Tmainform::setTrayIcon);
    connect(&box, &Toptform::hintPlaceChosen, this, [this](bool atControls) {
        setControlHints(atControls);
        setHintInfoInstalled(!atControls);
        Info->setVisible(!atControls);
    });
    connect(&box, &Toptform::designChosen, this, &Tmainform::hideMenuBog);
}

void Tmainform::followFileBox(Tfilform &box)
{
    connect(&box, &Tfilform::openDialogWanted, this, [this](const QString &folder) {
        if (!folder.isEmpty())
            openDialogFolder = folder;
        fileOpenExecute();
    });
}

void Tmainform::followSearchBox(Tfindformen &box)
{
    connect(&box, &Tfindformen::searchPageWanted, this, [this](const QString &searchText) {
        // The page command closes the panel when that page already shows, so it is opened again
        // then.
        openMenu3->trigger();
        if (!showsPage(CommandPage::Search))
            setMenuPanel(CommandPage::Search);
        ordEdit->setText(searchText);
    });
}

void Tmainform::followFindBox(Tfilmappeform &box)
{
    connect(&box, &Tfilmappeform::nameShown, this, &Tmainform::UdskrivInfo);
}

void Tmainform::connectDocument(TDocumentForm *window)
{
    // The frame's commands follow the active document; saving or typing in another one must not
    // change what they offer.
    connect(window, &TDocumentForm::modifiedChanged, this, [this, window](bool modified) {
        if (activeDocument() == window)
            docModified = modified;
    });
    connect(window, &TDocumentForm::activated, this, [this, window](bool first) { documentActivated(window, first); });
    connect(window, &TDocumentForm::renamed, this, [this, window](const QString &oldCaption) {
        RenameTab(oldCaption, window->capNavn);
        dokumentFilnavn = window->Filnavn;
    });
    connect(window, &TDocumentForm::attentionWanted, this, [this, window] { bringToFront(window); });
    connect(window, &TDocumentForm::loaded, this, [this, window] { showOpeningNote(window); });
    connect(window, &TDocumentForm::informationChanged, this, [this, window] {
        if (activeDocument() == window)
            udskrivFilInfo();
    });
    connect(window, &TDocumentForm::closing, this, [this, window] { documentClosing(window); });
    connect(window, &TDocumentForm::closed, this, [this, window] {
        // The next document is now the active one; typing goes on in its text, not in whatever
        // control of it comes next in the focus chain.
        if (TDocumentForm *next = activeDocument(); next && next != window)
            next->widget()->setFocus();
    });
}

void Tmainform::showOpeningNote(TDocumentForm *window)
{
    if (const QString note = window->openingNote(); !note.isEmpty())
        UdskrivInfo(note);
}

void Tmainform::documentActivated(TDocumentForm *window, bool first)
{
    udskrivFilInfo();
    if (Platform::fileExists(window->Filnavn)) {
        showName(docFilnavnEdit, QFileInfo(window->Filnavn).fileName());
        setHint(docFilnavnEdit, mappefilform->dirBox->directory());
    } else {
        showName(docFilnavnEdit, QStringLiteral("Dokumentet har ikke noget navn"));
    }
    dokumentFilnavn = window->Filnavn;
    if (first) {
        InsertTab();
        SetTCindex();
    }
    if (Datoer)
        Datoer->SetEditor(window->editor());
    fokusTab(window->windowTitle());
}

void Tmainform::documentClosing(TDocumentForm *window)
{
    // Only a window that really closes lets go of the date commands. One that has merely answered
    // its question, in a program close that another document then refused, keeps them.
    if (Datoer && Datoer->editor() == window->editor())
        Datoer->SetEditor(nullptr);
    if (documentWindows().size() == 1) {
        resetFileInfo();
        dokumentFilnavn.clear();
    }
    CloseTab(window->windowTitle());
}

void Tmainform::activateDocument(TDocumentForm *window)
{
    // A document asked for comes back from "Minimer alle" as it was before.
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    mdiArea->setActiveSubWindow(window);
    window->widget()->setFocus();
}

void Tmainform::bringToFront(TDocumentForm *window)
{
    hideOptionsPanel();
    activateDocument(window);
}

bool Tmainform::bringOpenDocumentToFront(const QString &fileName, bool rich)
{
    // A document open in the other kind of window is not the one asked for.
    for (TDocumentForm *window : documentWindows()) {
        if ((qobject_cast<Twinform2 *>(window) != nullptr) == rich && Platform::sameFile(window->Filnavn, fileName)) {
            bringToFront(window);
            return true;
        }
    }
    return false;
}

void Tmainform::HintInfo(const QString &hint)
{
    if (optform && optform->hintBox->itemIndex() == 0)
        UdskrivInfo(longHint(hint));
}

bool Tmainform::hintSwallowed(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        if (m_hintInfoInstalled)
            HintInfo(static_cast<QStatusTipEvent *>(event)->tip());
        return false;
    }
    if (event->type() != QEvent::ToolTip || m_controlHints || !watched->isWidgetType())
        return false;
    // Document windows decide about their own controls' hints.
    for (QObject *object = watched; object; object = object->parent())
        if (qobject_cast<TDocumentForm *>(object))
            return false;
    QWidget *window = static_cast<QWidget *>(watched)->window();
    const QList<QWidget *> governed{this, optform, mappefilform, favoritform, filform, findformen, boksform,
                                    filmappeform, typeform};
    return governed.contains(window);
}

void Tmainform::subWindowActivated(QMdiSubWindow *window)
{
    if (auto *document = qobject_cast<TDocumentForm *>(window))
        document->FormActivate();
}

int Tmainform::tabMatching(const QString &caption, int searchedTabs) const
{
    const int last = qMin(searchedTabs, tc->count());
    for (int i = 0; i < last; ++i)
        if (sameTextAZ(tc->tabText(i), caption))
            return i;
    return -1;
}

void Tmainform::InsertTab()
{
    TDocumentForm *active = activeDocument();
    if (!active)
        return;
    const QSignalBlocker quiet(tc);
    tc->addTab(active->windowTitle());
}

void Tmainform::SetTCindex()
{
    TDocumentForm *active = activeDocument();
    const int windows = int(documentWindows().size());
    if (!active || windows == 0 || tc->count() == 0)
        return;
    const int index = tabMatching(active->windowTitle(), windows);
    if (index >= 0) {
        const QSignalBlocker quiet(tc);
        tc->setCurrentIndex(index);
    }
}

void Tmainform::fokusTab(const QString &aName)
{
    const int index = tabMatching(aName, tc->count());
    if (index >= 0) {
        const QSignalBlocker quiet(tc);
        tc->setCurrentIndex(index);
    }
}

void Tmainform::CloseTab(const QString &aCapNavn)
{
    const int index = tabMatching(aCapNavn, tc->count());
    if (index >= 0) {
        const QSignalBlocker quiet(tc);
        tc->removeTab(index);
    }
}

void Tmainform::RenameTab(const QString &oldCapNavn, const QString &newCapNavn)
{
    const int windows = int(documentWindows().size());
    if (windows == 0)
        return;
    const int index = tabMatching(oldCapNavn, windows);
    if (index >= 0)
        tc->setTabText(index, newCapNavn);
}

void Tmainform::tcChange(int index)
{
    if (index < 0)
        return;
    const QString text = tc->tabText(index);
    for (TDocumentForm *window : documentWindows()) {
        if (sameTextAZ(window->windowTitle(), text)) {
            QCoreApplication::processEvents();
            bringToFront(window);
            return;
        }
    }
}

void Tmainform::buildWindowMenu()
{
    mainMenu7 = MainMenu->addMenu(QStringLiteral("Åbne"));
    mainMenu7->setObjectName(QStringLiteral("mainMenu7"));
    mainMenu7->setToolTip(QStringLiteral("Åbne dokumenter"));
    mDocAntalCaption = mainMenu7->addAction(QStringLiteral("Åbne dokumenter"));
    mDocAntalCaption->setObjectName(QStringLiteral("mDocAntalCaption"));
    mainMenu7->addSeparator()->setObjectName(QStringLiteral("N1"));
    connect(mainMenu7, &QMenu::aboutToShow, this, &Tmainform::mainMenu7Click);
}

void Tmainform::mainMenu7Click()
{
    const QList<TDocumentForm *> windows = documentWindows();
    const qsizetype n = windows.size();
    mDocAntalCaption->setText(n == 0   ? QStringLiteral("Der er ingen åbne dokumenter")
                              : n == 1 ? QStringLiteral("Der er et åbent dokument")
                                       : QStringLiteral("Der er ") + QString::number(n) + QStringLiteral(" åbne dokumenter"));
    // The entries after the separator list the document windows, as the frame's window menu does.
    const QList<QAction *> entries = mainMenu7->actions();
    for (qsizetype i = 2; i < entries.size(); ++i)
        delete entries[i];
    TDocumentForm *active = activeDocument();
    for (qsizetype i = 0; i < n; ++i) {
        TDocumentForm *window = windows[i];
        QAction *entry = mainMenu7->addAction(QString::number(i + 1) + QLatin1Char(' ') + window->windowTitle());
        entry->setCheckable(true);
        entry->setChecked(window == active);
        connect(entry, &QAction::triggered, this, [this, window = QPointer<TDocumentForm>(window)] {
            if (window)
                activateDocument(window);
        });
    }
}

void Tmainform::cascadeDocuments()
{
    // Each window lies one title bar lower and further right than the one before, and above it,
    // with the active one last: every title bar stays in sight, and a click on one brings its
    // window forward. Qt's own cascade raised the active window over the others' title bars.
    QList<TDocumentForm *> windows = documentWindows();
    if (windows.isEmpty())
        return;
    TDocumentForm *active = activeDocument();
    if (active)
        windows.move(windows.indexOf(active), windows.size() - 1);
    const QRect area = mdiArea->viewport()->rect();
    const int step = windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.first()) + 4;
    // More windows than steps fit start again at the top, a little further right.
    const int perColumn = qMax(1, qMin(int(windows.size()), area.height() / (2 * step)));
    const QSize size(qMax(area.width() - (int(windows.size()) - 1) * step, area.width() / 2),
                     qMax(area.height() - (perColumn - 1) * step, area.height() / 2));
    for (int i = 0; i < windows.size(); ++i) {
        TDocumentForm *window = windows[i];
        window->showNormal();
        const int row = i % perColumn;
        const QPoint place(qMin(i * step, area.width() - size.width()), row * step);
        window->setGeometry(QRect(place, size));
        window->raise();
    }
    if (active)
        activateDocument(active);
}

void Tmainform::tileDocuments(Qt::Orientation orientation)
{
    const QList<TDocumentForm *> windows = documentWindows();
    if (windows.isEmpty())
        return;
    const QRect area = mdiArea->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        // The last window takes what the division leaves over, so the tiles fill the frame.
        if (orientation == Qt::Horizontal) {
            const int top = area.height() * i / n;
            windows[i]->setGeometry(0, top, area.width(), area.height() * (i + 1) / n - top);
        } else {
            const int left = area.width() * i / n;
            windows[i]->setGeometry(left, 0, area.width() * (i + 1) / n - left, area.height());
        }
    }
}

QList<QWidget *> Tmainform::closableBoxes()
{
    if (!filform)
        return {};
    return {filform, mappefilform, favoritform, findformen, filmappeform};
}

void Tmainform::closeAllBokseExecute()
{
    for (QWidget *box : closableBoxes())
        if (box->isVisible())
            box->close();
}

bool Tmainform::eventFilter(QObject *watched, QEvent *event)
{
    if (hintSwallowed(watched, event) || droppedFilesTaken(watched, event))
        return true;
    if (watched == tc && event->type() == QEvent::MouseButtonPress)
        tcMouseDown(static_cast<QMouseEvent *>(event)->position().toPoint());
    return QMainWindow::eventFilter(watched, event);
}

void Tmainform::tcMouseDown(const QPoint &pos)
{
    const int index = tc->tabAt(pos);
    if (documentWindows().isEmpty() || index < 0)
        return;
    const QString text = tc->tabText(index);
    for (TDocumentForm *window : documentWindows()) {
        if (sameTextAZ(window->windowTitle(), text)) {
            UdskrivInfo(window->Filnavn);
            hideOptionsPanel();
        }
    }
}

void Tmainform::UdskrivInfo(const QString &aInfo)
{
    Info->setText(aInfo);
}

void Tmainform::winLukAlleExecute()
{
    const QList<TDocumentForm *> windows = documentWindows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        (*it)->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (documentWindows().isEmpty())
        resetFileInfo();
}

bool Tmainform::makeTypeliste()
{
    extListe = standardTypeList;
    const bool written = writeUserFile(extListeFilename, extListe);
    LoadExtListe(false);
    return written;
}

void Tmainform::LoadExtListe(bool withLoad)
{
    if (!Platform::fileExists(extListeFilename))
        return;
    if (withLoad) {
        // A file that cannot be read now leaves the list as it was rather than emptying it.
        const std::optional<QStringList> lines = Platform::readLines(extListeFilename);
        if (!lines)
            return;
        extListe = *lines;
    }
    showTypeRows(typeform->typeliste, readFileTypes(extListe));
}

bool Tmainform::GemExtListe()
{
    extListe = fileTypeLines(typeRows(typeform->typeliste));
    return writeUserFile(extListeFilename, extListe);
}
