#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "lists/favoritUnit.h"
#include "lists/filUnit.h"
#include "opening/Funktioner.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QTabBar>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTest>

// The tab row and the window commands, as the user meets them with several documents open.
class TestTabs : public QObject {
    Q_OBJECT
private slots:
    void equalCaptionsFromDifferentFolders();
    void closingOneOfTwoEqualTabs();
    void renameWithoutMatchChangesNothing();
    void pressOnTabShowsFileName();
    void windowMenu();
    void closeAllWithOneModified_data();
    void closeAllWithOneModified();
    void typingAfterACloseGoesIntoTheText_data();
    void typingAfterACloseGoesIntoTheText();
    void arrangements();
    void manyArrangedWindowsStayUsable();
    void closeAllBoxes();
    void newDocumentKeys();

private:
    static QStringList tabs()
    {
        QStringList texts;
        for (int i = 0; i < mainform->tc->count(); ++i)
            texts << mainform->tc->tabText(i);
        return texts;
    }
    static QString currentTab() { return mainform->tc->tabText(mainform->tc->currentIndex()); }
    static void clickTab(int index)
    {
        QTest::mouseClick(mainform->tc, Qt::LeftButton, {}, mainform->tc->tabRect(index).center());
    }
};

void TestTabs::equalCaptionsFromDifferentFolders()
{
    ProgramFixture program;
    program.start();
    QDir(program.workFolder()).mkpath(QStringLiteral("a"));
    QDir(program.workFolder()).mkpath(QStringLiteral("b"));
    const QString first = program.writeFile(QStringLiteral("a/same.txt"), "a");
    const QString second = program.writeFile(QStringLiteral("b/same.txt"), "b");
    mainform->funk->openwin(first, QString());
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    mainform->funk->openwin(second, QString());
    QCOMPARE(tabs(), QStringList({"same.txt", "2. Dokument", "same.txt"}));
    // Activating the second "same.txt" selects the first tab of that name.
    QCOMPARE(mainform->activeDocument()->Filnavn, second);
    QCOMPARE(mainform->tc->currentIndex(), 0);

    // Either tab brings the first of the two windows forward.
    clickTab(1);
    QCOMPARE(mainform->activeDocument()->windowTitle(), QStringLiteral("2. Dokument"));
    clickTab(2);
    QCOMPARE(mainform->activeDocument()->Filnavn, first);
    QCOMPARE(mainform->tc->currentIndex(), 0);
}

void TestTabs::closingOneOfTwoEqualTabs()
{
    ProgramFixture program;
    program.start();
    QDir(program.workFolder()).mkpath(QStringLiteral("a"));
    QDir(program.workFolder()).mkpath(QStringLiteral("b"));
    mainform->funk->openwin(program.writeFile(QStringLiteral("a/Same.txt"), "a"), QString());
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    mainform->funk->openwin(program.writeFile(QStringLiteral("b/SAME.txt"), "b"), QString());
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+L")));
    QCOMPARE(tabs(), QStringList({"2. Dokument", "SAME.txt"}));
    QCOMPARE(mainform->documentWindows().size(), 2);
}

void TestTabs::renameWithoutMatchChangesNothing()
{
    ProgramFixture program;
    program.start();
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    mainform->RenameTab(QStringLiteral("findes ikke"), QStringLiteral("nyt navn"));
    mainform->CloseTab(QStringLiteral("findes ikke"));
    mainform->fokusTab(QStringLiteral("findes ikke"));
    QCOMPARE(tabs(), QStringList({"1. Dokument"}));
    mainform->RenameTab(QStringLiteral("1. DOKUMENT"), QStringLiteral("nyt navn"));
    QCOMPARE(tabs(), QStringList({"nyt navn"}));
    QVERIFY(program.modal.shown.isEmpty());
}

void TestTabs::pressOnTabShowsFileName()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("vis.txt"), "x");
    mainform->funk->openwin(path, QString());
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    clickTab(0);
    QCOMPARE(mainform->Info->text(), path);
    clickTab(1);
    QCOMPARE(mainform->Info->text(), QString());
    // Beside the tabs nothing happens.
    mainform->UdskrivInfo(QStringLiteral("uændret"));
    QTest::mouseClick(mainform->tc, Qt::LeftButton, {}, QPoint(mainform->tc->width() - 2, mainform->tc->height() / 2));
    QCOMPARE(mainform->Info->text(), QStringLiteral("uændret"));
}

void TestTabs::windowMenu()
{
    ProgramFixture program;
    program.start();
    const auto caption = [] {
        mainform->mainMenu7Click();
        return mainform->mDocAntalCaption->text();
    };
    QCOMPARE(caption(), QStringLiteral("Der er ingen åbne dokumenter"));
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QCOMPARE(caption(), QStringLiteral("Der er et åbent dokument"));
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    QCOMPARE(caption(), QStringLiteral("Der er 3 åbne dokumenter"));

    // One entry per window after the separator; choosing one brings it forward.
    const QList<QAction *> entries = mainform->mainMenu7->actions();
    QCOMPARE(entries.size(), 5);
    QVERIFY(entries[1]->isSeparator());
    QCOMPARE(entries[2]->text(), QStringLiteral("1 1. Dokument"));
    QVERIFY(entries[4]->isChecked());
    entries[2]->trigger();
    QCOMPARE(mainform->activeDocument()->windowTitle(), QStringLiteral("1. Dokument"));
    QCOMPARE(currentTab(), QStringLiteral("1. Dokument"));
}

