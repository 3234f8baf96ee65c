#pragma once

#include "platform/FileWatch.h"
#include "platform/Printer.h"

#include <QMdiSubWindow>

class QAction;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QProgressBar;
class QToolButton;
class QVBoxLayout;
class DiskChanges;
class TAction;
struct SearchSettings;

namespace Platform {
class RichEdit;
struct RecoveredCopy;
}

// What a document window is opened with: the file (empty for a new document), its extension,
// and the number a new document's caption counts with; or a recovery copy to bring back under
// that file name.
struct DocumentOpening {
    QString fileName;
    QString extension;
    int number = 0;
    const Platform::RecoveredCopy *recovered = nullptr;
};

// The frame's own commands that a document window offers among its tools and menus.
struct FrameCommands {
    QAction *save = nullptr;
    QAction *saveAs = nullptr;
    QAction *fileInformation = nullptr;
    QAction *print = nullptr;
    QAction *close = nullptr;
    QAction *closeAll = nullptr;
};

// The lines of file information the frame shows for the active document.
struct FileInformation {
    QString name;
    QString size;
    QString state;
    QString lines;
};

// What the plain-text and rich-text document windows share: the fields the frame reads, the life
// cycle, saving, file information, web search and the edit commands. The window knows nothing of
// the frame that holds it: it is opened with values, and tells the frame what happens to it
// through its signals.
class TDocumentForm : public QMdiSubWindow {
    Q_OBJECT
public:
    ~TDocumentForm() override;

    Platform::RichEdit *editor() const { return Editor; }
    // The file as the document read or last wrote it.
    Platform::FileStamp readStamp() const;
    // The file could not be read in the create step; the window is not shown.
    bool openFailed() const { return m_openFailed; }
    // What the user is told on opening the file, when anything: that its lines are too long for
    // word wrap or spell check. Known once the file is loaded.
    QString openingNote() const;
    // A large file goes into the window a slice at a time after the window shows; until loaded()
    // the text is not all there, and the window offers nothing that edits, saves or searches it.
    bool isLoading() const;

    // Operations the frame dispatches to the active document.
    bool Gem();
    bool GemSom();
    // Also marks a document whose file has vanished as modified, so that it is saved again.
    FileInformation filInformation();
    void showRedskabsPanel();

    void FormActivate();
    // Asks about unsaved changes, with the window brought to the front; false keeps the window
    // open (the save was cancelled or failed, or the question was left without an answer).
    bool FormCloseQuery();
    void XYinfo();
    // The word at the caret, as the web searches use it.
    QString FindTekst() const;
    QString getTheWord() const;
    void puButtonClick();
    // The "Søg" commands on the text (see searchText); each returns the number of occurrences
    // found or replaced.
    int FindOrd(const SearchSettings &settings);
    int ErstatTekst(const SearchSettings &settings);
    // Asks for margins and copies in the print settings box, then prints the document.
    void udskrivDokument();
    // Prints the whole text of aEditor copies times, each copy its own print job, in the page
    // rectangle the margins make on the current printer, or without a printer into a PDF file the
    // user chooses. False when nothing could be printed (the user has been told why, or cancelled
    // the choice of file).
    bool PrintRichText(Platform::RichEdit *aEditor, double RTLeftMargin, double RTRightMargin, double RTTopMargin,
                       double RTBottomMargin, Platform::TRichTextMeasurements RichTextMeasurement, int Copies);

    bool opstart = true;
    bool musNede = false;
    int LinieAntal = 0;
    int posY = 0;
    int posX = 0;
    QString Filnavn;
    QString Ext;
    QString capNavn;

    QWidget *redskabsPanel = nullptr;
    QComboBox *fontsizeBox = nullptr;
    QToolButton *puButton = nullptr;
    QMenu *dropDownPU = nullptr;

