#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "opening/Funktioner.h"
#include "platform/RichEdit.h"
#include "widgets/Globals.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The open dispatch: what happens to a file name, as the user and the desktop see it.
class TestFunktioner : public QObject {
    Q_OBJECT
private slots:
    void shellGroupsAndIgnoredTypes_data();
    void shellGroupsAndIgnoredTypes();
    void unknownTypeAsksUnlessListed_data();
    void unknownTypeAsksUnlessListed();
    void newCountCountsEveryRequest();
    void alreadyOpenFileComesToFront();
    void missingFileDoesNothing();
    void extKontrolWalksTriples_data();
    void extKontrolWalksTriples();
    void extKontrolReportsMissingFile();
    void runFilname_data();
    void runFilname();
    void errorInfo_data();
    void errorInfo();
    void fileSizeString_data();
    void fileSizeString();
    void comparisonIgnoresOnlyAtoZ();
};

void TestFunktioner::shellGroupsAndIgnoredTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("toShell");
    QTest::newRow("pdf") << "manual.pdf" << true;
    QTest::newRow("exe in capitals") << "setup.EXE" << true;
    QTest::newRow("picture") << "photo.jpeg" << true;
    QTest::newRow("dll") << "library.dll" << false;
    QTest::newRow("url") << "link.url" << false;
}

void TestFunktioner::shellGroupsAndIgnoredTypes()
{
    QFETCH(QString, name);
    QFETCH(bool, toShell);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(name, "x");
    mainform->funk->openwin(path, QString());
    QVERIFY(mainform->documentWindows().isEmpty());
    QVERIFY(program.modal.shown.isEmpty());
    if (toShell) {
        QCOMPARE(program.shell.calls.size(), 1);
        QCOMPARE(program.shell.calls[0].operation, QStringLiteral("open"));
        QCOMPARE(program.shell.calls[0].file, name);
        QCOMPARE(program.shell.calls[0].folder, QDir::toNativeSeparators(program.workFolder()) + QDir::separator());
    } else {
        QVERIFY(program.shell.calls.isEmpty());
    }
}

void TestFunktioner::unknownTypeAsksUnlessListed_data()
{
    QTest::addColumn<QStringList>("typeList");
    QTest::addColumn<QString>("answer"); // empty: no question expected
    QTest::addColumn<bool>("opens");
    const QStringList unticked{QStringLiteral("Logfiler"), QStringLiteral("*.log"), QStringLiteral("0")};
    QTest::newRow("empty list opens without asking") << QStringList() << QString() << true;
    QTest::newRow("ticked opens without asking")
        << QStringList{QStringLiteral("Logfiler"), QStringLiteral("*.LOG"), QStringLiteral("1")} << QString() << true;
    QTest::newRow("unticked, Ja opens") << unticked << QStringLiteral("Ja") << true;
    QTest::newRow("unticked, Nej opens nothing") << unticked << QStringLiteral("Nej") << false;
    QTest::newRow("built-in type asks too") << unticked << QStringLiteral("Ja") << true;
}

void TestFunktioner::unknownTypeAsksUnlessListed()
{
    QFETCH(QStringList, typeList);
    QFETCH(QString, answer);
    QFETCH(bool, opens);
    ProgramFixture program;
    program.start();
    mainform->extListe = typeList;
    const bool builtIn = QByteArray(QTest::currentDataTag()).startsWith("built-in");
    const QString ext = builtIn ? QStringLiteral(".html") : QStringLiteral(".log");
    const QString path = program.writeFile(QStringLiteral("side") + ext, "text");
    if (!answer.isEmpty())
        program.modal.press(answer);
    mainform->funk->openwin(path, QString());
    QCOMPARE(program.modal.pending(), 0);
    QVERIFY(program.modal.unexpected.isEmpty());
    if (!answer.isEmpty())
        QCOMPARE(program.modal.shown[0].text,
                 shownText(QStringLiteral("Filtype: ") + ext + QStringLiteral("\r\rFiltypen er ikke indført eller afkrydset i listen over "
                                          "tekstfiler, der kan åbnes til redigering. \r\rFiltypen kan indføres i "
                                          "Filtypeboksen, så der ikke spørges en anden gang.\r\rSkal den åbnes til "
                                          "redigering?")));
    QCOMPARE(mainform->documentWindows().size(), opens ? 1 : 0);
    QVERIFY(program.shell.calls.isEmpty());
}

