#include "ProgramFixture.h"

#include "lists/FavDirUnit.h"
#include "options/optUnit.h"
#include "widgets/Globals.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>

// The item list: its item file, its list box, the duplicate question, moving, sorting, deleting
// and the clicks on its rows.
class TestItemList : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void savesAndLoadsItemFiles();
    void loadingDropsVanishedDocuments();
    void loadingKeepsPairsOfOtherKinds();
    void unreadableFileKeepsTheList();
    void insertsAndMovesDuplicates_data();
    void insertsAndMovesDuplicates();
    void insertFirstOrLast();
    void sortsByCaption();
    void movesAndCaptions();
    void deletes();
    void clicksOnRows_data();
    void clicksOnRows();

private:
    QStringList captions() const
    {
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->item(i)->text();
        return shown;
    }
    QStringList paths() const
    {
        QStringList all;
        for (int i = 0; i < list->Antal(); ++i)
            all << list->GetFilnavn(i);
        return all;
    }
    QString file(const QString &name) { return program->writeFile(name, "x"); }

    std::unique_ptr<ProgramFixture> program;
    std::unique_ptr<QListWidget> box;
    TReopenFilerX *list = nullptr;
};

void TestItemList::init()
{
    program = std::make_unique<ProgramFixture>();
    program->start();
    box = std::make_unique<QListWidget>();
    list = new TReopenFilerX(box.get());
    list->Itemfile = QDir(program->optMappe()).filePath(QStringLiteral("Liste.txt"));
    list->ListeBoks = box.get();
    list->Itemtype = TItemtype::itFil;
}

void TestItemList::cleanup()
{
    box.reset();
    list = nullptr;
    program.reset();
}

void TestItemList::savesAndLoadsItemFiles()
{
    QVERIFY(list->GemReopenFiler());
    QCOMPARE(ProgramFixture::readFile(list->Itemfile), QByteArray());
    list->HentReopenFiler();
    QCOMPARE(list->Antal(), 0);

    const QString a = file(QStringLiteral("æble.txt"));
    const QString b = file(QStringLiteral("b.txt"));
    list->InsertItem(a, QStringLiteral("æble.txt"), 0);
    list->InsertItem(b, QStringLiteral("Mit brev"), 0);
    QVERIFY(list->GemReopenFiler());
    QCOMPARE(ProgramFixture::readFile(list->Itemfile),
             (QStringLiteral("æble.txt\r\n") + a + QStringLiteral("\r\nMit brev\r\n") + b + QStringLiteral("\r\n")).toUtf8());

    list->SetCaption(1, QStringLiteral("Ωμέγα"));
    QVERIFY(list->GemReopenFiler());

    TReopenFilerX other;
    other.Itemfile = list->Itemfile;
    other.Itemtype = TItemtype::itFil;
    other.HentReopenFiler();
    QCOMPARE(other.GetCaption(0), QStringLiteral("æble.txt"));
    QCOMPARE(other.GetCaption(1), QStringLiteral("Ωμέγα"));
    QCOMPARE(other.GetFilnavn(1), b);
    QVERIFY(other.GetCaption(2).isEmpty());
}

void TestItemList::loadingDropsVanishedDocuments()
{
    const QString kept = file(QStringLiteral("kept.txt"));
    const QString gone = program->workFolder() + QStringLiteral("/gone.txt");
    program->writeFile(list->Itemfile, ("gone.txt\r\n" + gone + "\r\nkept.txt\r\n" + kept + "\r\n").toUtf8());
    box->addItem(QStringLiteral("old row"));
    list->HentReopenFiler();
    QCOMPARE(paths(), QStringList{kept});
    QCOMPARE(captions(), QStringList{QStringLiteral("kept.txt")});
    // The file is written again at once, without the vanished document.
    QCOMPARE(ProgramFixture::readFile(list->Itemfile), ("kept.txt\r\n" + kept + "\r\n").toUtf8());

    // A missing item file gives an empty list and leaves the list box as it was.
    QFile::remove(list->Itemfile);
    list->HentReopenFiler();
    QCOMPARE(list->Antal(), 0);
    QCOMPARE(box->count(), 1);
}

