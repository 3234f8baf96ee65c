#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "documents/Win1.h"
#include "opening/Funktioner.h"
#include "options/boks.h"
#include "options/optUnit.h"
#include "platform/Designs.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"
#include "widgets/RadioGroup.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

// The options box, operated on the "Egenskaber" page as a user would, and what its choices do
// to the rest of the program and to its files.
class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void egenskaberPageHoldsThePanels();
    void choicesComeBackAtNextStart();
    void minimisedStart();
    void badLinesInTheOptionsFile_data();
    void badLinesInTheOptionsFile();
    void hintChoices_data();
    void hintChoices();
    void designChoice();
    void unknownSavedDesign();
    void ticksActAtOnce();
    void maximumButtons();
    void standardFonts_data();
    void standardFonts();
    void emptyFontListGivesTheStandardList();
    void fontBoxCancelChangesNothing();
    void fontBoxSaveChangesTheList();
    void startupProgramToggles();
    void startupProgramWithoutAutostartFolder_data();
    void startupProgramWithoutAutostartFolder();
    void startupProgramWithoutScript();

private:
    static QString optFile(ProgramFixture &program, const QString &name)
    {
        return QDir(program.optMappe()).filePath(name);
    }
    static void writeOptions(ProgramFixture &program, int line, const QString &value)
    {
        QStringList lines{"Sky", "0", "0", "0", "0", "0", "0", "0", "0", "3",
                          "2",   "0", "1", "1", "0", "120", "0", "1", "0", "0"};
        lines[line - 1] = value;
        QFile file(optFile(program, QStringLiteral("optUnit.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    }
    // Installs the real start-up script as an installation would and lets the fake shell run it.
    static void installScript(ProgramFixture &program)
    {
        const QString source = QFINDTESTDATA("../../resources/program/scripts/createShortcut.sh");
        QVERIFY(!source.isEmpty());
        const QString scripts = program.dataRoot() + QStringLiteral("Program/scripts/");
        QVERIFY(QDir().mkpath(scripts));
        QVERIFY(QFile::copy(source, scripts + QStringLiteral("createShortcut.sh")));
        program.shell.action = [](const ShellCall &call) {
            QStringList arguments{call.folder + call.file};
            arguments += QProcess::splitCommand(call.parameters);
            return QProcess::execute(QStringLiteral("sh"), arguments) == 0 ? 42 : 2;
        };
    }
};

// A click on a check box's box, where a user clicks, whatever the width the layout gives it.
static void tick(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

void TestOptions::egenskaberPageHoldsThePanels()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+6")));
    QVERIFY(mainform->menuBog->isVisible());
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Options);
    QVERIFY(!mainform->mdiArea->isVisible());
    QVERIFY(optform->optPanel1->isVisible());
    QVERIFY(mainform->pageWidget(Tmainform::CommandPage::Options)->isAncestorOf(optform->optPanel1));
    // In reading order: side by side, or below where the window is too narrow.
    const auto before = [](const QWidget *a, const QWidget *b) {
        return a->y() < b->y() || (a->y() == b->y() && a->x() < b->x());
    };
    QVERIFY(before(optform->optPanel1, optform->optPanel3));
    QVERIFY(before(optform->optPanel3, optform->optPanel2));

    // A new document hides the page so that the document shows.
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QVERIFY(!mainform->menuBog->isVisible());
    QVERIFY(mainform->mdiArea->isVisible());
    // Pressing the page's key twice opens and closes it.
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+6")));
    QVERIFY(mainform->menuBog->isVisible());
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+6")));
    QVERIFY(!mainform->menuBog->isVisible());
}

void TestOptions::choicesComeBackAtNextStart()
{
    ProgramFixture program;
    program.start();
    const QStringList ticks{"dokumentCheck", "bokseCheck1",  "bokseCheck2",    "CheckVedLuk",   "CheckInsertFirst",
                            "bokseCheck3",   "CheckAskOpenDoc", "redCheck",    "hovedmenuCheck", "windowsCheck",
                            "marginCheck",   "dokumentlinjeCheck", "trayCheck"};
    const auto tick = [](const QString &name) { return optform->findChild<QCheckBox *>(name); };
    for (int i = 0; i < ticks.size(); ++i)
        tick(ticks[i])->setChecked(i % 3 != 1);
    optform->hintBox->setItemIndex(2);
    optform->fontnameBox->setCurrentIndex(optform->fontnameBox->findText(QStringLiteral("Verdana")));
    optform->fontsizeBox->setCurrentIndex(optform->fontsizeBox->findText(QStringLiteral("14")));
    optform->maxOpKnap->click();
    optform->designBox->setCurrentIndex(optform->designBox->findText(QStringLiteral("Lavender Classico")));
    emit optform->designBox->activated(optform->designBox->currentIndex());
    QVERIFY(program.close());

    program.start();
    for (int i = 0; i < ticks.size(); ++i)
        QVERIFY2(tick(ticks[i])->isChecked() == (i % 3 != 1), qPrintable(ticks[i]));
    QCOMPARE(optform->hintBox->itemIndex(), 2);
    QCOMPARE(optform->fontnameBox->currentText(), QStringLiteral("Verdana"));
    QCOMPARE(optform->fontsizeBox->currentText(), QStringLiteral("14"));
    QCOMPARE(optform->maxElementer, 130);
    QCOMPARE(optform->designBox->currentText(), QStringLiteral("Lavender Classico"));
    QCOMPARE(Platform::currentDesign(), QStringLiteral("Lavender Classico"));
    // The context menu choice is not kept.
    QCOMPARE(optform->popupBox->itemIndex(), 0);
}

void TestOptions::minimisedStart()
{
    ProgramFixture program;
    writeOptions(program, 20, QStringLiteral("1"));
    program.start();
    QVERIFY(mainform->isMinimized());
    QVERIFY(mainform->opstart);
    QVERIFY(optform->minimerCheck->isChecked());
}

void TestOptions::badLinesInTheOptionsFile_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("maxElementer");
    QTest::newRow("word on line 8") << 8 << "otte" << "Courier New" << "10" << 0;
    QTest::newRow("font index past the end") << 10 << "99" << "Courier New" << "10" << 120;
    QTest::newRow("size index past the end") << 11 << "15" << "Courier New" << "10" << 120;
    QTest::newRow("negative size index") << 11 << "-1" << "Courier New" << "10" << 120;
    QTest::newRow("another font") << 10 << "9" << "Tahoma" << "10" << 120;
}

void TestOptions::badLinesInTheOptionsFile()
{
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(QString, font);
    QFETCH(QString, size);
    QFETCH(int, maxElementer);
    ProgramFixture program;
    writeOptions(program, line, value);
    program.start();
    QCOMPARE(optform->fontnameBox->currentText(), font);
    QCOMPARE(optform->fontsizeBox->currentText(), size);
    QCOMPARE(optform->maxElementer, maxElementer);
    QCOMPARE(optform->maxFindEdit->text(), QString::number(maxElementer));
    QVERIFY(program.modal.shown.isEmpty());
}

void TestOptions::hintChoices_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("statusLine");
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<bool>("tooltip");
    QTest::newRow("on the status line") << 0 << true << "Åben et eksisterende dokument" << false;
    QTest::newRow("at the controls") << 1 << false << "" << true;
    QTest::newRow("none") << 2 << true << "" << false;
}

