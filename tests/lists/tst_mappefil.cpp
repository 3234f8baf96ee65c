#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "lists/DirBox.h"
#include "lists/FileBox.h"
#include "lists/mappefilUnit.h"
#include "opening/Funktioner.h"
#include "platform/DataFolders.h"
#include "platform/FolderListing.h"
#include "widgets/BoxSettings.h"
#include "widgets/Globals.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

// The folder-and-file box as its user meets it: choosing drives and folders, selecting files,
// opening them with the mouse and the keys, running and editing them, and the settings file.
class TestMappefil : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void settingsRead_data();
    void settingsRead();
    void settingsWritten_data();
    void settingsWritten();
    void browsingFolders();
    void drives();
    void openingFromTheList();
    void keysOpenOnlyASelectedEntryAtTheCursor_data();
    void keysOpenOnlyASelectedEntryAtTheCursor();
    void runAndEditButtons_data();
    void runAndEditButtons();
    void leftPaneFollowsTheWidthAfterTheFirstResize();
    void followsTheActiveDocument();
    void vanishedFolder();
    void unreadableFolder();

private:
    static QString native(const QString &path) { return QDir::toNativeSeparators(QDir::cleanPath(path)); }
    static QString rootFolder(const ProgramFixture &program) { return native(program.dataRoot()); }
    static void showBox()
    {
        mappefilform->show();
        QVERIFY(QTest::qWaitForWindowExposed(mappefilform));
    }
    static QStringList dirRows()
    {
        QStringList rows;
        for (int i = 0; i < mappefilform->dirBox->count(); ++i)
            rows << mappefilform->dirBox->item(i)->text();
        return rows;
    }
    static QStringList fileRows()
    {
        QStringList rows;
        for (int i = 0; i < mappefilform->fileBox->count(); ++i)
            rows << mappefilform->fileBox->name(i);
        return rows;
    }
    static QListWidgetItem *dirRow(const QString &text)
    {
        const QList<QListWidgetItem *> found = mappefilform->dirBox->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.last();
    }
    // Double click on a folder of the folder list, as the user chooses one.
    static void chooseFolder(const QString &text)
    {
        QListWidgetItem *row = dirRow(text);
        QVERIFY2(row, qPrintable(text));
        TDirBox *list = mappefilform->dirBox;
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
    }
    static QPoint fileRowCentre(const QString &name)
    {
        TFileBox *list = mappefilform->fileBox;
        const int row = int(fileRows().indexOf(name));
        return list->visualRect(list->model()->index(row, 0)).center();
    }
    static void clickFile(const QString &name, Qt::KeyboardModifiers modifiers = {})
    {
        QVERIFY2(fileRows().contains(name), qPrintable(name));
        QTest::mouseClick(mappefilform->fileBox->viewport(), Qt::LeftButton, modifiers, fileRowCentre(name));
    }
    static QStringList openDocuments()
    {
        QStringList names;
        for (TDocumentForm *window : mainform->documentWindows())
            names << window->Filnavn;
        return names;
    }
    static QString settingsFile(const ProgramFixture &program)
    {
        return QDir(program.optMappe()).filePath(QStringLiteral("mappefilUnit.txt"));
    }

    QString m_startFolder;
};

void TestMappefil::init()
{
    m_startFolder = QDir::currentPath();
}

void TestMappefil::cleanup()
{
    // Should the box ever move the working folder, the next test still starts where we did.
    QDir::setCurrent(m_startFolder);
}

