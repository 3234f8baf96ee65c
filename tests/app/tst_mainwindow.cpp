#include "ProgramFixture.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "documents/DatoCompo.h"
#include "documents/DocumentForm.h"
#include "lists/DirBox.h"
#include "lists/favoritUnit.h"
#include "lists/filUnit.h"
#include "lists/mappefilUnit.h"
#include "opening/Funktioner.h"
#include "options/genvejUnit.h"
#include "options/optUnit.h"
#include "platform/DataFolders.h"
#include "platform/RichEdit.h"
#include "platform/SystemMemory.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

// Start-up and close of the main window: folders, "Main.txt", the command line, the documents
// to reopen and the boxes shown at start.
using OptionLines = QMap<int, QString>;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void firstStartMakesOnlyTheUsersFolders();
    void boxesAreCreatedHiddenInOrder();
    void mainTxtReading_data();
    void mainTxtReading();
    void mainTxtWrittenAtClose();
    void maximisedWindowComesBackMaximised();
    void commandLineNames();
    void relativeCommandLineNamesAndTheWorkingFolder();
    void openDialogOpensEachChosenFile();
    void droppedFilesOpen();
    void documentsToReopen_data();
    void documentsToReopen();
    void reopenedAtNextStart();
    void cancelledSaveKeepsProgramOpen();
    void modifiedDocumentsAtProgramClose();
    void programSizeCommand();
    void startupBoxes();
    void boxesShownAtTheFirstStartDoNotHideEachOther();
    void startupBoxesWaitForTrayRestore();
    void startupWithoutANotificationArea();
    void optionsFileRules_data();
    void optionsFileRules();
    void dataRootThatCannotBeMade();
    void settingsFilesThatAreNoLists_data();
    void settingsFilesThatAreNoLists();
    void settingsLinkedElsewhereAreLeftAlone();
    void tooBigDocumentIsRefused();
    void idleProgramStaysAsleep();

private:
    static void writeOptions(ProgramFixture &program, const QMap<int, QString> &lines);
};