void TestFunktioner::newCountCountsEveryRequest()
{
    ProgramFixture program;
    program.start();
    mainform->funk->openwin(program.writeFile(QStringLiteral("a.dll"), "x"), QString());
    mainform->funk->openwin(QStringLiteral("/no/such/file.txt"), QString());
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QCOMPARE(mainform->documentWindows().size(), 1);
    QCOMPARE(mainform->documentWindows()[0]->windowTitle(), QStringLiteral("3. Dokument"));
}

void TestFunktioner::alreadyOpenFileComesToFront()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("Noter.txt"), "noter");
    QVERIFY(QDir(program.workFolder()).mkdir(QStringLiteral("under")));
    mainform->funk->openwin(path, QString());
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QCOMPARE(mainform->activeDocument()->windowTitle(), QStringLiteral("2. Dokument"));

    // Another spelling of the same file brings its window forward.
    const QString link = QDir(program.workFolder()).filePath(QStringLiteral("henvisning.txt"));
    QVERIFY(QFile::link(path, link));
    for (const QString &same : {QDir(program.workFolder()).filePath(QStringLiteral("under/../Noter.txt")), link}) {
        mainform->funk->openwin(same, QString());
        QCOMPARE(mainform->documentWindows().size(), 2);
        QCOMPARE(mainform->activeDocument()->windowTitle(), QStringLiteral("Noter.txt"));
        mainform->activateDocument(mainform->documentWindows().constLast());
    }

    // A name differing only in letter case is another file where the file system tells them apart.
    const QString otherCase = program.writeFile(QStringLiteral("NOTER.txt"), "andre noter");
    mainform->funk->openwin(otherCase, QString());
#ifdef Q_OS_WIN
    QCOMPARE(mainform->documentWindows().size(), 2);
    QCOMPARE(mainform->activeDocument()->Filnavn, path);
#else
    QCOMPARE(mainform->documentWindows().size(), 3);
    QCOMPARE(mainform->activeDocument()->Filnavn, otherCase);
    QCOMPARE(mainform->activeDocument()->editor()->text(), QStringLiteral("andre noter"));
#endif
}

void TestFunktioner::missingFileDoesNothing()
{
    ProgramFixture program;
    program.start();
    mainform->funk->openwin(QDir(program.workFolder()).filePath(QStringLiteral("gone.xyz")), QString());
    QVERIFY(mainform->documentWindows().isEmpty());
    QVERIFY(program.modal.shown.isEmpty());
    QVERIFY(program.shell.calls.isEmpty());
}

void TestFunktioner::extKontrolWalksTriples_data()
{
    QTest::addColumn<QStringList>("typeList");
    QTest::addColumn<bool>("editable");
    const QString name = QStringLiteral("Navn");
    const QString pattern = QStringLiteral("*.Log");
    QTest::newRow("unticked then ticked counts") << QStringList{name, pattern, "0", name, "*.log", "1"} << true;
    QTest::newRow("other type ticked") << QStringList{name, "*.txt", "1"} << false;
    QTest::newRow("mark must be exactly 1") << QStringList{name, pattern, " 1"} << false;
    QTest::newRow("incomplete last triple that matched") << QStringList{name, "*.txt", "1", name, pattern} << true;
    QTest::newRow("pattern in the mark position does not count") << QStringList{name, "0", pattern} << false;
}

void TestFunktioner::extKontrolWalksTriples()
{
    QFETCH(QStringList, typeList);
    QFETCH(bool, editable);
    ProgramFixture program;
    program.start();
    mainform->extListe = typeList;
    QCOMPARE(mainform->funk->extKontrol(program.writeFile(QStringLiteral("x.log"), "")), editable);
}

void TestFunktioner::extKontrolReportsMissingFile()
{
    ProgramFixture program;
    program.start();
    program.modal.press(QStringLiteral("OK"));
    QVERIFY(!mainform->funk->extKontrol(QStringLiteral("/ingen/fil.log")));
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].text, shownText(QStringLiteral("Filen:\r/ingen/fil.log\rblev ikke fundet.")));
}

void TestFunktioner::runFilname_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("runNumber");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("parameters");
    QTest::newRow("batch run") << "job.BAT" << 0 << "open" << "cmd" << "/K job.BAT";
    QTest::newRow("batch edit") << "job.bat" << 1 << "edit" << "job.bat" << "";
    QTest::newRow("other run") << "tool.sh" << 0 << "open" << "tool.sh" << "";
    QTest::newRow("other edit") << "tool.sh" << 7 << "edit" << "tool.sh" << "";
}