void TestMappefil::settingsRead_data()
{
    // In content and folder, %root% is the data root and %work% the test's documents folder.
    QTest::addColumn<QByteArray>("content"); // "missing" for no file
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("position"); // (-1, -1) when the file leaves it unread
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("message");

    QTest::newRow("missing file gives the defaults")
        << QByteArray("missing") << QSize(580, 480) << QPoint(40, 40) << "%root%" << false;
    QTest::newRow("five lines") << QByteArray("700\r\n500\r\n60\r\n70\r\n%work%\r\n") << QSize(700, 500)
                                << QPoint(60, 70) << "%work%" << false;
    QTest::newRow("lines after the fifth are ignored")
        << QByteArray("700\r\n500\r\n60\r\n70\r\n%work%\r\nx\r\n") << QSize(700, 500) << QPoint(60, 70) << "%work%"
        << false;
    QTest::newRow("a folder removed since gives the folder that held it")
        << QByteArray("700\r\n500\r\n60\r\n70\r\n%work%/gone/deeper\r\n") << QSize(700, 500) << QPoint(60, 70)
        << "%work%" << false;
    QTest::newRow("a word for the left edge stops the reading there")
        << QByteArray("700\r\n500\r\nvenstre\r\n70\r\n%work%\r\n") << QSize(700, 500) << QPoint(-1, -1) << "%root%"
        << true;
    QTest::newRow("no folder line") << QByteArray("700\r\n500\r\n60\r\n70\r\n") << QSize(700, 500) << QPoint(60, 70)
                                    << "%root%" << true;
}

void TestMappefil::settingsRead()
{
    QFETCH(QByteArray, content);
    QFETCH(QSize, size);
    QFETCH(QPoint, position);
    QFETCH(QString, folder);
    QFETCH(bool, message);

    ProgramFixture program;
    const auto fill = [&](QString text) {
        return text.replace(QLatin1String("%root%"), program.dataRoot()).replace(QLatin1String("%work%"), program.workFolder());
    };
    if (content != "missing") {
        QFile file(settingsFile(program));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fill(QString::fromUtf8(content)).toUtf8());
    }
    if (message)
        program.modal.press(QStringLiteral("OK"));
    program.start();

    QCOMPARE(program.modal.shown.size(), message ? 1 : 0);
    if (message)
        QCOMPARE(program.modal.shown[0].text, shownText(settingsErrorText));
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(mappefilform->size(), size);
    if (position != QPoint(-1, -1))
        QCOMPARE(mappefilform->pos(), position);
    QCOMPARE(mappefilform->dirBox->directory(), native(fill(folder)));
}

void TestMappefil::settingsWritten_data()
{
    QTest::addColumn<bool>("used");
    QTest::newRow("never shown: the defaults") << false;
    QTest::newRow("moved, resized and in another folder") << true;
}

void TestMappefil::settingsWritten()
{
    QFETCH(bool, used);
    ProgramFixture program;
    program.start();
    QByteArray expected = "580\r\n480\r\n40\r\n40\r\n" + rootFolder(program).toUtf8() + "\r\n";
    if (used) {
        showBox();
        chooseFolder(QStringLiteral("work"));
        mappefilform->resize(640, 500);
        mappefilform->move(50, 60);
        // Closing the box is its close step: the file is there at once.
        mappefilform->close();
        QVERIFY(!mappefilform->isVisible());
        expected = "640\r\n500\r\n50\r\n60\r\n" + native(program.workFolder()).toUtf8() + "\r\n";
        QCOMPARE(ProgramFixture::readFile(settingsFile(program)), expected);
        QFile::remove(settingsFile(program));
        // Documents move the folder of the hidden box; the file has the folder of the end.
        const QString inRoot = program.writeFile(QStringLiteral("../doc.txt"), "doc");
        mainform->extListe.clear();
        mainform->funk->openwin(inRoot, QString());
        QCOMPARE(openDocuments().size(), 1);
        expected = "640\r\n500\r\n50\r\n60\r\n" + rootFolder(program).toUtf8() + "\r\n";
    }
    // The main window closes the box at the end, shown or not, and once shown and closed.
    QCoreApplication::processEvents();
    QVERIFY(program.close());
    QCOMPARE(ProgramFixture::readFile(settingsFile(program)), expected);
}

