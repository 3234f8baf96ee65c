#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "lists/DirBox.h"
#include "lists/mappefilUnit.h"
#include "search/findis.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

// The box "Søg i dokumenter" as the user meets it through F6: a folder of documents is searched,
// the hits are opened and pruned, and the box's own filter list is edited on its second page.

namespace {

QString optFile(const ProgramFixture &program, const QString &name)
{
    return QDir(program.optMappe()).filePath(name);
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xfe\xff") : QByteArray("\xff\xfe");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xff);
        bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1} : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// F6, as the user opens the box.
void showBox()
{
    // F6 is a key of the main window: it works while that window is the active one.
    mainform->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainform));
    TAction::updateAll();
    QVERIFY(mainform->aSearchTekst->isEnabled());
    QTest::keySequence(mainform, QKeySequence(Qt::Key_F6));
    QVERIFY(findformen->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(findformen));
    TAction::updateAll();
}

void typeInto(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void chooseFilter(const QString &shown)
{
    const int index = findformen->filterBoks->findText(shown);
    QVERIFY2(index >= 0, qPrintable(shown));
    findformen->filterBoks->setCurrentIndex(index);
}

struct Options {
    bool wholeWords = false;
    bool matchCase = false;
    bool recursive = false;
};

// Types the folder and the text, sets the ticks and presses Enter in the search field.
void search(const QString &folder, const QString &text, Options options = {})
{
    typeInto(findformen->dirEdit, QDir::toNativeSeparators(folder));
    findformen->Check1->setChecked(options.wholeWords);
    findformen->Check2->setChecked(options.matchCase);
    findformen->rekursivCheck->setChecked(options.recursive);
    typeInto(findformen->EditFind->lineEdit(), text);
    // Enter as a real key arrives: to the box's window, the caret put in the field by a click on
    // the search page.
    findformen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(findformen));
    QTabBar *tabs = findformen->pageBog->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    QTest::mouseClick(findformen->EditFind->lineEdit(), Qt::LeftButton);
    QCOMPARE(findformen->focusWidget(), findformen->EditFind);
    QTest::keyClick(findformen->windowHandle(), Qt::Key_Return);
    TAction::updateAll();
}

// The rows as "document|position|line", the document named relative to folder.
QStringList rows(const QString &folder)
{
    QStringList seen;
    const QTableWidget *list = findformen->findis;
    for (int row = 0; row < list->rowCount(); ++row)
        seen << QDir(folder).relativeFilePath(QDir::fromNativeSeparators(list->item(row, 0)->text())) + QLatin1Char('|')
                    + list->item(row, 1)->text() + QLatin1Char('|') + list->item(row, 2)->text();
    return seen;
}

void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
{
    QTableWidget *list = findformen->findis;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row, 0)).center());
    TAction::updateAll();
}

QStringList typeRows()
{
    QStringList seen;
    for (int i = 0; i < findformen->typeliste->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = findformen->typeliste->topLevelItem(i);
        seen << row->text(0) << row->text(1) << (row->checkState(0) == Qt::Checked ? "1" : "0");
    }
    return seen;
}

QStringList filterItems()
{
    QStringList items;
    for (int i = 0; i < findformen->filterBoks->count(); ++i)
        items << findformen->filterBoks->itemText(i);
    return items;
}

void selectType(int index)
{
    QTreeWidget *list = findformen->typeliste;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(index)).center());
    TAction::updateAll();
}

const QStringList standardList{
    "Tekstfil", "*.txt", "1", "Rich Text", "*.rtf", "1", "Hjemmeside", "*.html", "1", "ASP", "*.asp", "1",
    "Includefile", "*.inc", "1", "ASA", "*.asa", "1", "StyleSheet", "*.css", "1", "JavaScript", "*.js", "1",
    "VB script", "*.vbs", "1", "Windows script files", "*.wsf", "1", "Batch", "*.bat", "1", "Power Shell", "*.ps1", "0"};

} // namespace

class TestFindis : public QObject {
    Q_OBJECT
private slots:
    void boxAsTheUserMeetsIt();
    void hitsInADocument_data();
    void hitsInADocument();
    void foldersBelowAndMasks();
    void unreadableFilesAreSkippedAlone();
    void searchesThatFindNothing();
    void historyOfSearchTexts();
    void openingAndPruningTheHits();
    void searchFolderChoices();
    void editingTheFilterList();
    void ownFilterFileIsKept();
    void settingsFile_data();
    void settingsFile();
};