void TestItemList::loadingKeepsPairsOfOtherKinds()
{
    // Folders are kept whether or not they exist; a caption without its path gets an empty one.
    list->Itemtype = TItemtype::itBibliotek;
    program->writeFile(list->Itemfile, "Borte\r\n/ingen/mappe\r\nHalv\r\n");
    list->HentReopenFiler();
    QCOMPARE(list->Antal(), 2);
    QCOMPARE(list->GetFilnavn(0), QStringLiteral("/ingen/mappe"));
    QCOMPARE(list->GetCaption(1), QStringLiteral("Halv"));
    QVERIFY(list->GetFilnavn(1).isEmpty());
}

void TestItemList::unreadableFileKeepsTheList()
{
    const QString a = file(QStringLiteral("a.txt"));
    list->InsertItem(a, QStringLiteral("a.txt"), 0);
    // Something stands where the item file should be, but it cannot be read as one.
    QVERIFY(QDir().mkpath(list->Itemfile));
    program->modal.press(QStringLiteral("OK"));
    list->HentReopenFiler();
    QCOMPARE(paths(), QStringList{a});
    QCOMPARE(shownText(program->modal.shown.value(0).text), QStringLiteral("Listen kunne ikke hentes:\n") + list->Itemfile);
}

void TestItemList::insertsAndMovesDuplicates_data()
{
    QTest::addColumn<int>("snummer");
    QTest::addColumn<QString>("answer"); // empty: no question is asked
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("added");

    QTest::newRow("no question") << 0 << QString() << QString() << true;
    QTest::newRow("closed documents, yes") << 1 << "Ja" << "Listen over lukkede dokumenter:" << true;
    QTest::newRow("open documents, no") << 2 << "Nej" << "Listen med åbne dokumenter:" << false;
    QTest::newRow("favourites, yes") << 3 << "Ja" << "Favoritlisten:" << true;
    QTest::newRow("any other, no") << 7 << "Nej" << "Favoritlisten:" << false;
}

void TestItemList::insertsAndMovesDuplicates()
{
    QFETCH(int, snummer);
    QFETCH(QString, answer);
    QFETCH(QString, prefix);
    QFETCH(bool, added);

    const QString a = file(QStringLiteral("Brev.txt"));
    const QString b = file(QStringLiteral("b.txt"));
    QVERIFY(list->InsertItem(a, QStringLiteral("Mit brev"), 0));
    QVERIFY(list->InsertItem(b, QStringLiteral("b.txt"), 0));
    if (!answer.isEmpty())
        program->modal.press(answer);

    // The same path in other A–Z letter case is the listed item.
    const QString otherCase = QString(a).replace(QStringLiteral("Brev.txt"), QStringLiteral("BREV.TXT"));
    QFile::copy(a, otherCase);
    QCOMPARE(list->InsertItem(otherCase, QStringLiteral("BREV.TXT"), snummer), added);

    QVERIFY(program->modal.unexpected.isEmpty());
    QCOMPARE(program->modal.shown.size(), answer.isEmpty() ? 0 : 1);
    if (!answer.isEmpty())
        QCOMPARE(shownText(program->modal.shown[0].text),
                 prefix + QStringLiteral("\nBREV findes allerede i listen.\nSkal den indføres alligevel?"));
    if (added) {
        // Moved to the end under the caption it had, with the new path.
        QCOMPARE(paths(), QStringList({b, otherCase}));
        QCOMPARE(captions(), QStringList({QStringLiteral("b.txt"), QStringLiteral("Mit brev")}));
    } else {
        QCOMPARE(paths(), QStringList({a, b}));
        QCOMPARE(captions(), QStringList({QStringLiteral("Mit brev"), QStringLiteral("b.txt")}));
    }
}

