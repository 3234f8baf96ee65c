#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "lists/FavDirUnit.h"
#include "lists/favoritUnit.h"
#include "lists/filUnit.h"
#include "lists/mappefilUnit.h"
#include "lists/OpenUnit.h"
#include "opening/Funktioner.h"
#include "options/genvejUnit.h"
#include "options/optUnit.h"
#include "platform/Clock.h"
#include "platform/RichEdit.h"
#include "search/filmappeUnit.h"
#include "search/findis.h"
#include "widgets/Action.h"
#include "widgets/ElidedLabel.h"
#include "widgets/Globals.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QSet>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTabBar>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>

namespace {

// Records the shortcut events of the program and keeps them from running their commands.
class ShortcutRecorder : public QObject {
public:
    struct Hit {
        QObject *receiver;
        bool ambiguous;
    };
    ShortcutRecorder() { qApp->installEventFilter(this); }
    ~ShortcutRecorder() override { qApp->removeEventFilter(this); }
    QList<Hit> hits;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        hits.append({watched, static_cast<QShortcutEvent *>(event)->isAmbiguous()});
        return true;
    }
};

QList<QKeySequence> keysOf(QObject *object)
{
    if (auto *action = qobject_cast<QAction *>(object))
        return action->shortcuts();
    if (auto *shortcut = qobject_cast<QShortcut *>(object))
        return shortcut->keys();
    return {};
}

void enable(QObject *object)
{
    if (auto *action = qobject_cast<QAction *>(object))
        action->setEnabled(true);
    else if (auto *shortcut = qobject_cast<QShortcut *>(object))
        shortcut->setEnabled(true);
}

// Every action and shortcut with keys that lives in the main window: its own, its pages', and
// those of the document window holding the focus (Qt's own included). The boxes, windows of
// their own, and the other documents are left out.
QList<QObject *> shortcutTable()
{
    QList<QObject *> table;
    for (QObject *object : mainform->findChildren<QObject *>()) {
        if (keysOf(object).isEmpty())
            continue;
        bool inMainWindow = true;
        for (QObject *up = object->parent(); up && up != mainform; up = up->parent()) {
            auto *document = qobject_cast<TDocumentForm *>(up);
            if (qobject_cast<QDialog *>(up) || (document && !document->isAncestorOf(mainform->focusWidget())))
                inMainWindow = false;
        }
        if (inMainWindow)
            table << object;
    }
    return table;
}

// The focused control takes the key for itself (copy, paste, undo in a text area) before any
// shortcut is looked for.
bool claimedByFocus(const QKeySequence &key)
{
    QKeyEvent override(QEvent::ShortcutOverride, key[0].key(), key[0].keyboardModifiers());
    override.ignore();
    QApplication::sendEvent(mainform->focusWidget(), &override);
    return override.isAccepted();
}

} // namespace

// The command panel, its pages, the menus and the commands on them, driven by keys and buttons.
class TestCommandPanel : public QObject {
    Q_OBJECT
private slots:
    void pagesOpenSwitchAndHide();
    void egenskaberFillsTheFrameUntilADocumentComesForward();
    void stripAndMenuBarOpenThePages();
    void hovedmenuAndRedskabslinje();
    void buttonsShowTheirCaptionsWhole();
    void enabledRules();
    void searchPageRunsTheActiveDocumentsCommands();
    void enterInTheSearchFieldsStepsThroughTheHits();
    void fileInformationRefresh();
    void yearButtons();
    void dateCommandsWriteIntoTheActiveDocument();
    void drops_data();
    void drops();
    void dropsOfFoldersVanishedAndManyFiles();
    void dropsOnTheDocumentWindows_data();
    void dropsOnTheDocumentWindows();
    void openBoxRemembersItsChoice();
    void openDialogGoesThroughTheOpenBox();
    void insertIntoFavourites();
    void shortcutBoxKeysWorkFromEveryBox();
    void everyShortcutWorksInEveryWindow();
    void longTextsLeaveTheWindowAsItIs();
    void messageCountKeepsItsPlace();
    void optionCaptionsAreWholeAtTheStandardSize();

private:
    static void key(const char *keys) { QTest::keySequence(mainform, QKeySequence(QString::fromLatin1(keys))); }
    static void idle() { TAction::updateAll(); }
    static void drop(const QStringList &names)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &name : names)
            urls << QUrl::fromLocalFile(name);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mainform, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mainform, &event);
    }
    static QStringList openFiles()
    {
        QStringList names;
        for (TDocumentForm *window : mainform->documentWindows())
            names << window->Filnavn;
        return names;
    }
    static QStringList items(TReopenFilerX *list)
    {
        QStringList names;
        for (int i = 0; i < list->Antal(); ++i)
            names << list->GetFilnavn(i);
        return names;
    }
    static QToolButton *button(QWidget *parent, const QString &accessibleName)
    {
        for (QToolButton *candidate : parent->findChildren<QToolButton *>())
            if (candidate->accessibleName() == accessibleName && candidate->isVisibleTo(parent))
                return candidate;
        return nullptr;
    }
};