void TestFindis::boxAsTheUserMeetsIt()
{
    ProgramFixture program;
    // The help page, where an installation puts it.
    const QString helpSource = QFileInfo(QStringLiteral(__FILE__)).absolutePath()
                               + QStringLiteral("/../../resources/program/Information/Find i dokumenter2.html");
    const QString helpFolder = QDir(program.dataRoot()).filePath(QStringLiteral("Program/Information"));
    QVERIFY(QDir().mkpath(helpFolder));
    QVERIFY(QFile::copy(helpSource, QDir(helpFolder).filePath(QStringLiteral("Find i dokumenter2.html"))));
    program.start();
    mappefilform->dirBox->setDirectory(program.workFolder());
    QVERIFY(!QFileInfo::exists(optFile(program, QStringLiteral("Filtertyper.txt"))));

    showBox();
    QCOMPARE(findformen->windowTitle(), QStringLiteral("Søg i dokumenter"));
    QVERIFY(!mainform->aSearchTekst->isEnabled());
    // The first showing writes the standard filter list and offers its ticked types.
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("Filtertyper.txt"))), crlf(standardList));
    QCOMPARE(typeRows(), standardList);
    QCOMPARE(filterItems().size(), 11);
    QCOMPARE(filterItems().first(), QStringLiteral("Tekstfil (*.txt)"));
    QCOMPARE(filterItems().last(), QStringLiteral("Batch (*.bat)"));
    QCOMPARE(findformen->filterBoks->currentIndex(), 0);
    // The search starts in the folder of the folder-and-file box.
    QCOMPARE(findformen->dirEdit->text(), QDir::toNativeSeparators(program.workFolder()));
    QCOMPARE(findformen->Mappe, QDir::toNativeSeparators(program.workFolder()));
    QCOMPARE(findformen->dirEdit->placeholderText(), QStringLiteral("Indfør søgemappe"));
    QCOMPARE(findformen->countdis->text(), QStringLiteral("0"));
    QCOMPARE(findformen->mappeLabel->text(), QStringLiteral("Mapper"));
    QCOMPARE(findformen->filLabel->text(), QStringLiteral("Filer"));
    QCOMPARE(findformen->findis->horizontalHeaderItem(0)->text(), QStringLiteral("Dokument"));
    QCOMPARE(findformen->findis->horizontalHeaderItem(1)->text(), QStringLiteral("Position"));
    QCOMPARE(findformen->findis->horizontalHeaderItem(2)->text(), QStringLiteral("Tekst"));
    QCOMPARE(findformen->findis->columnWidth(0), 320);
    QVERIFY(!findformen->saveknap->isEnabled());

    // Nothing to search for, nothing selected: only the folder command is offered.
    for (TAction *action : {findformen->AfindBib, findformen->AopenAll, findformen->AvisValgte, findformen->ArunValgte,
                            findformen->AeditValgte, findformen->aFind, findformen->Afjern, findformen->AsletAlt,
                            findformen->Aop, findformen->Aned, findformen->aInsertNew, findformen->aSletValgte})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(findformen->aAktuelle->isEnabled());
    QTest::keyClicks(findformen->EditFind->lineEdit(), QStringLiteral("x"));
    TAction::updateAll();
    QVERIFY(findformen->AfindBib->isEnabled());

    // "Information" shows the filter page, where the help page stands.
    QCOMPARE(findformen->pageBog->tabText(0), QStringLiteral("Søg"));
    QCOMPARE(findformen->pageBog->tabText(1), QStringLiteral("Filtre"));
    QTest::mouseClick(findformen->ButtonInfo, Qt::LeftButton);
    QCOMPARE(findformen->pageBog->currentIndex(), 1);
    QCOMPARE(findformen->WebBrowser1->documentTitle(), QStringLiteral("Søg i dokumenter"));
    QVERIFY(findformen->WebBrowser1->toPlainText().contains(QStringLiteral("Filterlisten")));

    // "Luk" hides the box and writes its place and height; F6 is offered again.
    QTest::mouseClick(findformen->ButtonLuk, Qt::LeftButton);
    QVERIFY(!findformen->isVisible());
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("Findis.txt"))),
             crlf({QString::number(findformen->x()), QString::number(findformen->y()),
                   QString::number(findformen->height())}));
    TAction::updateAll();
    QVERIFY(mainform->aSearchTekst->isEnabled());
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFindis::hitsInADocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("expected"); // "position|line"

    QTest::newRow("hits never overlap") << "a.txt" << QByteArray("aaaa") << "aa" << false << false
                                        << QStringList{"0|aaaa", "2|aaaa"};
    QTest::newRow("a line break is one character") << "a.txt" << QByteArray("abc\r\nxabc") << "abc" << false << false
                                                   << QStringList{"0|abc", "5|xabc"};
    QTest::newRow("parts of words") << "a.txt" << QByteArray("ordbog og ord") << "ord" << false << false
                                    << QStringList{"0|ordbog og ord", "10|ordbog og ord"};
    QTest::newRow("whole words only") << "a.txt" << QByteArray("ordbog og ord") << "ord" << true << false
                                      << QStringList{"10|ordbog og ord"};
    QTest::newRow("case ignored") << "a.txt" << QByteArray("Ord ord \xc3\x86" "BLE \xc3\xa6" "ble") << "ord" << false
                                  << false << QStringList{"0|Ord ord ÆBLE æble", "4|Ord ord ÆBLE æble"};
    QTest::newRow("Danish letters, case ignored")
        << "a.txt" << QByteArray("Ord ord \xc3\x86" "BLE \xc3\xa6" "ble") << "æble" << false << false
        << QStringList{"8|Ord ord ÆBLE æble", "13|Ord ord ÆBLE æble"};
    QTest::newRow("case matched") << "a.txt" << QByteArray("Ord ord") << "Ord" << false << true << QStringList{"0|Ord ord"};
    QTest::newRow("Windows-1252") << "a.txt" << QByteArray("K\xf8" "benhavn\r\n\xe6" "bler og p\xe6rer") << "ÆBLER"
                                  << false << false << QStringList{"10|æbler og pærer"};
    QTest::newRow("UTF-16 LE") << "a.txt" << utf16(QStringLiteral("Første linje\r\nsøg her"), false) << "søg" << false
                               << false << QStringList{"13|søg her"};
    QTest::newRow("UTF-16 BE") << "a.txt" << utf16(QStringLiteral("Første linje\nsøg her"), true) << "linje" << false
                               << false << QStringList{"7|Første linje"};
    QTest::newRow("UTF-8 with its mark") << "a.txt" << QByteArray("\xef\xbb\xbf" "bl\xc3\xa5" " hav") << "hav" << false
                                         << false << QStringList{"4|blå hav"};
    // Only the visible text of a rich-text document is searched: not its font table or its
    // control words.
    const QByteArray rtf("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0 Hej \\b verden\\b0\\par "
                         "bold K\\'f8ge\\par}");
    QTest::newRow("RTF, visible text") << "a.rtf" << rtf << "verden" << false << false << QStringList{"4|Hej verden"};
    QTest::newRow("RTF, second paragraph") << "a.rtf" << rtf << "køge" << false << false << QStringList{"16|bold Køge"};
    QTest::newRow("RTF, markup not searched") << "a.rtf" << rtf << "Arial" << false << false << QStringList{};
    QTest::newRow("RTF, control words not searched") << "a.rtf" << rtf << "ansi" << false << false << QStringList{};
    // A file's bytes are looked at before it is decoded; characters beyond ASCII that compare
    // equal to a letter of the search text, in every encoding, still give their hits.
    QTest::newRow("KELVIN SIGN as k") << "a.txt" << QByteArray("Grader i \xe2\x84\xaa" "elvin") << "kelvin" << false
                                      << false << QStringList{QStringLiteral("9|Grader i \u212aelvin")};
    QTest::newRow("LONG S as s") << "a.txt" << QByteArray("Me\xc5\xbf\xc5\xbf" "e") << "MESSE" << false << false
                                 << QStringList{QStringLiteral("0|Me\u017f\u017fe")};
    QTest::newRow("no-break space as a space, UTF-8") << "a.txt" << QByteArray("to\xc2\xa0ord") << "o o" << false
                                                      << false << QStringList{QStringLiteral("1|to\u00a0ord")};
    QTest::newRow("no-break space as a space, Windows-1252")
        << "a.txt" << QByteArray("to\xa0ord p\xe5") << "o o" << false << false << QStringList{QStringLiteral("1|to\u00a0ord på")};
    QTest::newRow("Danish letters around ASCII, UTF-8") << "a.txt" << QByteArray("KIRKEG\xc3\x85RD") << "kirkegård"
                                                        << false << false << QStringList{"0|KIRKEGÅRD"};
    QTest::newRow("Danish letters around ASCII, Windows-1252")
        << "a.txt" << QByteArray("en kirkeg\xc5rd") << "KIRKEGÅRD" << false << false << QStringList{"3|en kirkegÅrd"};
    QTest::newRow("Danish letters, case matched") << "a.txt" << QByteArray("Kirkeg\xc3\xa5rd kirkeg\xc3\xa5rd")
                                                  << "kirkegård" << false << true << QStringList{"10|Kirkegård kirkegård"};
    QTest::newRow("case matched, other case only") << "a.txt" << QByteArray("ORD og Ord") << "ord" << false << true
                                                   << QStringList{};
    QTest::newRow("first and last bytes") << "a.txt" << QByteArray("ord i midten ord") << "ORD" << false << false
                                          << QStringList{"0|ord i midten ord", "13|ord i midten ord"};
    QTest::newRow("the whole file") << "a.txt" << QByteArray("ord") << "ord" << true << false << QStringList{"0|ord"};
    QTest::newRow("UTF-16 with ASCII text") << "a.txt" << utf16(QStringLiteral("x ORD"), false) << "ord" << false
                                            << false << QStringList{"2|x ORD"};
    // In RTF a word may be split by formatting, groups and escapes that the screen cannot read.
    QTest::newRow("RTF, a word across control words and groups")
        << "a.rtf" << QByteArray("{\\rtf1\\ansi kom\\b mune\\b0 {\\i s}kat{\\*\\skjult x}ten\\par}")
        << "kommuneskatten" << false << false << QStringList{"0|kommuneskatten"};
    QTest::newRow("RTF, letters as escapes") << "a.rtf" << QByteArray("{\\rtf1\\ansi \\'4bo\\u109 ?mune\\par}")
                                             << "kommune" << false << false << QStringList{"0|Kommune"};
    // An RTF file's text is looked at before it is folded; the characters that compare equal to a
    // letter or a space of the search text, and the other letter case, still give their hits.
    QTest::newRow("RTF, KELVIN SIGN as k") << "a.rtf" << QByteArray("{\\rtf1\\ansi Grader i \\u8490?elvin\\par}")
                                           << "kelvin" << false << false
                                           << QStringList{QStringLiteral("9|Grader i \u212aelvin")};
    QTest::newRow("RTF, LONG S as s") << "a.rtf" << QByteArray("{\\rtf1\\ansi Me\\u383?\\u383?e\\par}") << "MESSE"
                                      << false << false << QStringList{QStringLiteral("0|Me\u017f\u017fe")};
    QTest::newRow("RTF, no-break space as a space") << "a.rtf" << QByteArray("{\\rtf1\\ansi to\\~ord\\par}") << "o o"
                                                    << false << false << QStringList{QStringLiteral("1|to\u00a0ord")};
    QTest::newRow("RTF, case ignored") << "a.rtf" << QByteArray("{\\rtf1\\ansi SKAT og Skat\\par}") << "skat" << false
                                       << false << QStringList{"0|SKAT og Skat", "8|SKAT og Skat"};
    // A long paragraph gives the line of a 400 pixel wide area that holds the hit, not the whole
    // paragraph (checked below).
    QByteArray longParagraph;
    for (int i = 0; i < 60; ++i)
        longParagraph += "ord" + QByteArray::number(i) + " ";
    QTest::newRow("long paragraph") << "a.txt" << longParagraph + "slutning" << "slutning" << false << false
                                    << QStringList{QString::number(longParagraph.size()) + "|*slutning"};
    QByteArray veryLongParagraph;
    for (int i = 0; i < 400; ++i)
        veryLongParagraph += "ord" + QByteArray::number(i) + " ";
    QTest::newRow("very long paragraph") << "a.txt" << veryLongParagraph + "slutning" << "slutning" << false << false
                                         << QStringList{QString::number(veryLongParagraph.size()) + "|*slutning"};
}

