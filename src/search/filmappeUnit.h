#pragma once

#include "widgets/Box.h"

#include "platform/FolderEntries.h"

#include <QHash>
#include <QSet>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QSplitter;
class QToolButton;
class TAction;
class TReopenFilerX;

// "Søg efter mapper og filer": walks a folder tree and lists every folder and every file whose
// own name holds a word, folders in one list and files in the other. At most maxElementer of the
// options box are found of each kind. A double click opens a found folder in the file manager or
// a found file in the editor.
class Tfilmappeform : public TBox {
    Q_OBJECT
public:
    explicit Tfilmappeform(QWidget *parent);

    void FormCreate() override;
    // The two result lists; their item files are named but never read or written.
    void createObjecter();
    // Empties both lists and puts the headings, the progress text and the bar back.
    void ClearAlt();
    void findElement(const QString &folder, const QString &word);
    void aSearchExecute();
    void getDirButtonClick();
    // The folder dialog starts at the folder now in the field.
    void mappeEditBeforeDialog();

    // The path with a separator at its end.
    static QString delimKon(const QString &path);
    // position * 100 / total, rounded to the nearest whole number (halves to the even one), and
    // "%"; a search with nothing to examine shows "100%" when it ran its course, "0%" when the
    // limit stopped it before it began.
    static QString percentText(qint64 position, qint64 total, bool ranItsCourse);

    TReopenFilerX *findDir = nullptr;
    TReopenFilerX *findFiler = nullptr;

    QLabel *mappeLabel = nullptr;
    QLineEdit *mappeEdit = nullptr;
    QAction *mappeEditBrowse = nullptr;
    QToolButton *getDirButton = nullptr;
    QProgressBar *findBar = nullptr;
    QLabel *BarEdit = nullptr;
    QLineEdit *findTekstEdit = nullptr;
    QToolButton *searchButton = nullptr;
    QSplitter *splitter = nullptr;
    QLabel *mapperOverskrift = nullptr;
    QListWidget *mappeBoxen = nullptr;
    QLabel *filerOverskrift = nullptr;
    QListWidget *filBoxen = nullptr;
    TAction *aSearch = nullptr;

signals:
    // A row clicked shows its full name on the program's information line.
    void nameShown(const QString &name);

private:
    // The counts of one search.
    struct Counts {
        qint64 filesBefore = 0;
        qint64 foldersBefore = 0;
        qint64 total = 0;
        qint64 filesExamined = 0;
        qint64 foldersExamined = 0;
        qint64 filesFound = 0;
        qint64 foldersFound = 0;
    };

    bool limitReached() const;
    // Starts a walk of the tree under folder: nothing has been entered yet but the folder itself.
    // Where the folder really lies; empty when it does not exist.
    QString startWalk(const QString &folder);
    // Whether the walk goes into the folder that really lies at real: each folder is entered once,
    // however many links lead to it.
    bool firstVisit(const QString &real);
    // real is where folder really lies.
    void getAntal(const QString &folder, const QString &real);
    // False when the limit stopped the walk.
    bool getInfo(const QString &folder, const QString &real);
    void RegisterEle(const QString &path);
    void stepBar();
    void showPercent();
    void mappeEditBrowseClick();
    void findTekstEditReturn();
    void findDirListeKlik(const QString &Capnavn, const QString &Filnavn);
    void findFilerListeKlik(const QString &Capnavn, const QString &Filnavn);
    void findDirDblListeKlik(const QString &Capnavn, const QString &Filnavn);
    void findFilerDblListeKlik(const QString &Capnavn, const QString &Filnavn);

    // The folder's listing kept from the count, or read now.
    Platform::FolderListing takeListing(const QString &folder);

    Counts m_counts;
    QSet<QString> m_walkedFolders;
    // The listings the count read, by folder, for the walk that follows it; only so many entries
    // are kept that a whole disk's walk does not hold its every name.
    QHash<QString, Platform::FolderListing> m_listings;
    qsizetype m_listedEntries = 0;
    qint64 m_barPosition = 0;
    qint64 m_maxElementer = 0;
    bool m_ranItsCourse = false;
    bool m_searching = false;
    QString m_word;
    QString m_dialogStart;
};
