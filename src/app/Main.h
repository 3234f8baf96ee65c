#pragma once

#include "opening/DocumentHost.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QSystemTrayIcon;
class QTabBar;
class QToolButton;
class QWidget;
class TAction;
class TDatoer;
class TDocumentForm;
class TFunktioner;
class TRadioGroup;
class Tfilform;
class Tfilmappeform;
class Tfindformen;
class Toptform;
struct FileInformation;
struct SearchSettings;

// The multiple-document frame of the editor and the holder of the per-user state that the rest
// of the program reads.
class Tmainform : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    // The pages of the command panel menuBog, by their index in it.
    enum class CommandPage {
        File = 0,
        Document = 1,
        Search = 2,
        Window = 3,
        Information = 4,
        Options = 5,
        Boxes = 6,
    };
    Q_ENUM(CommandPage)
    // The commands that doHandling gives the active document window.
    enum class DocumentCommand {
        Save = 0,
        SaveAs = 1,
        FileInformation = 2,
        Print = 3,
        Find = 4,
        Replace = 5,
        ToolRow = 6,
    };
    Q_ENUM(DocumentCommand)

    Tmainform(const QStringList &arguments, const QString &startFolder);
    ~Tmainform() override;

    // False when the user's data folders could not be made; the program cannot run then.
    bool dataFoldersReady() const { return m_dataFoldersReady; }

    // Settings file "Main.txt".
    void HentOpt();
    void GemOpt();
    void defaultOpt();

    void setStandardSize();
    // Shows or hides the notification-area icon. Where the desktop has no notification area the
    // icon never shows: it could not be clicked to bring the program back.
    void setTrayIcon(bool wanted);
    void TrayIconRestoreApp();
    static QString GetUserFromWindows();
    static QString getFname(QString s);
    // The full name of a file named on the command line, a relative name taken from folder.
    static QString commandLineFile(const QString &argument, const QString &folder);
    // Opens the files named on a command line through the open dispatch; names of files that do
    // not exist are passed over.
    void openCommandLine(const QStringList &arguments, const QString &folder);
    // The full file names that a later start of the program handed over: the window comes to the
    // front and they open as names from the command line do.
    void openHandedOver(const QStringList &fileNames);

    // The tab row: one tab per document window, matched to it by caption.
    void InsertTab();
    void SetTCindex();
    void fokusTab(const QString &aName);
    void CloseTab(const QString &aCapNavn);
    void RenameTab(const QString &oldCapNavn, const QString &newCapNavn);

    // The open command: the open dialog, then the open box's choice when the options ask for it.
    void fileOpenExecute();
    // Dispatches a document command to the active document window.
    void doHandling(DocumentCommand actionNo);
    // What the "Søg" page asks for.
    SearchSettings searchSettings() const;
    void udskrivFilInfo();
    void UdskrivInfo(const QString &aInfo);
    // Resets the file information fields when no document is open.
    void resetFileInfo();

    // The document windows in the frame's order (the order they were opened in).
    QList<TDocumentForm *> documentWindows() const;
    TDocumentForm *activeDocument() const;
    TDocumentForm *createDocumentWindow(bool rich) override;
    bool bringOpenDocumentToFront(const QString &fileName, bool rich) override;
    // Shows the document window as the active one.
    void activateDocument(TDocumentForm *window);
    void showOpeningNote(TDocumentForm *window);
    // Activates the document window where the user sees it: a command panel filling the frame
    // gives way.
    void bringToFront(TDocumentForm *window);
    void hideOptionsPanel();
    void hideMenuBog();

    // The command panel: opens, switches or closes its pages; the "Egenskaber" page fills the
    // frame and holds the options box's panels.
    void setMenuPanel(CommandPage page);
    // The page the command panel is on, whether it shows or not.
    CommandPage currentPage() const;
    // True when the command panel shows and is on that page.
    bool showsPage(CommandPage page) const;
    QWidget *pageWidget(CommandPage page) const;
    void aMenuPanelExecute();

    // Hints: tooltips on the controls of the main window and the boxes, or the long hint on the
    // status line (HintInfo) while the options say so.
    void setControlHints(bool on) { m_controlHints = on; }
    void setHintInfoInstalled(bool on) { m_hintInfoInstalled = on; }
    void HintInfo(const QString &hint);

    bool makeTypeliste() override;
    void LoadExtListe(bool withLoad) override;
    bool GemExtListe() override;
    static const QStringList standardTypeList;

    // Per-user state.
    QString optFilnavn;
    // One line beside "Main.txt": 1 when the window was closed maximised.
    QString maximisedFilename;
    QString dokumentfil;
    int menuBogHeight = 0;
    int ncNumber = 0;
    bool opstart = false;
    QString Brugernavn;
    QString programmappe;
    QString OptMappe;
    QString infoDir;
    TFunktioner *funk = nullptr;
    bool docModified = false;
    // Where the open dialog starts; empty: where it was last.
    QString openDialogFolder;
    int standardWidth = 0;
    int standardHeight = 0;
    QString extListeFilename;
    TDatoer *Datoer = nullptr;

    // Controls.
    QMenuBar *MainMenu = nullptr;
    QWidget *hovedmenuPanel = nullptr;
    QStackedWidget *menuBog = nullptr;
    QMdiArea *mdiArea = nullptr;
    QTabBar *tc = nullptr;
    QWidget *bundPanel = nullptr;
    QLabel *Info = nullptr;
    QSystemTrayIcon *TrayIcon = nullptr;
    QLineEdit *filnavnEdit = nullptr;
    QLabel *filsizeLabel = nullptr;
    QLabel *antalLinjerLabel = nullptr;
    QLabel *filModificeretLabel = nullptr;
    QLineEdit *docFilnavnEdit = nullptr;
    QLineEdit *skiftDocFilnavnEdit = nullptr;
    QLineEdit *aarEdit = nullptr;
    QLabel *bogTekstLabel = nullptr;
    // The "Søg" page, whose settings the find and replace commands give the active document.
    QLineEdit *ordEdit = nullptr;
    QLineEdit *erstatEdit = nullptr;
    TRadioGroup *retGroup = nullptr;
    QCheckBox *SsCheck = nullptr;
    QCheckBox *HeleOrdCheck = nullptr;
    QCheckBox *erstatAlleCheck = nullptr;
    QLabel *antalFundLabel = nullptr;
    // The message centre of the Information page: a title and a message posted as a desktop
    // notification, and web searches for the message.
    QPlainTextEdit *bcMemo = nullptr;
    QLineEdit *bcEdit = nullptr;
    QLabel *memoLabel = nullptr;
    QPushButton *bcNyButton = nullptr;
    QPushButton *bcButton = nullptr;
    void makeInfo(const QString &title, const QString &body);
    void bcButtonClick();
    void bcNyButtonClick();
    void bcMemoChange();
    // The year row of the Dokument page.
    QToolButton *yearNuButton = nullptr;
    QToolButton *yearTilbageButton10 = nullptr;
    QToolButton *yearTilbageButton = nullptr;
    QToolButton *yearFremButton = nullptr;
    QToolButton *yearFremButton10 = nullptr;
    void yearNuButtonClick();
    void yearTilbageButtonClick() { moveYear(-1); }
    void yearTilbageButton10Click() { moveYear(-10); }
    void yearFremButtonClick() { moveYear(1); }
    void yearFremButton10Click() { moveYear(10); }

    // Actions: the pages of the command panel and the panels.
    TAction *openMenu1 = nullptr;
    TAction *openMenu2 = nullptr;
    TAction *openMenu3 = nullptr;
    TAction *openMenu4 = nullptr;
    TAction *openMenu5 = nullptr;
    TAction *openMenu6 = nullptr;
    TAction *openMenu7 = nullptr;
    TAction *aMenuPanel = nullptr;
    TAction *aHovedmenu = nullptr;
    TAction *aRedskabslinje = nullptr;
    // Files and the active document.
    TAction *fileOpen = nullptr;
    TAction *fileGem = nullptr;
    TAction *fileGemSom = nullptr;
    TAction *fileNewTxt = nullptr;
    TAction *winLuk = nullptr;
    TAction *winLukAlle = nullptr;
    TAction *aProgramSize = nullptr;
    TAction *fileNewRtf = nullptr;
    TAction *opdaterFilinfo = nullptr;
    TAction *printerEgenskaber = nullptr;
    TAction *udskrivDokument = nullptr;
    TAction *findTekst = nullptr;
    TAction *erstatTekst = nullptr;
    TAction *insertFavoritliste = nullptr;
    // Dates written into the active document.
    TAction *aDato = nullptr;
    TAction *aKlokken = nullptr;
    TAction *aDato2 = nullptr;
    TAction *aDato3 = nullptr;
    TAction *aDatoUdskriv = nullptr;
    // The boxes.
    TAction *mappefilBox = nullptr;
    TAction *favoritBox = nullptr;
    TAction *dokumentBox = nullptr;
    TAction *aSearchTekst = nullptr;
    TAction *aSearchMappeFiler = nullptr;
    TAction *openFiltypeboksen = nullptr;
    TAction *openGenvejsboksen = nullptr;
    // Web searches for the message of the Information page.
    TAction *googleUrl = nullptr;
    TAction *bingUrl = nullptr;
    TAction *tubeUrl = nullptr;
    TAction *WindowCascade = nullptr;
    TAction *WindowTileHorizontal = nullptr;
    TAction *WindowTileVertical = nullptr;
    TAction *WindowMinimizeAll = nullptr;
    TAction *closeAllBokse = nullptr;

    // The window menu "Åbne" of the menu bar: the number of open documents, then one entry per
    // document window.
    QMenu *mainMenu7 = nullptr;
    QAction *mDocAntalCaption = nullptr;
    void mainMenu7Click();

    // Follows the boxes that tell the main window of what happens in them, from their creation on.
    void followOptions(Toptform &box);
    void followFileBox(Tfilform &box);
    void followSearchBox(Tfindformen &box);
    void followFindBox(Tfilmappeform &box);

    // Tiles the document windows one above the other (horizontal) or side by side.
    void cascadeDocuments();
    void tileDocuments(Qt::Orientation orientation);
    // A press on the tab row at pos (in the row's coordinates).
    void tcMouseDown(const QPoint &pos);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenuBog();
    void buildActions();
    void buildPageActions();
    void buildDocumentActions();
    void buildBoxActions();
    void buildWebSearchActions();
    void buildInformationPage(QWidget *page);
    void webSearch(const QString &host, const QString &path, const QString &key);
    // The button strip, the menu bar's page entries and the buttons of the bottom bar.
    void buildMenus();
    void aHovedmenuExecute();
    void moveYear(int years);
    void FormCreate();
    void FormShow();
    void FormResize();
    bool FormCloseQuery();
    void FormClose();
    void showStartupBoxes();
    // The lines of "Dokumentfil.txt" that stand for documents to open again.
    static QStringList documentsToReopen(QStringList lines);
    void tcChange(int index);
    // Files chosen in the open dialog or dropped on the window, in their order.
    void openFiles(const QStringList &names);
    // Takes a drag of files over any control of the window, and opens them when they are dropped.
    bool droppedFilesTaken(QObject *watched, QEvent *event);
    void winLukAlleExecute();
    void closeAllBokseExecute();
    // The boxes that "Luk alle bokse" closes, in the order it closes them.
    static QList<QWidget *> closableBoxes();
    void buildWindowMenu();
    void applyMenuBogDocking();
    void placeOptionPanels();
    bool hintSwallowed(QObject *watched, QEvent *event);
    void subWindowActivated(QMdiSubWindow *window);
    // Follows what happens to a document window, from its creation on.
    void connectDocument(TDocumentForm *window);
    void documentActivated(TDocumentForm *window, bool first);
    void documentClosing(TDocumentForm *window);
    void showFileInformation(const FileInformation &information);
    // Shows how many occurrences a search command found, and the last one in the text.
    void showFound(TDocumentForm *window, int count);
    bool searchFieldHasFocus() const;
    bool documentsAnswerCloseQueries();
    int tabMatching(const QString &caption, int searchedTabs) const;

    QStringList m_arguments;
    QString m_startFolder;
    bool m_dataFoldersReady = false;
    bool m_firstShowDone = false;
    // The window's frame position and its own size in its normal state: where it goes back to
    // from maximised or minimised, and what "Main.txt" keeps.
    QRect m_normalPlace;
    void rememberNormalPlace();
    bool m_controlHints = false;
    bool m_hintInfoInstalled = true;
    int m_margin = 8;
    QPointer<TDocumentForm> m_documentBeforeFill;
};

// The one main window of the run; nullptr before start-up and after the program's end.
extern Tmainform *mainform;