void TestOptions::hintChoices()
{
    QFETCH(int, choice);
    QFETCH(bool, statusLine);
    QFETCH(QString, statusText);
    QFETCH(bool, tooltip);
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+6")));
    QAbstractButton *radio = optform->hintBox->findChildren<QAbstractButton *>()[choice];
    radio->click();
    QCOMPARE(optform->hintBox->itemIndex(), choice);
    QCOMPARE(mainform->Info->isVisible(), statusLine);

    // The pointer on a control that carries the open command's hint.
    QWidget *control = optform->redigerButton;
    control->setStatusTip(mainform->fileOpen->statusTip());
    QStatusTipEvent status(control->statusTip());
    QApplication::sendEvent(control, &status);
    QCOMPARE(mainform->Info->text(), statusText);

    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(control, &help);
    QCOMPARE(QToolTip::text(), tooltip ? control->toolTip() : QString());
}

void TestOptions::designChoice()
{
    ProgramFixture program;
    program.start();
    // Without a saved choice the default design is put on over the start-up "Sky".
    QCOMPARE(Platform::currentDesign(), QStringLiteral("Windows10 Clear Day"));
    QCOMPARE(optform->designBox->currentText(), QStringLiteral("Windows10 Clear Day"));
    QCOMPARE(optform->designBox->count(), 12);
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+6")));
    optform->designBox->setCurrentIndex(optform->designBox->findText(QStringLiteral("Silver")));
    emit optform->designBox->activated(optform->designBox->currentIndex());
    QCOMPARE(Platform::currentDesign(), QStringLiteral("Silver"));
    QVERIFY(!mainform->menuBog->isVisible());
    QVERIFY(program.close());
    QVERIFY(ProgramFixture::readFile(optFile(program, QStringLiteral("optUnit.txt"))).startsWith("Silver\r\n"));
}