void TestTabs::closeAllWithOneModified_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("named");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<QByteArray>("onDisk");
    QTest::newRow("Ja saves it") << "Ja" << true << 0 << QByteArray("rettetindhold");
    QTest::newRow("Nej loses the change") << "Nej" << true << 0 << QByteArray("indhold");
    QTest::newRow("Ja with the save dialog cancelled keeps it open") << "Ja" << false << 1 << QByteArray();
    QTest::newRow("Escape keeps it open") << "Escape" << true << 1 << QByteArray("indhold");
}

void TestTabs::closeAllWithOneModified()
{
    QFETCH(QString, answer);
    QFETCH(bool, named);
    QFETCH(int, remaining);
    QFETCH(QByteArray, onDisk);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("ret.txt"), "indhold");
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    mainform->funk->openwin(named ? path : QString(), QStringLiteral(".txt"));
    mainform->funk->openwin(program.writeFile(QStringLiteral("urørt.txt"), "u"), QString());
    TDocumentForm *modified = mainform->documentWindows()[1];
    mainform->activateDocument(modified);
    QTest::keyClicks(modified->editor()->widget(), QStringLiteral("rettet"));
    if (answer == QLatin1String("Escape"))
        program.modal.key(Qt::Key_Escape);
    else
        program.modal.press(answer);

    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+L")));
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(mainform->documentWindows().size(), remaining);
    QCOMPARE(tabs().size(), remaining);
    if (named)
        QCOMPARE(ProgramFixture::readFile(path), onDisk);
    if (remaining == 0) {
        QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("Der er ingen åbne dokumenter."));
        QCOMPARE(mainform->skiftDocFilnavnEdit->text(), QStringLiteral("Der er ingen åbne dokumenter."));
        QVERIFY(mainform->antalLinjerLabel->text().isEmpty());
    } else {
        QCOMPARE(mainform->documentWindows(), QList<TDocumentForm *>{modified});
        QVERIFY(modified->editor()->isModified());
        program.modal.press(QStringLiteral("Nej"));
    }
}

void TestTabs::typingAfterACloseGoesIntoTheText_data()
{
    // The kinds of the documents opened, in order (true: rich text); the first one stays.
    QTest::addColumn<QList<bool>>("rich");
    QTest::addColumn<QString>("keys");
    QTest::newRow("Ctrl+L, a rich document comes forward") << QList<bool>{true, false} << "Ctrl+L";
    QTest::newRow("Ctrl+L, a text document comes forward") << QList<bool>{false, true} << "Ctrl+L";
    QTest::newRow("Luk alle keeps a modified text document") << QList<bool>{false, true, false} << "Ctrl+Alt+L";
    QTest::newRow("Luk alle keeps a modified rich document") << QList<bool>{true, false, true} << "Ctrl+Alt+L";
}

void TestTabs::typingAfterACloseGoesIntoTheText()
{
    QFETCH(QList<bool>, rich);
    QFETCH(QString, keys);
    ProgramFixture program;
    program.start();
    for (const bool kind : rich)
        mainform->funk->openwin(QString(), kind ? QStringLiteral(".rtf") : QStringLiteral(".txt"));
    TDocumentForm *staying = mainform->documentWindows().first();
    if (keys == QLatin1String("Ctrl+Alt+L")) {
        // Its close is taken back, so it is the one left.
        mainform->activateDocument(staying);
        QTest::keyClicks(staying->editor()->widget(), QStringLiteral("ret "));
        mainform->activateDocument(mainform->documentWindows().last());
        program.modal.key(Qt::Key_Escape);
    }
    const QString before = staying->editor()->text();

    QTest::keySequence(mainform->windowHandle(), QKeySequence(keys));
    QCOMPARE(mainform->documentWindows(), QList<TDocumentForm *>{staying});
    QCOMPARE(mainform->focusWidget(), staying->editor()->widget());
    for (const char c : {'h', 'e', 'j'})
        QTest::keyClick(mainform->windowHandle(), c);
    QCOMPARE(staying->editor()->text(), before + QStringLiteral("hej"));
    QVERIFY(program.modal.unexpected.isEmpty());
    program.modal.press(QStringLiteral("Nej"));
}