void TestItemList::insertFirstOrLast()
{
    const QString a = file(QStringLiteral("a.txt"));
    const QString b = file(QStringLiteral("b.txt"));
    const QString c = file(QStringLiteral("c.txt"));
    QVERIFY(!list->InsertItem(program->workFolder() + QStringLiteral("/ingen.txt"), QStringLiteral("ingen"), 0));
    list->InsertItem(a, QStringLiteral("a"), 0);
    list->InsertItem(b, QStringLiteral("b"), 0);
    optform->CheckInsertFirst->setChecked(true);
    list->InsertItem(c, QStringLiteral("c"), 0);
    list->InsertItem(a, QStringLiteral("ny a"), 0);
    QCOMPARE(captions(), QStringList({"a", "c", "b"}));
    QCOMPARE(paths(), QStringList({a, c, b}));

    // Hundreds of items: the list box keeps showing the list row for row.
    optform->CheckInsertFirst->setChecked(false);
    list->Itemtype = TItemtype::itAndet;
    for (int i = 0; i < 500; ++i)
        list->InsertItem(QStringLiteral("/sti/%1").arg(i % 250), QStringLiteral("r%1").arg(i), 0);
    QCOMPARE(list->Antal(), 253);
    QCOMPARE(box->count(), 253);
    for (int i = 0; i < list->Antal(); ++i)
        QCOMPARE(box->item(i)->text(), list->GetCaption(i));
}

void TestItemList::sortsByCaption()
{
    list->Itemtype = TItemtype::itAndet;
    list->InsertItem(QStringLiteral("/1"), QStringLiteral("b"), 0);
    QVERIFY(!list->sorterABC(0));

    // A list of one is not refilled.
    box->addItem(QStringLiteral("extra"));
    QVERIFY(!list->sorterABC(0));
    QCOMPARE(box->count(), 2);

    list->InsertItem(QStringLiteral("/2"), QStringLiteral("B"), 0);
    list->InsertItem(QStringLiteral("/3"), QStringLiteral("a"), 0);
    QVERIFY(list->sorterABC(0));
    QCOMPARE(captions(), QStringList({"a", "B", "b"}));
    QCOMPARE(paths(), QStringList({"/3", "/2", "/1"}));
    QVERIFY(!list->sorterABC(0));

    // Only A–Z are lower-cased: Æ, Ø and Å sort by their codes, after every letter a–z.
    for (const QString &caption : {QStringLiteral("Øl"), QStringLiteral("zebra"), QStringLiteral("Æble"), QStringLiteral("Zoo")})
        list->InsertItem(QStringLiteral("/") + caption, caption, 0);
    QVERIFY(list->sorterABC(0));
    QCOMPARE(captions(), QStringList({"a", "B", "b", "zebra", "Zoo", "Æble", "Øl"}));
}