void TestMappefil::browsingFolders()
{
    ProgramFixture program;
    program.writeFile(QStringLiteral("b.txt"), "b");
    program.writeFile(QStringLiteral("A.txt"), "a");
    program.writeFile(QStringLiteral("c.rtf"), "{\\rtf1 c}");
    program.writeFile(QStringLiteral("README"), "no dot");
    program.writeFile(QStringLiteral(".hidden"), "hidden");
    QVERIFY(QDir(program.workFolder()).mkpath(QStringLiteral("sub/deeper")));
    QVERIFY(QDir(program.workFolder()).mkpath(QStringLiteral("Andet")));
    program.start();
    showBox();

    // The data root with the folders above it, chosen, and its own folders below.
    const QString root = rootFolder(program);
    QStringList above;
    for (QDir dir(root);; ) {
        above.prepend(dir.isRoot() ? QDir::toNativeSeparators(dir.absolutePath()) : dir.dirName());
        if (!dir.cdUp())
            break;
    }
    QCOMPARE(dirRows(), above + QStringList({"Brugere", "work"}));
    QCOMPARE(mappefilform->dirBox->currentRow(), above.size() - 1);
    QCOMPARE(QDir::currentPath(), m_startFolder);

    // Choosing a folder lists its files, every one matching "*.*" but the hidden ones, by name
    // whatever the letter case; the program's working folder stays where it was started.
    chooseFolder(QStringLiteral("work"));
    QCOMPARE(mappefilform->dirBox->directory(), native(program.workFolder()));
    QCOMPARE(dirRows(), above + QStringList({"work", "Andet", "sub"}));
    QCOMPARE(fileRows(), QStringList({"A.txt", "b.txt", "c.rtf", "README"}));
    QCOMPARE(QDir::currentPath(), m_startFolder);

    // The edit shows the selected file at the cursor, and is empty, showing its placeholder, when
    // the entry at the cursor is not selected.
    QCOMPARE(mappefilform->fileEditBox->text(), QString());
    clickFile(QStringLiteral("c.rtf"));
    QCOMPARE(mappefilform->fileEditBox->text(), QStringLiteral("c.rtf"));
    clickFile(QStringLiteral("c.rtf"), Qt::ControlModifier);
    QCOMPARE(mappefilform->fileEditBox->text(), QString());
    QCOMPARE(mappefilform->fileEditBox->placeholderText(), QStringLiteral("Vælg en fil i listen"));
    QVERIFY(mappefilform->fileEditBox->isReadOnly());

    // Enter in the folder list chooses the folder at its cursor; a folder above goes back up.
    mappefilform->dirBox->setFocus();
    mappefilform->dirBox->setCurrentItem(dirRow(QStringLiteral("sub")));
    QTest::keyClick(mappefilform->dirBox, Qt::Key_Return);
    QCOMPARE(mappefilform->dirBox->directory(), native(program.workFolder() + QStringLiteral("/sub")));
    QCOMPARE(dirRows(), above + QStringList({"work", "sub", "deeper"}));
    QCOMPARE(fileRows(), QStringList());
    chooseFolder(QStringLiteral("work"));
    QCOMPARE(mappefilform->dirBox->directory(), native(program.workFolder()));
    QCOMPARE(fileRows().size(), 4);

    // Files that come while the box is hidden are there when it is shown again.
    mappefilform->hide();
    program.writeFile(QStringLiteral("new.txt"), "new");
    showBox();
    QVERIFY(fileRows().contains(QStringLiteral("new.txt")));
}