void TestCommandPanel::pagesOpenSwitchAndHide()
{
    ProgramFixture program;
    program.start();
    QVERIFY(mainform->menuBog->isHidden());

    key("Ctrl+2");
    QVERIFY(mainform->menuBog->isVisible());
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Document);
    QCOMPARE(mainform->menuBog->height(), 108);

    // Another page's key switches without hiding; the search page puts the caret in the field.
    key("Ctrl+3");
    QVERIFY(mainform->menuBog->isVisible());
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Search);
    QCOMPARE(QApplication::focusWidget(), mainform->ordEdit);

    // The shown page's key hides the panel; Ctrl+M brings it back on the same page.
    key("Ctrl+3");
    QVERIFY(mainform->menuBog->isHidden());
    key("Ctrl+M");
    QVERIFY(mainform->menuBog->isVisible());
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Search);
    key("Ctrl+M");
    QVERIFY(mainform->menuBog->isHidden());

    using Page = Tmainform::CommandPage;
    const QList<std::pair<const char *, Page>> keys{{"Ctrl+1", Page::File},   {"Ctrl+2", Page::Document},
                                                    {"Ctrl+3", Page::Search}, {"Ctrl+4", Page::Window},
                                                    {"Ctrl+5", Page::Boxes},  {"Ctrl+7", Page::Information},
                                                    {"F1", Page::Information}};
    for (const auto &[keys_, page] : keys) {
        if (mainform->showsPage(page))
            key("Ctrl+M");
        key(keys_);
        QVERIFY2(mainform->menuBog->isVisible(), keys_);
        QCOMPARE(mainform->currentPage(), page);
        QCOMPARE(mainform->menuBog->height(), 108);
    }
}

void TestCommandPanel::egenskaberFillsTheFrameUntilADocumentComesForward()
{
    ProgramFixture program;
    program.start();
    key("Ctrl+N");
    key("Ctrl+6");
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Options);
    QTRY_VERIFY(mainform->menuBog->height() > 108);
    QVERIFY(mainform->mdiArea->isHidden());

    // A new document hides the panel so that it can be seen.
    key("Ctrl+N");
    QVERIFY(mainform->menuBog->isHidden());
    QVERIFY(mainform->mdiArea->isVisible());

    // Its own key hides it again, and the document commands still reach the document.
    key("Ctrl+6");
    QVERIFY(mainform->mdiArea->isHidden());
    key("Ctrl+6");
    QVERIFY(mainform->menuBog->isHidden());
    QCOMPARE(mainform->activeDocument()->windowTitle(), QStringLiteral("2. Dokument"));

    // So does pressing a tab.
    key("Ctrl+6");
    QVERIFY(mainform->menuBog->isVisible());
    const QRect firstTab = mainform->tc->tabRect(0);
    QTest::mouseClick(mainform->tc, Qt::LeftButton, {}, firstTab.center());
    QVERIFY(mainform->menuBog->isHidden());
    QCOMPARE(mainform->activeDocument()->windowTitle(), QStringLiteral("1. Dokument"));

    // The Fil page afterwards sits above the documents at its own height, refreshed.
    key("Ctrl+1");
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::File);
    QCOMPARE(mainform->menuBog->height(), 108);
    QVERIFY(mainform->mdiArea->isVisible());
    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("Dokumentet har ikke noget navn."));
}

void TestCommandPanel::stripAndMenuBarOpenThePages()
{
    ProgramFixture program;
    program.start();
    optform->hovedmenuCheck->setChecked(true);
    mainform->hovedmenuPanel->show();
    QStringList strip;
    for (QToolButton *b : mainform->hovedmenuPanel->findChildren<QToolButton *>())
        strip << b->text();
    QCOMPARE(strip, QStringList({"Fil", "Dokument", "Søg", "Vindue", "Bokse", "Egenskaber", "Info"}));
    QToolButton *info = button(mainform->hovedmenuPanel, QStringLiteral("Info"));
    QVERIFY(info);
    QTest::mouseClick(info, Qt::LeftButton);
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Information);
    QTest::mouseClick(info, Qt::LeftButton);
    QVERIFY(mainform->menuBog->isHidden());

    QStringList menuBar;
    for (QAction *entry : mainform->MainMenu->actions())
        menuBar << entry->text();
    QCOMPARE(menuBar, QStringList({"Fil", "Dokument", "Søg", "Vindue", "Bokse", "Egenskaber", "Info", "Åbne"}));
    mainform->MainMenu->actions().at(6)->trigger();
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Information);
    QVERIFY(mainform->menuBog->isVisible());
}

void TestCommandPanel::hovedmenuAndRedskabslinje()
{
    ProgramFixture program;
    program.start();
    const bool stripShown = mainform->hovedmenuPanel->isVisible();
    key("Ctrl+2");
    key("Ctrl+H");
    QVERIFY(mainform->menuBog->isHidden());
    QVERIFY(!mainform->MainMenu->isVisible());
    QCOMPARE(mainform->hovedmenuPanel->isVisible(), !stripShown);
    key("Ctrl+H");
    QCOMPARE(mainform->hovedmenuPanel->isVisible(), stripShown);
    // The menu bar stays removed; the page keys still work.
    QVERIFY(!mainform->MainMenu->isVisible());
    key("Ctrl+4");
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Window);

    idle();
    QVERIFY(!mainform->aRedskabslinje->isEnabled());
    key("Ctrl+N");
    idle();
    QWidget *tools = mainform->activeDocument()->redskabsPanel;
    const bool toolsShown = tools->isVisible();
    key("Ctrl+2");
    QVERIFY(mainform->menuBog->isVisible());
    key("Ctrl+R");
    QVERIFY(mainform->menuBog->isHidden());
    QCOMPARE(tools->isVisible(), !toolsShown);
}

