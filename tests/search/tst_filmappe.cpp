#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "lists/DirBox.h"
#include "lists/FavDirUnit.h"
#include "lists/mappefilUnit.h"
#include "options/optUnit.h"
#include "search/filmappeUnit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#ifdef Q_OS_LINUX
#include <dirent.h>
#include <sys/fsuid.h>
#include <unistd.h>
#endif

// The box "Søg efter mapper og filer", used as a user uses it: folder trees are built on disk, the
// word typed, the folder chosen, the search run, and the results clicked.
class TestFilmappe : public QObject {
    Q_OBJECT
private slots:
    void matchesTheOwnNameOnly_data();
    void matchesTheOwnNameOnly();
    void countsHeadingsAndBar();
    void limitFromTheOptions_data();
    void limitFromTheOptions();
    void percentRounding_data();
    void percentRounding();
    void linksAndDeadEntries();
    void linkedFoldersAreEnteredOnce();
    void limitTakesTheFirstNamesByName();
    void unreadableFolderIsPassedOver();
    void fieldsAndButtons();
    void missingFolder();
    void clicksOnResults();

private:
    static void makeFile(const QString &root, const QString &relative)
    {
        const QString path = QDir(root).filePath(relative);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    static void makeFolder(const QString &root, const QString &relative)
    {
        QVERIFY(QDir().mkpath(QDir(root).filePath(relative)));
    }
    static QStringList rows(const QListWidget *list)
    {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        return shown;
    }
    static QStringList sortedRows(const QListWidget *list)
    {
        QStringList shown = rows(list);
        shown.sort();
        return shown;
    }
    // Shows the box with F7, types the folder and the word and presses Enter in the word field.
    static void search(const QString &folder, const QString &word)
    {
        TAction::updateAll();
        if (filmappeform->isHidden()) {
            QVERIFY(mainform->aSearchMappeFiler->isEnabled());
            mainform->aSearchMappeFiler->trigger();
        }
        filmappeform->mappeEdit->setText(QDir::toNativeSeparators(folder));
        filmappeform->findTekstEdit->clear();
        QTest::keyClicks(filmappeform->findTekstEdit, word);
        QTest::keyClick(filmappeform->findTekstEdit, Qt::Key_Return);
    }
    static QString native(const QString &root, const QString &relative)
    {
        return QDir::toNativeSeparators(QDir(root).filePath(relative));
    }
};

void TestFilmappe::matchesTheOwnNameOnly_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("part of a name, folder not its files")
        << QStringLiteral("ord") << QStringList{QStringLiteral("Ordbøger"), QStringLiteral("ord")}
        << QStringList{QStringLiteral("Mine ord.txt"), QStringLiteral("ORD.md")};
    QTest::newRow("A-Z case ignored") << QStringLiteral("MINE") << QStringList{}
                                      << QStringList{QStringLiteral("Mine ord.txt")};
    QTest::newRow("Danish letters compared exactly") << QStringLiteral("æble") << QStringList{}
                                                     << QStringList{QStringLiteral("æblegrød.txt")};
    QTest::newRow("Danish capital") << QStringLiteral("Æble") << QStringList{}
                                    << QStringList{QStringLiteral("Æble.txt")};
    QTest::newRow("one-letter folder") << QStringLiteral("q") << QStringList{QStringLiteral("q")} << QStringList{};
    QTest::newRow("hidden entries") << QStringLiteral("skjult")
                                    << QStringList{QStringLiteral(".skjult")}
                                    << QStringList{QStringLiteral(".skjult.txt")};
    QTest::newRow("nothing") << QStringLiteral("zzz") << QStringList{} << QStringList{};
}