void TestOptions::unknownSavedDesign()
{
    ProgramFixture program;
    writeOptions(program, 1, QStringLiteral("Neon Nights"));
    program.modal.press(QStringLiteral("OK"));
    program.start();
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.shown[0].text.contains(QStringLiteral("Neon Nights")));
    QCOMPARE(optform->designBox->currentIndex(), -1);
    QCOMPARE(Platform::currentDesign(), QStringLiteral("Sky"));
}

void TestOptions::ticksActAtOnce()
{
    ProgramFixture program;
    program.start();
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+6")));

    tick(optform->dokumentlinjeCheck);
    QVERIFY(!mainform->tc->isVisibleTo(mainform));
    tick(optform->dokumentlinjeCheck);
    QVERIFY(mainform->tc->isVisibleTo(mainform));

    tick(optform->windowsCheck);
    QVERIFY(optform->windowsCheck->isChecked());
    QVERIFY(!optform->hovedmenuCheck->isChecked());
    tick(optform->hovedmenuCheck);
    QVERIFY(!optform->windowsCheck->isChecked());
    QVERIFY(!mainform->MainMenu->isVisible());

    tick(optform->trayCheck);
    QVERIFY(mainform->TrayIcon->isVisible());
    tick(optform->trayCheck);
    QVERIFY(!mainform->TrayIcon->isVisible());

    tick(optform->marginCheck);
    QCOMPARE(mainform->size(), QSize(861, 800));
    QAbstractScrollArea *area = mainform->documentWindows()[0]->editor()->widget();
    QCOMPARE(area->viewport()->x() - area->frameWidth(), 70);
    tick(optform->marginCheck);
    QCOMPARE(mainform->size(), QSize(728, 700));
    QCOMPARE(area->viewport()->x() - area->frameWidth(), 8);
    QCOMPARE(optform->widthLabel->text(), QStringLiteral("728"));
    QCOMPARE(optform->heightLabel->text(), QStringLiteral("700"));
}

void TestOptions::maximumButtons()
{
    ProgramFixture program;
    program.start();
    QVERIFY(optform->maxFindEdit->isReadOnly());
    for (int i = 0; i < 3; ++i)
        optform->maxOpKnap->click();
    QCOMPARE(optform->maxFindEdit->text(), QStringLiteral("150"));
    for (int i = 0; i < 20; ++i)
        optform->maxNedKnap->click();
    QCOMPARE(optform->maxElementer, 10);
    QCOMPARE(optform->maxFindEdit->text(), QStringLiteral("10"));
}

void TestOptions::standardFonts_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("afterwards");
    QTest::newRow("a standard font stays chosen") << "Tahoma" << "Tahoma";
    QTest::newRow("an outside font gives Arial") << "Noto Sans" << "Arial";
}

