#include "app/Main.h"

#include "app/FlowLayout.h"
#include "app/NameField.h"
#include "documents/DatoCompo.h"
#include "documents/DocumentForm.h"
#include "documents/FindReplace.h"
#include "lists/FavDirUnit.h"
#include "lists/favoritUnit.h"
#include "lists/filUnit.h"
#include "lists/mappefilUnit.h"
#include "lists/OpenUnit.h"
#include "opening/filtyper.h"
#include "opening/Funktioner.h"
#include "options/genvejUnit.h"
#include "options/optUnit.h"
#include "platform/Browser.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Modal.h"
#include "platform/Notifications.h"
#include "platform/Printer.h"
#include "platform/RichEdit.h"
#include "search/filmappeUnit.h"
#include "search/findis.h"
#include "widgets/Action.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"
#include "widgets/infUnit.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString noDocuments = QStringLiteral("Der er ingen åbne dokumenter.");

// A column of controls on a page; the pages are low, so the columns are tight.
QVBoxLayout *column(QHBoxLayout *page)
{
    auto *layout = new QVBoxLayout;
    layout->setSpacing(2);
    page->addLayout(layout);
    return layout;
}

QHBoxLayout *pageLayout(QWidget *page)
{
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(10);
    return layout;
}

} // namespace