void TestFilmappe::matchesTheOwnNameOnly()
{
    QFETCH(QString, word);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, files);

    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("træ"));
    makeFile(root, QStringLiteral("Ordbøger/dansk.dic"));
    makeFile(root, QStringLiteral("ord/x.txt"));
    makeFile(root, QStringLiteral("dybt/nede/Mine ord.txt"));
    makeFile(root, QStringLiteral("dybt/ORD.md"));
    makeFile(root, QStringLiteral("Æble.txt"));
    makeFile(root, QStringLiteral("æblegrød.txt"));
    makeFolder(root, QStringLiteral("dybt/q"));
    makeFile(root, QStringLiteral(".skjult/y.txt"));
    makeFile(root, QStringLiteral(".skjult.txt"));

    search(root, word);

    QVERIFY(program.modal.shown.isEmpty());
    QStringList sortedFolders = folders;
    sortedFolders.sort();
    QStringList sortedFiles = files;
    sortedFiles.sort();
    QCOMPARE(sortedRows(filmappeform->mappeBoxen), sortedFolders);
    QCOMPARE(sortedRows(filmappeform->filBoxen), sortedFiles);
    // Each row carries the whole path of what it shows.
    for (TReopenFilerX *list : {filmappeform->findDir, filmappeform->findFiler}) {
        for (int i = 0; i < list->Antal(); ++i) {
            const QFileInfo found(list->GetFilnavn(i));
            QCOMPARE(found.fileName(), list->GetCaption(i));
            QVERIFY(found.exists());
            QVERIFY(list->GetFilnavn(i).startsWith(QDir::toNativeSeparators(root) + QDir::separator()));
        }
    }
    QCOMPARE(filmappeform->mapperOverskrift->text(),
             QStringLiteral("Der er undersøgt 6:%1 mappenavne").arg(folders.size()));
    QCOMPARE(filmappeform->filerOverskrift->text(),
             QStringLiteral("Der er undersøgt 8:%1 filnavne").arg(files.size()));
    QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("100%"));
}

void TestFilmappe::countsHeadingsAndBar()
{
    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("tolv"));
    for (const char *name : {"a/1.txt", "a/2.txt", "a/b/3.txt", "a/b/4.txt", "c/5.txt", "6.txt", "7.txt",
                             "8.txt", "9.txt"})
        makeFile(root, QString::fromLatin1(name));

    search(root, QStringLiteral("intet"));

    QCOMPARE(filmappeform->findBar->maximum(), 12);
    QCOMPARE(filmappeform->findBar->value(), 12);
    QCOMPARE(filmappeform->mapperOverskrift->text(), QStringLiteral("Der er undersøgt 3:0 mappenavne"));
    QCOMPARE(filmappeform->filerOverskrift->text(), QStringLiteral("Der er undersøgt 9:0 filnavne"));
    QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("100%"));
    QVERIFY(rows(filmappeform->mappeBoxen).isEmpty());
    QVERIFY(rows(filmappeform->filBoxen).isEmpty());

    // An empty folder has nothing to examine: the headings stay, the walk ran its course.
    makeFolder(root, QStringLiteral("tom"));
    search(QDir(root).filePath(QStringLiteral("tom")), QStringLiteral("x"));
    QCOMPARE(filmappeform->mapperOverskrift->text(), QStringLiteral("Mapper"));
    QCOMPARE(filmappeform->filerOverskrift->text(), QStringLiteral("Filer"));
    QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("100%"));
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFilmappe::limitFromTheOptions_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("filesListed");
    QTest::addColumn<int>("foldersListed");
    QTest::addColumn<QString>("percent");

    // Two trees searched in turn: eight matching files in one folder, three matching folders
    // (with nothing matching inside) in another.
    QTest::newRow("stops at the fifth file") << 5 << 5 << 3 << QStringLiteral("62%");
    QTest::newRow("stops at the second of each") << 2 << 2 << 2 << QStringLiteral("25%");
    QTest::newRow("zero finds nothing") << 0 << 0 << 0 << QStringLiteral("0%");
    QTest::newRow("negative is no limit") << -1 << 8 << 3 << QStringLiteral("100%");
    QTest::newRow("limit equals the hits") << 8 << 8 << 3 << QStringLiteral("100%");
}