void TestOptions::standardFonts()
{
    QFETCH(QString, chosen);
    QFETCH(QString, afterwards);
    ProgramFixture program;
    QFile fonts(optFile(program, QStringLiteral("fontBox.txt")));
    QVERIFY(fonts.open(QIODevice::WriteOnly));
    fonts.write("\xEF\xBB\xBFNoto Sans\r\nTahoma\r\n");
    fonts.close();
    QFile store(optFile(program, QStringLiteral("lagerBox.txt")));
    QVERIFY(store.open(QIODevice::WriteOnly));
    store.write("Verdana\r\n");
    store.close();
    program.start();
    QCOMPARE(optform->fontnameBox->count(), 2);
    optform->fontnameBox->setCurrentIndex(optform->fontnameBox->findText(chosen));
    optform->standardButton->click();
    QCOMPARE(optform->fontnameBox->currentText(), afterwards);
    QCOMPARE(optform->fontnameBox->count(), 12);
    QCOMPARE(boksform->lagerBox->count(), 0);
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("lagerBox.txt"))), QByteArray());
    // The list was read with a byte-order mark and is written back with it.
    QVERIFY(ProgramFixture::readFile(optFile(program, QStringLiteral("fontBox.txt"))).startsWith("\xEF\xBB\xBF" "Arial\r\nCalibri\r\n"));
}

void TestOptions::emptyFontListGivesTheStandardList()
{
    ProgramFixture program;
    QFile fonts(optFile(program, QStringLiteral("fontBox.txt")));
    QVERIFY(fonts.open(QIODevice::WriteOnly));
    fonts.close();
    program.modal.press(QStringLiteral("OK"));
    program.start();
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.shown[0].text.startsWith(QStringLiteral("Listen over fontnavne kunne ikke læses eller er tom:")));
    QCOMPARE(optform->fontnameBox->count(), 12);
    QCOMPARE(optform->fontnameBox->currentText(), QStringLiteral("Courier New"));
}

void TestOptions::fontBoxCancelChangesNothing()
{
    ProgramFixture program;
    program.start();
    optform->standardButton->click();
    const QByteArray fontsBefore = ProgramFixture::readFile(optFile(program, QStringLiteral("fontBox.txt")));
    const QByteArray storeBefore = ProgramFixture::readFile(optFile(program, QStringLiteral("lagerBox.txt")));
    program.modal.answer([](QDialog &box) {
        boksform->Box->clear();
        box.reject();
    });
    optform->redigerButton->click();
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].title, QStringLiteral("Fontnavne"));
    QCOMPARE(optform->fontnameBox->count(), 12);
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("fontBox.txt"))), fontsBefore);
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("lagerBox.txt"))), storeBefore);
}

void TestOptions::fontBoxSaveChangesTheList()
{
    ProgramFixture program;
    program.start();
    optform->fontnameBox->setCurrentIndex(optform->fontnameBox->findText(QStringLiteral("Verdana")));
    program.modal.answer([](QDialog &box) {
        QCOMPARE(boksform->Box->count(), 12);
        QCOMPARE(boksform->fontAntalLabel->text(), QStringLiteral("Der er valgt 12 antal fonte"));
        // Keep Arial and Verdana, put the rest in the store.
        while (boksform->Box->count() > 2) {
            QListWidgetItem *item = boksform->Box->takeItem(1);
            boksform->lagerBox->addItem(item->text());
            delete item;
        }
        box.accept();
    });
    optform->redigerButton->click();
    QCOMPARE(optform->fontnameBox->count(), 2);
    QCOMPARE(optform->fontnameBox->currentText(), QStringLiteral("Verdana"));
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("fontBox.txt"))), QByteArray("Arial\r\nVerdana\r\n"));
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("lagerBox.txt"))).count('\n'), 10);

    // New documents offer the new list.
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QCOMPARE(qobject_cast<Twinform1 *>(mainform->activeDocument())->fontnameBox->count(), 2);
}

