#pragma once

#include "platform/TextCodec.h"
#include "widgets/Box.h"

#include <QSet>
#include <QStringList>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TAction;
class THitLine;
class TSearchDocument;
namespace Platform {
class ByteScreen;
}

// "Søg i dokumenter": finds a text in the documents of a folder (and of the folders below it)
// whose names match one file type of the box's own filter list, and lists every hit. From the
// list the documents are opened in the editor, handed to the desktop or shown in their folder.
// The filter list is kept in "Filtertyper.txt", apart from the editor's own file type list.
class Tfindformen : public TBox {
    Q_OBJECT
public:
    explicit Tfindformen(QWidget *parent);
    ~Tfindformen() override;

    void FormCreate() override;

    // Settings file "Findis.txt": left edge, top edge and height.
    void HentOpt();
    void GemOpt();

    // The filter list: the file, the list view of the "Filtre" page and the filter box.
    void HentTypeliste();
    void makeTypeliste();
    void LoadTypeliste();
    void LoadFilterBoks();
    void GemTypeliste();
    void typelisteAdd(const QString &aTekst, const QString &aType, bool check);
    static const QStringList standardTypeList;

    static QString delimKon(const QString &path);
    // Fills the row, which the list has room for already, with a hit.
    void InsertInDis(int row, const QString &path, THitLine line, int position);
    void InsertInRulliste();
    // Searches the matching documents of one folder (not its sub-folders).
    void FindSD(const QString &folder);
    void AfindBibExecute();

    QString FTekst;
    QString optFilnavn;
    bool opstart = true;
    QString typelistenavn;
    QString Mappe;
    QString searchMask;
    int searchMaskIndex = -1;
    // Exists only while a search runs.
    std::unique_ptr<TSearchDocument> RE;
    QStringList mappeSL;
    QStringList filliste;

    // Title and search folder.
    QPushButton *ButtonInfo = nullptr;
    QPushButton *ButtonLuk = nullptr;
    QLineEdit *dirEdit = nullptr;
    QAction *dirBrowse = nullptr; // the folder field's browse button
    QTabWidget *pageBog = nullptr;
    // Page "Søg".
    QComboBox *filterBoks = nullptr;
    QComboBox *EditFind = nullptr;
    QToolButton *Button1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *rekursivCheck = nullptr;
    QLabel *countdis = nullptr;
    QTableWidget *findis = nullptr;
    QLabel *mappeLabel = nullptr;
    QLabel *filLabel = nullptr;
    QProgressBar *findBar = nullptr;
    // Page "Filtre".
    QTreeWidget *typeliste = nullptr;
    QLineEdit *tekstedit = nullptr;
    QLineEdit *typeedit = nullptr;
    QPushButton *standardKnap = nullptr;
    QPushButton *saveknap = nullptr;
    QTextBrowser *WebBrowser1 = nullptr;

    TAction *AfindBib = nullptr;
    TAction *aAktuelle = nullptr;
    TAction *AopenAll = nullptr;
    TAction *AvisValgte = nullptr;
    TAction *ArunValgte = nullptr;
    TAction *AeditValgte = nullptr;
    TAction *aFind = nullptr;
    TAction *Afjern = nullptr;
    TAction *AsletAlt = nullptr;
    TAction *Aop = nullptr;
    TAction *Aned = nullptr;
    TAction *aInsertNew = nullptr;
    TAction *aSletValgte = nullptr;

    // Every way of closing the box (the "Luk" button, Escape, the window's close button,
    // "Luk alle bokse") runs it.
    void FormClose() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The "Søg" page of the command panel is wanted, with the line in its search field: the next
    // find in the document just opened goes to the hit.
    void searchPageWanted(const QString &searchText);

private:
    void buildActions();
    QWidget *buildSearchPage();
    QWidget *buildFilterPage();

    // getAntal: counts the folders below folder and the files whose extension is that of the
    // mask, and collects the folders in mappeSL.
    void getAntal(const QString &folder, int &folderCount, int &fileCount);
    void FindDokumenter(const QString &folder);
    void InsertInList(const QString &path);
    // The entry of the filter list that the filter box's choice stands for; -1 when none.
    int chosenEntry() const;
    bool runSearch();

    QList<int> selectedRows() const;
    QString rowPath(int row) const;
    // The open step of "Åben", also run by a double click on a row.
    void showRow(int row);
    void openSelectedWithShell(bool forRedigering);
    void AfjernExecute();
    void AsletAltExecute();
    void aFindExecute();

    int selectedType() const;
    void moveType(int step);
    void aInsertNewExecute();
    void aSletValgteExecute();
    void standardKnapClick();
    void saveknapClick();

    // The encoding the filter file was read in; it is written back in it.
    Platform::TextEncoding m_typelisteEncoding = Platform::TextEncoding::Ansi;
    bool m_searching = false;
    // Moves the progress bar on by one file.
    void stepBar();

    // The number of files counted for the progress bar; it never moves past it.
    int m_barMaximum = 0;
    // The files searched so far; the bar shows it when it has moved by a thousandth.
    int m_barPosition = 0;
    // What a file's bytes are first looked at for; exists only while a search runs.
    std::unique_ptr<Platform::ByteScreen> m_screen;
    // The real locations of the folders counted in this search: a link back to one of them
    // (or to any folder already walked) is not walked again.
    QSet<QString> m_walkedFolders;
};