    TAction *EditCut1 = nullptr;
    TAction *EditCopy1 = nullptr;
    TAction *EditPaste1 = nullptr;
    TAction *EditSelectAll1 = nullptr;
    TAction *EditUndo1 = nullptr;
    TAction *EditDelete1 = nullptr;
    TAction *aStavekontrol = nullptr;
    TAction *googleUrl = nullptr;
    TAction *bingUrl = nullptr;
    TAction *tubeUrl = nullptr;

signals:
    // The text's modified state, after every change and whenever the window is activated.
    void modifiedChanged(bool modified);
    // The window has become the active one; first the first time, when the frame takes it in.
    void activated(bool first);
    // Saved under a new name; the window's caption was oldCaption.
    void renamed(const QString &oldCaption);
    // The window asks about its unsaved changes and wants to be seen while it does.
    void attentionWanted();
    // The file is all in.
    void loaded();
    // What filInformation tells has changed by itself: the file is loaded, or its displayed
    // lines are counted.
    void informationChanged();
    // The window is closing, and then has closed.
    void closing();
    void closed();

protected:
    TDocumentForm(Platform::RichEdit *editor, const DocumentOpening &opening);

    // The create step; the twin builds its tool panel and menus before calling it.
    void FormCreate();
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    virtual void aStavekontrolExecute() = 0;
    // Shows the caret position and line count that XYinfo has just taken.
    virtual void showCaretPosition() = 0;
    // LinieAntal as shown; marked while the displayed lines are still being counted, when it is
    // the count of the text's lines.
    QString lineCountText() const;

    // A command of this window with its caption, hint and keys ("Ctrl+B"; nullptr for none).
    TAction *newAction(const char *name, const QString &caption, const QString &hint, const char *keys);
    // A tool button showing the action, named after it for screen readers.
    QToolButton *actionButton(QAction *action);
    // The context menu the window shows while "Skift popup" has not switched to spelling; the
    // font box that takes the options' font list; what differs between the twins in saving.
    void setWindowMenu(QMenu *menu) { m_windowMenu = menu; }
    void setFontNameBox(QComboBox *box) { m_fontNames = box; }
    QString m_noNameText = QStringLiteral("Dokumentet har ikke noget navn.");
    // Told on the information line when the file opened has lines too long for word wrap or
    // spell check.
    QString m_longLinesText;
    int m_saveFilterIndex = 1;
    // The user's choice for the tool panel; a window too small for it hides it all the same.
    bool m_toolPanelWanted = true;
    QString m_defaultExtension = QStringLiteral(".txt");

    Platform::RichEdit *Editor;

private:
    void buildActions();
    void buildLoadingRow(QVBoxLayout *column);
    // Shows "Henter …" while the text area takes in a big file, opened or read again.
    void showLoadingRow();
    void loadingDone();
    void leaveOwnKeysToOwnCommands();
    // Shows the tool panel when the user wants it and the window has room for it and some text.
    void placeToolPanel();
    void FormClose();
    void reportModified();
    void write();
    void webSearch(const QString &host, const QString &path, const QString &key) const;
    void setPopupState(bool ownMenu);
    int search(const SearchSettings &settings, bool replacing);
    // The PDF file to print into, chosen by the user (overwriting an existing one only when the
    // user says so); empty when cancelled.
    QString askPdfFile() const;
    bool printPages(Platform::Printer &printer, Platform::RichEdit *aEditor, double RTLeftMargin, double RTRightMargin,
                    double RTTopMargin, double RTBottomMargin, Platform::TRichTextMeasurements RichTextMeasurement,
                    int Copies);

    DocumentOpening m_opening;
    bool m_openFailed = false;
    // Notices when another program changes or removes the file, and asks what to do.
    DiskChanges *m_disk = nullptr;
    // The page rectangle of the last print; empty until then.
    QRect m_pageRect;
    QMenu *m_windowMenu = nullptr;
    // "Henter …" with the progress, shown while the file loads.
    QWidget *m_loadingRow = nullptr;
    QProgressBar *m_loadingBar = nullptr;
    bool m_linesKnown = true;
    QComboBox *m_fontNames = nullptr;
    bool m_showHints = true;
};