// "optUnit.txt" with every value at its default, but for the lines given (1-based).
void TestMainWindow::writeOptions(ProgramFixture &program, const QMap<int, QString> &changes)
{
    QStringList lines{"Sky", "0", "0", "0", "0", "0", "0", "0", "0", "3",
                      "2",   "0", "1", "1", "0", "120", "0", "1", "0", "0"};
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        lines[it.key() - 1] = it.value();
    QFile file(QDir(program.optMappe()).filePath(QStringLiteral("optUnit.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

void TestMainWindow::firstStartMakesOnlyTheUsersFolders()
{
    ProgramFixture program;
    QVERIFY(QDir(program.optMappe()).removeRecursively());
    program.start();
    QVERIFY(QFileInfo(program.optMappe()).isDir());
    QCOMPARE(mainform->OptMappe, QDir::toNativeSeparators(program.optMappe()));
    QVERIFY(!QFileInfo::exists(program.dataRoot() + QStringLiteral("Program")));
    QCOMPARE(mainform->windowTitle(), QStringLiteral("Velkommen ") + Platform::userName());
    QCOMPARE(mainform->programmappe, program.dataRoot() + QStringLiteral("Program") + QDir::separator());
    QCOMPARE(mainform->infoDir, mainform->programmappe + QStringLiteral("Information"));
    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("Der er ingen åbne dokumenter."));
    QCOMPARE(mainform->aarEdit->text().size(), 4);
}

void TestMainWindow::boxesAreCreatedHiddenInOrder()
{
    ProgramFixture program;
    program.start();
    QStringList order;
    for (QObject *child : mainform->children())
        if (child->inherits("TBox"))
            order << QString::fromLatin1(child->metaObject()->className());
    QCOMPARE(order, QStringList({"Tinfform", "Tspform", "Tmappefilform", "Tfavoritform", "Tprintform", "Tfilform",
                                 "Topenform", "Tfindformen", "TmemoForm", "Tboksform", "Tfilmappeform", "Ttypeform",
                                 "Toptform", "Tgenvejsform"}));
    for (QObject *child : mainform->children())
        if (child->inherits("TBox"))
            QVERIFY(!static_cast<QWidget *>(child)->isVisible());
}

void TestMainWindow::mainTxtReading_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("boxHeight");
    QTest::newRow("five lines") << QByteArray("700\r\n500\r\n30\r\n40\r\n321\r\n") << QSize(700, 500) << 321;
    QTest::newRow("four lines give the defaults") << QByteArray("700\r\n500\r\n30\r\n40\r\n") << QSize(800, 600) << 0;
    QTest::newRow("a trailing blank line is a sixth")
        << QByteArray("700\r\n500\r\n30\r\n40\r\n321\r\n\r\n") << QSize(800, 600) << 0;
    QTest::newRow("third not a number: size kept, the rest stays")
        << QByteArray("700\r\n500\r\nvenstre\r\n40\r\n321\r\n") << QSize(700, 500) << 0;
    QTest::newRow("binary bytes") << QByteArray("\x01\x02\x03\r\n\xff\r\n\r\n\r\n\x00", 14) << QSize(920, 580) << 0;
}

void TestMainWindow::mainTxtReading()
{
    QFETCH(QByteArray, content);
    QFETCH(QSize, size);
    QFETCH(int, boxHeight);
    ProgramFixture program;
    QFile file(QDir(program.optMappe()).filePath(QStringLiteral("Main.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QVERIFY(createProgram({}, QDir::currentPath()));
    // A window never comes up bigger than the screen.
    QCOMPARE(mainform->size(), size.boundedTo(QGuiApplication::primaryScreen()->availableSize()));
    QCOMPARE(mainform->filtypeBoksHeight, boxHeight);
    if (size == QSize(700, 500) && boxHeight)
        QCOMPARE(mainform->pos(), QPoint(30, 40));
    if (size == QSize(800, 600)) {
        // The default place, or the nearest one that shows the whole window on a small screen.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect place(mainform->pos(), mainform->size());
        QVERIFY2(screen.contains(place), qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                                                        .arg(place.x()).arg(place.y()).arg(place.width())
                                                        .arg(place.height()).arg(screen.width()).arg(screen.height())));
        if (screen.contains(QRect(QPoint(640, 240), mainform->size())))
            QCOMPARE(mainform->pos(), QPoint(640, 240));
    }
    destroyProgram();
}

void TestMainWindow::mainTxtWrittenAtClose()
{
    ProgramFixture program;
    program.start();
    mainform->resize(710, 520);
    mainform->filtypeBoksHeight = 250;
    QVERIFY(program.close());
    const QList<QByteArray> lines =
        ProgramFixture::readFile(QDir(program.optMappe()).filePath(QStringLiteral("Main.txt"))).split('\n');
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QByteArray("710\r"));
    QCOMPARE(lines[1], QByteArray("520\r"));
    QCOMPARE(lines[4], QByteArray("250\r"));
    QVERIFY(lines[5].isEmpty());
}

// A window closed maximised comes back maximised. "Main.txt" keeps its five lines with the size
// and place the window goes back to when made normal; a line file of its own says "maximised".
void TestMainWindow::maximisedWindowComesBackMaximised()
{
    ProgramFixture program;
    const QString mainTxt = QDir(program.optMappe()).filePath(QStringLiteral("Main.txt"));
    const QString maximisedTxt = QDir(program.optMappe()).filePath(QStringLiteral("MainMaksimeret.txt"));
    const QByteArray placed("700\r\n500\r\n30\r\n40\r\n321\r\n");
    QFile file(mainTxt);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(placed);
    file.close();

    for (int run = 1; run <= 2; ++run) {
        program.start();
        QCOMPARE(mainform->isMaximized(), run > 1);
        mainform->showMaximized();
        QTRY_VERIFY(mainform->isMaximized());
        QVERIFY(program.close());
        QCOMPARE(ProgramFixture::readFile(mainTxt), placed);
        QCOMPARE(ProgramFixture::readFile(maximisedTxt), QByteArray("1\r\n"));
    }

    program.start();
    QVERIFY(mainform->isMaximized());
    mainform->showNormal();
    QTRY_COMPARE(mainform->size(), QSize(700, 500));
    QCOMPARE(mainform->pos(), QPoint(30, 40));
    mainform->move(60, 70);
    QVERIFY(program.close());
    QCOMPARE(ProgramFixture::readFile(mainTxt), QByteArray("700\r\n500\r\n60\r\n70\r\n321\r\n"));
    QCOMPARE(ProgramFixture::readFile(maximisedTxt), QByteArray("0\r\n"));
    program.start();
    QVERIFY(!mainform->isMaximized());
    QCOMPARE(mainform->pos(), QPoint(60, 70));
}

void TestMainWindow::commandLineNames()
{
    ProgramFixture program;
    const QString spaced = program.writeFile(QStringLiteral("mine noter.txt"), "a");
    const QString plain = program.writeFile(QStringLiteral("plain.txt"), "b");
    QString quotedInside = plain;
    quotedInside.insert(quotedInside.size() - 4, QLatin1Char('"'));
    program.start({QLatin1Char('"') + spaced + QLatin1Char('"'), QStringLiteral("/ingen/sådan.txt"), program.workFolder(),
                   QString(), quotedInside});
    QStringList opened;
    for (TDocumentForm *window : mainform->documentWindows())
        opened << window->Filnavn;
    QCOMPARE(opened, QStringList({spaced, plain}));
    QVERIFY(program.modal.shown.isEmpty());
    QCOMPARE(mainform->newCount, 2);
}

void TestMainWindow::relativeCommandLineNamesAndTheWorkingFolder()
{
    // Started from the folder of the documents, as a user types "kyxtavlo noter.txt" there.
    ProgramFixture program;
    const QString note = program.writeFile(QStringLiteral("noter.txt"), "a");
    QDir(program.workFolder()).mkdir(QStringLiteral("under"));
    const QString deeper = program.writeFile(QStringLiteral("under/dybere.txt"), "b");
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(program.workFolder()));
    program.start({QStringLiteral("noter.txt"), QStringLiteral("\"./under/dybere.txt\"")});
    QStringList opened;
    for (TDocumentForm *window : mainform->documentWindows())
        opened << window->Filnavn;
    QCOMPARE(opened, QStringList({note, deeper}));

    // Browsing folders, running a batch file and bringing documents forward leave the program's
    // working folder where the user started it.
    mappefilform->show();
    QVERIFY(mappefilform->dirBox->setDirectory(program.dataRoot()));
    const QString batch = program.writeFile(QStringLiteral("under/job.bat"), "echo");
    mainform->funk->runFilname(batch, 0);
    mainform->activateDocument(mainform->documentWindows().constFirst());
    QCOMPARE(QDir::currentPath(), QDir(program.workFolder()).canonicalPath());
    QCOMPARE(program.shell.calls.size(), 1);
    QCOMPARE(program.shell.calls[0].folder, QFileInfo(batch).absolutePath() + QLatin1Char('/'));
    QVERIFY(QDir::setCurrent(before));
}

void TestMainWindow::openDialogOpensEachChosenFile()
{
    ProgramFixture program;
    program.start();
    const QStringList chosen{program.writeFile(QStringLiteral("a.txt"), "a"), program.writeFile(QStringLiteral("b.css"), "b"),
                             program.writeFile(QStringLiteral("c.pdf"), "c")};
    program.dialogs.openAnswers.enqueue(chosen);
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+O")));
    QStringList opened;
    for (TDocumentForm *window : mainform->documentWindows())
        opened << window->Filnavn;
    QCOMPARE(opened, chosen.mid(0, 2));
    QCOMPARE(program.shell.calls.size(), 1);
    QCOMPARE(program.shell.calls[0].file, QStringLiteral("c.pdf"));

    // A cancelled dialog opens nothing.
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(mainform->documentWindows().size(), 2);
}

void TestMainWindow::droppedFilesOpen()
{
    ProgramFixture program;
    program.start();
    QVERIFY(mainform->acceptDrops());
    const QString longName = program.writeFile(QString(240, QLatin1Char('l')) + QStringLiteral(".txt"), "lang");
    const QString shortName = program.writeFile(QStringLiteral("kort.txt"), "kort");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(longName), QUrl::fromLocalFile(shortName)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mainform, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mainform, &drop);
    QStringList opened;
    for (TDocumentForm *window : mainform->documentWindows())
        opened << window->Filnavn;
    QCOMPARE(opened, QStringList({longName, shortName}));
}

void TestMainWindow::documentsToReopen_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("unsaved");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("lines");
    QTest::newRow("no document open deletes it") << true << 0 << 0 << false << 0;
    QTest::newRow("only new documents leave it empty") << true << 0 << 2 << true << 0;
    QTest::newRow("saved documents are listed") << true << 2 << 1 << true << 2;
    QTest::newRow("option off deletes it") << false << 1 << 0 << false << 0;
}