// The buttons on the pages show their commands' captions as they are, the dots of a command that
// asks before it acts included, also after the commands were switched on by a document opening.
void TestCommandPanel::buttonsShowTheirCaptionsWhole()
{
    ProgramFixture program;
    program.start();
    key("Ctrl+1");
    const auto shown = [] {
        QStringList texts;
        for (const QString &caption : {QStringLiteral("Åben..."), QStringLiteral("Gem som..."), QStringLiteral("Udskriv...")}) {
            const QToolButton *found = button(mainform->menuBog->currentWidget(), caption);
            texts << (found ? found->text() : QStringLiteral("no button ") + caption);
        }
        return texts;
    };
    const QStringList captions({"Åben...", "Gem som...", "Udskriv..."});
    idle();
    QCOMPARE(shown(), captions);
    key("Ctrl+N");
    idle();
    QVERIFY(mainform->udskrivDokument->isEnabled());
    QCOMPARE(shown(), captions);
}

void TestCommandPanel::enabledRules()
{
    ProgramFixture program;
    program.start();
    idle();
    for (TAction *action : {mainform->findTekst, mainform->erstatTekst, mainform->fileGem, mainform->fileGemSom,
                            mainform->aDato, mainform->aDatoUdskriv, mainform->insertFavoritliste})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    mainform->ordEdit->setText(QStringLiteral("ord"));
    idle();
    QVERIFY(!mainform->findTekst->isEnabled());

    // An unchanged document: "Gem som" but not "Gem"; the search commands need a search text.
    key("Ctrl+N");
    mainform->ordEdit->clear();
    idle();
    QVERIFY(!mainform->fileGem->isEnabled());
    QVERIFY(mainform->fileGemSom->isEnabled());
    QVERIFY(!mainform->findTekst->isEnabled());
    QVERIFY(!mainform->erstatTekst->isEnabled());
    QVERIFY(mainform->aDato->isEnabled());
    QVERIFY(!mainform->opdaterFilinfo->isEnabled());
    mainform->ordEdit->setText(QStringLiteral("ord"));
    QTest::keyClicks(mainform->activeDocument()->editor()->widget(), QStringLiteral("x"));
    idle();
    QVERIFY(mainform->findTekst->isEnabled());
    QVERIFY(mainform->erstatTekst->isEnabled());
    QVERIFY(mainform->fileGem->isEnabled());
    QVERIFY(mainform->opdaterFilinfo->isEnabled());

    // Box commands are offered while their box is hidden.
    QVERIFY(mainform->openGenvejsboksen->isEnabled());
    key("F9");
    QVERIFY(genvejsform->isVisible());
    // Its four tabs are all in sight.
    const QTabBar *tabs = genvejsform->PageControl1->tabBar();
    QCOMPARE(tabs->count(), 4);
    for (int i = 0; i < tabs->count(); ++i)
        QVERIFY2(tabs->rect().contains(tabs->tabRect(i)) && genvejsform->rect().contains(QRect(tabs->mapTo(genvejsform, tabs->tabRect(i).topLeft()), tabs->tabRect(i).size())),
                 qPrintable(tabs->tabText(i)));
    idle();
    QVERIFY(!mainform->openGenvejsboksen->isEnabled());
    genvejsform->close();
    idle();
    QVERIFY(mainform->openGenvejsboksen->isEnabled());
    const QList<std::pair<const char *, QWidget *>> boxes{{"F3", mappefilform}, {"F4", favoritform}, {"F5", filform}};
    for (const auto &[keys, box] : boxes) {
        key(keys);
        QVERIFY2(box->isVisible(), keys);
    }
}

void TestCommandPanel::searchPageRunsTheActiveDocumentsCommands()
{
    ProgramFixture program;
    program.start();
    key("Ctrl+N");
    Platform::RichEdit *editor = mainform->activeDocument()->editor();
    QTest::keyClicks(editor->widget(), QStringLiteral("en to en tre en"));
    editor->setSelection(0, 0);
    key("Ctrl+3");
    QTest::keyClicks(mainform->ordEdit, QStringLiteral("en"));
    mainform->erstatAlleCheck->setChecked(true);
    idle();
    key("Ctrl+F");
    QCOMPARE(mainform->antalFundLabel->text(), QStringLiteral("Antal forekomster: 3"));

    // Enter in the replacement field replaces, as its button does.
    editor->setSelection(0, 0);
    QTest::keyClicks(mainform->erstatEdit, QStringLiteral("et"));
    QTest::keyClick(mainform->erstatEdit, Qt::Key_Return);
    QCOMPARE(mainform->antalFundLabel->text(), QStringLiteral("Antal forekomster: 3"));
    QCOMPARE(editor->text(), QStringLiteral("et to et tre et"));
    QVERIFY(mainform->docModified);

    key("Ctrl+F");
    QCOMPARE(mainform->antalFundLabel->text(), QStringLiteral("Antal forekomster: 0"));
}

