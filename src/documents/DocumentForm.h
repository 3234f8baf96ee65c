#pragma once

#include <QMdiSubWindow>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;
class TAction;

namespace Platform {
class RichEdit;
}

// What the plain-text and rich-text document windows share: the fields the main window reads,
// the life cycle as the main window sees it, saving, file information, web search and the
// edit commands.
class TDokumentform : public QMdiSubWindow {
    Q_OBJECT
public:
    ~TDokumentform() override;

    Platform::RichEdit *editor() const { return Editor; }
    // The file could not be read in the create step; the window is not shown.
    bool openFailed() const { return m_openFailed; }

    // Operations the main window dispatches to the active document.
    bool Gem();
    bool GemSom();
    void filInformation();
    void showRedskabsPanel();

    void FormActivate();
    // Asks about unsaved changes; false keeps the window open.
    bool FormCloseQuery();
    void XYinfo();
    // The word at the caret, as the web searches use it.
    QString FindTekst() const;
    QString getTheWord() const;
    void puButtonClick();

    bool opstart = true;
    bool musNede = false;
    int LinieAntal = 0;
    int posY = 0;
    int posX = 0;
    QString Filnavn;
    QString Ext;
    QString capNavn;

    QWidget *redskabsPanel = nullptr;
    QComboBox *fontnameBox = nullptr;
    QComboBox *fontsizeBox = nullptr;
    QToolButton *funkButton1 = nullptr;
    QToolButton *puButton = nullptr;
    QLabel *posLabel = nullptr;
    QLabel *antalLabel = nullptr;
    QMenu *PUwin = nullptr;
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

protected:
    explicit TDokumentform(Platform::RichEdit *editor);

    // The create step; the twin adds its own controls to the tool panel before calling it.
    void FormCreate();
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Puts a command right after "Indsæt" in both context menus.
    void insertAfterPaste(QAction *action);
    virtual void aStavekontrolExecute() = 0;

    Platform::RichEdit *Editor;
    QHBoxLayout *toolRow = nullptr;
    QVBoxLayout *fontBlock = nullptr;

private:
    void buildToolPanel();
    void buildActions();
    void buildMenus();
    void FormClose();
    void write();
    void webSearch(const QString &host, const QString &path, const QString &key) const;
    void setPopupState(bool ownMenu);

    bool m_openFailed = false;
    bool m_showHints = true;
};