void TestFindis::hitsInADocument()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, wholeWords);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, expected);
    ProgramFixture program;
    program.start();
    program.writeFile(name, bytes);
    showBox();
    chooseFilter(name.endsWith(QLatin1String(".rtf")) ? QStringLiteral("Rich Text (*.rtf)")
                                                      : QStringLiteral("Tekstfil (*.txt)"));
    search(program.workFolder(), text, {wholeWords, matchCase, false});

    const QStringList found = rows(program.workFolder());
    QCOMPARE(found.size(), expected.size());
    for (int i = 0; i < found.size(); ++i) {
        const QString shown = found[i].section(QLatin1Char('|'), 1);
        QVERIFY(found[i].startsWith(name + QLatin1Char('|')));
        if (expected[i].contains(QLatin1String("|*"))) {
            // The piece of the paragraph: it ends the paragraph and holds the hit, but it is
            // shorter than the whole paragraph.
            const QString line = shown.section(QLatin1Char('|'), 1);
            QCOMPARE(shown.section(QLatin1Char('|'), 0, 0), expected[i].section(QLatin1Char('|'), 0, 0));
            QVERIFY(line.endsWith(text));
            QVERIFY2(line.size() < bytes.size() / 2, qPrintable(line));
            QVERIFY(QString::fromUtf8(bytes).endsWith(line));
        } else {
            QCOMPARE(shown, expected[i]);
        }
    }
    QCOMPARE(findformen->countdis->text(), QString::number(expected.size()));
    // Without "Rekursivt" nothing is counted.
    QCOMPARE(findformen->mappeLabel->text(), QString());
    QCOMPARE(findformen->filLabel->text(), QString());
    QCOMPARE(findformen->findBar->value(), 0);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFindis::foldersBelowAndMasks()
{
    ProgramFixture program;
    program.start();
    const QString top = QDir(program.workFolder()).filePath(QStringLiteral("top"));
    writeFile(top + QStringLiteral("/b.txt"), "find");
    writeFile(top + QStringLiteral("/a.txt"), "x find");
    writeFile(top + QStringLiteral("/c.dat"), "find");
    writeFile(top + QStringLiteral("/uden"), "find");
    writeFile(top + QStringLiteral("/under/D.TXT"), "find find");
    // A link back to the top: the walk must neither loop nor search the top twice.
    QVERIFY(QFile::link(top, top + QStringLiteral("/under/tilbage")));
    showBox();

    search(top, QStringLiteral("find"), {false, false, true});
    QCOMPARE(rows(top), QStringList({"a.txt|2|x find", "b.txt|0|find", "under/D.TXT|0|find find",
                                     "under/D.TXT|5|find find"}));
    QCOMPARE(findformen->mappeLabel->text(), QStringLiteral("Mapper: 1"));
    QCOMPARE(findformen->filLabel->text(), QStringLiteral("Filer: 3"));
    QCOMPARE(findformen->findBar->maximum(), 3);
    QCOMPARE(findformen->findBar->value(), 3);
    QCOMPARE(findformen->countdis->text(), QStringLiteral("4"));

    // Without "Rekursivt" the folder below is not searched.
    search(top, QStringLiteral("find"), {false, false, false});
    QCOMPARE(rows(top), QStringList({"a.txt|2|x find", "b.txt|0|find"}));
    QCOMPARE(findformen->mappeLabel->text(), QString());

    // A type of "*.*": every file is searched, names without an extension too, but none is
    // counted for the bar.
    findformen->pageBog->setCurrentIndex(1);
    typeInto(findformen->tekstedit, QStringLiteral("Alle"));
    typeInto(findformen->typeedit, QStringLiteral("*.*"));
    QTest::keyClick(findformen->typeedit, Qt::Key_Return);
    QTest::mouseClick(findformen->saveknap, Qt::LeftButton);
    chooseFilter(QStringLiteral("Alle (*.*)"));
    search(top, QStringLiteral("find"), {false, false, true});
    QCOMPARE(rows(top), QStringList({"a.txt|2|x find", "b.txt|0|find", "c.dat|0|find", "uden|0|find",
                                     "under/D.TXT|0|find find", "under/D.TXT|5|find find"}));
    QCOMPARE(findformen->filLabel->text(), QStringLiteral("Filer: 0"));
    QCOMPARE(findformen->findBar->value(), 0);
}