// Enter pressed again and again in the search field goes from hit to hit and never types into
// the document: the caret stays in the field, and each hit is selected where the user sees it.
void TestCommandPanel::enterInTheSearchFieldsStepsThroughTheHits()
{
    ProgramFixture program;
    const QByteArray original = "en to en tre en\r\n";
    const QString file = program.writeFile(QStringLiteral("tal.txt"), original);
    program.start({file});
    Platform::RichEdit *editor = mainform->activeDocument()->editor();
    QWindow *window = mainform->windowHandle();
    const auto press = [window](Qt::Key key) {
        QTest::keyClick(window, key);
        idle();
    };
    key("Ctrl+3");
    QCOMPARE(QApplication::focusWidget(), mainform->ordEdit);
    QTest::keyClick(window, 'e');
    QTest::keyClick(window, 'n');
    QCOMPARE(mainform->ordEdit->text(), QStringLiteral("en"));

    for (const int hit : {0, 6, 13}) {
        press(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), mainform->ordEdit);
        QCOMPARE(editor->selectionStart(), hit);
        QCOMPARE(editor->selectedText(), QStringLiteral("en"));
        QCOMPARE(mainform->antalFundLabel->text(), QStringLiteral("Antal forekomster: 1"));
    }
    // The selected hit is painted as selected although the text area has no focus.
    const QImage shown = editor->widget()->viewport()->grab().toImage();
    const QColor highlight = editor->widget()->palette().color(QPalette::Active, QPalette::Highlight);
    bool painted = false;
    for (int y = 0; y < shown.height() && !painted; ++y)
        for (int x = 0; x < shown.width() && !painted; ++x)
            painted = shown.pixelColor(x, y) == highlight;
    QVERIFY(painted);

    press(Qt::Key_Return);
    QCOMPARE(mainform->antalFundLabel->text(), QStringLiteral("Antal forekomster: 0"));
    QCOMPARE(QApplication::focusWidget(), mainform->ordEdit);
    QCOMPARE(editor->text(), QStringLiteral("en to en tre en\n"));
    QVERIFY(!editor->isModified());
    QVERIFY(!mainform->docModified);

    // Enter in the replacement field replaces one hit after the other, the caret staying there.
    editor->setSelection(0, 0);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), mainform->erstatEdit);
    QTest::keyClick(window, 'e');
    QTest::keyClick(window, 't');
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), mainform->erstatEdit);
    QCOMPARE(editor->text(), QStringLiteral("et to et tre en\n"));
    key("Ctrl+S");
    QCOMPARE(ProgramFixture::readFile(file), QByteArray("et to et tre en\r\n"));
}

void TestCommandPanel::fileInformationRefresh()
{
    ProgramFixture program;
    program.start();
    const QString name = program.writeFile(QStringLiteral("info.txt"), "a\nb\nc\n");
    program.dialogs.openAnswers.enqueue({name});
    key("Ctrl+O");
    key("Ctrl+1");
    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("info.txt"));
    QCOMPARE(mainform->filModificeretLabel->text(), QStringLiteral("Dokumentet er gemt"));
    QTest::keyClicks(mainform->activeDocument()->editor()->widget(), QStringLiteral("x"));
    idle();
    key("F2");
    QCOMPARE(mainform->filModificeretLabel->text(), QStringLiteral("Dokumentet er ikke gemt"));

    // The last window closed: the fields say so.
    mainform->activeDocument()->editor()->setModified(false);
    key("Ctrl+L");
    QTRY_VERIFY(mainform->documentWindows().isEmpty());
    mainform->udskrivFilInfo();
    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("Der er ingen åbne dokumenter."));
    QCOMPARE(mainform->docFilnavnEdit->text(), mainform->filnavnEdit->text());
    QCOMPARE(mainform->skiftDocFilnavnEdit->text(), mainform->filnavnEdit->text());
    QVERIFY(mainform->filsizeLabel->text().isEmpty());
}

void TestCommandPanel::yearButtons()
{
    Platform::setClock([] { return QDateTime(QDate(2026, 12, 10), QTime(12, 0)); });
    ProgramFixture program;
    program.start();
    QCOMPARE(mainform->aarEdit->text(), QStringLiteral("2026"));
    QVERIFY(!mainform->yearNuButton->isEnabled());

    const QList<std::pair<QToolButton *, QString>> steps{
        {mainform->yearFremButton, "2027"},    {mainform->yearFremButton10, "2037"},
        {mainform->yearTilbageButton, "2036"}, {mainform->yearTilbageButton10, "2026"},
        {mainform->yearTilbageButton10, "2016"}};
    for (const auto &[b, year] : steps) {
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(mainform->aarEdit->text(), year);
        QVERIFY(mainform->yearNuButton->isEnabled());
    }
    QTest::mouseClick(mainform->yearNuButton, Qt::LeftButton);
    QCOMPARE(mainform->aarEdit->text(), QStringLiteral("2026"));
    QVERIFY(!mainform->yearNuButton->isEnabled());

    // Past 9999 and below 0 the year is shown whole.
    mainform->aarEdit->setText(QStringLiteral("9995"));
    QTest::mouseClick(mainform->yearFremButton10, Qt::LeftButton);
    QCOMPARE(mainform->aarEdit->text(), QStringLiteral("10005"));
    mainform->aarEdit->setText(QStringLiteral("5"));
    QTest::mouseClick(mainform->yearTilbageButton10, Qt::LeftButton);
    QCOMPARE(mainform->aarEdit->text(), QStringLiteral("-5"));
    Platform::setClock({});
}