void TestFilmappe::limitFromTheOptions()
{
    QFETCH(int, limit);
    QFETCH(int, filesListed);
    QFETCH(int, foldersListed);
    QFETCH(QString, percent);

    ProgramFixture program;
    program.start();
    const QString files = QDir(program.workFolder()).filePath(QStringLiteral("filer"));
    for (int i = 1; i <= 8; ++i)
        makeFile(files, QStringLiteral("hit%1.txt").arg(i));
    optform->maxElementer = limit;

    search(files, QStringLiteral("HIT"));

    QCOMPARE(filmappeform->filBoxen->count(), filesListed);
    QCOMPARE(filmappeform->findFiler->Antal(), filesListed);
    QCOMPARE(filmappeform->filerOverskrift->text(),
             filesListed ? QStringLiteral("Der er undersøgt %1:%1 filnavne").arg(filesListed) : QStringLiteral("Filer"));
    QCOMPARE(filmappeform->findBar->maximum(), limit == 0 ? 1 : 8);
    QCOMPARE(filmappeform->BarEdit->text(), percent);

    // Folders found count against the limit in the same way.
    const QString folders = QDir(program.workFolder()).filePath(QStringLiteral("mapper"));
    for (int i = 1; i <= 3; ++i)
        makeFile(folders, QStringLiteral("hit%1/ingen.txt").arg(i));
    search(folders, QStringLiteral("hit"));
    QCOMPARE(rows(filmappeform->mappeBoxen).size(), foldersListed);
    QCOMPARE(filmappeform->findFiler->Antal(), 0);
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFilmappe::percentRounding_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("total");
    QTest::addColumn<bool>("ranItsCourse");
    QTest::addColumn<QString>("shown");

    QTest::newRow("a third") << 1 << 3 << false << QStringLiteral("33%");
    QTest::newRow("two thirds") << 2 << 3 << false << QStringLiteral("67%");
    QTest::newRow("half down to even") << 1 << 8 << false << QStringLiteral("12%");
    QTest::newRow("half up to even") << 3 << 8 << false << QStringLiteral("38%");
    QTest::newRow("all") << 7 << 7 << true << QStringLiteral("100%");
    QTest::newRow("nothing there, walked") << 0 << 0 << true << QStringLiteral("100%");
    QTest::newRow("nothing counted, stopped") << 0 << 0 << false << QStringLiteral("0%");
}

void TestFilmappe::percentRounding()
{
    QFETCH(int, position);
    QFETCH(int, total);
    QFETCH(bool, ranItsCourse);
    QFETCH(QString, shown);
    QCOMPARE(Tfilmappeform::percentText(position, total, ranItsCourse), shown);
}

void TestFilmappe::linksAndDeadEntries()
{
#ifndef Q_OS_UNIX
    QSKIP("symbolic links are made here with the POSIX calls");
#else
    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("links"));
    makeFile(root, QStringLiteral("sub/ord-under.txt"));
    makeFile(root, QStringLiteral("ord-efter.txt"));
    // A link back up the tree, a link to itself and a link to nothing.
    QVERIFY(QFile::link(QStringLiteral(".."), QDir(root).filePath(QStringLiteral("sub/ord-tilbage"))));
    QVERIFY(QFile::link(QStringLiteral("ord-selv"), QDir(root).filePath(QStringLiteral("ord-selv"))));
    QVERIFY(QFile::link(QStringLiteral("/ingen/steder"), QDir(root).filePath(QStringLiteral("ord-død.txt"))));

    search(root, QStringLiteral("ord"));

    // The link to a folder is a found folder, not a way round in a circle; the dead links are
    // examined but name nothing that can be opened.
    QCOMPARE(rows(filmappeform->mappeBoxen), QStringList{QStringLiteral("ord-tilbage")});
    QCOMPARE(filmappeform->findDir->GetFilnavn(0), native(root, QStringLiteral("sub/ord-tilbage")));
    QCOMPARE(sortedRows(filmappeform->filBoxen),
             (QStringList{QStringLiteral("ord-efter.txt"), QStringLiteral("ord-under.txt")}));
    QCOMPARE(filmappeform->mapperOverskrift->text(), QStringLiteral("Der er undersøgt 2:1 mappenavne"));
    QCOMPARE(filmappeform->filerOverskrift->text(), QStringLiteral("Der er undersøgt 4:2 filnavne"));
    QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("100%"));
    QVERIFY(program.modal.shown.isEmpty());