void TestFindis::unreadableFilesAreSkippedAlone()
{
    ProgramFixture program;
    program.start();
    const QString folder = program.workFolder();
    program.writeFile(QStringLiteral("a.txt"), "mål");
    // Names that match the mask but cannot be read as files, between two that can.
    QVERIFY(QFile::link(QDir(folder).filePath(QStringLiteral("borte")), QDir(folder).filePath(QStringLiteral("b.txt"))));
    QVERIFY(QDir(folder).mkdir(QStringLiteral("c.txt")));
#ifdef Q_OS_LINUX
    // A file the system lists as an ordinary file, yet every read of it fails.
    QVERIFY(QFileInfo(QStringLiteral("/proc/self/mem")).isFile());
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), QDir(folder).filePath(QStringLiteral("d.txt"))));
#endif
    program.writeFile(QStringLiteral("e.txt"), "et mål");
    showBox();

    search(folder, QStringLiteral("mål"));
    QCOMPARE(rows(folder), QStringList({"a.txt|0|mål", "e.txt|3|et mål"}));
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFindis::searchesThatFindNothing()
{
    ProgramFixture program;
    // A saved list with no ticked type leaves the filter box empty.
    writeFile(optFile(program, QStringLiteral("Filtertyper.txt")), crlf({"Tekstfil", "*.txt", "0"}));
    program.start();
    program.writeFile(QStringLiteral("a.txt"), "hit");
    showBox();
    QVERIFY(filterItems().isEmpty());
    program.modal.press(QStringLiteral("OK"));
    search(program.workFolder(), QStringLiteral("hit"));
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(shownText(program.modal.shown[0].text), QStringLiteral("Information:\nDer opstod en ukendt fejl."));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(findformen->findis->rowCount(), 0);

    // Ticked and saved, the type is offered; a folder that is not there gives no rows.
    findformen->typeliste->topLevelItem(0)->setCheckState(0, Qt::Checked);
    typeInto(findformen->tekstedit, QStringLiteral("Data"));
    typeInto(findformen->typeedit, QStringLiteral("dat"));
    QTest::keyClick(findformen->typeedit, Qt::Key_Return);
    QTest::mouseClick(findformen->saveknap, Qt::LeftButton);
    QCOMPARE(filterItems(), QStringList({"Tekstfil (*.txt)", "Data (*.dat)"}));
    search(program.workFolder(), QStringLiteral("hit"));
    QCOMPARE(findformen->findis->rowCount(), 1);
    search(QDir(program.workFolder()).filePath(QStringLiteral("ingen")), QStringLiteral("hit"), {false, false, true});
    QCOMPARE(findformen->findis->rowCount(), 0);
    QCOMPARE(findformen->countdis->text(), QStringLiteral("0"));
    QCOMPARE(program.modal.shown.size(), 1);
}