void TestMainWindow::documentsToReopen()
{
    QFETCH(bool, option);
    QFETCH(int, saved);
    QFETCH(int, unsaved);
    QFETCH(bool, fileExists);
    QFETCH(int, lines);
    ProgramFixture program;
    const QString dokumentfil = QDir(program.optMappe()).filePath(QStringLiteral("Dokumentfil.txt"));
    program.writeFile(QStringLiteral("old"), "");
    QFile::copy(program.workFolder() + QStringLiteral("/old"), dokumentfil);
    writeOptions(program, {{2, option ? "1" : "0"}, {5, option ? "1" : "0"}});
    program.start();
    QStringList names;
    for (int i = 0; i < saved; ++i) {
        names << program.writeFile(QStringLiteral("doc%1.txt").arg(i), "x");
        mainform->funk->openwin(names.last(), QString());
    }
    for (int i = 0; i < unsaved; ++i)
        mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QVERIFY(program.close());
    QCOMPARE(QFileInfo::exists(dokumentfil), fileExists);
    if (fileExists) {
        const QByteArray content = ProgramFixture::readFile(dokumentfil);
        QCOMPARE(content, names.isEmpty() ? QByteArray() : (names.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        QCOMPARE(int(content.count('\n')), lines);
    }
}

void TestMainWindow::reopenedAtNextStart()
{
    ProgramFixture program;
    const QString first = program.writeFile(QStringLiteral("først.txt"), "1");
    const QString second = program.writeFile(QStringLiteral("λόγος.txt"), "2");
    QFile list(QDir(program.optMappe()).filePath(QStringLiteral("Dokumentfil.txt")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    // Blank lines are new documents; a longer run of them than the program writes is damage, and
    // it ends the list. A named pipe is no document.
    QStringList lines{first, QStringLiteral("/ingen/fil.txt")};
#ifndef Q_OS_WIN
    const QString pipe = QDir(program.workFolder()).filePath(QStringLiteral("rør.txt"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    lines << pipe;
#endif
    lines << QString() << QString() << second;
    for (int i = 0; i < 51; ++i)
        lines << QString();
    lines << program.writeFile(QStringLiteral("efter.txt"), "3");
    list.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    list.close();
    writeOptions(program, {{2, "1"}, {5, "1"}});
    program.start();
    QStringList opened;
    for (TDocumentForm *window : mainform->documentWindows())
        opened << window->Filnavn;
    QCOMPARE(opened, QStringList({first, QString(), QString(), second}));
    QCOMPARE(mainform->tc->count(), 4);
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestMainWindow::cancelledSaveKeepsProgramOpen()
{
    ProgramFixture program;
    program.start();
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QTest::keyClicks(mainform->activeDocument()->editor()->widget(), QStringLiteral("ikke tabt"));
    program.modal.press(QStringLiteral("Ja")); // save it? yes — and then the dialog is cancelled
    QVERIFY(!mainform->close());
    QVERIFY(mainform->isVisible());
    QCOMPARE(mainform->documentWindows().size(), 1);
    QVERIFY(!QFileInfo::exists(QDir(program.optMappe()).filePath(QStringLiteral("Main.txt"))));

    program.modal.press(QStringLiteral("Nej"));
    QVERIFY(program.close());
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestMainWindow::modifiedDocumentsAtProgramClose()
{
    ProgramFixture program;
    program.start();
    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    const QString b = program.writeFile(QStringLiteral("b.txt"), "b");
    const QString c = program.writeFile(QStringLiteral("c.txt"), "c");
    for (const QString &name : {a, b, c})
        mainform->funk->openwin(name, QString());
    const QList<TDocumentForm *> windows = mainform->documentWindows();
    QCOMPARE(windows.size(), 3);
    for (TDocumentForm *window : {windows[2], windows[0]}) {
        mainform->activateDocument(window);
        QTest::keyClicks(window->editor()->widget(), QStringLiteral("X"));
    }

    // Each question is asked with its document in front.
    QStringList inFront;
    const auto answer = [&inFront](const std::function<void(QDialog &)> &act) {
        return [&inFront, act](QDialog &box) {
            inFront << mainform->activeDocument()->windowTitle();
            act(box);
        };
    };
    program.modal.answer(answer([](QDialog &box) { pressButton(box, QStringLiteral("Ja")); }));
    program.modal.answer(answer([](QDialog &box) { QTest::keyClick(box.windowHandle(), Qt::Key_Escape); }));
    QVERIFY(!mainform->close());
    QCOMPARE(inFront, QStringList({QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
    QCOMPARE(program.modal.shown.size(), 2);
    QVERIFY(program.modal.shown[1].text.startsWith(QStringLiteral("Dokumentet: c.txt\n")));
    QCOMPARE(ProgramFixture::readFile(a), QByteArray("Xa"));
    QCOMPARE(ProgramFixture::readFile(c), QByteArray("c"));

    // The program goes on with the document whose close was taken back: its commands follow its
    // own state, and the date buttons write into it.
    QCOMPARE(mainform->documentWindows(), windows);
    QCOMPARE(mainform->activeDocument(), windows[2]);
    QVERIFY(windows[2]->editor()->isModified());
    TAction::updateAll();
    QVERIFY(mainform->fileGem->isEnabled());
    mainform->aDato->Execute();
    QVERIFY(windows[2]->editor()->text().contains(mainform->Datoer->getDato()));

    program.modal.press(QStringLiteral("Nej"));
    QVERIFY(program.close());
    QCOMPARE(ProgramFixture::readFile(c), QByteArray("c"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestMainWindow::programSizeCommand()
{
    ProgramFixture program;
    program.start();
    QCOMPARE(mainform->standardWidth, 728);
    QCOMPARE(mainform->standardHeight, 700);
    mainform->resize(728, 700);
    TAction::updateAll();
    QVERIFY(!mainform->aProgramSize->isEnabled());
    mainform->resize(728, 701);
    TAction::updateAll();
    QVERIFY(mainform->aProgramSize->isEnabled());
    mainform->aProgramSize->trigger();
    QCOMPARE(mainform->size(), QSize(728, 700));

    // With margins the standard grows, and open documents get the wide margins.
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    optform->marginCheck->setChecked(true);
    mainform->setStandardSize();
    QCOMPARE(mainform->standardWidth, 861);
    QCOMPARE(mainform->standardHeight, 800);
    QAbstractScrollArea *area = mainform->activeDocument()->editor()->widget();
    QCOMPARE(area->viewport()->x() - area->frameWidth(), 70);
}

void TestMainWindow::startupBoxes()
{
    ProgramFixture program;
    writeOptions(program, {{3, "1"}, {9, "1"}});
    program.start();
    QVERIFY(!mainform->opstart);
    QVERIFY(mappefilform->isVisible());
    QVERIFY(!favoritform->isVisible());
    QVERIFY(filform->isVisible());
}

void TestMainWindow::boxesShownAtTheFirstStartDoNotHideEachOther()
{
    ProgramFixture program;
    writeOptions(program, {{3, "1"}, {4, "1"}, {9, "1"}});
    program.start();
    const QList<QWidget *> boxes{mappefilform, favoritform, filform};
    for (QWidget *box : boxes)
        QVERIFY(box->isVisible());
    // Each box's title bar is clear of the boxes shown after it.
    for (qsizetype i = 0; i < boxes.size(); ++i)
        for (qsizetype later = i + 1; later < boxes.size(); ++later)
            QVERIFY2(boxes[later]->y() - boxes[i]->y() >= 24 && boxes[later]->x() - boxes[i]->x() >= 24,
                     qPrintable(boxes[i]->windowTitle() + QStringLiteral(" / ") + boxes[later]->windowTitle()));
}

void TestMainWindow::startupBoxesWaitForTrayRestore()
{
    ProgramFixture program;
    writeOptions(program, {{3, "1"}, {19, "1"}});
    program.start();
    QVERIFY(mainform->TrayIcon->isVisible());
    QVERIFY(mainform->opstart);
    QVERIFY(!mappefilform->isVisible());
    mainform->TrayIconRestoreApp();
    QVERIFY(mappefilform->isVisible());
    mappefilform->hide();
    mainform->TrayIconRestoreApp();
    QVERIFY(!mappefilform->isVisible());
}

// "Minimer til system bakken" on a desktop without a notification area: there is no icon to
// click, so start-up ends as it does without the tick, and a minimised window stays on the task
// bar.
void TestMainWindow::startupWithoutANotificationArea()
{
    ProgramFixture program;
    program.notifications.notificationArea = false;
    writeOptions(program, {{3, "1"}, {19, "1"}});
    program.start();
    QVERIFY(!mainform->TrayIcon->isVisible());
    QVERIFY(!mainform->opstart);
    QVERIFY(mappefilform->isVisible());
    mainform->resize(700, 500);
    QCOMPARE(optform->widthLabel->text(), QStringLiteral("700"));
    QCOMPARE(optform->heightLabel->text(), QStringLiteral("500"));

    // Ticked again in the options box, the tick shows no icon either.
    optform->trayCheck->click();
    optform->trayCheck->click();
    QVERIFY(optform->trayCheck->isChecked());
    QVERIFY(!mainform->TrayIcon->isVisible());
    mainform->showMinimized();
    QVERIFY(mainform->isVisible());
}

void TestMainWindow::optionsFileRules_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<OptionLines>("changes");
    QTest::addColumn<bool>("dokumentCheck");
    QTest::addColumn<int>("maxElementer");
    QTest::addColumn<QString>("designName");
    QTest::newRow("line 5 decides the reopen option") << 20 << QMap<int, QString>{{2, "0"}, {5, "1"}} << true << 120
                                                      << "Sky";
    QTest::newRow("19 lines give the defaults") << 19 << QMap<int, QString>{{5, "1"}} << false << 120
                                                << "Windows10 Clear Day";
    QTest::newRow("21 lines give the defaults") << 21 << QMap<int, QString>{{5, "1"}} << false << 120
                                                << "Windows10 Clear Day";
    QTest::newRow("early failure leaves the maximum at 0") << 20 << QMap<int, QString>{{5, "1"}, {8, "x"}} << true << 0
                                                           << "Sky";
}

void TestMainWindow::optionsFileRules()
{
    QFETCH(int, lineCount);
    QFETCH(OptionLines, changes);
    QFETCH(bool, dokumentCheck);
    QFETCH(int, maxElementer);
    QFETCH(QString, designName);
    ProgramFixture program;
    writeOptions(program, changes);
    const QString path = QDir(program.optMappe()).filePath(QStringLiteral("optUnit.txt"));
    QByteArray content = ProgramFixture::readFile(path);
    if (lineCount == 19)
        content.chop(content.size() - content.lastIndexOf("\r\n", content.size() - 3) - 2);
    if (lineCount == 21)
        content += "0\r\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    program.start();
    QCOMPARE(optform->dokumentCheck->isChecked(), dokumentCheck);
    QCOMPARE(optform->maxElementer, maxElementer);
    QCOMPARE(optform->designName, designName);
    QCOMPARE(optform->fontnameBox->currentText(), QStringLiteral("Courier New"));
    QVERIFY(program.modal.shown.isEmpty());

    // Written back, line 5 always equals line 2.
    optform->dokumentCheck->setChecked(true);
    QVERIFY(program.close());
    const QList<QByteArray> lines = ProgramFixture::readFile(path).split('\n');
    QCOMPARE(lines.size(), 21);
    QCOMPARE(lines[1], QByteArray("1\r"));
    QCOMPARE(lines[4], QByteArray("1\r"));
}

void TestMainWindow::dataRootThatCannotBeMade()
{
    QTemporaryDir folder;
    QFile blocker(folder.filePath(QStringLiteral("fil")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("KYXTAVLO_DATA_ROOT", blocker.fileName().toUtf8() + "/rod");
    ModalScript modal;
    modal.press(QStringLiteral("OK"));
    QVERIFY(!createProgram({}, QDir::currentPath()));
    qunsetenv("KYXTAVLO_DATA_ROOT");
    QCOMPARE(modal.shown.size(), 1);
    QVERIFY(modal.shown[0].text.startsWith(QStringLiteral("Programmets datamappe kunne ikke oprettes:")));
    QCOMPARE(mainform, nullptr);
    QVERIFY(!QFileInfo::exists(blocker.fileName() + QStringLiteral("/rod")));
}

// Settings files that cannot be read as lists (a folder, a named pipe, a file far too big) start
// the program with the defaults, without a word and without waiting for the pipe.
void TestMainWindow::settingsFilesThatAreNoLists_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size"); // of the main window: the defaults, or the design's size
    const QSize defaults(800, 600);
    QTest::newRow("optUnit.txt a folder") << "optUnit.txt" << "folder" << defaults;
    QTest::newRow("optUnit.txt a named pipe") << "optUnit.txt" << "pipe" << defaults;
    QTest::newRow("Main.txt a named pipe") << "Main.txt" << "pipe" << defaults;
    QTest::newRow("Main.txt of three gigabytes") << "Main.txt" << "huge" << defaults;
    QTest::newRow("Main.txt with NUL bytes in its numbers") << "Main.txt" << "NUL" << QSize(920, 580);
}

void TestMainWindow::settingsFilesThatAreNoLists()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    ProgramFixture program;
    const QString path = QDir(program.optMappe()).filePath(file);
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("pipe")) {
#ifdef Q_OS_WIN
        QSKIP("Named pipes are no files on Windows");
#else
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    } else {
        QFile settings(path);
        QVERIFY(settings.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("huge")) {
            settings.write("700\r\n500\r\n30\r\n40\r\n321\r\n");
            QVERIFY(settings.resize(3LL << 30)); // sparse: it takes no room on the disk
        } else {
            settings.write(QByteArray("7\0" "00\r\n5\0" "00\r\n30\r\n40\r\n321\r\n", 24));
        }
    }
    // A box at close tells that a folder could not be replaced by the file.
    if (kind == QLatin1String("folder"))
        program.modal.press(QStringLiteral("OK"));

    program.start();
    QVERIFY(program.modal.shown.isEmpty());
    QCOMPARE(optform->designName, QStringLiteral("Windows10 Clear Day"));
    if (file == QLatin1String("Main.txt")) {
        QCOMPARE(mainform->size(), size.boundedTo(QGuiApplication::primaryScreen()->availableSize()));
        QCOMPARE(mainform->filtypeBoksHeight, 0);
    }
    QVERIFY(program.close());
    QVERIFY(program.modal.unexpected.isEmpty());
    if (kind != QLatin1String("folder"))
        QVERIFY(QFileInfo(path).isFile() && QFileInfo(path).size() < 1000);
}

// A settings name linked to a file that is not the user's own, or lies outside the home folder
// and the data root (a system file, for a program run through sudo), is never written through.
void TestMainWindow::settingsLinkedElsewhereAreLeftAlone()
{
#ifdef Q_OS_WIN
    QSKIP("Creating symbolic links needs rights that Windows test users seldom have");
#else
    QTemporaryDir home, system;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    const QString target = system.filePath(QStringLiteral("passwd"));
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("root:x:0:0\n");
    file.close();
    ProgramFixture program;
    const QString link = QDir(program.optMappe()).filePath(QStringLiteral("Main.txt"));
    QVERIFY(QFile::link(target, link));
    program.modal.press(QStringLiteral("OK"));

    program.start();
    const bool closed = program.close();
    qputenv("HOME", oldHome);
    QVERIFY(closed);
    QCOMPARE(ProgramFixture::readFile(target), QByteArray("root:x:0:0\n"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.shown[0].text.startsWith(QStringLiteral("Filen kunne ikke gemmes:\n") + QDir::toNativeSeparators(link)));
    QVERIFY(program.modal.shown[0].text.contains(QStringLiteral("symbolsk link")));
#endif
}

// A document bigger than the memory it would take is not opened, and the user is told its size.
void TestMainWindow::tooBigDocumentIsRefused()
{
    const std::optional<qint64> available = Platform::availableMemory();
    if (!available)
        QSKIP("The system does not tell its available memory");
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("stor.txt"), "tekst\r\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(*available / 4 + (64 << 20))); // sparse: it takes no room on the disk
    file.close();
    program.modal.press(QStringLiteral("OK"));

    mainform->funk->openwin(path, QString());
    QVERIFY(mainform->documentWindows().isEmpty());
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].text, QStringLiteral("Dokumentet er for stort til at blive åbnet: ") + path
                                              + QStringLiteral(" (") + TFunktioner::getFileSizeString(path)
                                              + QLatin1Char(')'));
    QVERIFY(program.modal.unexpected.isEmpty());
}

// An idle program waits without waking: the update rules run when something happened, and
// running them changes nothing that would wake the event loop again.
void TestMainWindow::idleProgramStaysAsleep()
{
    ProgramFixture program;
    const QString text = program.writeFile(QStringLiteral("tekst.txt"), "en linje\r\n");
    const QString rich = program.writeFile(QStringLiteral("rig.rtf"), "{\\rtf1\\ansi en {\\b fed} linje\\par}");
    program.start({text, rich});
    QCOMPARE(mainform->documentWindows().size(), 2);
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+3")));
    for (const char *boxKey : {"F3", "F4", "F5", "F6", "F7", "F9"})
        QTest::keySequence(mainform, QKeySequence(QString::fromLatin1(boxKey)));
    QVERIFY(genvejsform->isVisible());

    int runs = 0;
    TAction counter(mainform, QStringLiteral("counter"), QString(), QString());
    counter.setUpdateRule([&runs] {
        ++runs;
        return true;
    });
    // Whatever the windows had still to do after being shown is done first.
    QTest::qWait(500);
    runs = 0;
    QEventLoop idle;
    QTimer::singleShot(2000, &idle, &QEventLoop::quit);
    idle.exec();
    // A blinking caret wakes the program a few times a second; a loop that feeds itself wakes it
    // hundreds of times.
    QVERIFY2(runs < 30, qPrintable(QStringLiteral("the update rules ran %1 times in 2 s").arg(runs)));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