#endif
}

// Linked folders are walked as `find -L` walks them, but each folder only once: a link to a
// folder outside the tree is searched, a second way into a folder and a link back up the tree
// add nothing.
void TestFilmappe::linkedFoldersAreEnteredOnce()
{
#ifndef Q_OS_UNIX
    QSKIP("symbolic links are made here with the POSIX calls");
#else
    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("træ"));
    const QString outside = QDir(program.workFolder()).filePath(QStringLiteral("udenfor"));
    makeFile(root, QStringLiteral("mapper/ord1.txt"));
    makeFile(root, QStringLiteral("mapper/indre/ord2.txt"));
    makeFile(outside, QStringLiteral("ord3.txt"));
    makeFile(outside, QStringLiteral("ordmappe/ord4.txt"));
    QVERIFY(QFile::link(outside, QDir(root).filePath(QStringLiteral("ud"))));
    QVERIFY(QFile::link(QStringLiteral("mapper"), QDir(root).filePath(QStringLiteral("zz-igen"))));
    QVERIFY(QFile::link(QStringLiteral("../.."), QDir(root).filePath(QStringLiteral("mapper/indre/op"))));
    QVERIFY(QFile::link(QStringLiteral("."), QDir(outside).filePath(QStringLiteral("rundt"))));

    search(root, QStringLiteral("ord"));

    QCOMPARE(rows(filmappeform->mappeBoxen), QStringList{QStringLiteral("ordmappe")});
    QCOMPARE(filmappeform->findDir->GetFilnavn(0), native(root, QStringLiteral("ud/ordmappe")));
    QStringList files;
    for (int i = 0; i < filmappeform->findFiler->Antal(); ++i)
        files << filmappeform->findFiler->GetFilnavn(i);
    files.sort();
    QCOMPARE(files, (QStringList{native(root, QStringLiteral("mapper/indre/ord2.txt")),
                                 native(root, QStringLiteral("mapper/ord1.txt")),
                                 native(root, QStringLiteral("ud/ord3.txt")),
                                 native(root, QStringLiteral("ud/ordmappe/ord4.txt"))}));
    // Examined: mapper, indre, op, ud, ordmappe, rundt and zz-igen; the four files.
    QCOMPARE(filmappeform->mapperOverskrift->text(), QStringLiteral("Der er undersøgt 7:1 mappenavne"));
    QCOMPARE(filmappeform->filerOverskrift->text(), QStringLiteral("Der er undersøgt 4:4 filnavne"));
    QCOMPARE(filmappeform->findBar->maximum(), 11);
    QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("100%"));
    QVERIFY(program.modal.shown.isEmpty());

    // The limit still ends a walk that goes through links.
    optform->maxElementer = 3;
    search(root, QStringLiteral("ord"));
    QCOMPARE(filmappeform->findFiler->Antal(), 3);
    QVERIFY(filmappeform->BarEdit->text() != QStringLiteral("100%"));
#endif
}