void TestCommandPanel::dateCommandsWriteIntoTheActiveDocument()
{
    Platform::setClock([] { return QDateTime(QDate(2024, 2, 4), QTime(9, 7, 3)); });
    ProgramFixture program;
    program.start();
    key("Ctrl+N");
    Platform::RichEdit *editor = mainform->activeDocument()->editor();
    for (TAction *action : {mainform->aDato, mainform->aDato2, mainform->aDato3, mainform->aKlokken}) {
        action->trigger();
        editor->replaceSelection(QStringLiteral("|"));
    }
    QCOMPARE(editor->text(), QStringLiteral("Søndag 04. Februar 2024|04-02-2024|2024-02-04|09:07:03|"));
    QVERIFY(editor->isModified());

    // The holiday list of the year shown, into the document that is active now.
    key("Ctrl+N");
    Platform::RichEdit *second = mainform->activeDocument()->editor();
    mainform->aarEdit->setText(QStringLiteral("2024"));
    mainform->aDatoUdskriv->trigger();
    QVERIFY(second->text().startsWith(QStringLiteral("Følgende dage og datoer er for år 2024.")));
    QVERIFY(second->text().contains(QStringLiteral("Påskedag: 31. Marts - Søndag")));
    QCOMPARE(mainform->bogTekstLabel->text(), QStringLiteral("Datoer: 2024"));
    QCOMPARE(editor->text(), QStringLiteral("Søndag 04. Februar 2024|04-02-2024|2024-02-04|09:07:03|"));
    Platform::setClock({});
}

// What a list holds after the drop: only its own earlier entry, that and the dropped files, or
// only the dropped files.
enum ListAfter { Unchanged, Added, Replaced };

void TestCommandPanel::drops_data()
{
    QTest::addColumn<bool>("ask");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("newList");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<int>("closedList");
    QTest::addColumn<int>("favourites");

    QTest::newRow("not asked") << false << QString() << 2 << true << true << int(Unchanged) << int(Unchanged);
    QTest::newRow("box cancelled") << true << "Annuller" << 2 << true << true << int(Unchanged) << int(Unchanged);
    QTest::newRow("box closed") << true << QString() << 1 << false << true << int(Unchanged) << int(Unchanged);
    QTest::newRow("open for editing") << true << "Gennemfør" << 0 << true << true << int(Unchanged) << int(Unchanged);
    QTest::newRow("closed list, kept") << true << "Gennemfør" << 1 << false << false << int(Added) << int(Unchanged);
    QTest::newRow("closed list, new") << true << "Gennemfør" << 1 << true << false << int(Replaced) << int(Unchanged);
    QTest::newRow("favourites, kept") << true << "Gennemfør" << 2 << false << false << int(Unchanged) << int(Added);
    QTest::newRow("favourites, new") << true << "Gennemfør" << 2 << true << false << int(Unchanged) << int(Replaced);
}

void TestCommandPanel::drops()
{
    QFETCH(bool, ask);
    QFETCH(QString, answer);
    QFETCH(int, choice);
    QFETCH(bool, newList);
    QFETCH(bool, opened);
    QFETCH(int, closedList);
    QFETCH(int, favourites);

    ProgramFixture program;
    program.start();
    const QString earlier = program.writeFile(QStringLiteral("tidligere.txt"), "t");
    filform->FavFiler1->InsertItem(earlier, QStringLiteral("tidligere.txt"), 0);
    favoritform->FavFiler->InsertItem(earlier, QStringLiteral("tidligere.txt"), 0);
    const QStringList names{program.writeFile(QStringLiteral("a.txt"), "a"),
                            program.writeFile(QStringLiteral("b.rtf"), "{\\rtf1 b}"),
                            program.writeFile(QStringLiteral("c.txt"), "c")};
    optform->CheckAskOpenDoc->setChecked(ask);
    if (ask) {
        program.modal.answer([=](QDialog &box) {
            openform->handlingsBox->setItemIndex(choice);
            openform->checkNyListe->setChecked(newList);
            if (answer.isEmpty())
                box.close();
            else
                pressButton(box, answer);
        });
    }
    drop(names);

    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(program.modal.pending(), 0);
    if (ask)
        QCOMPARE(program.modal.shown.at(0).title, QStringLiteral("Åben"));
    QCOMPARE(openFiles(), opened ? names : QStringList());
    const auto expected = [&](int after) {
        return after == Unchanged ? QStringList{earlier} : after == Added ? QStringList{earlier} + names : names;
    };
    QCOMPARE(items(filform->FavFiler1), expected(closedList));
    QCOMPARE(items(favoritform->FavFiler), expected(favourites));
    QCOMPARE(filform->isVisible(), closedList != Unchanged);
    QCOMPARE(favoritform->isVisible(), favourites != Unchanged);
    QCOMPARE(favoritform->ListeForandret, favourites != Unchanged);
    // The list boxes show what the lists hold.
    QCOMPARE(filform->ListBox1->count(), filform->FavFiler1->Antal());
    QCOMPARE(favoritform->favFilerListe->count(), favoritform->FavFiler->Antal());
}

void TestCommandPanel::dropsOfFoldersVanishedAndManyFiles()
{
    ProgramFixture program;
    program.start();
    const QString gone = program.writeFile(QStringLiteral("borte.txt"), "x");
    QFile::remove(gone);
    drop({program.workFolder(), gone});
    QVERIFY(mainform->documentWindows().isEmpty());
    QVERIFY(program.modal.shown.isEmpty());
    QVERIFY(program.shell.calls.isEmpty());

    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << program.writeFile(QStringLiteral("mange%1.txt").arg(i, 3, 10, QLatin1Char('0')), "m");
    optform->CheckAskOpenDoc->setChecked(true);
    program.modal.answer([](QDialog &box) {
        openform->handlingsBox->setItemIndex(1);
        openform->checkNyListe->setChecked(true);
        pressButton(box, QStringLiteral("Gennemfør"));
    });
    drop(many);
    QCOMPARE(items(filform->FavFiler1).size(), 300);
    QCOMPARE(filform->ListBox1->count(), 300);
    QVERIFY(mainform->documentWindows().isEmpty());
}