void TestFunktioner::runFilname()
{
    QFETCH(QString, name);
    QFETCH(int, runNumber);
    QFETCH(QString, operation);
    QFETCH(QString, file);
    QFETCH(QString, parameters);
    ProgramFixture program;
    program.start();
    mainform->funk->runFilname(program.writeFile(name, "echo"), runNumber);
    QCOMPARE(program.shell.calls.size(), 1);
    QCOMPARE(program.shell.calls[0].operation, operation);
    QCOMPARE(program.shell.calls[0].file, file);
    QCOMPARE(program.shell.calls[0].parameters, parameters);
    QCOMPARE(program.shell.calls[0].folder, QDir::toNativeSeparators(program.workFolder()) + QDir::separator());
    QVERIFY(program.modal.shown.isEmpty());

    // A failing shell is reported; a missing file is not even handed over.
    program.shell.result = 31;
    program.modal.press(QStringLiteral("OK"));
    mainform->funk->runFilname(program.writeFile(name, "echo"), runNumber);
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.shown[0].text.startsWith(QStringLiteral("Fejlinformation:\nDer er ikke associeret")));
    mainform->funk->runFilname(QStringLiteral("/ingen/fil.sh"), runNumber);
    QCOMPARE(program.shell.calls.size(), 2);
}

void TestFunktioner::errorInfo_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("0") << 0 << "Operationssystemet er løbet tør for hukommelse eller resourcer.";
    QTest::newRow("2") << 2 << "Den specificerede fil blev ikke fundet.";
    QTest::newRow("3") << 3 << "Stien blev ikke fundet.";
    QTest::newRow("5") << 5 << "Operationssystemet forbød adgang til filen.";
    QTest::newRow("26") << 26 << "Der opstod en \"sharing violation\".";
    QTest::newRow("27") << 27 << "Filnavnsassociatonen er ukomplet eller invalid";
    QTest::newRow("30") << 30
                        << "Den \"Dynamic Data Exchange (DDE) transaction\" kunne ikke fuldføres\rfordi andre \"DDE "
                           "transactions\" skulle udføres.";
    QTest::newRow("32") << 32 << "Det specificerede \"dynamic-link library (DLL)\" blev ikke fundet.";
    QTest::newRow("4 is unknown") << 4 << "Meningsløs operation eller ukendt fejl.";
    QTest::newRow("negative") << -1 << "Meningsløs operation eller ukendt fejl.";
}

void TestFunktioner::errorInfo()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    ProgramFixture program;
    program.start();
    program.modal.press(QStringLiteral("OK"));
    TFunktioner::ErrorInfo(code);
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].title, QStringLiteral("Information"));
    QCOMPARE(program.modal.shown[0].text, shownText(QStringLiteral("Fejlinformation:\r") + message));
}

void TestFunktioner::fileSizeString_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << "0 bytes";
    QTest::newRow("999") << qint64(999) << "999 bytes";
    QTest::newRow("1000 is already kilobytes") << qint64(1000) << "0,98 KB";
    QTest::newRow("1536") << qint64(1536) << "1,50 KB";
    QTest::newRow("1048576") << qint64(1048576) << "1,00 MB";
    QTest::newRow("12 digits") << qint64(999999999999) << "931,32 GB";
    QTest::newRow("13 digits") << qint64(2199023255552) << "2,00 TB";
    QTest::newRow("thousands separator") << qint64(10000000000000000) << "9.094,95 TB";
}

void TestFunktioner::fileSizeString()
{
    QFETCH(qint64, size);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    QCOMPARE(TFunktioner::getFileSizeString(size), text);
}

void TestFunktioner::comparisonIgnoresOnlyAtoZ()
{
    QVERIFY(sameTextAZ(QStringLiteral("C:\\Mine Noter.TXT"), QStringLiteral("c:\\mine noter.txt")));
    QVERIFY(!sameTextAZ(QStringLiteral("Æble.txt"), QStringLiteral("æble.txt")));
    QVERIFY(!sameTextAZ(QStringLiteral("a.txt"), QStringLiteral("a.txt ")));
    QVERIFY(TFunktioner::getFileSizeString(QStringLiteral("/ingen/fil")).isEmpty());
}

QTEST_MAIN(TestFunktioner)
#include "tst_funktioner.moc"
