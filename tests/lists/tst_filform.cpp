#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "lists/FavDirUnit.h"
#include "lists/filUnit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QStatusBar>
#include <QTest>

// The box of open and closed documents, used as a user uses it: documents are opened and closed
// in the program, then reopened, pruned, sorted and kept from the box.
class TestFilform : public QObject {
    Q_OBJECT
private slots:
    void listsFollowTheDocuments();
    void reopeningFromTheLists();
    void pruneSortAndDelete();
    void keepAndFetchTheClosedList();
    void showFolderAndOpenDialog();
    void settingsFile_data();
    void settingsFile();

private:
    static QStringList rows(const QListWidget *list)
    {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        return shown;
    }
    static void openAndClose(ProgramFixture &program, const QStringList &names)
    {
        for (const QString &name : names) {
            program.dialogs.openAnswers.enqueue({name});
            mainform->fileOpenExecute();
        }
        mainform->winLukAlle->trigger();
        QTRY_VERIFY(mainform->documentWindows().isEmpty());
    }
    static void select(QListWidget *list, int row)
    {
        list->setCurrentRow(row);
        TAction::updateAll();
    }
    static QStringList openDocuments()
    {
        QStringList names;
        for (TDocumentForm *window : mainform->documentWindows())
            names << window->Filnavn;
        return names;
    }
};

void TestFilform::listsFollowTheDocuments()
{
    ProgramFixture program;
    program.start();
    TAction::updateAll();
    QVERIFY(filform->aHentFilliste->isEnabled());
    QVERIFY(!filform->aGemFilliste->isEnabled());

    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    program.dialogs.openAnswers.enqueue({a});
    mainform->fileOpenExecute();
    TAction::updateAll();
    QCOMPARE(rows(filform->ListBox2), QStringList{QStringLiteral("a.txt")});
    QVERIFY(!filform->aHentFilliste->isEnabled());

    mainform->winLuk->trigger();
    QTRY_VERIFY(mainform->documentWindows().isEmpty());
    TAction::updateAll();
    QCOMPARE(rows(filform->ListBox1), QStringList{QStringLiteral("a.txt")});
    QVERIFY(rows(filform->ListBox2).isEmpty());
    QVERIFY(filform->aGemFilliste->isEnabled());
}