void TestTabs::arrangements()
{
    ProgramFixture program;
    program.start();
    mainform->resize(900, 700);
    for (int i = 0; i < 3; ++i)
        mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    const QList<TDocumentForm *> windows = mainform->documentWindows();
    const QRect area = mainform->mdiArea->viewport()->rect();
    TAction::updateAll();
    QVERIFY(mainform->WindowTileHorizontal->isEnabled());

    mainform->WindowTileHorizontal->trigger();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!windows[i]->isMaximized());
        QCOMPARE(windows[i]->geometry(), QRect(0, area.height() * i / 3, area.width(),
                                               area.height() * (i + 1) / 3 - area.height() * i / 3));
    }

    mainform->WindowTileVertical->trigger();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(windows[i]->geometry(), QRect(area.width() * i / 3, 0,
                                               area.width() * (i + 1) / 3 - area.width() * i / 3, area.height()));

    mainform->WindowCascade->trigger();
    for (int i = 1; i < 3; ++i) {
        QVERIFY(windows[i]->x() > windows[i - 1]->x());
        QVERIFY(windows[i]->y() > windows[i - 1]->y());
    }

    mainform->WindowMinimizeAll->trigger();
    for (TDocumentForm *window : windows)
        QVERIFY(window->isMinimized());
    // Pressing a document's tab brings it back, and only it.
    QTest::mouseClick(mainform->tc, Qt::LeftButton, {}, mainform->tc->tabRect(1).center());
    QCOMPARE(mainform->activeDocument(), windows[1]);
    QVERIFY(!windows[1]->isMinimized());
    QVERIFY(windows[1]->width() > area.width() / 2);
    QVERIFY(windows[0]->isMinimized() && windows[2]->isMinimized());

    // Closed, the commands have nothing to act on.
    program.modal.press(QStringLiteral("Nej"));
    mainform->winLukAlle->trigger();
    TAction::updateAll();
    for (TAction *action : {mainform->WindowCascade, mainform->WindowTileHorizontal, mainform->WindowTileVertical,
                            mainform->WindowMinimizeAll, mainform->winLuk, mainform->winLukAlle})
        QVERIFY(!action->isEnabled());
}

// Eight documents tiled or cascaded in the standard window: a tile too small for its tool rows
// hides them and keeps its text; the cascade leaves every title bar in sight.
void TestTabs::manyArrangedWindowsStayUsable()
{
    ProgramFixture program;
    program.start();
    mainform->showNormal();
    mainform->resize(800, 600);
    for (int i = 0; i < 8; ++i)
        mainform->funk->openwin(QString(), i % 2 ? QStringLiteral(".rtf") : QStringLiteral(".txt"));
    const QList<TDocumentForm *> windows = mainform->documentWindows();
    const auto textLines = [](TDocumentForm *window) {
        const QWidget *text = window->editor()->widget();
        return text->isVisible() ? text->height() / text->fontMetrics().lineSpacing() : 0;
    };

    for (TAction *tile : {mainform->WindowTileVertical, mainform->WindowTileHorizontal}) {
        tile->trigger();
        QCoreApplication::processEvents();
        for (TDocumentForm *window : windows) {
            QVERIFY2(!window->redskabsPanel->isVisible(), qPrintable(tile->text() + window->windowTitle()));
            QVERIFY(textLines(window) >= 2);
        }
    }

    mainform->activateDocument(windows[2]);
    mainform->WindowCascade->trigger();
    QCoreApplication::processEvents();
    const QList<QMdiSubWindow *> stack = mainform->mdiArea->subWindowList(QMdiArea::StackingOrder);
    QCOMPARE(stack.last(), windows[2]);
    QCOMPARE(mainform->activeDocument(), windows[2]);
    for (qsizetype i = 0; i < stack.size(); ++i) {
        const int titleHeight = stack[i]->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, stack[i]);
        const QRect titleBar(stack[i]->geometry().topLeft(), QSize(stack[i]->width(), titleHeight));
        QRegion seen(titleBar);
        for (qsizetype above = i + 1; above < stack.size(); ++above)
            seen -= stack[above]->geometry();
        QVERIFY2(seen.boundingRect().width() >= 40, qPrintable(stack[i]->windowTitle()));
    }
    for (TDocumentForm *window : windows) {
        QVERIFY(window->redskabsPanel->isVisible());
        QVERIFY(textLines(window) >= 5);
    }

    // Maximised again, the active one shows its tool rows as before.
    mainform->activeDocument()->showMaximized();
    QVERIFY(mainform->activeDocument()->redskabsPanel->isVisible());
}

void TestTabs::closeAllBoxes()
{
    ProgramFixture program;
    program.start();
    TAction::updateAll();
    QVERIFY(!mainform->closeAllBokse->isEnabled());
    filform->show();
    favoritform->show();
    TAction::updateAll();
    QVERIFY(mainform->closeAllBokse->isEnabled());
    mainform->closeAllBokse->trigger();
    QVERIFY(!filform->isVisible());
    QVERIFY(!favoritform->isVisible());
    TAction::updateAll();
    QVERIFY(!mainform->closeAllBokse->isEnabled());
}

void TestTabs::newDocumentKeys()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+N")));
    QCOMPARE(tabs(), QStringList({"1. Dokument", "2. Dokument"}));
    QCOMPARE(currentTab(), QStringLiteral("2. Dokument"));
}

QTEST_MAIN(TestTabs)
#include "tst_tabs.moc"