void TestMappefil::drives()
{
    ProgramFixture program;
    program.start();
    showBox();
    QComboBox *diskBox = mappefilform->diskBox;

    // The root of the folder tree is always offered, first; the drive shown holds the folder.
    QVERIFY(diskBox->count() >= 1);
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    QCOMPARE(diskBox->itemData(0).toString(), root);
    QVERIFY(diskBox->currentIndex() >= 0);
    QVERIFY(QString(mappefilform->dirBox->directory() + QDir::separator()).startsWith(diskBox->currentData().toString()));
    for (const Platform::Drive &drive : Platform::drives())
        QVERIFY2(Platform::folderExists(drive.root), qPrintable(drive.root));

    // Choosing a drive in its list takes the folder list to that drive.
    diskBox->setFocus();
    diskBox->showPopup();
    QTRY_VERIFY(diskBox->view()->isVisible());
    diskBox->view()->setCurrentIndex(diskBox->model()->index(0, 0));
    QTest::keyClick(diskBox->view(), Qt::Key_Return);
    QCOMPARE(mappefilform->dirBox->directory(), root);
    QCOMPARE(diskBox->currentIndex(), 0);
    QCOMPARE(mappefilform->fileBox->directory(), root);
}

void TestMappefil::openingFromTheList()
{
    ProgramFixture program;
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.rtf"})
        program.writeFile(QString::fromLatin1(name), name);
    program.start();
    mainform->extListe.clear();
    showBox();
    chooseFolder(QStringLiteral("work"));
    const QDir work(program.workFolder());
    const auto path = [&](const char *name) { return native(work.filePath(QString::fromLatin1(name))); };

    // Several selected files and one double click open all of them, in the list's order.
    clickFile(QStringLiteral("c.txt"));
    clickFile(QStringLiteral("a.txt"), Qt::ShiftModifier);
    QTest::mouseDClick(mappefilform->fileBox->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                       fileRowCentre(QStringLiteral("a.txt")));
    QCOMPARE(openDocuments(), QStringList({path("a.txt"), path("b.txt"), path("c.txt")}));

    // Space opens the selection; an rtf file opens as rich text.
    mappefilform->activateWindow();
    clickFile(QStringLiteral("d.rtf"));
    QTest::keyClick(mappefilform->fileBox, Qt::Key_Space);
    QCOMPARE(openDocuments().size(), 4);
    QCOMPARE(openDocuments().last(), path("d.rtf"));
    QVERIFY(mainform->documentWindows().last()->inherits("Twinform2"));
    QVERIFY(program.shell.calls.isEmpty());
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestMappefil::keysOpenOnlyASelectedEntryAtTheCursor_data()
{
    QTest::addColumn<QStringList>("clicks"); // "+name" is a click with Ctrl held
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("Enter, nothing chosen") << QStringList() << int(Qt::Key_Return) << QStringList();
    QTest::newRow("Enter on a selected file") << QStringList{"b.txt"} << int(Qt::Key_Return) << QStringList{"b.txt"};
    QTest::newRow("Enter on the keypad") << QStringList{"a.txt"} << int(Qt::Key_Enter) << QStringList{"a.txt"};
    QTest::newRow("Space opens every selected file") << QStringList{"a.txt", "+b.txt"} << int(Qt::Key_Space)
                                                     << QStringList{"a.txt", "b.txt"};
    QTest::newRow("cursor on an entry taken out of the selection")
        << QStringList{"a.txt", "+b.txt", "+b.txt"} << int(Qt::Key_Return) << QStringList();
}

void TestMappefil::keysOpenOnlyASelectedEntryAtTheCursor()
{
    QFETCH(QStringList, clicks);
    QFETCH(int, key);
    QFETCH(QStringList, opened);

    ProgramFixture program;
    program.writeFile(QStringLiteral("a.txt"), "a");
    program.writeFile(QStringLiteral("b.txt"), "b");
    program.start();
    mainform->extListe.clear();
    showBox();
    chooseFolder(QStringLiteral("work"));
    for (const QString &click : clicks) {
        const bool ctrl = click.startsWith(QLatin1Char('+'));
        clickFile(ctrl ? click.mid(1) : click, ctrl ? Qt::ControlModifier : Qt::NoModifier);
    }
    QTest::keyClick(mappefilform->fileBox, Qt::Key(key));
    QStringList expected;
    for (const QString &name : opened)
        expected << native(QDir(program.workFolder()).filePath(name));
    QCOMPARE(openDocuments(), expected);
}

void TestMappefil::runAndEditButtons_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("button"); // the hint that names it
    QTest::addColumn<QStringList>("typeList"); // the user's file type list
    QTest::addColumn<QString>("shellCall"); // "operation|file|parameters|folder", %work% for the folder
    QTest::addColumn<bool>("document");

    const QString run = QStringLiteral("Kør valgte fil");
    const QString edit = QStringLiteral("Rdiger valgte fil");
    const QStringList textOnly{"Tekst", "*.txt", "1"};
    QTest::newRow("run a file") << "note.txt" << run << QStringList() << "open|note.txt||%work%/" << false;
    QTest::newRow("run a batch file in the chosen folder")
        << "job.bat" << run << QStringList() << "open|cmd|/K job.bat|%work%/" << false;
    QTest::newRow("edit an editable type") << "note.txt" << edit << textOnly << QString() << true;
    QTest::newRow("edit a type not in the list") << "data.log" << edit << textOnly << "edit|data.log||%work%/" << false;
    QTest::newRow("edit a type unchecked in the list")
        << "data.log" << edit << (textOnly + QStringList{"Log", "*.log", "0"}) << "edit|data.log||%work%/" << false;
    QTest::newRow("edit a batch file with an empty list") << "job.bat" << edit << QStringList() << QString() << true;
}