void TestFilform::reopeningFromTheLists()
{
    ProgramFixture program;
    program.start();
    const QStringList names{program.writeFile(QStringLiteral("a.txt"), "a"), program.writeFile(QStringLiteral("b.txt"), "b"),
                            program.writeFile(QStringLiteral("c.txt"), "c")};
    openAndClose(program, names);
    filform->ListeForandret1 = false;
    filform->show();
    QVERIFY(QTest::qWaitForWindowExposed(filform));
    const auto doubleClick = [](QListWidget *list, int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    QStringList closed = rows(filform->ListBox1);
    closed.sort();
    QCOMPARE(closed, QStringList({"a.txt", "b.txt", "c.txt"}));
    const QString first = filform->FavFiler1->GetFilnavn(0);

    // Enter on a selected row opens it: it leaves the closed list and shows in the open one.
    select(filform->ListBox1, 0);
    QTest::keyClick(filform->ListBox1, Qt::Key_Return);
    QCOMPARE(openDocuments(), QStringList{first});
    QCOMPARE(filform->FavFiler1->Antal(), 2);
    QCOMPARE(filform->ListBox1->currentRow(), 0);
    QCOMPARE(filform->FavFiler2->GetFilnavn(0), first);
    QVERIFY(!filform->ListeForandret1);

    // A double click does the same; a double click in the open list opens (brings forward).
    const QString second = filform->FavFiler1->GetFilnavn(0);
    doubleClick(filform->ListBox1, 0);
    QCOMPARE(openDocuments(), QStringList({first, second}));
    QCOMPARE(filform->FavFiler1->Antal(), 1);
    doubleClick(filform->ListBox2, 0);
    QCOMPARE(mainform->activeDocument()->Filnavn, filform->FavFiler2->GetFilnavn(0));
    QCOMPARE(mainform->documentWindows().size(), 2);

    // Space in the open list opens the row and goes on to the next one.
    select(filform->ListBox2, 0);
    QTest::keyClick(filform->ListBox2, Qt::Key_Space);
    QCOMPARE(filform->ListBox2->currentRow(), 1);

    // A click shows the path in the status bar; leaving the list clears it.
    QTest::mouseClick(filform->ListBox1->viewport(), Qt::LeftButton, {},
                      filform->ListBox1->visualItemRect(filform->ListBox1->item(0)).center());
    QCOMPARE(filform->infoBar->currentMessage(), filform->FavFiler1->GetFilnavn(0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(filform->ListBox1->viewport(), &leave);
    QVERIFY(filform->infoBar->currentMessage().isEmpty());
}

void TestFilform::pruneSortAndDelete()
{
    ProgramFixture program;
    program.start();
    QStringList names;
    for (const char *name : {"d.txt", "B.txt", "a.txt", "c.txt"})
        names << program.writeFile(QString::fromLatin1(name), "x");
    openAndClose(program, names);
    filform->ListeForandret1 = false;

    // Sorting asks nothing and says what it did.
    TAction::updateAll();
    filform->Fabc->trigger();
    QCOMPARE(rows(filform->ListBox1), QStringList({"a.txt", "B.txt", "c.txt", "d.txt"}));
    QCOMPARE(filform->infoBar->currentMessage(), QStringLiteral("Listen blev sorteret alfabetisk"));
    QVERIFY(filform->ListeForandret1);
    filform->Fabc->trigger();
    QCOMPARE(filform->infoBar->currentMessage(), QStringLiteral("Listen blev ikke ændret"));
    QVERIFY(program.modal.shown.isEmpty());

    // Pruning needs a selected row and then checks the whole list.
    QFile::remove(names[0]);
    QFile::remove(names[2]);
    filform->ListBox1->clearSelection();
    filform->ListBox1->setCurrentRow(-1);
    TAction::updateAll();
    QVERIFY(!filform->opdaterBox1->isEnabled());
    select(filform->ListBox1, 3);
    QVERIFY(filform->opdaterBox1->isEnabled());
    filform->opdaterBox1->trigger();
    QCOMPARE(rows(filform->ListBox1), QStringList({"B.txt", "c.txt"}));

    // Deleting the last row selects the row above it.
    select(filform->ListBox1, 1);
    filform->FLsletValgte->trigger();
    QCOMPARE(rows(filform->ListBox1), QStringList{"B.txt"});
    QCOMPARE(filform->ListBox1->currentRow(), 0);

    program.modal.press(QStringLiteral("Nej"));
    filform->ListeForandret1 = false;
    TAction::updateAll();
    filform->FLsletAlle->trigger();
    QCOMPARE(filform->FavFiler1->Antal(), 1);
    QVERIFY(filform->ListeForandret1);
    program.modal.press(QStringLiteral("Ja"));
    filform->FLsletAlle->trigger();
    QCOMPARE(filform->FavFiler1->Antal(), 0);
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestFilform::keepAndFetchTheClosedList()
{
    ProgramFixture program;
    program.start();
    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    const QString b = program.writeFile(QStringLiteral("b.txt"), "b");
    openAndClose(program, {a, b});
    TAction::updateAll();
    filform->aGemFilliste->trigger();
    const QString itemFile = QDir(program.optMappe()).filePath(QStringLiteral("FavFiler1.txt"));
    const QByteArray saved = ProgramFixture::readFile(itemFile);
    QVERIFY(saved.contains(("a.txt\r\n" + a + "\r\n").toUtf8()));
    QVERIFY(saved.contains(("b.txt\r\n" + b + "\r\n").toUtf8()));
    QVERIFY(!filform->ListeForandret1);
    QVERIFY(program.close());

    // The next run starts with empty lists; the kept list comes back when fetched, less the
    // documents that have gone meanwhile.
    QFile::remove(b);
    ProgramFixture next;
    QDir().mkpath(next.optMappe());
    QFile::copy(itemFile, QDir(next.optMappe()).filePath(QStringLiteral("FavFiler1.txt")));
    next.start();
    QCOMPARE(filform->FavFiler1->Antal(), 0);
    TAction::updateAll();
    QVERIFY(filform->aHentFilliste->isEnabled());
    filform->aHentFilliste->trigger();
    QCOMPARE(rows(filform->ListBox1), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(ProgramFixture::readFile(QDir(next.optMappe()).filePath(QStringLiteral("FavFiler1.txt"))),
             ("a.txt\r\n" + a + "\r\n").toUtf8());
}

void TestFilform::showFolderAndOpenDialog()
{
    ProgramFixture program;
    program.start();
    // Before any folder was shown, the open dialog starts where it likes.
    filform->openDokument->trigger();
    QCOMPARE(program.dialogs.openFolders, QStringList{QString()});

    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    openAndClose(program, {a});
    select(filform->ListBox1, 0);
    filform->FLVisMappe->trigger();
    const QString folder = QFileInfo(a).absolutePath();
    QCOMPARE(program.shell.calls.size(), 1);
    QCOMPARE(program.shell.calls[0].operation, QStringLiteral("open"));
    QCOMPARE(program.shell.calls[0].file, folder);

    // The document gone, the folder shown last is shown again; the open dialog starts there.
    QFile::remove(a);
    filform->FLVisMappe->trigger();
    QCOMPARE(program.shell.calls.size(), 2);
    QCOMPARE(program.shell.calls[1].file, folder);
    filform->openDokument->trigger();
    QCOMPARE(program.dialogs.openFolders.last(), folder);

    // With that folder gone too, the user is told.
    filform->openMappeName = program.workFolder() + QStringLiteral("/borte");
    program.modal.press(QStringLiteral("OK"));
    filform->FLVisMappe->trigger();
    QCOMPARE(shownText(program.modal.shown.value(0).text), QStringLiteral("Information:\nMappen blev ikke fundet."));
    QCOMPARE(program.shell.calls.size(), 2);
}

void TestFilform::settingsFile_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("message");

    QTest::newRow("missing") << QByteArray() << QRect(104, 104, 580, 480) << false;
    QTest::newRow("four lines") << QByteArray("600\r\n500\r\n60\r\n70\r\n") << QRect(60, 70, 600, 500) << false;
    // Read up to the missing line; the top keeps the design value.
    QTest::newRow("three lines") << QByteArray("600\r\n500\r\n60\r\n") << QRect(60, -1, 600, 500) << true;
    QTest::newRow("not a number") << QByteArray("600\r\nhøj\r\n60\r\n70\r\n") << QRect(-1, -1, 600, -1) << true;
}

void TestFilform::settingsFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QRect, geometry);
    QFETCH(bool, message);
    ProgramFixture program;
    const QString path = QDir(program.optMappe()).filePath(QStringLiteral("filUnit.txt"));
    if (!file.isEmpty())
        program.writeFile(path, file);
    if (message)
        program.modal.press(QStringLiteral("OK"));
    program.start();
    QCOMPARE(program.modal.shown.size(), message ? 1 : 0);
    if (message)
        QCOMPARE(shownText(program.modal.shown[0].text),
                 QStringLiteral("Information\nDer gik noget galt med opstarten.\nDer kan eventuelt være slettet vigtige filer."));
    const QRect shown(filform->pos(), filform->size());
    if (geometry.x() >= 0)
        QCOMPARE(shown.x(), geometry.x());
    if (geometry.y() >= 0)
        QCOMPARE(shown.y(), geometry.y());
    QCOMPARE(shown.width(), geometry.width());
    if (geometry.height() >= 0)
        QCOMPARE(shown.height(), geometry.height());

    // Closing the box writes its size and place.
    filform->show();
    filform->resize(640, 420);
    filform->close();
    const QList<QByteArray> lines = ProgramFixture::readFile(path).split('\n');
    QCOMPARE(lines.value(0), QByteArray("640\r"));
    QCOMPARE(lines.value(1), QByteArray("420\r"));
    QCOMPARE(lines.size(), 5);
}

QTEST_MAIN(TestFilform)
#include "tst_filform.moc"