void TestFindis::historyOfSearchTexts()
{
    ProgramFixture program;
    program.start();
    program.writeFile(QStringLiteral("a.txt"), "Tekst");
    showBox();
    const auto history = [] {
        QStringList items;
        for (int i = 0; i < findformen->EditFind->count(); ++i)
            items << findformen->EditFind->itemText(i);
        return items;
    };
    search(program.workFolder(), QStringLiteral("Tekst"));
    search(program.workFolder(), QStringLiteral("Tekst"));
    QCOMPARE(history(), QStringList{"Tekst"});
    search(program.workFolder(), QStringLiteral("tekst"));
    QCOMPARE(history(), QStringList({"Tekst", "tekst"}));
    QCOMPARE(findformen->findis->rowCount(), 1);

    // Closing and showing again keeps the results and the history.
    findformen->close();
    showBox();
    QCOMPARE(history(), QStringList({"Tekst", "tekst"}));
    QCOMPARE(findformen->findis->rowCount(), 1);
    QCOMPARE(findformen->countdis->text(), QStringLiteral("1"));

    // "#" empties the history; the text in the field stays.
    QCOMPARE(findformen->Button1->toolTip(), QStringLiteral("Ryd find- listen"));
    QTest::mouseClick(findformen->Button1, Qt::LeftButton);
    QVERIFY(history().isEmpty());
    QCOMPARE(findformen->EditFind->currentText(), QStringLiteral("tekst"));

    // "Ryd listen" empties the rows and the search field.
    TAction::updateAll();
    findformen->AsletAlt->trigger();
    QCOMPARE(findformen->findis->rowCount(), 0);
    QCOMPARE(findformen->EditFind->currentText(), QString());
    QCOMPARE(findformen->countdis->text(), QStringLiteral("0"));
    TAction::updateAll();
    QVERIFY(!findformen->AsletAlt->isEnabled());
    QVERIFY(!findformen->AfindBib->isEnabled());
}