void TestCommandPanel::dropsOnTheDocumentWindows_data()
{
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QString>("place"); // "text", or the name of a control of the document window
    QTest::addColumn<bool>("files");    // file names dropped, or else plain text
    QTest::addColumn<bool>("toClosedList"); // the open box asks, and its choice is the closed list
    QTest::newRow("text area of a text document") << false << "text" << true << false;
    QTest::newRow("text area of a rich document") << true << "text" << true << false;
    QTest::newRow("font name field of a rich document") << true << "FontNameBox" << true << false;
    QTest::newRow("tool panel of a text document") << false << "redskabsPanel" << true << false;
    QTest::newRow("through the open box into the closed list") << false << "text" << true << true;
    QTest::newRow("plain text into a text document") << false << "text" << false << false;
    QTest::newRow("plain text into a rich document") << true << "text" << false << false;
}

void TestCommandPanel::dropsOnTheDocumentWindows()
{
    QFETCH(bool, rich);
    QFETCH(QString, place);
    QFETCH(bool, files);
    QFETCH(bool, toClosedList);
    ProgramFixture program;
    program.start();
    const QString document = program.writeFile(rich ? QStringLiteral("mål.rtf") : QStringLiteral("mål.txt"), "mål");
    mainform->funk->openwin(document, QString());
    TDocumentForm *window = mainform->activeDocument();
    QVERIFY(window->isMaximized());
    const QString before = window->editor()->text();
    const QStringList names{program.writeFile(QStringLiteral("a.txt"), "a"), program.writeFile(QStringLiteral("b.rtf"), "{\\rtf1 b}")};
    if (toClosedList) {
        optform->CheckAskOpenDoc->setChecked(true);
        program.modal.answer([](QDialog &box) {
            openform->handlingsBox->setItemIndex(1);
            openform->checkNyListe->setChecked(true);
            pressButton(box, QStringLiteral("Gennemfør"));
        });
    }

    // The drop goes where Qt sends it: to the widget under the point that takes drops, or else to
    // the nearest of its parents that does.
    QWidget *over = place == QLatin1String("text") ? window->editor()->widget()->viewport()
                                                   : window->findChild<QWidget *>(place);
    QVERIFY(over && over->isVisible());
    const QPoint point = over->mapTo(mainform, QPoint(over->width() / 2, over->height() / 2));
    QWidget *target = mainform->childAt(point);
    while (!target->acceptDrops() && target != mainform)
        target = target->parentWidget();
    QMimeData data;
    if (files)
        data.setUrls({QUrl::fromLocalFile(names[0]), QUrl::fromLocalFile(names[1])});
    else
        data.setText(QStringLiteral("tekst "));
    const QPointF at = target->mapFrom(mainform, point);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    // As Qt does, each event starts with the answer the one before it got.
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    move.setAccepted(true);
    QApplication::sendEvent(target, &move);
    QVERIFY(move.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(true);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());

    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(program.modal.pending(), 0);
    if (files) {
        QCOMPARE(window->editor()->text(), before);
        QVERIFY(!window->editor()->isModified());
        QCOMPARE(openFiles(), toClosedList ? QStringList{document} : QStringList{document} + names);
        QCOMPARE(items(filform->FavFiler1), toClosedList ? names : QStringList());
    } else {
        // A text goes into the text where it was dropped, as a text area does.
        QCOMPARE(window->editor()->text().remove(QStringLiteral("tekst ")), before);
        QVERIFY(window->editor()->isModified());
        QCOMPARE(openFiles(), QStringList{document});
    }
}

void TestCommandPanel::openBoxRemembersItsChoice()
{
    ProgramFixture program;
    QFile::remove(QDir(program.optMappe()).filePath(QStringLiteral("OpenUnit.txt")));
    program.writeFile(QDir(program.optMappe()).filePath(QStringLiteral("OpenUnit.txt")), "2\r\n1\r\n");
    program.start();
    QCOMPARE(openform->handlingsBox->itemIndex(), 2);
    QVERIFY(openform->checkNyListe->isChecked());

    // "Start med ny liste" means something only for the lists; the choice is kept when cancelled.
    optform->CheckAskOpenDoc->setChecked(true);
    const QString name = program.writeFile(QStringLiteral("d.txt"), "d");
    program.modal.answer([](QDialog &box) {
        QVERIFY(openform->checkNyListe->isEnabled());
        QTest::mouseClick(openform->handlingsBox->findChildren<QAbstractButton *>().at(0), Qt::LeftButton);
        QVERIFY(!openform->checkNyListe->isEnabled());
        pressButton(box, QStringLiteral("Annuller"));
    });
    drop({name});
    QCOMPARE(openFiles(), QStringList{name});
    QCOMPARE(ProgramFixture::readFile(openform->optFilnavn), QByteArray("0\r\n1\r\n"));
}

void TestCommandPanel::openDialogGoesThroughTheOpenBox()
{
    ProgramFixture program;
    program.start();
    optform->CheckAskOpenDoc->setChecked(true);
    const QStringList names{program.writeFile(QStringLiteral("e.txt"), "e"), program.writeFile(QStringLiteral("f.txt"), "f")};
    program.dialogs.openAnswers.enqueue(names);
    program.modal.answer([](QDialog &box) {
        openform->handlingsBox->setItemIndex(1);
        openform->checkNyListe->setChecked(false);
        pressButton(box, QStringLiteral("Gennemfør"));
    });
    key("Ctrl+O");
    QCOMPARE(items(filform->FavFiler1), names);
    QVERIFY(mainform->documentWindows().isEmpty());

    // A cancelled open dialog asks nothing.
    key("Ctrl+O");
    QCOMPARE(program.modal.shown.size(), 1);
}