void TestOptions::startupProgramToggles()
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("autostart")));
    const QString entry = home.path() + QStringLiteral("/autostart/kyxTavlo.desktop");
    ProgramFixture program;
    program.start();
    installScript(program);

    program.modal.press(QStringLiteral("OK")); // "Det kan tage lidt tid..."
    program.modal.press(QStringLiteral("OK"));
    optform->startupButton->click();
    QCOMPARE(program.shell.calls.size(), 1);
    QCOMPARE(program.shell.calls[0].file, QStringLiteral("createShortcut.sh"));
    QCOMPARE(program.shell.calls[0].parameters,
             QLatin1Char('"') + QCoreApplication::applicationFilePath() + QStringLiteral("\" \"")
                 + QDir(program.optMappe()).filePath(QStringLiteral("kyxTavlo.desktop")) + QLatin1Char('"'));
    QTRY_COMPARE_WITH_TIMEOUT(program.modal.shown.size(), 2, 5000);
    QCOMPARE(program.modal.shown[1].text, QStringLiteral("Programmet er indført som StartUp-program."));
    QVERIFY(ProgramFixture::readFile(entry).contains("Exec=\"" + QCoreApplication::applicationFilePath().toUtf8()));

    program.modal.press(QStringLiteral("OK"));
    program.modal.press(QStringLiteral("OK"));
    optform->startupButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(program.modal.shown.size(), 4, 5000);
    QCOMPARE(program.modal.shown[3].text, QStringLiteral("Programmet blev fjernet som StartUp-program."));
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY(program.modal.unexpected.isEmpty());
    qunsetenv("XDG_CONFIG_HOME");
}

void TestOptions::startupProgramWithoutAutostartFolder_data()
{
    QTest::addColumn<bool>("canBeMade");
    QTest::newRow("a fresh profile: the folder and its parents are made") << true;
    QTest::newRow("a file stands where a folder must be made") << false;
}

void TestOptions::startupProgramWithoutAutostartFolder()
{
    QFETCH(bool, canBeMade);
    QTemporaryDir home;
    const QString config = home.path() + QStringLiteral("/ny/.config");
    if (!canBeMade)
        QVERIFY(QFile(home.path() + QStringLiteral("/ny")).open(QIODevice::WriteOnly));
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const QString entry = config + QStringLiteral("/autostart/kyxTavlo.desktop");
    ProgramFixture program;
    program.start();
    installScript(program);
    program.modal.press(QStringLiteral("OK"));
    program.modal.press(QStringLiteral("OK"));
    optform->startupButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(program.modal.shown.size(), 2, 5000);
    QVERIFY(!optform->startProgTimer->isActive());
    qunsetenv("XDG_CONFIG_HOME");
    if (canBeMade) {
        QCOMPARE(program.modal.shown[1].text, QStringLiteral("Programmet er indført som StartUp-program."));
        QVERIFY(ProgramFixture::readFile(entry).contains("Exec=\"" + QCoreApplication::applicationFilePath().toUtf8()));
    } else {
        QCOMPARE(program.modal.shown[1].text, QStringLiteral("Startup-mappen kunne ikke findes.\n"));
        QVERIFY(!QFileInfo::exists(entry));
    }
}

void TestOptions::startupProgramWithoutScript()
{
    ProgramFixture program;
    program.start();
    program.modal.press(QStringLiteral("OK"));
    program.modal.press(QStringLiteral("OK"));
    optform->startupButton->click();
    QCOMPARE(program.modal.shown.size(), 2);
    QCOMPARE(program.modal.shown[1].text, QStringLiteral("Der synes at mangle en fil til skabelse af en genvej."));
    QVERIFY(program.shell.calls.isEmpty());
    // It still waits for the shortcut, and gives up after ten ticks.
    QVERIFY(optform->startProgTimer->isActive());
    optform->SPtimerCount = 9;
    program.modal.press(QStringLiteral("OK"));
    optform->startProgTimerTimer();
    QCOMPARE(program.modal.shown.last().text, QStringLiteral("Det lykkedes ikke at indføre programmet som startprogram."));
    QVERIFY(!optform->startProgTimer->isActive());
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