// Each folder is walked by name, letter case ignored, sub-folders where their names fall; so
// when the limit cuts the walk short, the names found are the first ones by name.
void TestFilmappe::limitTakesTheFirstNamesByName()
{
    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("navne"));
    // Made in an order unlike the order by name.
    for (const char *name : {"x/HIT-9.txt", "hit-8.txt", "HIT-7.txt", "b/hit-3.txt", "Hit-5.txt", "c/d/hit-4.txt",
                             "a/hit-2.txt", "a/Hit-1.txt", "hit-6.txt"})
        makeFile(root, QString::fromLatin1(name));
    optform->maxElementer = 5;

    search(root, QStringLiteral("hit"));

    QCOMPARE(sortedRows(filmappeform->filBoxen),
             (QStringList{QStringLiteral("Hit-1.txt"), QStringLiteral("Hit-5.txt"), QStringLiteral("hit-2.txt"),
                          QStringLiteral("hit-3.txt"), QStringLiteral("hit-4.txt")}));
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFilmappe::unreadableFolderIsPassedOver()
{
#ifndef Q_OS_LINUX
    QSKIP("a folder is locked against the test's own user with Linux calls");
#else
    ProgramFixture program;
    program.start();
    // A tree of its own that every user may walk, but for the locked folder in it.
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    QFile::setPermissions(tree.path(), QFile::permissions(tree.path()) | QFile::ReadOther | QFile::ExeOther
                                           | QFile::ReadGroup | QFile::ExeGroup);
    const QString root = tree.path();
    makeFile(root, QStringLiteral("ord-låst/ord-indeni.txt"));
    makeFile(root, QStringLiteral("a/ord-før.txt"));
    makeFile(root, QStringLiteral("z/ord-efter.txt"));
    const QString locked = QDir(root).filePath(QStringLiteral("ord-låst"));
    QVERIFY(QFile::setPermissions(locked, {}));

    // Root reads every folder whatever its permissions: it walks as nobody meanwhile.
    struct FileSystemUser {
        const uid_t before = geteuid();
        FileSystemUser()
        {
            if (before == 0)
                setfsuid(65534);
        }
        ~FileSystemUser()
        {
            if (before == 0)
                setfsuid(0);
        }
    };
    {
        const FileSystemUser asNobody;
        DIR *probe = opendir(QFile::encodeName(locked).constData());
        if (probe) {
            closedir(probe);
            QSKIP("the locked folder stays readable here (the user cannot be changed), so no folder is unreadable");
        }
        search(root, QStringLiteral("ord"));
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(program.modal.shown.isEmpty());
    QCOMPARE(rows(filmappeform->mappeBoxen), QStringList{QStringLiteral("ord-låst")});
    QCOMPARE(sortedRows(filmappeform->filBoxen), (QStringList{QStringLiteral("ord-efter.txt"), QStringLiteral("ord-før.txt")}));
    QCOMPARE(filmappeform->mapperOverskrift->text(), QStringLiteral("Der er undersøgt 3:1 mappenavne"));
    QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("100%"));
#endif
}