void TestMappefil::runAndEditButtons()
{
    QFETCH(QString, file);
    QFETCH(QString, button);
    QFETCH(QStringList, typeList);
    QFETCH(QString, shellCall);
    QFETCH(bool, document);

    ProgramFixture program;
    const QString path = program.writeFile(file, "echo x\r\n");
    program.writeFile(QStringLiteral("other.txt"), "other");
    program.start();
    mainform->extListe = typeList;
    showBox();
    chooseFolder(QStringLiteral("work"));
    QToolButton *pressed = nullptr;
    for (QToolButton *candidate : mappefilform->findChildren<QToolButton *>())
        if (candidate->accessibleName() == button)
            pressed = candidate;
    QVERIFY(pressed);

    // Nothing selected at the cursor: the button does nothing.
    QTest::mouseClick(pressed, Qt::LeftButton);
    QVERIFY(program.shell.calls.isEmpty());
    QVERIFY(openDocuments().isEmpty());

    clickFile(file);
    QTest::mouseClick(pressed, Qt::LeftButton);
    QStringList calls;
    for (const ShellCall &call : program.shell.calls)
        calls << QStringList{call.operation, call.file, call.parameters, call.folder}.join(QLatin1Char('|'));
    const QString workFolder = native(program.workFolder());
    QCOMPARE(calls, shellCall.isEmpty() ? QStringList() : QStringList{QString(shellCall).replace(
                                                              QLatin1String("%work%/"), workFolder + QDir::separator())});
    QCOMPARE(openDocuments(), document ? QStringList({native(path)}) : QStringList());
    // A batch file runs in its own folder; the program's working folder does not move.
    QCOMPARE(QDir::currentPath(), m_startFolder);
    QVERIFY(program.modal.unexpected.isEmpty());

    // A file removed since the list was read is not handed on.
    program.shell.calls.clear();
    QVERIFY(QFile::remove(path));
    QTest::mouseClick(pressed, Qt::LeftButton);
    QVERIFY(program.shell.calls.isEmpty());
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestMappefil::leftPaneFollowsTheWidthAfterTheFirstResize()
{
    ProgramFixture program;
    QFile file(settingsFile(program));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("800\r\n500\r\n40\r\n40\r\n" + program.workFolder().toUtf8() + "\r\n");
    file.close();
    program.start();
    showBox();
    // The first resize, showing the box, leaves the panes as they were made.
    QCOMPARE(mappefilform->width(), 800);
    QCOMPARE(mappefilform->dirPanel->width(), 580 / 2 - 12);
    QVERIFY(!mappefilform->opstart);

    for (const int width : {700, 641, 1000}) {
        mappefilform->resize(width, 500);
        QCOMPARE(mappefilform->dirPanel->width(), width / 2 - 12);
    }
}

void TestMappefil::followsTheActiveDocument()
{
    ProgramFixture program;
    QVERIFY(QDir(program.workFolder()).mkpath(QStringLiteral("sub")));
    const QString inSub = program.writeFile(QStringLiteral("sub/doc.txt"), "doc");
    const QString inWork = program.writeFile(QStringLiteral("top.txt"), "top");
    program.start();
    mainform->extListe.clear();
    showBox();

    mainform->funk->openwin(inSub, QString());
    QCOMPARE(mappefilform->dirBox->directory(), native(program.workFolder() + QStringLiteral("/sub")));
    QCOMPARE(fileRows(), QStringList({"doc.txt"}));

    // Hidden, the box follows too and lists the folder when it is shown.
    mappefilform->hide();
    mainform->funk->openwin(inWork, QString());
    QCOMPARE(mappefilform->dirBox->directory(), native(program.workFolder()));
    showBox();
    QCOMPARE(fileRows(), QStringList({"top.txt"}));
    QCOMPARE(dirRows().last(), QStringLiteral("sub"));
}

void TestMappefil::vanishedFolder()
{
    ProgramFixture program;
    QVERIFY(QDir(program.workFolder()).mkpath(QStringLiteral("gone")));
    QVERIFY(QDir(program.workFolder()).mkpath(QStringLiteral("stays")));
    program.writeFile(QStringLiteral("gone/a.txt"), "a");
    program.start();
    showBox();
    chooseFolder(QStringLiteral("work"));

    // A folder removed while it is chosen lists nothing and its files are not run.
    chooseFolder(QStringLiteral("gone"));
    QCOMPARE(fileRows(), QStringList({"a.txt"}));
    clickFile(QStringLiteral("a.txt"));
    QVERIFY(QDir(program.workFolder() + QStringLiteral("/gone")).removeRecursively());
    mappefilform->runButton->click();
    QVERIFY(program.shell.calls.isEmpty());
    mappefilform->hide();
    showBox();
    QCOMPARE(fileRows(), QStringList());
    QCOMPARE(dirRows().last(), QStringLiteral("gone"));
    // Choosing it again leaves the box where it was; the folder above still takes it back.
    chooseFolder(QStringLiteral("gone"));
    QCOMPARE(dirRows().last(), QStringLiteral("gone"));
    chooseFolder(QStringLiteral("work"));
    QCOMPARE(mappefilform->dirBox->directory(), native(program.workFolder()));
    QCOMPARE(dirRows().last(), QStringLiteral("stays"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestMappefil::unreadableFolder()
{
    ProgramFixture program;
    const QString locked = program.workFolder() + QStringLiteral("/locked");
    QVERIFY(QDir(program.workFolder()).mkpath(QStringLiteral("locked/inner")));
    program.writeFile(QStringLiteral("locked/secret.txt"), "s");
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    const bool readable = !QDir(locked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
    if (!readable) {
        program.start();
        showBox();
        chooseFolder(QStringLiteral("work"));
        chooseFolder(QStringLiteral("locked"));
        QCOMPARE(mappefilform->dirBox->directory(), native(locked));
        QCOMPARE(fileRows(), QStringList());
        QCOMPARE(dirRows().last(), QStringLiteral("locked"));
        QVERIFY(program.modal.unexpected.isEmpty());
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (readable)
        QSKIP("Running with rights that read every folder");
}

QTEST_MAIN(TestMappefil)
#include "tst_mappefil.moc"