void TestCommandPanel::insertIntoFavourites()
{
    ProgramFixture program;
    program.start();
    const QString name = program.writeFile(QStringLiteral("fav.txt"), "f");
    program.dialogs.openAnswers.enqueue({name});
    key("Ctrl+O");
    idle();
    QVERIFY(mainform->insertFavoritliste->isEnabled());
    mainform->insertFavoritliste->trigger();
    QVERIFY(favoritform->isVisible());
    QCOMPARE(items(favoritform->FavFiler), QStringList{name});
    QCOMPARE(favoritform->favFilerListe->item(0)->text(), QStringLiteral("fav.txt"));
    QVERIFY(favoritform->ListeForandret);
}

// The keys that the shortcut box lists reach their commands while any box has the focus, not
// only after a click on the main window.
void TestCommandPanel::shortcutBoxKeysWorkFromEveryBox()
{
    ProgramFixture program;
    const QString file = program.writeFile(QStringLiteral("brev.txt"), "brev\r\n");
    program.start({file});
    // A changed document gives F2 something to refresh.
    QTest::keyClick(mainform->activeDocument()->editor()->widget(), Qt::Key_X);

    QStringList keys;
    for (const QTableWidget *page : {genvejsform->ListView1, genvejsform->ListView2, genvejsform->ListView4})
        for (int row = 0; row < page->rowCount(); ++row)
            keys << (page == genvejsform->ListView2 ? QString() : QStringLiteral("Ctrl+"))
                        + page->item(row, 0)->text().trimmed();
    QCOMPARE(keys.size(), 18);
    const auto commandOf = [](const QKeySequence &key) -> QAction * {
        for (QAction *action : mainform->actions())
            if (action->shortcuts().contains(key))
                return action;
        return nullptr;
    };
    // Each box beside the command that shows it, which is idle while the box is showing.
    const QList<std::pair<QWidget *, QAction *>> boxes{
        {filform, mainform->dokumentBox},         {mappefilform, mainform->mappefilBox},
        {favoritform, mainform->favoritBox},      {findformen, mainform->aSearchTekst},
        {filmappeform, mainform->aSearchMappeFiler}, {genvejsform, mainform->openGenvejsboksen}};

    for (const auto &[box, ownCommand] : boxes) {
        for (const QString &text : keys) {
            const QKeySequence key(text);
            QAction *command = commandOf(key);
            QVERIFY2(command, qPrintable(text));
            if (command == ownCommand)
                continue;
            for (const auto &[other, unused] : boxes)
                if (other != box)
                    other->hide();
            box->show();
            box->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(box));
            idle();
            const QString where = box->objectName() + QLatin1Char(' ') + text;
            QVERIFY2(command->isEnabled(), qPrintable(where));
            if (command == mainform->openFiltypeboksen)
                program.modal.answer([](QDialog &typeBox) { typeBox.reject(); });
            QSignalSpy triggered(command, &QAction::triggered);
            QTest::keySequence(box->windowHandle(), key);
            QVERIFY2(triggered.size() == 1, qPrintable(where));
            QCOMPARE(program.modal.pending(), 0);
        }
    }
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestCommandPanel::everyShortcutWorksInEveryWindow()
{
    ProgramFixture program;
    program.start();
    QVERIFY(QTest::qWaitForWindowActive(mainform));
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    TDocumentForm *text = mainform->activeDocument();
    mainform->funk->openwin(QString(), QStringLiteral(".rtf"));
    TDocumentForm *rich = mainform->activeDocument();

    // Where the user's keys can start: the text of each kind of document, and the main window
    // with no document in focus (the message field of the Information page).
    const QList<std::pair<QString, std::function<void()>>> places{
        {QStringLiteral("text document"), [text] { mainform->activateDocument(text); }},
        {QStringLiteral("rich document"), [rich] { mainform->activateDocument(rich); }},
        {QStringLiteral("Information page"), [] {
             mainform->setMenuPanel(Tmainform::CommandPage::Information);
             QTest::mouseClick(mainform->bcMemo->viewport(), Qt::LeftButton);
         }}};
    ShortcutRecorder recorder;
    QSet<QObject *> collected;
    QSet<QObject *> answered;
    for (const auto &[place, focus] : places) {
        focus();
        const QList<QObject *> table = shortcutTable();
        for (QObject *object : table) {
            collected << object;
            for (const QKeySequence &key : keysOf(object)) {
                if (claimedByFocus(key)) {
                    answered << object;
                    continue;
                }
                // Every command at once, so that any two that share a key would meet.
                for (QObject *other : table)
                    enable(other);
                recorder.hits.clear();
                QTest::keySequence(mainform->windowHandle(), key);
                const auto *action = qobject_cast<QAction *>(object);
                const QString where = place + QStringLiteral(": ") + key.toString() + QStringLiteral(" of ")
                    + (action && object->objectName().isEmpty() ? action->text() : object->objectName());
                QVERIFY2(recorder.hits.size() == 1, qPrintable(where + QStringLiteral(", shortcut events: ")
                                                               + QString::number(recorder.hits.size())));
                QVERIFY2(!recorder.hits[0].ambiguous, qPrintable(where));
                QVERIFY2(keysOf(recorder.hits[0].receiver).contains(key), qPrintable(where));
                answered << recorder.hits[0].receiver;
            }
        }
    }
    for (QObject *object : std::as_const(collected))
        QVERIFY2(answered.contains(object), qPrintable(object->objectName() + QStringLiteral(" never answers its keys")));
}