void TestFilmappe::fieldsAndButtons()
{
    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("felter"));
    makeFile(root, QStringLiteral("ord.txt"));
    mainform->aSearchMappeFiler->trigger();
    QVERIFY(filmappeform->isVisible());

    // The search needs both a word and a folder; Enter does nothing without them.
    TAction::updateAll();
    QVERIFY(!filmappeform->aSearch->isEnabled());
    QTest::keyClicks(filmappeform->findTekstEdit, QStringLiteral("ord"));
    TAction::updateAll();
    QVERIFY(!filmappeform->aSearch->isEnabled());
    QTest::keyClick(filmappeform->findTekstEdit, Qt::Key_Return);
    QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("Søg efter"));

    // The folder of the folder-and-file box, taken untested.
    QVERIFY(mappefilform->dirBox->setDirectory(root));
    QTest::mouseClick(filmappeform->getDirButton, Qt::LeftButton);
    QCOMPARE(filmappeform->mappeEdit->text(), mappefilform->dirBox->directory());
    TAction::updateAll();
    QVERIFY(filmappeform->aSearch->isEnabled());
    QTest::mouseClick(filmappeform->searchButton, Qt::LeftButton);
    QCOMPARE(rows(filmappeform->filBoxen), QStringList{QStringLiteral("ord.txt")});

    // The folder dialog: a cancel leaves the field, a choice fills it.
    filmappeform->mappeEditBrowse->trigger();
    QCOMPARE(filmappeform->mappeEdit->text(), mappefilform->dirBox->directory());
    program.dialogs.folderAnswers.enqueue(program.workFolder());
    filmappeform->mappeEditBrowse->trigger();
    QCOMPARE(filmappeform->mappeEdit->text(), QDir::toNativeSeparators(program.workFolder()));
    QVERIFY(program.dialogs.folderAnswers.isEmpty());

    // Closing only hides the box; the results stay.
    filmappeform->close();
    QVERIFY(filmappeform->isHidden());
    QCOMPARE(rows(filmappeform->filBoxen), QStringList{QStringLiteral("ord.txt")});
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFilmappe::missingFolder()
{
    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("først"));
    makeFile(root, QStringLiteral("ord/ord.txt"));
    search(root, QStringLiteral("ord"));
    QCOMPARE(filmappeform->findDir->Antal(), 1);
    QCOMPARE(filmappeform->findFiler->Antal(), 1);

    // A folder that is not there, and a file's name in the folder field: told, lists emptied.
    for (const QString &notAFolder : {QDir(root).filePath(QStringLiteral("væk")), QDir(root).filePath(QStringLiteral("ord/ord.txt"))}) {
        program.modal.press(QStringLiteral("OK"));
        search(notAFolder, QStringLiteral("ord"));
        QCOMPARE(program.modal.pending(), 0);
        QCOMPARE(shownText(program.modal.shown.takeLast().text), QStringLiteral("Information:\nMappen eksisterer ikke."));
        QCOMPARE(filmappeform->findDir->Antal(), 0);
        QCOMPARE(filmappeform->findFiler->Antal(), 0);
        QVERIFY(rows(filmappeform->mappeBoxen).isEmpty());
        QVERIFY(rows(filmappeform->filBoxen).isEmpty());
        QCOMPARE(filmappeform->mapperOverskrift->text(), QStringLiteral("Mapper"));
        QCOMPARE(filmappeform->BarEdit->text(), QStringLiteral("Søg efter"));
    }
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestFilmappe::clicksOnResults()
{
    ProgramFixture program;
    program.start();
    const QString root = QDir(program.workFolder()).filePath(QStringLiteral("klik"));
    makeFile(root, QStringLiteral("Noter/noter.txt"));
    search(root, QStringLiteral("noter"));
    QCOMPARE(rows(filmappeform->mappeBoxen), QStringList{QStringLiteral("Noter")});
    QCOMPARE(rows(filmappeform->filBoxen), QStringList{QStringLiteral("noter.txt")});
    const QString folder = native(root, QStringLiteral("Noter"));
    const QString file = native(root, QStringLiteral("Noter/noter.txt"));

    const auto at = [](QListWidget *list) { return list->visualItemRect(list->item(0)).center(); };
    QTest::mouseClick(filmappeform->mappeBoxen->viewport(), Qt::LeftButton, {}, at(filmappeform->mappeBoxen));
    QCOMPARE(mainform->Info->text(), folder);
    QTest::mouseClick(filmappeform->filBoxen->viewport(), Qt::LeftButton, {}, at(filmappeform->filBoxen));
    QCOMPARE(mainform->Info->text(), file);

    // A folder opens in the file manager, a file in the editor.
    QTest::mouseDClick(filmappeform->mappeBoxen->viewport(), Qt::LeftButton, {}, at(filmappeform->mappeBoxen));
    QCOMPARE(program.shell.calls.size(), 1);
    QCOMPARE(program.shell.calls[0].operation, QStringLiteral("open"));
    QCOMPARE(program.shell.calls[0].file, folder);
    QTest::mouseDClick(filmappeform->filBoxen->viewport(), Qt::LeftButton, {}, at(filmappeform->filBoxen));
    QTRY_COMPARE(mainform->documentWindows().size(), 1);
    QCOMPARE(QDir::toNativeSeparators(mainform->documentWindows()[0]->Filnavn), file);
    QVERIFY(program.modal.shown.isEmpty());

    // A file deleted since the search is not opened; the list says it is gone.
    TAction::updateAll();
    mainform->winLukAlle->trigger();
    QTRY_VERIFY(mainform->documentWindows().isEmpty());
    QVERIFY(QFile::remove(file));
    program.modal.press(QStringLiteral("OK"));
    QTest::mouseDClick(filmappeform->filBoxen->viewport(), Qt::LeftButton, {}, at(filmappeform->filBoxen));
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(shownText(program.modal.shown[0].text).startsWith(QStringLiteral("Filen blev ikke fundet.")));
    QVERIFY(mainform->documentWindows().isEmpty());
    QVERIFY(program.modal.unexpected.isEmpty());
}

QTEST_MAIN(TestFilmappe)
#include "tst_filmappe.moc"