void TestFindis::openingAndPruningTheHits()
{
    ProgramFixture program;
    program.start();
    const QString folder = program.workFolder();
    const QString a = program.writeFile(QStringLiteral("a.txt"), "hit\nanden hit");
    const QString b = program.writeFile(QStringLiteral("b.txt"), "hit");
    const QString c = program.writeFile(QStringLiteral("c.txt"), "hit hit");
    showBox();
    search(folder, QStringLiteral("hit"));
    const QStringList all{"a.txt|0|hit", "a.txt|10|anden hit", "b.txt|0|hit", "c.txt|0|hit hit", "c.txt|4|hit hit"};
    QCOMPARE(rows(folder), all);

    // One row: "Åben" opens the document and puts its line in the command panel's search field.
    clickRow(1);
    for (TAction *action : {findformen->AopenAll, findformen->AvisValgte, findformen->ArunValgte,
                            findformen->AeditValgte, findformen->aFind, findformen->Afjern})
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    findformen->AvisValgte->trigger();
    QCOMPARE(mainform->documentWindows().size(), 1);
    QCOMPARE(mainform->documentWindows().first()->Filnavn, a);
    QVERIFY(!mainform->menuBog->isHidden());
    QCOMPARE(mainform->currentPage(), Tmainform::CommandPage::Search);
    QCOMPARE(mainform->ordEdit->text(), QStringLiteral("anden hit"));
    // Again with the page already showing: it stays open.
    findformen->AvisValgte->trigger();
    QVERIFY(!mainform->menuBog->isHidden());
    QCOMPARE(mainform->documentWindows().size(), 1);

    // A double click opens the row's document.
    const QTableWidget *list = findformen->findis;
    clickRow(2);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2, 0)).center());
    QCOMPARE(mainform->documentWindows().size(), 2);
    QCOMPARE(mainform->activeDocument()->Filnavn, b);

    // "Kør", "Rediger" and "Find" hand the file and its folder to the desktop.
    clickRow(3);
    findformen->ArunValgte->trigger();
    findformen->AeditValgte->trigger();
    findformen->aFind->trigger();
    QCOMPARE(program.shell.calls.size(), 3);
    QCOMPARE(program.shell.calls[0].operation, QStringLiteral("open"));
    QCOMPARE(QDir(program.shell.calls[0].folder).filePath(program.shell.calls[0].file), c);
    QCOMPARE(program.shell.calls[1].operation, QStringLiteral("edit"));
    QCOMPARE(program.shell.calls[2].operation, QStringLiteral("open"));
    QCOMPARE(program.shell.calls[2].file, QDir::toNativeSeparators(folder));

    // Several rows: only "Åben alle" and "Fjern valgte"; a file that has gone is passed over.
    clickRow(0);
    clickRow(4, Qt::ControlModifier);
    QVERIFY(findformen->AopenAll->isEnabled());
    QVERIFY(findformen->Afjern->isEnabled());
    for (TAction *action : {findformen->AvisValgte, findformen->ArunValgte, findformen->AeditValgte, findformen->aFind})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    mainform->winLukAlle->trigger();
    QTRY_VERIFY(mainform->documentWindows().isEmpty());
    QFile::remove(a);
    findformen->AopenAll->trigger();
    QCOMPARE(mainform->documentWindows().size(), 1);
    QCOMPARE(mainform->documentWindows().first()->Filnavn, c);
    QVERIFY(program.modal.shown.isEmpty());

    // The commands for one row tell when its file or folder has gone.
    clickRow(0);
    for (TAction *action : {findformen->AvisValgte, findformen->ArunValgte, findformen->AeditValgte}) {
        program.modal.press(QStringLiteral("OK"));
        action->trigger();
        QCOMPARE(shownText(program.modal.shown.last().text), QStringLiteral("Filen blev ikke fundet."));
    }
    program.modal.press(QStringLiteral("OK"));
    findformen->aFind->trigger();
    QCOMPARE(shownText(program.modal.shown.last().text), QStringLiteral("Fejlinformation:\nMappen blev ikke fundet."));
    QCOMPARE(program.shell.calls.size(), 3);

    // "Fjern valgte" with the second and fourth rows selected removes the second only; the row
    // that took its place is selected with the fourth.
    clickRow(1);
    clickRow(3, Qt::ControlModifier);
    findformen->Afjern->trigger();
    QCOMPARE(rows(folder), QStringList({all[0], all[2], all[3], all[4]}));
    QCOMPARE(findformen->countdis->text(), QStringLiteral("4"));
    const auto selected = [] {
        QList<int> rows;
        for (const QModelIndex &index : findformen->findis->selectionModel()->selectedRows())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    QCOMPARE(selected(), QList<int>({1, 2}));
    // The last row gone, the one before it is selected.
    clickRow(3);
    TAction::updateAll();
    findformen->Afjern->trigger();
    QCOMPARE(rows(folder), QStringList({all[0], all[2], all[3]}));
    QCOMPARE(selected(), QList<int>({2}));
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestFindis::searchFolderChoices()
{
    ProgramFixture program;
    program.start();
    const QString other = QDir(program.workFolder()).filePath(QStringLiteral("anden"));
    QVERIFY(QDir().mkpath(other));
    showBox();

    // The browse button of the folder field.
    program.dialogs.folderAnswers.enqueue(other);
    findformen->dirBrowse->trigger();
    QCOMPARE(findformen->dirEdit->text(), QDir::toNativeSeparators(other));
    QCOMPARE(findformen->Mappe, QDir::toNativeSeparators(other));
    findformen->dirBrowse->trigger();
    QCOMPARE(findformen->Mappe, QDir::toNativeSeparators(other));

    // "Aktuelle" takes the folder of the folder-and-file box; it is offered only while the
    // search folder exists.
    mappefilform->dirBox->setDirectory(program.workFolder());
    TAction::updateAll();
    findformen->aAktuelle->trigger();
    QCOMPARE(findformen->dirEdit->text(), QDir::toNativeSeparators(program.workFolder()));
    typeInto(findformen->dirEdit, QDir(program.workFolder()).filePath(QStringLiteral("ingen")));
    TAction::updateAll();
    QVERIFY(!findformen->aAktuelle->isEnabled());
}

void TestFindis::editingTheFilterList()
{
    ProgramFixture program;
    program.start();
    showBox();
    QTest::mouseClick(findformen->ButtonInfo, Qt::LeftButton);
    const QString filterFile = optFile(program, QStringLiteral("Filtertyper.txt"));

    // A typed type becomes a mask; each new entry is ticked and makes the list worth saving.
    const QList<std::pair<QString, QString>> typed{{"txt", "*.txt"}, {".txt", "*.txt"}, {"*.txt", "*.txt"},
                                                   {"a.b.c", "*.c"},  {"txt.", "*."},    {"*.*", "*.*"}};
    QStringList expected = standardList;
    for (const auto &[type, mask] : typed) {
        typeInto(findformen->tekstedit, QStringLiteral("Ny ") + type);
        TAction::updateAll();
        QVERIFY(!findformen->aInsertNew->isEnabled());
        typeInto(findformen->typeedit, type);
        TAction::updateAll();
        QVERIFY(findformen->aInsertNew->isEnabled());
        QTest::keyClick(findformen->typeedit, Qt::Key_Return);
        expected << QStringLiteral("Ny ") + type << mask << QStringLiteral("1");
        QVERIFY(findformen->tekstedit->text().isEmpty());
        QVERIFY(findformen->typeedit->text().isEmpty());
        QCOMPARE(findformen->focusWidget(), findformen->tekstedit);
    }
    QCOMPARE(typeRows(), expected);
    QVERIFY(findformen->saveknap->isEnabled());
    // The filter box changes only when the list is saved.
    QCOMPARE(filterItems().size(), 11);
    QTest::mouseClick(findformen->saveknap, Qt::LeftButton);
    QVERIFY(!findformen->saveknap->isEnabled());
    QVERIFY(findformen->isVisible());
    QCOMPARE(ProgramFixture::readFile(filterFile), crlf(expected));
    QCOMPARE(filterItems().size(), 17);
    QCOMPARE(filterItems().last(), QStringLiteral("Ny *.* (*.*)"));

    // Ticking alone changes the list, not the save button.
    findformen->typeliste->topLevelItem(11)->setCheckState(0, Qt::Checked);
    QVERIFY(!findformen->saveknap->isEnabled());

    // The first entry neither moves up nor goes; the last does not move down.
    selectType(0);
    QVERIFY(!findformen->Aop->isEnabled());
    QVERIFY(findformen->Aned->isEnabled());
    QVERIFY(!findformen->aSletValgte->isEnabled());
    selectType(17);
    QVERIFY(findformen->Aop->isEnabled());
    QVERIFY(!findformen->Aned->isEnabled());
    QVERIFY(findformen->aSletValgte->isEnabled());
    // A move takes text, mask and tick along and leaves nothing selected.
    selectType(11);
    findformen->Aop->trigger();
    QCOMPARE(typeRows().mid(30, 6), QStringList({"Power Shell", "*.ps1", "1", "Batch", "*.bat", "1"}));
    QCOMPARE(findformen->typeliste->selectedItems().size(), 0);
    QVERIFY(findformen->saveknap->isEnabled());
    selectType(0);
    findformen->Aned->trigger();
    QCOMPARE(typeRows().mid(0, 6), QStringList({"Rich Text", "*.rtf", "1", "Tekstfil", "*.txt", "1"}));
    QCOMPARE(findformen->typeliste->actions(), QList<QAction *>({findformen->Aop, findformen->Aned}));

    // Deleting asks first; "Nej" keeps the entry.
    QTest::mouseClick(findformen->saveknap, Qt::LeftButton);
    selectType(2);
    program.modal.press(QStringLiteral("Nej"));
    findformen->aSletValgte->trigger();
    QCOMPARE(shownText(program.modal.shown.last().text), QStringLiteral("Skal filtypen:\nHjemmeside\nslettes permanent?"));
    QCOMPARE(findformen->typeliste->topLevelItem(2)->text(0), QStringLiteral("Hjemmeside"));
    QVERIFY(!findformen->saveknap->isEnabled());
    program.modal.press(QStringLiteral("Ja"));
    findformen->aSletValgte->trigger();
    QCOMPARE(findformen->typeliste->topLevelItemCount(), 17);
    QCOMPARE(findformen->typeliste->topLevelItem(2)->text(0), QStringLiteral("ASP"));
    QVERIFY(findformen->saveknap->isEnabled());
    // Without a selected entry the command, still offered until the program is idle, says so.
    findformen->typeliste->clearSelection();
    program.modal.press(QStringLiteral("OK"));
    findformen->aSletValgte->trigger();
    QCOMPARE(shownText(program.modal.shown.last().text), QStringLiteral("Der er ikke valgt en filtype!"));

    // Closing and showing again keeps the list; "Standard" still works after it.
    findformen->close();
    showBox();
    QCOMPARE(findformen->typeliste->topLevelItemCount(), 17);
    program.modal.press(QStringLiteral("Nej"));
    QTest::mouseClick(findformen->standardKnap, Qt::LeftButton);
    QCOMPARE(findformen->typeliste->topLevelItemCount(), 17);
    QCOMPARE(shownText(program.modal.shown.last().text),
             QStringLiteral("Der vil muligvist blive fjernet typer, der er indført senere!\n"
                            "Skal standardlisten hentes alligevel?"));
    program.modal.press(QStringLiteral("Ja"));
    QTest::mouseClick(findformen->standardKnap, Qt::LeftButton);
    QCOMPARE(typeRows(), standardList);
    QCOMPARE(ProgramFixture::readFile(filterFile), crlf(standardList));
    QCOMPARE(filterItems().size(), 11);
    QVERIFY(!findformen->saveknap->isEnabled());
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestFindis::ownFilterFileIsKept()
{
    ProgramFixture program;
    // The user's own list, in UTF-16 with its mark, with a tail that is no whole entry.
    const QString filterFile = optFile(program, QStringLiteral("Filtertyper.txt"));
    writeFile(filterFile, utf16(QStringLiteral("Første\r\n*.før\r\n1\r\nAndet\r\n*.and\r\n0\r\nTredje\r\n*.tre\r\n1\r\nhalv\r\n"),
                                false));
    program.start();
    program.writeFile(QStringLiteral("x.TRE"), "find");
    program.writeFile(QStringLiteral("x.and"), "find");
    showBox();
    QCOMPARE(typeRows(), QStringList({"Første", "*.før", "1", "Andet", "*.and", "0", "Tredje", "*.tre", "1"}));
    QCOMPARE(filterItems(), QStringList({"Første (*.før)", "Tredje (*.tre)"}));

    QTest::mouseClick(findformen->ButtonInfo, Qt::LeftButton);
    // The second item of the filter box is the third entry of the list.
    chooseFilter(QStringLiteral("Tredje (*.tre)"));
    search(program.workFolder(), QStringLiteral("find"));
    QCOMPARE(rows(program.workFolder()), QStringList{"x.TRE|0|find"});
    QCOMPARE(findformen->searchMask, QStringLiteral("*.tre"));
    QCOMPARE(findformen->searchMaskIndex, 2);

    // Saved again, it keeps its encoding.
    selectType(2);
    findformen->Aop->trigger();
    QTest::mouseClick(findformen->saveknap, Qt::LeftButton);
    QCOMPARE(ProgramFixture::readFile(filterFile),
             utf16(QStringLiteral("Første\r\n*.før\r\n1\r\nTredje\r\n*.tre\r\n1\r\nAndet\r\n*.and\r\n0\r\n"), false));
}

void TestFindis::settingsFile_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file
    QTest::addColumn<QPoint>("place");    // -1: the design's
    QTest::addColumn<int>("height");

    QTest::newRow("missing") << QByteArray() << QPoint(20, 40) << 580;
    QTest::newRow("three lines") << QByteArray("100\r\n120\r\n500\r\n") << QPoint(100, 120) << 500;
    QTest::newRow("more lines") << QByteArray("100\r\n120\r\n500\r\n7\r\n") << QPoint(100, 120) << 500;
    QTest::newRow("short") << QByteArray("100\r\n") << QPoint(100, -1) << 580;
    QTest::newRow("a word first") << QByteArray("venstre\r\n120\r\n500\r\n") << QPoint(-1, -1) << 580;
}

void TestFindis::settingsFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QPoint, place);
    QFETCH(int, height);
    ProgramFixture program;
    if (!file.isEmpty())
        writeFile(optFile(program, QStringLiteral("Findis.txt")), file);
    program.start();
    if (place.x() >= 0)
        QCOMPARE(findformen->x(), place.x());
    if (place.y() >= 0)
        QCOMPARE(findformen->y(), place.y());
    QCOMPARE(findformen->height(), height);
    QVERIFY(program.modal.shown.isEmpty());

    // "Luk alle bokse" closes the box, which writes its place and height.
    showBox();
    findformen->resize(findformen->width(), 450);
    findformen->move(30, 50);
    mainform->closeAllBokse->trigger();
    QVERIFY(!findformen->isVisible());
    QCOMPARE(ProgramFixture::readFile(optFile(program, QStringLiteral("Findis.txt"))), QByteArray("30\r\n50\r\n450\r\n"));
}

QTEST_MAIN(TestFindis)
#include "tst_findis.moc"