// Paths and hints of any length: the status line shortens them, the name fields show their start,
// and the window keeps its size.
void TestCommandPanel::longTextsLeaveTheWindowAsItIs()
{
    ProgramFixture program;
    program.start();
    const QSize size = mainform->size();
    QString folder = program.workFolder();
    while (folder.size() < 256)
        folder += QStringLiteral("/en mappe med et langt navn");
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir::toNativeSeparators(folder + QStringLiteral("/brev.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    mainform->funk->openwin(path, QString());
    mainform->funk->openwin(QString(), QStringLiteral(".txt"));

    // Pressing the first document's tab puts its path into the status line.
    QTest::mouseClick(mainform->tc, Qt::LeftButton, {}, mainform->tc->tabRect(0).center());
    QCOMPARE(mainform->Info->text(), path);
    QCoreApplication::processEvents();
    QCOMPARE(mainform->size(), size);
    QVERIFY(mainform->minimumSizeHint().width() <= size.width());
    const QString shown = static_cast<ElidedLabel *>(mainform->Info)->shownText();
    QVERIFY2(shown.contains(QChar(0x2026)) && shown.endsWith(QStringLiteral("brev.txt"))
                 && shown.startsWith(path.left(5)), qPrintable(shown));

    // The name of the active document shows from its start on the Dokument and Bokse pages,
    // however narrow the field.
    // The fields get the name while another page is shown, and while their own is.
    using Page = Tmainform::CommandPage;
    const auto showPage = [](Page page) {
        if (!mainform->showsPage(page))
            mainform->setMenuPanel(page);
    };
    const QList<std::pair<Page, Page>> pagesAndPagesWhileChanged{{Page::Document, Page::Search},
                                                                  {Page::Boxes, Page::Search},
                                                                  {Page::Document, Page::Document},
                                                                  {Page::Boxes, Page::Boxes}};
    for (const auto &[page, pageWhileChanged] : pagesAndPagesWhileChanged) {
        QLineEdit *field = page == Page::Document ? mainform->docFilnavnEdit : mainform->skiftDocFilnavnEdit;
        field->setFixedWidth(60);
        showPage(pageWhileChanged);
        QTest::mouseClick(mainform->tc, Qt::LeftButton, {}, mainform->tc->tabRect(0).center());
        QTest::mouseClick(mainform->tc, Qt::LeftButton, {}, mainform->tc->tabRect(1).center());
        showPage(page);
        QVERIFY(field->isVisible());
        QVERIFY(field->text().startsWith(QStringLiteral("Dokumentet har ikke noget navn")));
        QCOMPARE(field->cursorPosition(), 0);
        // Refreshed with the name it already shows (F2), the field still shows its start.
        key("F2");
        QCOMPARE(field->cursorPosition(), 0);
        const QRect caret = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY2(caret.center().x() < field->width() / 2, qPrintable(field->text()));
    }
    QCOMPARE(mainform->size(), size);
}

// The count of characters in the message keeps the text after it in place as it grows.
void TestCommandPanel::messageCountKeepsItsPlace()
{
    ProgramFixture program;
    program.start();
    mainform->setMenuPanel(Tmainform::CommandPage::Information);
    QTest::mouseClick(mainform->bcMemo->viewport(), Qt::LeftButton);
    QLabel *charactersLabel = nullptr;
    for (QLabel *label : mainform->memoLabel->parentWidget()->findChildren<QLabel *>())
        if (label->text() == QLatin1String(" tegn"))
            charactersLabel = label;
    QVERIFY(charactersLabel);
    const int x = charactersLabel->x();
    for (const QByteArray typed : {"a", "bcdefghij", "klmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz0123456789"}) {
        for (const char c : typed)
            QTest::keyClick(mainform->windowHandle(), c);
        QCoreApplication::processEvents();
        QCOMPARE(charactersLabel->x(), x);
    }
    QCOMPARE(mainform->memoLabel->text(), QStringLiteral("72"));
}

// The "Egenskaber" page in the 800 by 600 window: every caption of its check boxes and choices is
// shown whole; what does not fit beside the others goes below them, within the scrolling page.
void TestCommandPanel::optionCaptionsAreWholeAtTheStandardSize()
{
    ProgramFixture program;
    program.start();
    mainform->showNormal();
    mainform->resize(800, 600);
    mainform->setMenuPanel(Tmainform::CommandPage::Options);
    QCoreApplication::processEvents();
    QCOMPARE(mainform->width(), 800);
    const QList<QWidget *> panels{optform->optPanel1, optform->optPanel2, optform->optPanel3};
    for (QWidget *panel : panels) {
        QVERIFY(panel->isVisible());
        for (QAbstractButton *choice : panel->findChildren<QAbstractButton *>()) {
            if (!choice->isVisible() || (!qobject_cast<QCheckBox *>(choice) && !qobject_cast<QRadioButton *>(choice)))
                continue;
            QVERIFY2(choice->width() >= choice->sizeHint().width(), qPrintable(choice->text()));
            QVERIFY2(QRect(QPoint(), panel->size()).contains(QRect(choice->mapTo(panel, QPoint()), choice->size())),
                     qPrintable(choice->text()));
        }
    }
    // No panel lies over another.
    for (QWidget *panel : panels)
        for (QWidget *other : panels)
            QVERIFY(panel == other || !panel->geometry().intersects(other->geometry()));
}

QTEST_MAIN(TestCommandPanel)
#include "tst_commandpanel.moc"