void TestItemList::movesAndCaptions()
{
    list->Itemtype = TItemtype::itAndet;
    for (const QString &caption : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
        list->InsertItem(QStringLiteral("/") + caption, caption, 0);
    QVERIFY(!list->flytOp(0));
    QVERIFY(!list->flytNed(2));
    QVERIFY(list->flytNed(0));
    QVERIFY(list->flytOp(2));
    QCOMPARE(paths(), QStringList({"/b", "/c", "/a"}));
    // Moving leaves the list box to the caller.
    QCOMPARE(captions(), QStringList({"a", "b", "c"}));
    list->MakeListeMenu();
    QCOMPARE(captions(), QStringList({"b", "c", "a"}));

    list->SetCaption(1, QStringLiteral("nyt navn"));
    list->SetCaption(3, QStringLiteral("ingen"));
    QCOMPARE(captions(), QStringList({"b", "nyt navn", "a"}));
    QCOMPARE(list->GetFilnavn(1), QStringLiteral("/c"));
    QVERIFY(list->GetCaption(3).isEmpty());
    QVERIFY(list->GetFilnavn(-1).isEmpty());
}

void TestItemList::deletes()
{
    list->Itemtype = TItemtype::itAndet;
    for (const QString &caption : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")})
        list->InsertItem(QStringLiteral("/Sti/") + caption, caption, 0);
    list->DeleteItem(QStringLiteral("/STI/B"));
    QCOMPARE(captions(), QStringList({"a", "c", "d"}));
    list->DeleteItem(QStringLiteral("/sti/c"), false);
    QCOMPARE(list->Antal(), 2);
    QCOMPARE(box->count(), 3);
    list->DeleteItem(1);
    list->DeleteItem(-1);
    list->DeleteItem(5);
    QCOMPARE(captions(), QStringList({"a"}));

    program->modal.press(QStringLiteral("Nej"));
    list->SletAlleItems();
    QCOMPARE(list->Antal(), 1);
    program->modal.press(QStringLiteral("Ja"));
    list->SletAlleItems();
    QCOMPARE(list->Antal(), 0);
    QCOMPARE(box->count(), 0);
    QCOMPARE(shownText(program->modal.shown.value(1).text), QStringLiteral("Skal alle indførte elementer i listen fjernes?"));
    // An empty list asks nothing.
    list->SletAlleItems();
    QCOMPARE(program->modal.shown.size(), 2);
    QVERIFY(program->modal.unexpected.isEmpty());
}

void TestItemList::clicksOnRows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("message");

    const QString fileGone = QStringLiteral("Filen blev ikke fundet.\nSlet eventuelt elementet fra listen eller opdater listen hvis muligt");
    const QString folderGone = QStringLiteral("Mappen blev ikke fundet.\nSlet eventuelt elementet fra listen eller opdater listen hvis muligt");
    QTest::newRow("file, click") << int(TItemtype::itFil) << true << false << QString();
    QTest::newRow("file gone, click") << int(TItemtype::itFil) << false << false << fileGone + '.';
    QTest::newRow("file gone, double click") << int(TItemtype::itFil) << false << true << fileGone;
    QTest::newRow("folder, double click") << int(TItemtype::itBibliotek) << true << true << QString();
    QTest::newRow("folder gone, click") << int(TItemtype::itBibliotek) << false << false << folderGone + '.';
    QTest::newRow("anything, gone") << int(TItemtype::itAndet) << false << true << QString();
}

void TestItemList::clicksOnRows()
{
    QFETCH(int, kind);
    QFETCH(bool, exists);
    QFETCH(bool, doubleClick);
    QFETCH(QString, message);

    list->Itemtype = TItemtype::itAndet;
    const bool folder = TItemtype(kind) == TItemtype::itBibliotek;
    const QString path = folder ? program->workFolder() + QStringLiteral("/mappe") : file(QStringLiteral("række.txt"));
    if (folder)
        QDir().mkpath(path);
    list->InsertItem(QStringLiteral("/første"), QStringLiteral("første"), 0);
    list->InsertItem(path, QStringLiteral("række"), 0);
    list->Itemtype = TItemtype(kind);
    if (!exists)
        folder ? QDir(path).removeRecursively() : QFile::remove(path);
    QStringList raised;
    list->OnListeKlik = [&](const QString &caption, const QString &name) { raised << "klik " + caption + " " + name; };
    list->OnDblListeKlik = [&](const QString &caption, const QString &name) { raised << "dobbelt " + caption + " " + name; };

    // Boxes that nobody answers are closed and recorded; what counts is what the user was shown.
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const QPoint row = box->visualItemRect(box->item(1)).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, row);
    if (doubleClick)
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, row);

    if (message.isEmpty()) {
        QVERIFY(!raised.isEmpty());
        QCOMPARE(raised.last(), (doubleClick ? "dobbelt række " : "klik række ") + path);
        QVERIFY(program->modal.shown.isEmpty());
    } else {
        QVERIFY(raised.isEmpty());
        QVERIFY(!program->modal.shown.isEmpty());
        QCOMPARE(shownText(program->modal.shown.last().text), message);
    }
}

QTEST_MAIN(TestItemList)
#include "tst_itemlist.moc"