void Tmainform::buildMenuBog()
{
    const QStringList pages{QStringLiteral("menuSide1"), QStringLiteral("menuSide2"), QStringLiteral("menuSide3"),
                            QStringLiteral("menuSide4"), QStringLiteral("menuSide5"), QStringLiteral("menuSide6"),
                            QStringLiteral("menuSide7")};
    for (const QString &name : pages) {
        auto *page = new QWidget(menuBog);
        page->setObjectName(name);
        menuBog->addWidget(page);
    }

    // Fil: what the active document is, and the file commands.
    QWidget *filePage = pageWidget(CommandPage::File);
    QHBoxLayout *fileColumns = pageLayout(filePage);
    QVBoxLayout *information = column(fileColumns);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(iconActionButton(filePage, opdaterFilinfo, QStringLiteral("view-refresh")));
    filnavnEdit = readOnlyEdit(filePage, QStringLiteral("filnavnEdit"), QString());
    filnavnEdit->setAccessibleName(QStringLiteral("Filnavn"));
    filnavnEdit->setMinimumWidth(220);
    nameRow->addWidget(filnavnEdit, 1);
    information->addLayout(nameRow);
    filsizeLabel = namedLabel(filePage, QStringLiteral("filsizeLabel"), QStringLiteral("Filstørrelse"));
    antalLinjerLabel = namedLabel(filePage, QStringLiteral("antalLinjerLabel"), QString());
    filModificeretLabel = namedLabel(filePage, QStringLiteral("filModificeretLabel"), QStringLiteral("Modifiseret"));
    for (QLabel *label : {filsizeLabel, antalLinjerLabel, filModificeretLabel})
        information->addWidget(label);
    information->addStretch();
    QVBoxLayout *files = column(fileColumns);
    for (QAction *action : {fileOpen, fileGemSom, fileGem})
        files->addWidget(actionTextButton(filePage, action));
    files->addStretch();
    QVBoxLayout *newDocuments = column(fileColumns);
    newDocuments->addWidget(captionedActionButton(filePage, fileNewTxt, QStringLiteral("Nyt tekst\ndokument")));
    newDocuments->addWidget(captionedActionButton(filePage, fileNewRtf, QStringLiteral("Nyt richtext\ndokument")));
    newDocuments->addStretch();
    QVBoxLayout *printing = column(fileColumns);
    printing->addWidget(actionTextButton(filePage, printerEgenskaber));
    printing->addWidget(actionTextButton(filePage, udskrivDokument));
    printing->addStretch();
    fileColumns->addStretch();

    // Dokument: dates and the time at the caret, the holidays of a year.
    QWidget *documentPage = pageWidget(CommandPage::Document);
    QHBoxLayout *documentColumns = pageLayout(documentPage);
    QVBoxLayout *documentName = column(documentColumns);
    auto *documentRow = new QHBoxLayout;
    documentRow->addWidget(iconActionButton(documentPage, insertFavoritliste, QStringLiteral("bookmark-new")));
    docFilnavnEdit = readOnlyEdit(documentPage, QStringLiteral("docFilnavnEdit"), QStringLiteral("Dokumentnavn"));
    docFilnavnEdit->setPlaceholderText(QStringLiteral("Vælg et element i listen"));
    docFilnavnEdit->setMinimumWidth(200);
    documentRow->addWidget(docFilnavnEdit, 1);
    documentName->addLayout(documentRow);
    documentName->addStretch();
    auto *dates = new QGridLayout;
    dates->setSpacing(2);
    dates->addWidget(actionTextButton(documentPage, aDato), 0, 0);
    dates->addWidget(actionTextButton(documentPage, aKlokken), 1, 0);
    dates->addWidget(actionTextButton(documentPage, aDato2), 0, 1);
    dates->addWidget(actionTextButton(documentPage, aDato3), 1, 1);
    column(documentColumns)->addLayout(dates);
    auto *datesGroup = new QGroupBox(documentPage);
    datesGroup->setObjectName(QStringLiteral("datoerGroup"));
    auto *datesColumn = new QVBoxLayout(datesGroup);
    datesColumn->setSpacing(2);
    datesColumn->setContentsMargins(4, 2, 4, 2);
    bogTekstLabel = namedLabel(datesGroup, QStringLiteral("bogTekstLabel"), QStringLiteral("Datoer"));
    datesColumn->addWidget(bogTekstLabel);
    auto *yearRow = new QHBoxLayout;
    yearRow->setSpacing(2);
    yearNuButton = new QToolButton(datesGroup);
    yearNuButton->setObjectName(QStringLiteral("yearNuButton"));
    yearNuButton->setText(QStringLiteral("Nu"));
    yearNuButton->setAccessibleName(QStringLiteral("Nu"));
    setHint(yearNuButton, QStringLiteral("Gå til nuværende år"));
    yearTilbageButton10 = iconToolButton(datesGroup, QStringLiteral("yearTilbageButton10"), QStringLiteral("go-first"),
                                         QStringLiteral("Gå ti år tilbage"));
    yearTilbageButton = iconToolButton(datesGroup, QStringLiteral("yearTilbageButton"), QStringLiteral("go-previous"),
                                       QStringLiteral("Gå et år tilbage"));
    // No length limit: a limit would cut 10005 to 1000 when the year buttons pass 9999.
    aarEdit =
        readOnlyEdit(datesGroup, QStringLiteral("aarEdit"), QStringLiteral("Viser det år datoerne beregnes ud fra"));
    aarEdit->setAlignment(Qt::AlignCenter);
    aarEdit->setText(QStringLiteral("0000"));
    aarEdit->setFixedWidth(aarEdit->fontMetrics().horizontalAdvance(QStringLiteral("-000000")) + 12);
    yearFremButton = iconToolButton(datesGroup, QStringLiteral("yearFremButton"), QStringLiteral("go-next"),
                                    QStringLiteral("Gå et år frem"));
    yearFremButton10 = iconToolButton(datesGroup, QStringLiteral("yearFremButton10"), QStringLiteral("go-last"),
                                      QStringLiteral("Gå ti år frem"));
    for (QWidget *control : std::initializer_list<QWidget *>{yearNuButton, yearTilbageButton10, yearTilbageButton,
                                                             aarEdit, yearFremButton, yearFremButton10})
        yearRow->addWidget(control);
    connect(yearNuButton, &QToolButton::clicked, this, &Tmainform::yearNuButtonClick);
    connect(yearTilbageButton10, &QToolButton::clicked, this, &Tmainform::yearTilbageButton10Click);
    connect(yearTilbageButton, &QToolButton::clicked, this, &Tmainform::yearTilbageButtonClick);
    connect(yearFremButton, &QToolButton::clicked, this, &Tmainform::yearFremButtonClick);
    connect(yearFremButton10, &QToolButton::clicked, this, &Tmainform::yearFremButton10Click);
    datesColumn->addLayout(yearRow);
    datesColumn->addWidget(actionTextButton(datesGroup, aDatoUdskriv));
    column(documentColumns)->addWidget(datesGroup);
    documentColumns->addStretch();

    // Søg: the fields and choices the find and replace commands of the documents read.
    QWidget *searchPage = pageWidget(CommandPage::Search);
    QHBoxLayout *searchColumns = pageLayout(searchPage);
    auto *fields = new QGridLayout;
    fields->setSpacing(2);
    ordEdit = new QLineEdit(searchPage);
    ordEdit->setObjectName(QStringLiteral("ordEdit"));
    setHint(ordEdit, QStringLiteral("Søgefelt"));
    ordEdit->setAccessibleName(QStringLiteral("Søg efter:"));
    ordEdit->setPlaceholderText(QStringLiteral("Indfør søgeord"));
    ordEdit->setMinimumWidth(200);
    erstatEdit = new QLineEdit(searchPage);
    erstatEdit->setObjectName(QStringLiteral("erstatEdit"));
    setHint(erstatEdit, QStringLiteral("Søgefelt"));
    erstatEdit->setAccessibleName(QStringLiteral("Erstat med:"));
    // Enter in a field runs its command, as the button beside it would.
    connect(ordEdit, &QLineEdit::returnPressed, findTekst, &TAction::Execute);
    connect(erstatEdit, &QLineEdit::returnPressed, erstatTekst, &TAction::Execute);
    fields->addWidget(new QLabel(QStringLiteral("Søg efter:"), searchPage), 0, 0);
    fields->addWidget(ordEdit, 1, 0);
    fields->addWidget(actionTextButton(searchPage, findTekst), 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Erstat med:"), searchPage), 2, 0);
    fields->addWidget(erstatEdit, 3, 0);
    fields->addWidget(actionTextButton(searchPage, erstatTekst), 3, 1);
    column(searchColumns)->addLayout(fields);
    retGroup = new TRadioGroup(QStringLiteral("Søgeretning"), {QStringLiteral("Tilbage"), QStringLiteral("Fremad")},
                               searchPage);
    retGroup->setObjectName(QStringLiteral("retGroup"));
    retGroup->setItemIndex(1);
    setHint(retGroup, QStringLiteral("Gælder kun for findfunktionen og ikke for erstatfunktionen"));
    column(searchColumns)->addWidget(retGroup);
    QVBoxLayout *checks = column(searchColumns);
    SsCheck = new QCheckBox(QStringLiteral("Store og små bogstaver"), searchPage);
    SsCheck->setObjectName(QStringLiteral("SsCheck"));
    HeleOrdCheck = new QCheckBox(QStringLiteral("Kun hele ord"), searchPage);
    HeleOrdCheck->setObjectName(QStringLiteral("HeleOrdCheck"));
    erstatAlleCheck = new QCheckBox(QStringLiteral("Find alle forekomster"), searchPage);
    erstatAlleCheck->setObjectName(QStringLiteral("erstatAlleCheck"));
    for (QCheckBox *check : {SsCheck, HeleOrdCheck, erstatAlleCheck})
        checks->addWidget(check);
    antalFundLabel = namedLabel(searchPage, QStringLiteral("antalFundLabel"), QStringLiteral("Antal forekomster:"));
    checks->addWidget(antalFundLabel);
    searchColumns->addStretch();

    // Vindue: arranging and closing the documents, the boxes.
    QWidget *windowPage = pageWidget(CommandPage::Window);
    QHBoxLayout *windowColumns = pageLayout(windowPage);
    auto *windows = new QGridLayout;
    windows->setSpacing(2);
    const QList<QList<QAction *>> windowRows{{WindowCascade, WindowTileHorizontal, WindowTileVertical},
                                             {WindowMinimizeAll, winLuk, winLukAlle},
                                             {favoritBox, dokumentBox, mappefilBox}};
    for (int row = 0; row < windowRows.size(); ++row)
        for (int col = 0; col < windowRows[row].size(); ++col)
            windows->addWidget(actionTextButton(windowPage, windowRows[row][col]), row, col);
    column(windowColumns)->addLayout(windows);
    QToolButton *closeBoxes = captionedActionButton(windowPage, closeAllBokse, QStringLiteral("Luk\nalle\nbokse"));
    closeBoxes->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    windowColumns->addWidget(closeBoxes);
    windowColumns->addStretch();

    buildWebSearchActions();
    buildInformationPage(pageWidget(CommandPage::Information));

    // Bokse: the program's boxes.
    QWidget *boxesPage = pageWidget(CommandPage::Boxes);
    QHBoxLayout *boxesColumns = pageLayout(boxesPage);
    QVBoxLayout *boxDocument = column(boxesColumns);
    auto *boxDocumentRow = new QHBoxLayout;
    boxDocumentRow->addWidget(iconActionButton(boxesPage, insertFavoritliste, QStringLiteral("bookmark-new")));
    skiftDocFilnavnEdit =
        readOnlyEdit(boxesPage, QStringLiteral("skiftDocFilnavnEdit"), QStringLiteral("Dokumentnavn"));
    skiftDocFilnavnEdit->setPlaceholderText(QStringLiteral("Vælg et element i listen"));
    skiftDocFilnavnEdit->setMinimumWidth(200);
    boxDocumentRow->addWidget(skiftDocFilnavnEdit, 1);
    boxDocument->addLayout(boxDocumentRow);
    boxDocument->addStretch();
    QVBoxLayout *listBoxes = column(boxesColumns);
    for (QAction *action : {dokumentBox, mappefilBox, favoritBox})
        listBoxes->addWidget(actionTextButton(boxesPage, action));
    listBoxes->addStretch();
    QVBoxLayout *searchBoxes = column(boxesColumns);
    searchBoxes->addWidget(
        captionedActionButton(boxesPage, aSearchTekst, QStringLiteral("Find tekst i tekst-\ndokumenter")));
    searchBoxes->addWidget(
        captionedActionButton(boxesPage, aSearchMappeFiler, QStringLiteral("Find mapper og \nfiler i mappe")));
    searchBoxes->addStretch();
    QToolButton *closeBoxes2 = captionedActionButton(boxesPage, closeAllBokse, QStringLiteral("Luk\nalle\nbokse"));
    closeBoxes2->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    boxesColumns->addWidget(closeBoxes2);
    QVBoxLayout *typeBox = column(boxesColumns);
    typeBox->addWidget(actionTextButton(boxesPage, openFiltypeboksen));
    typeBox->addStretch();
    boxesColumns->addStretch();
}

void Tmainform::buildInformationPage(QWidget *page)
{
    QHBoxLayout *infoPage = pageLayout(page);
    bcMemo = new QPlainTextEdit(page);
    bcMemo->setObjectName(QStringLiteral("bcMemo"));
    bcMemo->setAccessibleName(QStringLiteral("Besked"));
    bcMemo->setTabChangesFocus(true);
    connect(bcMemo, &QPlainTextEdit::textChanged, this, &Tmainform::bcMemoChange);
    infoPage->addWidget(bcMemo, 1);

    auto *centre = new QGroupBox(QStringLiteral("Besked center"), page);
    centre->setObjectName(QStringLiteral("beskedCenter"));
    auto *centreColumn = new QVBoxLayout(centre);
    centreColumn->setSpacing(2);
    centreColumn->setContentsMargins(4, 2, 4, 2);
    bcEdit = new QLineEdit(centre);
    bcEdit->setObjectName(QStringLiteral("bcEdit"));
    bcEdit->setAccessibleName(QStringLiteral("Overskrift"));
    bcEdit->setAlignment(Qt::AlignCenter);
    bcEdit->setPlaceholderText(QStringLiteral("Skriv overskriften her"));
    // Enter after the title goes on to the message.
    connect(bcEdit, &QLineEdit::returnPressed, bcMemo, [this] { bcMemo->setFocus(); });
    centreColumn->addWidget(bcEdit);
    auto *sendRow = new QHBoxLayout;
    memoLabel = namedLabel(centre, QStringLiteral("memoLabel"), QStringLiteral("0"));
    // Room for any count a message reaches, so that " tegn" stays in place while the user types.
    memoLabel->setMinimumWidth(memoLabel->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
    memoLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sendRow->addWidget(memoLabel);
    sendRow->addWidget(new QLabel(QStringLiteral(" tegn"), centre));
    sendRow->addStretch();
    bcNyButton = new QPushButton(QStringLiteral("Ny"), centre);
    bcNyButton->setObjectName(QStringLiteral("bcNyButton"));
    setHint(bcNyButton, QStringLiteral("Start en ny besked"));
    connect(bcNyButton, &QPushButton::clicked, this, &Tmainform::bcNyButtonClick);
    bcButton = new QPushButton(QStringLiteral("Send"), centre);
    bcButton->setObjectName(QStringLiteral("bcButton"));
    setHint(bcButton, QStringLiteral("Sen beskeden til beskedcenteret"));
    connect(bcButton, &QPushButton::clicked, this, &Tmainform::bcButtonClick);
    sendRow->addWidget(bcNyButton);
    sendRow->addWidget(bcButton);
    centreColumn->addLayout(sendRow);
    column(infoPage)->addWidget(centre);

    QVBoxLayout *searches = column(infoPage);
    for (QAction *action : {bingUrl, googleUrl, tubeUrl})
        searches->addWidget(actionTextButton(page, action));
    searches->addStretch();
    QVBoxLayout *shortcuts = column(infoPage);
    shortcuts->addWidget(actionTextButton(page, openGenvejsboksen));
    shortcuts->addStretch();
}

void Tmainform::buildMenus()
{
    // The strip shows "Info" for the Information page, like the menu bar.
    auto *strip = static_cast<QHBoxLayout *>(hovedmenuPanel->layout());
    int at = 0;
    for (TAction *page : {openMenu1, openMenu2, openMenu3, openMenu4, openMenu7, openMenu6})
        strip->insertWidget(at++, actionTextButton(hovedmenuPanel, page));
    strip->insertWidget(at, captionedActionButton(hovedmenuPanel, openMenu5, QStringLiteral("Info")));

    QAction *windowMenu = mainMenu7->menuAction();
    for (QAction *page : std::initializer_list<QAction *>{openMenu1, openMenu2, openMenu3, openMenu4, openMenu7, openMenu6})
        MainMenu->insertAction(windowMenu, page);
    auto *infoEntry = new QAction(QStringLiteral("Info"), MainMenu);
    infoEntry->setObjectName(QStringLiteral("openMenu5Entry"));
    setHint(infoEntry, openMenu5->statusTip());
    connect(infoEntry, &QAction::triggered, openMenu5, &QAction::trigger);
    MainMenu->insertAction(windowMenu, infoEntry);

    auto *bottom = static_cast<QHBoxLayout *>(bundPanel->layout());
    bottom->addWidget(actionTextButton(bundPanel, aHovedmenu));
    bottom->addWidget(actionTextButton(bundPanel, aRedskabslinje));
}

void Tmainform::buildActions()
{
    const auto documentOpen = [this] { return !documentWindows().isEmpty(); };

    fileOpen = new TAction(this, QStringLiteral("fileOpen"), QStringLiteral("Åben..."),
                           QStringLiteral("Åben et eksisterende dokument"), QKeySequence(QStringLiteral("Ctrl+O")));
    connect(fileOpen, &QAction::triggered, this, &Tmainform::fileOpenExecute);

    fileGem = new TAction(this, QStringLiteral("fileGem"), QStringLiteral("Gem"), QStringLiteral("Gem dokumentet"),
                          QKeySequence(QStringLiteral("Ctrl+S")));
    const auto activeLoaded = [this] {
        const TDocumentForm *window = activeDocument();
        return !window || !window->isLoading();
    };
    fileGem->setUpdateRule([this, documentOpen] { return documentOpen() && docModified; });
    connect(fileGem, &QAction::triggered, this, [this] {
        doHandling(DocumentCommand::Save);
        udskrivFilInfo();
    });

    fileGemSom = new TAction(this, QStringLiteral("fileGemSom"), QStringLiteral("Gem som..."),
                             QStringLiteral("Gem dokumentet med et nyt navn"), QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    fileGemSom->setUpdateRule([documentOpen, activeLoaded] { return documentOpen() && activeLoaded(); });
    connect(fileGemSom, &QAction::triggered, this, [this] {
        doHandling(DocumentCommand::SaveAs);
        udskrivFilInfo();
    });

    fileNewTxt = new TAction(this, QStringLiteral("fileNewTxt"), QStringLiteral("Nyt tekstdokument"),
                             QStringLiteral("Åben et nyt tekstdokument"), QKeySequence(QStringLiteral("Ctrl+N")));
    connect(fileNewTxt, &QAction::triggered, this, [this] { funk->openwin(QString(), QStringLiteral(".txt")); });

    winLuk = new TAction(this, QStringLiteral("winLuk"), QStringLiteral("Luk"), QStringLiteral("Luk aktuelle dokument"),
                         QKeySequence(QStringLiteral("Ctrl+L")));
    winLuk->setUpdateRule(documentOpen);
    connect(winLuk, &QAction::triggered, this, [this] {
        if (TDocumentForm *window = activeDocument())
            window->close();
    });

    winLukAlle = new TAction(this, QStringLiteral("winLukAlle"), QStringLiteral("Luk alle"),
                             QStringLiteral("Luk alle dokumenter"), QKeySequence(QStringLiteral("Ctrl+Alt+L")));
    winLukAlle->setUpdateRule(documentOpen);
    connect(winLukAlle, &QAction::triggered, this, &Tmainform::winLukAlleExecute);

    aProgramSize = new TAction(this, QStringLiteral("aProgramSize"), QStringLiteral("Udfør"),
                               QStringLiteral("Sæt standard programstørrelse"));
    aProgramSize->setUpdateRule([this] { return width() != standardWidth || height() != standardHeight; });
    connect(aProgramSize, &QAction::triggered, this, [this] { resize(standardWidth, standardHeight); });

    fileNewRtf = new TAction(this, QStringLiteral("fileNewRtf"), QStringLiteral("Nyt richtext dokument"),
                             QStringLiteral("Åben et nyt rich text dokument"), QKeySequence(QStringLiteral("Ctrl+Alt+N")));
    connect(fileNewRtf, &QAction::triggered, this, [this] { funk->openwin(QString(), QStringLiteral(".rtf")); });

    WindowCascade = new TAction(this, QStringLiteral("WindowCascade"), QStringLiteral("På stribe"),
                                QStringLiteral("Arranger på stribe"));
    WindowCascade->setUpdateRule(documentOpen);
    connect(WindowCascade, &QAction::triggered, this, &Tmainform::cascadeDocuments);
    WindowTileHorizontal = new TAction(this, QStringLiteral("WindowTileHorizontal"), QStringLiteral("Tilpas vandret"),
                                       QStringLiteral("Arranger vandret"));
    WindowTileHorizontal->setUpdateRule(documentOpen);
    connect(WindowTileHorizontal, &QAction::triggered, this, [this] { tileDocuments(Qt::Horizontal); });
    WindowTileVertical = new TAction(this, QStringLiteral("WindowTileVertical"), QStringLiteral("Tilpas lodret"),
                                     QStringLiteral("Arranger lodret"));
    WindowTileVertical->setUpdateRule(documentOpen);
    connect(WindowTileVertical, &QAction::triggered, this, [this] { tileDocuments(Qt::Vertical); });
    WindowMinimizeAll = new TAction(this, QStringLiteral("WindowMinimizeAll"), QStringLiteral("Minimer alle"),
                                    QStringLiteral("Minimer alle"));
    WindowMinimizeAll->setUpdateRule(documentOpen);
    connect(WindowMinimizeAll, &QAction::triggered, this, [this] {
        for (TDocumentForm *window : documentWindows())
            window->showMinimized();
    });
    closeAllBokse = new TAction(this, QStringLiteral("closeAllBokse"), QStringLiteral("Luk alle bokse"),
                                QStringLiteral("Luk alle åbne bokse"));
    closeAllBokse->setUpdateRule([] {
        const QList<QWidget *> boxes = closableBoxes();
        return std::any_of(boxes.cbegin(), boxes.cend(), [](const QWidget *box) { return box->isVisible(); });
    });
    connect(closeAllBokse, &QAction::triggered, this, &Tmainform::closeAllBokseExecute);

    buildPageActions();
    buildDocumentActions();
    buildBoxActions();
    buildWindowMenu();
    // The shortcuts work whether or not the menu bar or the button strip shows.
    for (TAction *action : findChildren<TAction *>(Qt::FindDirectChildrenOnly))
        addAction(action);
    // The keys that the shortcut box lists are the whole program's: they work while any box has
    // the focus too. A modal box holds them back, as it holds back the main window itself.
    for (TAction *action : {openMenu1, openMenu2, openMenu3, openMenu4, openMenu5, openMenu6, openMenu7, aHovedmenu,
                            aRedskabslinje, opdaterFilinfo, mappefilBox, favoritBox, dokumentBox, aSearchTekst,
                            aSearchMappeFiler, openFiltypeboksen, openGenvejsboksen})
        action->setShortcutContext(Qt::ApplicationShortcut);
}


void Tmainform::buildPageActions()
{
    const auto page = [this](const char *name, const QString &caption, const QString &hint, const char *keys,
                             CommandPage shown) {
        auto *action = new TAction(this, QString::fromLatin1(name), caption, hint, QKeySequence(QString::fromLatin1(keys)));
        connect(action, &QAction::triggered, this, [this, shown] { setMenuPanel(shown); });
        return action;
    };
    openMenu1 = page("openMenu1", QStringLiteral("Fil"), QStringLiteral("Åben eller luk filmenuen"), "Ctrl+1",
                     CommandPage::File);
    connect(openMenu1, &QAction::triggered, this, &Tmainform::udskrivFilInfo);
    openMenu2 = page("openMenu2", QStringLiteral("Dokument"), QStringLiteral("Åben eller luk dokumentmenuen"), "Ctrl+2",
                     CommandPage::Document);
    openMenu3 = page("openMenu3", QStringLiteral("Søg"), QStringLiteral("Åben eller luk søgemenuen"), "Ctrl+3",
                     CommandPage::Search);
    openMenu4 = page("openMenu4", QStringLiteral("Vindue"), QStringLiteral("Åben eller luk vinduemenu"), "Ctrl+4",
                     CommandPage::Window);
    openMenu5 = page("openMenu5", QStringLiteral("Information"), QStringLiteral("Åben eller luk informationsmenuen"),
                     "Ctrl+7", CommandPage::Information);
    openMenu5->setShortcuts({QKeySequence(QStringLiteral("Ctrl+7")), QKeySequence(QStringLiteral("F1"))});
    openMenu6 = page("openMenu6", QStringLiteral("Egenskaber"), QStringLiteral("Åben eller luk egenskabsmenuen"), "Ctrl+6",
                     CommandPage::Options);
    openMenu7 = page("openMenu7", QStringLiteral("Bokse"), QStringLiteral("Programmets forskellige bokse"), "Ctrl+5",
                     CommandPage::Boxes);

    aMenuPanel = new TAction(this, QStringLiteral("aMenuPanel"), QStringLiteral("Menupanelet"),
                             QStringLiteral("Åben menupanelet"), QKeySequence(QStringLiteral("Ctrl+M")));
    connect(aMenuPanel, &QAction::triggered, this, &Tmainform::aMenuPanelExecute);
    aHovedmenu = new TAction(this, QStringLiteral("aHovedmenu"), QStringLiteral("Hovedmenu"),
                             QStringLiteral("Åben eller luk hovedmenuen"), QKeySequence(QStringLiteral("Ctrl+H")));
    connect(aHovedmenu, &QAction::triggered, this, &Tmainform::aHovedmenuExecute);
    aRedskabslinje = new TAction(this, QStringLiteral("aRedskabslinje"), QStringLiteral("Redskabslinje"),
                                 QStringLiteral("Åben eller luk redskabslinjen"), QKeySequence(QStringLiteral("Ctrl+R")));
    aRedskabslinje->setUpdateRule([this] { return !documentWindows().isEmpty(); });
    connect(aRedskabslinje, &QAction::triggered, this, [this] {
        hideMenuBog();
        doHandling(DocumentCommand::ToolRow);
    });
}

void Tmainform::buildDocumentActions()
{
    const auto documentOpen = [this] { return !documentWindows().isEmpty(); };
    const auto searchable = [this, documentOpen] { return documentOpen() && !ordEdit->text().isEmpty(); };

    opdaterFilinfo = new TAction(this, QStringLiteral("opdaterFilinfo"), QString(), QStringLiteral("Opdater oplysninger"),
                                 QKeySequence(QStringLiteral("F2")));
    opdaterFilinfo->setUpdateRule([this] { return docModified; });
    connect(opdaterFilinfo, &QAction::triggered, this, &Tmainform::udskrivFilInfo);
    udskrivDokument = new TAction(this, QStringLiteral("udskrivDokument"), QStringLiteral("Udskriv..."),
                                  QStringLiteral("Udskriv aktuelle dokument"));
    udskrivDokument->setUpdateRule(documentOpen);
    connect(udskrivDokument, &QAction::triggered, this, [this] { doHandling(DocumentCommand::Print); });
    printerEgenskaber = new TAction(this, QStringLiteral("printerEgenskaber"), QStringLiteral("Printer"),
                                    QStringLiteral("Indstillinger for printer"));
    connect(printerEgenskaber, &QAction::triggered, this, [this] { Platform::dialogs().printerSetup(this, Platform::currentPrinter()); });
    findTekst = new TAction(this, QStringLiteral("findTekst"), QStringLiteral("Find tekst"),
                            QStringLiteral("Find tekst i aktuelle dokument"), QKeySequence(QStringLiteral("Ctrl+F")));
    findTekst->setUpdateRule(searchable);
    connect(findTekst, &QAction::triggered, this, [this] { doHandling(DocumentCommand::Find); });
    erstatTekst = new TAction(this, QStringLiteral("erstatTekst"), QStringLiteral("Erstat tekst"),
                              QStringLiteral("Erstat tekst med anden tekst"));
    erstatTekst->setUpdateRule(searchable);
    connect(erstatTekst, &QAction::triggered, this, [this] { doHandling(DocumentCommand::Replace); });
    insertFavoritliste = new TAction(this, QStringLiteral("insertFavoritliste"), QString(),
                                     QStringLiteral("Indsæt aktuelle dokument i favoritlisten"));
    insertFavoritliste->setUpdateRule([this] { return !dokumentFilnavn.isEmpty(); });
    connect(insertFavoritliste, &QAction::triggered, this, [] {
        favoritform->show();
        favoritform->insertFil->Execute();
    });

    const auto date = [this, documentOpen](const char *name, const QString &caption, const QString &hint,
                                           const std::function<void(TDatoer &)> &write) {
        auto *action = new TAction(this, QString::fromLatin1(name), caption, hint);
        action->setUpdateRule(documentOpen);
        connect(action, &QAction::triggered, this, [this, write] {
            if (Datoer)
                write(*Datoer);
        });
        return action;
    };
    aDato = date("aDato", QStringLiteral("Dato"), QStringLiteral("Udskriv dato"),
                 [](TDatoer &datesGroup) { datesGroup.UdskrivTekst(datesGroup.getDato()); });
    aKlokken = date("aKlokken", QStringLiteral("Klokken"), QStringLiteral("Udskriv klokken"),
                    [](TDatoer &datesGroup) { datesGroup.UdskrivTekst(datesGroup.getKlokken()); });
    aDato2 = date("aDato2", QStringLiteral("Dato: 00-00-0000"), QStringLiteral("Udskriv dato med format dd-mm-åååå"),
                  [](TDatoer &datesGroup) { datesGroup.UdskrivTekst(datesGroup.getDato2()); });
    aDato3 = date("aDato3", QStringLiteral("Dato: 0000-00-00"), QStringLiteral("Udskriv dato med format åååå-mm-dd"),
                  [](TDatoer &datesGroup) { datesGroup.UdskrivTekst(datesGroup.getDato3()); });
    aDatoUdskriv = date("aDatoUdskriv", QStringLiteral("Udskriv datoer"), QStringLiteral("Udskriv datoer for valgte år"),
                        [this](TDatoer &datesGroup) {
                            if (datesGroup.udskrivHelligdage(aarEdit->text()))
                                bogTekstLabel->setText(QStringLiteral("Datoer: ") + aarEdit->text());
                        });
}

void Tmainform::buildBoxActions()
{
    // Each box command shows its box and is offered only while the box is hidden.
    const auto box = [this](const char *name, const QString &caption, const QString &hint, const char *keys,
                            const std::function<QWidget *()> &instance) {
        auto *action = new TAction(this, QString::fromLatin1(name), caption, hint, QKeySequence(QString::fromLatin1(keys)));
        action->setUpdateRule([instance] { return instance() && instance()->isHidden(); });
        connect(action, &QAction::triggered, this, [instance] {
            instance()->show();
            instance()->raise();
            instance()->activateWindow();
        });
        return action;
    };
    mappefilBox = box("mappefilBox", QStringLiteral("Filer og mapper"), QStringLiteral("Åben mappe-fil-boksen"), "F3",
                      [] { return static_cast<QWidget *>(mappefilform); });
    favoritBox = box("favoritBox", QStringLiteral("Favoritter"), QStringLiteral("Åben favoritter"), "F4",
                     [] { return static_cast<QWidget *>(favoritform); });
    dokumentBox = box("dokumentBox", QStringLiteral("Dokumentboks"),
                      QStringLiteral("Åben boksen med kontrol over åbne dokumenter"), "F5",
                      [] { return static_cast<QWidget *>(filform); });
    aSearchTekst = box("aSearchTekst", QStringLiteral("Find tekst i tekst-dokumenter"),
                       QStringLiteral("Søg efter tekst i tekstfiler ved valg af søgemappe"), "F6",
                       [] { return static_cast<QWidget *>(findformen); });
    aSearchMappeFiler = box("aSearchMappeFiler", QStringLiteral("Find mapper og filer i mappe"),
                            QStringLiteral("Søg efter mapper og filer i valgt mappe og dens undermapper"), "F7",
                            [] { return static_cast<QWidget *>(filmappeform); });
    openGenvejsboksen = box("openGenvejsboksen", QStringLiteral("Genveje"), QStringLiteral("Nogle af programmets genveje"),
                            "F9", [] { return static_cast<QWidget *>(genvejsform); });

    openFiltypeboksen = new TAction(this, QStringLiteral("openFiltypeboksen"), QStringLiteral("Typeliste"),
                                    QStringLiteral("Bestem filtyper der kan åbnes som tekstfiler"),
                                    QKeySequence(QStringLiteral("F8")));
    openFiltypeboksen->setUpdateRule([] { return typeform && typeform->isHidden(); });
    connect(openFiltypeboksen, &QAction::triggered, this, [] { Platform::showModal(*typeform); });
}

void Tmainform::buildWebSearchActions()
{
    // The keys search for the message while the Information page has the focus; in a document
    // the same keys search for the word at its caret.
    const auto search = [this](const char *name, const QString &caption, const QString &hint, const char *keys,
                               const QString &host, const QString &path, const QString &key) {
        auto *action = new TAction(pageWidget(CommandPage::Information), QString::fromLatin1(name), caption, hint,
                                   keys ? QKeySequence(QString::fromLatin1(keys)) : QKeySequence(),
                                   Qt::WidgetWithChildrenShortcut);
        pageWidget(CommandPage::Information)->addAction(action);
        connect(action, &QAction::triggered, this, [this, host, path, key] { webSearch(host, path, key); });
        return action;
    };
    googleUrl = search("googleUrl", QStringLiteral("Google"), QStringLiteral("Skriv tekst og søg på nettet med Google"),
                       "Ctrl+Shift+G", QStringLiteral("www.google.com"), QStringLiteral("/search"), QStringLiteral("q"));
    bingUrl = search("bingUrl", QStringLiteral("Bing"), QStringLiteral("Skriv tekst og søg på nettet med Bing"),
                     "Ctrl+Shift+B", QStringLiteral("www.bing.com"), QStringLiteral("/search"), QStringLiteral("q"));
    tubeUrl = search("tubeUrl", QStringLiteral("YouTube"), QStringLiteral("Skriv tekst og søg med YouTube"), nullptr,
                     QStringLiteral("www.youtube.com"), QStringLiteral("/results"), QStringLiteral("search_query"));
}

void Tmainform::webSearch(const QString &host, const QString &path, const QString &key)
{
    if (bcMemo->toPlainText().isEmpty())
        bcMemo->setPlainText(QStringLiteral("Der mangler en tekst."));
    openInBrowser(Platform::searchAddress(host, path, key, bcMemo->toPlainText()));
}

void Tmainform::makeInfo(const QString &title, const QString &body)
{
    ++ncNumber;
    if (!Platform::notifications().post(QStringLiteral("kyx Vandel ") + QString::number(ncNumber), title, body, TrayIcon))
        showInfo(QStringLiteral("Beskeden kunne ikke vises:\r") + title
                 + QStringLiteral("\rSkrivebordet har hverken et beskedcenter eller en systembakke."));
}

void Tmainform::bcButtonClick()
{
    if (bcEdit->text().isEmpty()) {
        showInfo(QStringLiteral("Der mangler en overskrift.\rIndfør en overskrift."));
        bcEdit->setFocus();
        return;
    }
    if (bcMemo->toPlainText().isEmpty()) {
        showInfo(QStringLiteral("Der mangler en tekst.\rIndfør en tekst."));
        bcMemo->setFocus();
        return;
    }
    makeInfo(bcEdit->text(), bcMemo->toPlainText());
}

void Tmainform::bcNyButtonClick()
{
    bcMemo->clear();
    bcEdit->clear();
    bcEdit->setFocus();
    memoLabel->setText(QStringLiteral("0"));
}

void Tmainform::bcMemoChange()
{
    // A line break counts as the two characters it is in a Windows text.
    const QString text = bcMemo->toPlainText();
    memoLabel->setText(QString::number(text.size() + text.count(QLatin1Char('\n'))));
}

void Tmainform::aHovedmenuExecute()
{
    hideMenuBog();
    // Once gone, the menu bar stays gone for the rest of the run.
    if (MainMenu->isEnabled()) {
        MainMenu->hide();
        MainMenu->setEnabled(false);
    }
    hovedmenuPanel->setVisible(hovedmenuPanel->isHidden());
}

void Tmainform::yearNuButtonClick()
{
    aarEdit->setText(QString::number(Platform::now().date().year()));
    yearNuButton->setEnabled(false);
}

void Tmainform::moveYear(int years)
{
    bool ok = false;
    const int year = aarEdit->text().toInt(&ok);
    if (!ok)
        return;
    aarEdit->setText(QString::number(year + years));
    yearNuButton->setEnabled(true);
}

void Tmainform::aMenuPanelExecute()
{
    if (!menuBog->isHidden()) {
        menuBog->hide();
    } else {
        if (menuBog->currentIndex() < 0)
            menuBog->setCurrentIndex(static_cast<int>(CommandPage::File));
        menuBog->show();
    }
    applyMenuBogDocking();
}

bool Tmainform::searchFieldHasFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == ordEdit || focus == erstatEdit);
}

void Tmainform::setMenuPanel(CommandPage page)
{
    if (menuBog->isHidden()) {
        // The page is chosen before the panel shows, so that it never shows the page it had.
        menuBog->setCurrentIndex(static_cast<int>(page));
        aMenuPanelExecute();
    } else if (page == currentPage()) {
        aMenuPanelExecute();
    } else {
        menuBog->setCurrentIndex(static_cast<int>(page));
    }
    if (currentPage() == CommandPage::Options && !pageWidget(CommandPage::Options)->layout())
        placeOptionPanels();
    applyMenuBogDocking();
    if (showsPage(CommandPage::Search))
        ordEdit->setFocus();
}

Tmainform::CommandPage Tmainform::currentPage() const
{
    return static_cast<CommandPage>(menuBog->currentIndex());
}

bool Tmainform::showsPage(CommandPage page) const
{
    return !menuBog->isHidden() && currentPage() == page;
}

QWidget *Tmainform::pageWidget(CommandPage page) const
{
    return menuBog->widget(static_cast<int>(page));
}

void Tmainform::placeOptionPanels()
{
    // The panels scroll rather than widen the window: the standard window size must stay possible.
    QWidget *options = pageWidget(CommandPage::Options);
    auto *page = new QVBoxLayout(options);
    page->setContentsMargins(0, 0, 0, 0);
    auto *scroller = new QScrollArea(options);
    scroller->setObjectName(QStringLiteral("egenskaberScroller"));
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    // The page shows the window's own background, whatever the design.
    scroller->viewport()->setAutoFillBackground(false);
    auto *holder = new QWidget(scroller);
    // Side by side where the window is wide enough, below each other where not: a panel is
    // never narrower than its captions.
    auto *panels = new FlowLayout(holder);
    for (QWidget *panel : {static_cast<QWidget *>(optform->optPanel1), static_cast<QWidget *>(optform->optPanel3),
                           static_cast<QWidget *>(optform->optPanel2)}) {
        panels->addWidget(panel);
        panel->show();
    }
    scroller->setWidget(holder);
    page->addWidget(scroller);
    scroller->show();
    holder->show();
}

void Tmainform::applyMenuBogDocking()
{
    // The "Egenskaber" page takes the whole frame; the other pages sit above the documents.
    const bool fill = showsPage(CommandPage::Options);
    if (fill) {
        menuBog->setMinimumHeight(0);
        menuBog->setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        menuBog->setFixedHeight(menuBogHeight);
    }
    static_cast<QVBoxLayout *>(centralWidget()->layout())->setStretchFactor(menuBog, fill ? 1 : 0);
    // A hidden frame lets go of its active document; it must be the active one again when the
    // frame comes back, or the document commands would find no document.
    if (fill && !mdiArea->isHidden())
        m_documentBeforeFill = activeDocument();
    mdiArea->setVisible(!fill);
    if (!fill && m_documentBeforeFill && !mdiArea->activeSubWindow())
        mdiArea->setActiveSubWindow(m_documentBeforeFill);
}

void Tmainform::resetFileInfo()
{
    showName(filnavnEdit, noDocuments);
    filsizeLabel->clear();
    antalLinjerLabel->clear();
    filModificeretLabel->clear();
    showName(docFilnavnEdit, filnavnEdit->text());
    showName(skiftDocFilnavnEdit, filnavnEdit->text());
}

void Tmainform::doHandling(DocumentCommand actionNo)
{
    TDocumentForm *window = activeDocument();
    if (!window) {
        if (actionNo == DocumentCommand::FileInformation)
            resetFileInfo();
        return;
    }
    // Saved, printed or searched before it is all in, a document would lose or miss the rest.
    const bool wantsWholeText = actionNo != DocumentCommand::FileInformation && actionNo != DocumentCommand::ToolRow;
    if (wantsWholeText && window->isLoading()) {
        UdskrivInfo(QStringLiteral("Vent lidt: dokumentet er ved at blive hentet."));
        return;
    }
    switch (actionNo) {
    case DocumentCommand::Save:
        window->Gem();
        break;
    case DocumentCommand::SaveAs:
        window->GemSom();
        break;
    case DocumentCommand::FileInformation:
        showFileInformation(window->filInformation());
        break;
    case DocumentCommand::Print:
        window->udskrivDokument();
        break;
    case DocumentCommand::Find:
        showFound(window, window->FindOrd(searchSettings()));
        break;
    case DocumentCommand::Replace:
        showFound(window, window->ErstatTekst(searchSettings()));
        break;
    case DocumentCommand::ToolRow:
        window->showRedskabsPanel();
        break;
    }
}

void Tmainform::udskrivFilInfo()
{
    doHandling(DocumentCommand::FileInformation);
}

void Tmainform::showFileInformation(const FileInformation &information)
{
    showName(filnavnEdit, information.name);
    filsizeLabel->setText(information.size);
    filModificeretLabel->setText(information.state);
    antalLinjerLabel->setText(information.lines);
    showName(docFilnavnEdit, information.name);
    showName(skiftDocFilnavnEdit, information.name);
}

SearchSettings Tmainform::searchSettings() const
{
    return {ordEdit->text(), erstatEdit->text(), {HeleOrdCheck->isChecked(), SsCheck->isChecked()},
            retGroup->itemIndex() != 0, erstatAlleCheck->isChecked()};
}

void Tmainform::showFound(TDocumentForm *window, int count)
{
    antalFundLabel->setText(QStringLiteral("Antal forekomster: ") + QString::number(count));
    // Run from a field of the search page, the caret stays in the field, so that the next Enter
    // goes on to the next hit instead of typing over this one; the text area shows the hit
    // selected all the same.
    if (count > 0 && !searchFieldHasFocus())
        window->editor()->widget()->setFocus();
}

void Tmainform::fileOpenExecute()
{
    // A cancelled dialog gives no names, and nothing happens.
    openFiles(Platform::dialogs().openFiles(this, openDialogFolder));
}

void Tmainform::openFiles(const QStringList &names)
{
    if (names.isEmpty())
        return;
    if (optform->CheckAskOpenDoc->isChecked() && Platform::showModal(*openform) == QDialog::Accepted) {
        const int choice = openform->handlingsBox->itemIndex();
        const bool newList = openform->checkNyListe->isChecked();
        if (choice == 1) {
            filform->show();
            if (newList)
                filform->FavFiler1->DeleteAlleItems();
        } else if (choice == 2) {
            favoritform->show();
            if (newList)
                favoritform->FavFiler->DeleteAlleItems();
        }
        for (const QString &name : names) {
            const QString caption = QFileInfo(name).fileName();
            if (choice == 1) {
                // Marked changed, so that the box keeps what was put into it.
                if (filform->FavFiler1->InsertItem(name, caption, 1))
                    filform->ListeForandret1 = true;
            } else if (choice == 2) {
                favoritform->FavFiler->InsertItem(name, caption, 3);
                favoritform->ListeForandret = true;
            } else {
                funk->openwin(name, QString());
            }
        }
        return;
    }
    for (const QString &name : names)
        funk->openwin(name, QString());
}

bool Tmainform::droppedFilesTaken(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) || !acceptDrops()
        || !watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != this)
        return false;
    // Files dropped anywhere on the window open, whichever control is under them: a document's
    // text area or a field would otherwise take their names as text.
    auto *drop = static_cast<QDropEvent *>(event);
    // Names are taken whole, however long they are.
    QStringList names;
    for (const QUrl &url : drop->mimeData()->urls())
        if (url.isLocalFile())
            names << QDir::toNativeSeparators(url.toLocalFile());
    if (names.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        openFiles(names);
    return true;
}

void Tmainform::hideOptionsPanel()
{
    if (showsPage(CommandPage::Options))
        hideMenuBog();
}

void Tmainform::hideMenuBog()
{
    menuBog->hide();
    applyMenuBogDocking();
}

