#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "lists/FavDirUnit.h"
#include "lists/favoritUnit.h"
#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QWindow>

// The favourites box as the user meets it: the list files in the "Favoritter" folder, the box's
// settings in "favoritUnit.txt", picking, making, saving and updating lists, and the buttons,
// clicks and keys of the current list.

namespace {

struct Item {
    QString caption, path;
};
using Items = QList<Item>;

const QString sortHint = QStringLiteral("Arranger listen alfabetisk");
const QString upHint = QStringLiteral("Flyt valgte op");
const QString downHint = QStringLiteral("Flyt valgte ned");
const QString deleteHint = QStringLiteral("Slet valgte element fra listen");
const QString deleteAllHint = QStringLiteral("Slet alle elementer fra listen");
const QString openHint = QStringLiteral("Åben valgte dokument til redigering");
const QString folderHint = QStringLiteral("Åben i Windows Stifinder");
const QString insertHint = QStringLiteral("Insæt aktuelle fil i listen");
const QString saveHint = QStringLiteral("Gem listen");
const QString renameHint
    = QStringLiteral("Indfør ny tekst og tryk her for at omdøbe til den nye tekst. Selve filen omdøbes ikke.");
const QString newListHint = QStringLiteral("Gem indførte listenavn");
const QString folderMissing = QStringLiteral("Information:\rMappen blev ikke fundet.");

QString favouritesFolder(const ProgramFixture &program)
{
    return QDir(program.optMappe()).filePath(QStringLiteral("Favoritter"));
}

QString listFile(const ProgramFixture &program, const QString &name)
{
    return QDir(favouritesFolder(program)).filePath(name + QStringLiteral(".txt"));
}

QString settingsPath(const ProgramFixture &program)
{
    return QDir(program.optMappe()).filePath(QStringLiteral("favoritUnit.txt"));
}

QByteArray listBytes(const Items &items)
{
    QString text;
    for (const Item &item : items)
        text += item.caption + QStringLiteral("\r\n") + item.path + QStringLiteral("\r\n");
    return text.toUtf8();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void writeList(const ProgramFixture &program, const QString &name, const Items &items)
{
    writeBytes(listFile(program, name), listBytes(items));
}

QByteArray settingsBytes(const QString &name, int width = 580, int height = 480, int left = 40, int top = 40)
{
    return QStringLiteral("%1\r\n%2\r\n%3\r\n%4\r\n%5\r\n").arg(width).arg(height).arg(left).arg(top).arg(name).toUtf8();
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList paths()
{
    QStringList all;
    for (int i = 0; i < favoritform->FavFiler->Antal(); ++i)
        all << favoritform->FavFiler->GetFilnavn(i);
    return all;
}

QStringList openDocuments()
{
    QStringList names;
    for (TDocumentForm *window : mainform->documentWindows())
        names << window->Filnavn;
    return names;
}

QAbstractButton *button(const QString &accessibleName)
{
    for (QAbstractButton *candidate : favoritform->findChildren<QAbstractButton *>())
        if (candidate->accessibleName() == accessibleName && candidate->isVisible())
            return candidate;
    return nullptr;
}

// What the user sees after the program has been idle.
bool enabled(const QString &accessibleName)
{
    TAction::updateAll();
    QAbstractButton *found = button(accessibleName);
    return found && found->isEnabled();
}

void click(const QString &accessibleName)
{
    TAction::updateAll();
    QAbstractButton *found = button(accessibleName);
    QVERIFY2(found, qPrintable(accessibleName));
    QTest::mouseClick(found, Qt::LeftButton);
}

QPoint rowCentre(QListWidget *list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

void clickRow(QListWidget *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
}

void doubleClickRow(QListWidget *list, int row)
{
    clickRow(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
}

void showBox()
{
    favoritform->show();
    QVERIFY(QTest::qWaitForWindowExposed(favoritform));
}

// Starts the program with these list files and `current` as the remembered list, and shows the box.
void startWith(ProgramFixture &program, const QString &current, const QList<std::pair<QString, Items>> &lists)
{
    for (const auto &[name, items] : lists)
        writeList(program, name, items);
    writeBytes(settingsPath(program), settingsBytes(current));
    program.start();
    showBox();
}

QString lastShown(const ProgramFixture &program)
{
    return program.modal.shown.isEmpty() ? QString() : program.modal.shown.last().text;
}

void noUnexpectedBoxes(const ProgramFixture &program)
{
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
    QCOMPARE(program.modal.pending(), 0);
}

} // namespace

class TestFavourites : public QObject {
    Q_OBJECT
private slots:
    void firstRunAndClosing_data();
    void firstRunAndClosing();
    void settingsFile_data();
    void settingsFile();
    void namesSurviveARestart();
    void pickingAList_data();
    void pickingAList();
    void pickingWithUnsavedChanges_data();
    void pickingWithUnsavedChanges();
    void pickingAListThatCannotBeRead();
    void newList_data();
    void newList();
    void movingSortingAndDeleting();
    void renaming_data();
    void renaming();
    void renamingARowReachedWithTheArrowKeys();
    void rowsClicksAndKeys_data();
    void rowsClicksAndKeys();
    void folders_data();
    void folders();
    void opdater_data();
    void opdater();
    void insertingTheCurrentDocument();
    void closingTheBoxAsksAndKeepsTheMark();
    void failedSaveIsReportedAndKeepsTheMark();
    void paneWidthAndDrawnRows();
};

void TestFavourites::firstRunAndClosing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("savedAs");
    QTest::addColumn<QString>("question");
    const QString question = QStringLiteral("Favoritlisten er forandret men ikke gemt.\rSkal den gemmes?");
    QTest::newRow("Gem listen saves under the label") << "save" << "Listenavn" << QString();
    QTest::newRow("closing saves without asking when told to") << "option" << "Favoritter" << QString();
    QTest::newRow("closing asks, Ja saves") << "Ja" << "Favoritter" << question;
    QTest::newRow("closing asks, Nej leaves it") << "Nej" << "" << question;
}

void TestFavourites::firstRunAndClosing()
{
    QFETCH(QString, how);
    QFETCH(QString, savedAs);
    QFETCH(QString, question);

    ProgramFixture program;
    program.start();
    QVERIFY(QFileInfo(favouritesFolder(program)).isDir());
    QVERIFY(!QFileInfo::exists(settingsPath(program)));
    QCOMPARE(favoritform->fillisteNavn->text(), QStringLiteral("Listenavn"));
    QCOMPARE(favoritform->FavFiler->Antal(), 0);

    const QString doc = program.writeFile(QStringLiteral("brev.txt"), "b");
    mainform->funk->openwin(doc, QString());
    QTest::qWait(0);
    TAction::updateAll();
    mainform->insertFavoritliste->trigger();
    QVERIFY(favoritform->isVisible());
    QCOMPARE(rows(favoritform->fillisten), QStringList());
    QCOMPARE(rows(favoritform->favFilerListe), QStringList{QStringLiteral("brev.txt")});
    QVERIFY(enabled(saveHint));

    if (how == QLatin1String("save")) {
        click(saveHint);
        QVERIFY(!enabled(saveHint));
        // The saved list appears among the lists at once.
        QCOMPARE(rows(favoritform->fillisten), QStringList{QStringLiteral("Listenavn")});
    } else if (how == QLatin1String("option")) {
        optform->CheckVedLuk->setChecked(true);
    } else {
        program.modal.press(how);
    }
    QVERIFY(program.close());
    noUnexpectedBoxes(program);
    if (!question.isEmpty())
        QCOMPARE(program.modal.shown.last().text, shownText(question));
    else
        QVERIFY(program.modal.shown.isEmpty());

    const QStringList lists = QDir(favouritesFolder(program)).entryList(QDir::Files);
    QCOMPARE(lists, savedAs.isEmpty() ? QStringList() : QStringList{savedAs + QStringLiteral(".txt")});
    if (!savedAs.isEmpty())
        QCOMPARE(ProgramFixture::readFile(listFile(program, savedAs)), listBytes({{QStringLiteral("brev.txt"), doc}}));
    const QList<QByteArray> settings = ProgramFixture::readFile(settingsPath(program)).split('\n');
    QCOMPARE(settings.size(), 6);
    QCOMPARE(settings.at(0), QByteArray("580\r"));
    QCOMPARE(settings.at(1), QByteArray("480\r"));
    QCOMPARE(settings.at(4),
             (how == QLatin1String("save") ? QByteArray("Listenavn") : QByteArray("Favoritter")) + '\r');
    QCOMPARE(settings.at(5), QByteArray());
}

void TestFavourites::settingsFile_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("message");

    QTest::newRow("missing: defaults") << QByteArray() << 580 << 480 << 72 << "Favoritter" << false;
    QTest::newRow("complete") << settingsBytes(QStringLiteral("Arbejde"), 700, 500, 120, 90) << 700 << 500 << 120
                              << "Arbejde" << false;
    QTest::newRow("extra lines are ignored") << settingsBytes(QStringLiteral("Arbejde"), 640, 400, 30) + "x\r\ny\r\n"
                                             << 640 << 400 << 30 << "Arbejde" << false;
    QTest::newRow("three lines: applied up to the fault")
        << QByteArray("700\r\n500\r\n120\r\n") << 700 << 500 << 120 << "Favoritter" << true;
    QTest::newRow("a word for the height")
        << QByteArray("700\r\nhøj\r\n120\r\n90\r\nArbejde\r\n") << 700 << 480 << 0 << "Favoritter" << true;
    QTest::newRow("named list file missing")
        << settingsBytes(QStringLiteral("Væk")) << 580 << 480 << 40 << "Listenavn" << false;
    QTest::newRow("a name reaching out of the folder")
        << settingsBytes(QStringLiteral("../Hemmelig")) << 580 << 480 << 40 << "Listenavn" << false;
}

void TestFavourites::settingsFile()
{
    QFETCH(QByteArray, settings);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, left);
    QFETCH(QString, label);
    QFETCH(bool, message);

    ProgramFixture program;
    // "Favoritter" and "Arbejde" hold the same items; "Hemmelig.txt" lies outside the lists' folder.
    const QString doc = program.writeFile(QStringLiteral("notat.txt"), "n");
    const Items items{{QStringLiteral("Notat"), doc}};
    writeList(program, QStringLiteral("Arbejde"), items);
    writeList(program, QStringLiteral("Favoritter"), items);
    writeBytes(QDir(program.optMappe()).filePath(QStringLiteral("Hemmelig.txt")), listBytes(items));
    if (!settings.isEmpty())
        writeBytes(settingsPath(program), settings);
    if (message)
        program.modal.press(QStringLiteral("OK"));
    program.start();

    noUnexpectedBoxes(program);
    QCOMPARE(program.modal.shown.size(), message ? 1 : 0);
    if (message)
        QCOMPARE(lastShown(program),
                 shownText(QStringLiteral(
                     "Information\rDer gik noget galt med opstarten.\rDer kan eventuelt være slettet vigtige filer.")));
    QCOMPARE(favoritform->width(), width);
    QCOMPARE(favoritform->height(), height);
    if (left)
        QCOMPARE(favoritform->x(), left);
    QCOMPARE(favoritform->opretPanel->width(), width / 2 - 12);
    // A fault before the name line leaves the name "Favoritter"; a list that is not there leaves
    // the label's design text.
    QCOMPARE(favoritform->fillisteNavn->text(), label);
    QCOMPARE(rows(favoritform->favFilerListe),
             label == QLatin1String("Listenavn") ? QStringList() : QStringList{QStringLiteral("Notat")});
    QVERIFY(!favoritform->ListeForandret);
}

void TestFavourites::namesSurviveARestart()
{
    ProgramFixture program;
    program.start();
    showBox();
    const QString name = QStringLiteral("Æblegrød Ωμέγα");
    favoritform->gemEdit->setText(name);
    click(newListHint);
    const QString doc = program.writeFile(QStringLiteral("λόγος.txt"), "l");
    mainform->funk->openwin(doc, QString());
    QTest::qWait(0);
    click(insertHint);
    click(saveHint);
    QVERIFY(program.close());
    noUnexpectedBoxes(program);

    program.start();
    QCOMPARE(favoritform->fillisteNavn->text(), name);
    QCOMPARE(paths(), QStringList{doc});
    QCOMPARE(rows(favoritform->favFilerListe), QStringList{QStringLiteral("λόγος.txt")});
}

void TestFavourites::pickingAList_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::newRow("double click") << "double";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Space") << "space";
}

void TestFavourites::pickingAList()
{
    QFETCH(QString, gesture);

    ProgramFixture program;
    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    const QString b = program.writeFile(QStringLiteral("b.txt"), "b");
    QDir().mkpath(listFile(program, QStringLiteral("mappe")));
    writeBytes(QDir(favouritesFolder(program)).filePath(QStringLiteral("noter.dat")), "x");
    startWith(program, QStringLiteral("Beta"),
              {{QStringLiteral("Beta"), {{QStringLiteral("B"), b}}},
               {QStringLiteral("alfa"), {{QStringLiteral("A"), a}, {QStringLiteral("B"), b}}}});

    // Only the list files, without ".txt"; the current one is selected.
    QCOMPARE(rows(favoritform->fillisten), QStringList({QStringLiteral("alfa"), QStringLiteral("Beta")}));
    QCOMPARE(favoritform->fillisten->currentRow(), 1);
    QCOMPARE(favoritform->fillistenIndex, 1);
    QCOMPARE(favoritform->fillisteNavn->text(), QStringLiteral("Beta"));

    clickRow(favoritform->favFilerListe, 0);
    QCOMPARE(favoritform->RenamFEdit->text(), QStringLiteral("B"));
    if (gesture == QLatin1String("double")) {
        doubleClickRow(favoritform->fillisten, 0);
    } else {
        clickRow(favoritform->fillisten, 0);
        QTest::keyClick(favoritform->fillisten, gesture == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Space);
    }
    QCOMPARE(favoritform->fillisteNavn->text(), QStringLiteral("alfa"));
    QCOMPARE(rows(favoritform->favFilerListe), QStringList({QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(favoritform->RenamFEdit->text(), QString());
    QCOMPARE(favoritform->FavFiler->Itemfile, QDir::toNativeSeparators(listFile(program, QStringLiteral("alfa"))));
    noUnexpectedBoxes(program);
    QVERIFY(program.modal.shown.isEmpty());
}

void TestFavourites::pickingAListThatCannotBeRead()
{
#ifndef Q_OS_LINUX
    QSKIP("the unreadable list file is made with a link to /proc");
#else
    ProgramFixture program;
    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    startWith(program, QStringLiteral("alfa"), {{QStringLiteral("alfa"), {{QStringLiteral("A"), a}}}});
    // A list file that is there, but every read of it fails (root reads any ordinary file).
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), listFile(program, QStringLiteral("beta"))));
    QTest::mouseClick(favoritform->opdaterButton, Qt::LeftButton);
    QCOMPARE(rows(favoritform->fillisten), QStringList({QStringLiteral("alfa"), QStringLiteral("beta")}));

    program.modal.press(QStringLiteral("OK"));
    doubleClickRow(favoritform->fillisten, 1);
    QVERIFY(lastShown(program).startsWith(QStringLiteral("Listen kunne ikke hentes:")));
    // The current list keeps its name and file, so saving it cannot write over the other list.
    QCOMPARE(favoritform->fillisteNavn->text(), QStringLiteral("alfa"));
    QCOMPARE(favoritform->FavFiler->Itemfile, QDir::toNativeSeparators(listFile(program, QStringLiteral("alfa"))));
    QCOMPARE(rows(favoritform->favFilerListe), QStringList{QStringLiteral("A")});
#endif
}

void TestFavourites::pickingWithUnsavedChanges_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("pickedGone");
    QTest::newRow("Ja saves first") << "Ja" << false;
    QTest::newRow("Nej loses the changes") << "Nej" << false;
    QTest::newRow("picked list gone: the changed list stays") << "Nej" << true;
}

void TestFavourites::pickingWithUnsavedChanges()
{
    QFETCH(QString, answer);
    QFETCH(bool, pickedGone);

    ProgramFixture program;
    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    const QString b = program.writeFile(QStringLiteral("b.txt"), "b");
    const Items beta{{QStringLiteral("A"), a}, {QStringLiteral("B"), b}};
    startWith(program, QStringLiteral("Beta"),
              {{QStringLiteral("Beta"), beta}, {QStringLiteral("alfa"), {{QStringLiteral("A"), a}}}});
    clickRow(favoritform->favFilerListe, 0);
    click(deleteHint);
    QVERIFY(favoritform->ListeForandret);
    if (pickedGone)
        QFile::remove(listFile(program, QStringLiteral("alfa")));

    program.modal.press(answer);
    if (pickedGone)
        program.modal.press(QStringLiteral("OK"));
    doubleClickRow(favoritform->fillisten, 0);
    noUnexpectedBoxes(program);
    QCOMPARE(program.modal.shown.at(0).text,
             shownText(QStringLiteral("Nuværende liste er forandret.\rSkal den gemmes?")));

    const Items changed{{QStringLiteral("B"), b}};
    QCOMPARE(ProgramFixture::readFile(listFile(program, QStringLiteral("Beta"))),
             listBytes(answer == QLatin1String("Ja") ? changed : beta));
    if (pickedGone) {
        QCOMPARE(lastShown(program), shownText(QStringLiteral("Filen: alfa.txt\rkunne ikke findes.")));
        QCOMPARE(favoritform->fillisteNavn->text(), QStringLiteral("Beta"));
        QCOMPARE(rows(favoritform->favFilerListe), QStringList{QStringLiteral("B")});
        QVERIFY(enabled(saveHint));
    } else {
        QCOMPARE(favoritform->fillisteNavn->text(), QStringLiteral("alfa"));
        QCOMPARE(rows(favoritform->favFilerListe), QStringList{QStringLiteral("A")});
        QVERIFY(!enabled(saveHint));
    }
}

void TestFavourites::newList_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("answers"); // to "save the current list?" (when changed) and "empty it?"
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("newItems"); // captions in the new list's file
    QTest::addColumn<QStringList>("oldItems"); // captions in the current list's file afterwards

    const QStringList both{QStringLiteral("A"), QStringLiteral("B")};
    const QStringList onlyB{QStringLiteral("B")};
    QTest::newRow("one character: nothing") << "x" << false << QStringList() << "" << QStringList() << both;
    QTest::newRow("name in use") << "alfa" << false << QStringList()
                                 << "Dette listenavn er allerede i brug.\rIndfør et andet navn for den nye liste."
                                 << QStringList() << both;
    QTest::newRow("a path is no name")
        << "../ud" << false << QStringList()
        << "Et listenavn kan ikke indeholde tegnene \\/:*?\"<>|\rIndfør et andet navn for den nye liste."
        << QStringList() << both;
    QTest::newRow("started empty") << "Ny liste" << false << QStringList{"Ja"} << "" << QStringList() << both;
    QTest::newRow("started as a copy") << "Ny liste" << false << QStringList{"Nej"} << "" << both << both;
    QTest::newRow("changes saved first") << "Ny liste" << true << QStringList{"Ja", "Ja"} << "" << QStringList()
                                         << onlyB;
    QTest::newRow("changes go with the copy only")
        << "Ny liste" << true << QStringList{"Nej", "Nej"} << "" << onlyB << both;
}

void TestFavourites::newList()
{
    QFETCH(QString, name);
    QFETCH(bool, changed);
    QFETCH(QStringList, answers);
    QFETCH(QString, message);
    QFETCH(QStringList, newItems);
    QFETCH(QStringList, oldItems);

    ProgramFixture program;
    const QString a = program.writeFile(QStringLiteral("a.txt"), "a");
    const QString b = program.writeFile(QStringLiteral("b.txt"), "b");
    const QHash<QString, QString> pathOf{{QStringLiteral("A"), a}, {QStringLiteral("B"), b}};
    startWith(program, QStringLiteral("alfa"),
              {{QStringLiteral("alfa"), {{QStringLiteral("A"), a}, {QStringLiteral("B"), b}}}});
    if (changed) {
        clickRow(favoritform->favFilerListe, 0);
        click(deleteHint);
    }
    const auto fileOf = [&](const QStringList &captions) {
        Items items;
        for (const QString &caption : captions)
            items.append({caption, pathOf[caption]});
        return listBytes(items);
    };

    for (const QString &answer : answers)
        program.modal.press(answer);
    if (!message.isEmpty())
        program.modal.press(QStringLiteral("OK"));
    QTest::keyClicks(favoritform->gemEdit, name);
    QCOMPARE(enabled(newListHint), name.size() >= 2);
    QTest::keyClick(favoritform->gemEdit, Qt::Key_Return);
    noUnexpectedBoxes(program);
    QCOMPARE(ProgramFixture::readFile(listFile(program, QStringLiteral("alfa"))), fileOf(oldItems));
    QVERIFY(!QFileInfo::exists(QDir(program.optMappe()).filePath(QStringLiteral("ud.txt"))));

    const bool made = !answers.isEmpty();
    if (!message.isEmpty()) {
        QCOMPARE(lastShown(program), shownText(message));
    }
    if (!made) {
        QCOMPARE(favoritform->fillisteNavn->text(), QStringLiteral("alfa"));
        QCOMPARE(favoritform->gemEdit->text(), name);
        QCOMPARE(QDir(favouritesFolder(program)).entryList(QDir::Files), QStringList{QStringLiteral("alfa.txt")});
        return;
    }
    QCOMPARE(program.modal.shown.last().text,
             shownText(QStringLiteral("Skal alle indførte elementer i listen fjernes?")));
    if (changed)
        QCOMPARE(program.modal.shown.first().text,
                 shownText(QStringLiteral("Nuværende liste er ikke gemt.\rSkal listen gemmes?")));
    QCOMPARE(ProgramFixture::readFile(listFile(program, name)), fileOf(newItems));
    QCOMPARE(favoritform->fillisteNavn->text(), name);
    QCOMPARE(rows(favoritform->favFilerListe), newItems);
    QCOMPARE(rows(favoritform->fillisten), QStringList({QStringLiteral("alfa"), name}));
    QCOMPARE(favoritform->fillisten->currentRow(), 1);
    QCOMPARE(favoritform->gemEdit->text(), QString());
    QVERIFY(!enabled(saveHint));
}

void TestFavourites::movingSortingAndDeleting()
{
    ProgramFixture program;
    Items items;
    for (const char *caption : {"c", "a", "b"})
        items.append({QString::fromLatin1(caption),
                      program.writeFile(QString::fromLatin1(caption) + QStringLiteral(".txt"), "x")});
    startWith(program, QStringLiteral("liste"), {{QStringLiteral("liste"), items}});
    QListWidget *list = favoritform->favFilerListe;

    // Nothing selected.
    for (const QString &hint : {upHint, downHint, deleteHint, openHint, folderHint, saveHint})
        QVERIFY2(!enabled(hint), qPrintable(hint));
    QVERIFY(enabled(sortHint));
    QVERIFY(enabled(deleteAllHint));

    clickRow(list, 0);
    QVERIFY(!enabled(upHint));
    QVERIFY(enabled(downHint));
    click(downHint);
    QCOMPARE(rows(list), QStringList({"a", "c", "b"}));
    QCOMPARE(favoritform->selectedRow(), 1);
    QVERIFY(enabled(saveHint));
    click(downHint);
    QCOMPARE(rows(list), QStringList({"a", "b", "c"}));
    QCOMPARE(favoritform->selectedRow(), 2);
    QVERIFY(!enabled(downHint));
    click(upHint);
    click(upHint);
    QCOMPARE(rows(list), QStringList({"c", "a", "b"}));
    QCOMPARE(favoritform->selectedRow(), 0);

    const QString question
        = QStringLiteral("Hvis listen sorteres, kan handlingen ikke annulleres.\rSkal listen sorteres alfabetisk?");
    program.modal.press(QStringLiteral("Nej"));
    click(sortHint);
    QCOMPARE(rows(list), QStringList({"c", "a", "b"}));
    QCOMPARE(lastShown(program), shownText(question));
    program.modal.press(QStringLiteral("Ja"));
    click(sortHint);
    QCOMPARE(rows(list), QStringList({"a", "b", "c"}));
    QCOMPARE(favoritform->infoText(), QStringLiteral("Listen blev sorteret alfabetisk"));
    program.modal.press(QStringLiteral("Ja"));
    click(sortHint);
    QCOMPARE(favoritform->infoText(), QStringLiteral("Listen blev ikke ændret"));

    click(saveHint);
    QVERIFY(!enabled(saveHint));
    QCOMPARE(ProgramFixture::readFile(listFile(program, QStringLiteral("liste"))),
             listBytes({items[1], items[2], items[0]}));

    // Deleting keeps a row selected: the same one, or the one above at the end.
    clickRow(list, 2);
    click(deleteHint);
    QCOMPARE(rows(list), QStringList({"a", "b"}));
    QCOMPARE(favoritform->selectedRow(), 1);
    clickRow(list, 0);
    click(deleteHint);
    QCOMPARE(rows(list), QStringList{"b"});
    QCOMPARE(favoritform->selectedRow(), 0);
    QVERIFY(!enabled(sortHint));

    click(saveHint);
    // "Nej" to deleting everything still counts as a change.
    program.modal.press(QStringLiteral("Nej"));
    click(deleteAllHint);
    QCOMPARE(lastShown(program), shownText(QStringLiteral("Skal alle indførte elementer i listen fjernes?")));
    QCOMPARE(rows(list), QStringList{"b"});
    QVERIFY(enabled(saveHint));
    program.modal.press(QStringLiteral("Ja"));
    click(deleteAllHint);
    QCOMPARE(rows(list), QStringList());
    QVERIFY(!enabled(deleteAllHint));
    click(saveHint);
    QCOMPARE(ProgramFixture::readFile(listFile(program, QStringLiteral("liste"))), QByteArray());
    noUnexpectedBoxes(program);
}

void TestFavourites::renaming_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a new text") << QStringLiteral("Mit brev") << "Mit brev" << false;
    QTest::newRow("other letter case is a new text") << QStringLiteral("BREV.TXT") << "BREV.TXT" << false;
    QTest::newRow("the same text is refused") << QStringLiteral("brev.txt") << "brev.txt" << true;
    QTest::newRow("a line break stays on one line") << QStringLiteral("to\nlinjer") << "to linjer" << false;
}

void TestFavourites::renaming()
{
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    QFETCH(bool, refused);

    ProgramFixture program;
    const QString doc = program.writeFile(QStringLiteral("brev.txt"), "b");
    const QString other = program.writeFile(QStringLiteral("andet.txt"), "a");
    startWith(program, QStringLiteral("liste"),
              {{QStringLiteral("liste"), {{QStringLiteral("andet.txt"), other}, {QStringLiteral("brev.txt"), doc}}}});
    QVERIFY(!enabled(renameHint));
    clickRow(favoritform->favFilerListe, 1);
    QCOMPARE(favoritform->RenamFEdit->text(), QStringLiteral("brev.txt"));
    QVERIFY(enabled(renameHint));
    favoritform->RenamFEdit->setText(typed);
    if (refused)
        program.modal.press(QStringLiteral("OK"));
    QTest::keyClick(favoritform->RenamFEdit, Qt::Key_Return);
    noUnexpectedBoxes(program);

    QCOMPARE(rows(favoritform->favFilerListe), QStringList({QStringLiteral("andet.txt"), caption}));
    QCOMPARE(paths(), QStringList({other, doc}));
    QCOMPARE(favoritform->ListeForandret, !refused);
    if (refused) {
        QCOMPARE(lastShown(program),
                 shownText(QStringLiteral("Elementet har allerede det indførte elementnavn!\rHvis det skal omdøbes, så "
                                          "indfør det nye navn først.")));
        return;
    }
    QCOMPARE(favoritform->RenamFEdit->text(), QString());
    QVERIFY(!enabled(renameHint));
    click(saveHint);
    QCOMPARE(ProgramFixture::readFile(listFile(program, QStringLiteral("liste"))),
             listBytes({{QStringLiteral("andet.txt"), other}, {caption, doc}}));
}

// The arrow keys select a row as a click does: the field shows the row's caption, so Enter in the
// field without a new text renames nothing, and a new text renames the row the user sees selected.
void TestFavourites::renamingARowReachedWithTheArrowKeys()
{
    ProgramFixture program;
    const QString one = program.writeFile(QStringLiteral("en.txt"), "1");
    const QString two = program.writeFile(QStringLiteral("to.txt"), "2");
    const QString three = program.writeFile(QStringLiteral("tre.txt"), "3");
    startWith(program, QStringLiteral("liste"),
              {{QStringLiteral("liste"),
                {{QStringLiteral("En"), one}, {QStringLiteral("To"), two}, {QStringLiteral("Tre"), three}}}});
    QListWidget *list = favoritform->favFilerListe;
    QWindow *window = favoritform->windowHandle();

    clickRow(list, 0);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(window, Qt::Key_Down);
    QCOMPARE(favoritform->selectedRow(), 1);
    QCOMPARE(favoritform->RenamFEdit->text(), QStringLiteral("To"));
    QCOMPARE(favoritform->infoText(), two);
    QTest::keyClick(window, Qt::Key_End);
    QCOMPARE(favoritform->RenamFEdit->text(), QStringLiteral("Tre"));
    QCOMPARE(favoritform->infoText(), three);
    QTest::keyClick(window, Qt::Key_Up);
    QCOMPARE(favoritform->RenamFEdit->text(), QStringLiteral("To"));

    QTest::mouseClick(favoritform->RenamFEdit, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), favoritform->RenamFEdit);
    program.modal.press(QStringLiteral("OK"));
    QTest::keyClick(window, Qt::Key_Return);
    noUnexpectedBoxes(program);
    QCOMPARE(rows(list), QStringList({QStringLiteral("En"), QStringLiteral("To"), QStringLiteral("Tre")}));
    QVERIFY(!favoritform->ListeForandret);

    QTest::keyClick(window, Qt::Key_End);
    QTest::keyClick(window, ' ');
    QTest::keyClick(window, '2');
    QTest::keyClick(window, Qt::Key_Return);
    QCOMPARE(rows(list), QStringList({QStringLiteral("En"), QStringLiteral("To 2"), QStringLiteral("Tre")}));
    QCOMPARE(paths(), QStringList({one, two, three}));
    QVERIFY(favoritform->ListeForandret);
}

void TestFavourites::rowsClicksAndKeys_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("messages");
    const QString missing = QStringLiteral(
        "Filen blev ikke fundet.\rSlet eventuelt elementet fra listen eller opdater listen hvis muligt");
    QTest::newRow("click") << "click" << true << false << QStringList();
    QTest::newRow("double click") << "double" << true << true << QStringList();
    QTest::newRow("Enter") << "enter" << true << true << QStringList();
    QTest::newRow("Space") << "space" << true << true << QStringList();
    QTest::newRow("open button") << "button" << true << true << QStringList();
    QTest::newRow("click, document gone") << "click" << false << false << QStringList{missing + QLatin1Char('.')};
    // The double click's first click already reports it.
    QTest::newRow("double click, document gone")
        << "double" << false << false << QStringList{missing + QLatin1Char('.'), missing};
    QTest::newRow("Enter, document gone: silent") << "enter" << false << false << QStringList();
    QTest::newRow("open button, document gone: silent") << "button" << false << false << QStringList();
}

void TestFavourites::rowsClicksAndKeys()
{
    QFETCH(QString, gesture);
    QFETCH(bool, exists);
    QFETCH(bool, opens);
    QFETCH(QStringList, messages);

    ProgramFixture program;
    const QString first = program.writeFile(QStringLiteral("første.txt"), "1");
    const QString doc = program.writeFile(QStringLiteral("række.txt"), "r");
    startWith(program, QStringLiteral("liste"),
              {{QStringLiteral("liste"), {{QStringLiteral("Første"), first}, {QStringLiteral("Række"), doc}}}});
    QListWidget *list = favoritform->favFilerListe;

    clickRow(list, 1);
    QCOMPARE(favoritform->RenamFEdit->text(), QStringLiteral("Række"));
    QCOMPARE(favoritform->infoText(), doc);
    // The mouse over the list shows the selected document's folder; leaving it clears the text.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(list, &enter);
    QCOMPARE(favoritform->infoText(), QDir(program.workFolder()).path() + QLatin1Char('/'));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(list, &leave);
    QCOMPARE(favoritform->infoText(), QString());

    if (!exists)
        QFile::remove(doc);
    for (qsizetype i = 0; i < messages.size(); ++i)
        program.modal.press(QStringLiteral("OK"));
    if (gesture == QLatin1String("click"))
        clickRow(list, 1);
    else if (gesture == QLatin1String("double"))
        doubleClickRow(list, 1);
    else if (gesture == QLatin1String("button"))
        click(openHint);
    else
        QTest::keyClick(list, gesture == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Space);
    noUnexpectedBoxes(program);
    QCOMPARE(openDocuments(), opens ? QStringList{doc} : QStringList());
    QStringList shown;
    for (const ModalScript::Shown &box : std::as_const(program.modal.shown))
        shown << box.text;
    for (QString &message : messages)
        message = shownText(message);
    QCOMPARE(shown, messages);
}

void TestFavourites::folders_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("shellResult");
    QTest::addColumn<QString>("message");
    QTest::newRow("the selected document's folder") << "item" << 42 << "";
    QTest::newRow("document gone: its path is no folder") << "itemGone" << 42 << folderMissing;
    QTest::newRow("Rediger: the lists' folder") << "rediger" << 42 << "";
    QTest::newRow("Rediger: lists' folder gone") << "redigerGone" << 42 << folderMissing;
    QTest::newRow("a failing shell is reported")
        << "rediger" << 2 << "Fejlinformation:\rDen specificerede fil blev ikke fundet.";
}

void TestFavourites::folders()
{
    QFETCH(QString, how);
    QFETCH(int, shellResult);
    QFETCH(QString, message);

    ProgramFixture program;
    const QString doc = program.writeFile(QStringLiteral("brev.txt"), "b");
    startWith(program, QStringLiteral("liste"), {{QStringLiteral("liste"), {{QStringLiteral("brev"), doc}}}});
    program.shell.result = shellResult;
    if (!message.isEmpty())
        program.modal.press(QStringLiteral("OK"));
    if (how.startsWith(QLatin1String("item"))) {
        clickRow(favoritform->favFilerListe, 0);
        if (how == QLatin1String("itemGone"))
            QFile::remove(doc);
        click(folderHint);
    } else {
        if (how == QLatin1String("redigerGone"))
            QDir(favouritesFolder(program)).removeRecursively();
        QTest::mouseClick(favoritform->redigerButton, Qt::LeftButton);
    }
    noUnexpectedBoxes(program);
    QCOMPARE(lastShown(program), shownText(message));
    const bool shellUsed = message.isEmpty() || shellResult != 42;
    QCOMPARE(program.shell.calls.size(), shellUsed ? 1 : 0);
    if (shellUsed) {
        const QString folder = how == QLatin1String("item") ? program.workFolder() : favouritesFolder(program);
        QCOMPARE(program.shell.calls.at(0).operation, QStringLiteral("open"));
        QCOMPARE(QDir::cleanPath(QDir::fromNativeSeparators(program.shell.calls.at(0).file)), QDir::cleanPath(folder));
        QCOMPARE(program.shell.calls.at(0).parameters, QString());
    }
}

void TestFavourites::opdater_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("message");
    const QStringList kept{QStringLiteral("B")};
    QTest::newRow("a new list file appears")
        << "new" << QStringList({"alfa", "Beta", "delta", "gamma"}) << "Beta" << kept << false;
    QTest::newRow("current renamed: the name at its row")
        << "renamed" << QStringList({"alfa", "Beta2", "gamma"}) << "Beta2" << kept << false;
    QTest::newRow("current deleted, its row gone") << "deleted" << QStringList({"alfa"}) << "" << QStringList() << true;
    QTest::newRow("current deleted with unsaved changes: kept")
        << "deletedChanged" << QStringList({"alfa"}) << "Beta" << QStringList() << false;
}

void TestFavourites::opdater()
{
    QFETCH(QString, change);
    QFETCH(QStringList, names);
    QFETCH(QString, label);
    QFETCH(QStringList, items);
    QFETCH(bool, message);

    ProgramFixture program;
    const QString b = program.writeFile(QStringLiteral("b.txt"), "b");
    const QString g = program.writeFile(QStringLiteral("g.txt"), "g");
    startWith(program, QStringLiteral("Beta"),
              {{QStringLiteral("alfa"), {}},
               {QStringLiteral("Beta"), {{QStringLiteral("B"), b}}},
               {QStringLiteral("gamma"), {{QStringLiteral("G"), g}}}});
    QCOMPARE(favoritform->fillistenIndex, 1);
    if (change == QLatin1String("new")) {
        writeList(program, QStringLiteral("delta"), {});
    } else if (change == QLatin1String("renamed")) {
        QVERIFY(QFile::rename(listFile(program, QStringLiteral("Beta")), listFile(program, QStringLiteral("Beta2"))));
    } else {
        QFile::remove(listFile(program, QStringLiteral("Beta")));
        QFile::remove(listFile(program, QStringLiteral("gamma")));
        if (change == QLatin1String("deletedChanged")) {
            clickRow(favoritform->favFilerListe, 0);
            click(deleteHint);
        }
    }
    if (message)
        program.modal.press(QStringLiteral("OK"));
    QTest::mouseClick(favoritform->opdaterButton, Qt::LeftButton);
    noUnexpectedBoxes(program);
    QCOMPARE(rows(favoritform->fillisten), names);
    QCOMPARE(favoritform->fillisteNavn->text(), label);
    QCOMPARE(rows(favoritform->favFilerListe), items);
    if (message)
        QCOMPARE(lastShown(program),
                 shownText(QStringLiteral("Den valgte listefil eksisterer ikke længere.\rVælg en ny listefil.")));
    else
        QVERIFY(program.modal.shown.isEmpty());

    // What "Gem listen" then writes, after one more document.
    const QString added = program.writeFile(QStringLiteral("ny.txt"), "n");
    mainform->funk->openwin(added, QString());
    QTest::qWait(0);
    click(insertHint);
    if (label.isEmpty())
        program.modal.press(QStringLiteral("OK"));
    click(saveHint);
    noUnexpectedBoxes(program);
    if (label.isEmpty()) {
        QCOMPARE(lastShown(program),
                 shownText(
                     QStringLiteral("Listen har intet navn og blev ikke gemt.\rGem den som en ny liste med et navn.")));
        QVERIFY(enabled(saveHint));
        QCOMPARE(QDir(favouritesFolder(program)).entryList(QDir::Files), QStringList{QStringLiteral("alfa.txt")});
    } else {
        QVERIFY(!enabled(saveHint));
        Items expected;
        for (const QString &caption : items)
            expected.append({caption, caption == QLatin1String("B") ? b : g});
        expected.append({QStringLiteral("ny.txt"), added});
        QCOMPARE(ProgramFixture::readFile(listFile(program, label)), listBytes(expected));
    }
}

void TestFavourites::insertingTheCurrentDocument()
{
    ProgramFixture program;
    const QString doc = program.writeFile(QStringLiteral("notat.txt"), "n");
    const QString other = program.writeFile(QStringLiteral("andet.txt"), "a");
    startWith(program, QStringLiteral("liste"),
              {{QStringLiteral("liste"), {{QStringLiteral("Mit notat"), doc}, {QStringLiteral("andet"), other}}}});
    QVERIFY(!enabled(insertHint));
    mainform->funk->openwin(doc, QString());
    QTest::qWait(0);
    QVERIFY(enabled(insertHint));

    const QString question
        = QStringLiteral("Favoritlisten:\rnotat findes allerede i listen.\rSkal den indføres alligevel?");
    program.modal.press(QStringLiteral("Nej"));
    click(insertHint);
    QCOMPARE(lastShown(program), shownText(question));
    QCOMPARE(rows(favoritform->favFilerListe), QStringList({QStringLiteral("Mit notat"), QStringLiteral("andet")}));
    QVERIFY(!favoritform->ListeForandret);

    // "Ja" moves it to the end under the caption it had.
    program.modal.press(QStringLiteral("Ja"));
    click(insertHint);
    QCOMPARE(rows(favoritform->favFilerListe), QStringList({QStringLiteral("andet"), QStringLiteral("Mit notat")}));
    QVERIFY(favoritform->ListeForandret);
    noUnexpectedBoxes(program);
}

void TestFavourites::closingTheBoxAsksAndKeepsTheMark()
{
    ProgramFixture program;
    const QString doc = program.writeFile(QStringLiteral("notat.txt"), "n");
    startWith(program, QStringLiteral("liste"), {{QStringLiteral("liste"), {{QStringLiteral("notat"), doc}}}});
    favoritform->resize(640, 500);
    clickRow(favoritform->favFilerListe, 0);
    click(deleteHint);

    program.modal.press(QStringLiteral("Ja"));
    QTest::keyClick(favoritform, Qt::Key_Escape);
    noUnexpectedBoxes(program);
    QVERIFY(!favoritform->isVisible());
    QCOMPARE(lastShown(program),
             shownText(QStringLiteral("Favoritlisten er forandret men ikke gemt.\rSkal den gemmes?")));
    QCOMPARE(ProgramFixture::readFile(listFile(program, QStringLiteral("liste"))), QByteArray());
    QVERIFY(ProgramFixture::readFile(settingsPath(program)).startsWith("640\r\n500\r\n"));
    QVERIFY(ProgramFixture::readFile(settingsPath(program)).endsWith("\r\nliste\r\n"));
    // That save leaves the mark: the next closing asks again.
    QVERIFY(favoritform->ListeForandret);
    showBox();
    program.modal.press(QStringLiteral("Nej"));
    favoritform->close();
    QVERIFY(!favoritform->isVisible());
    QCOMPARE(program.modal.shown.size(), 2);
    noUnexpectedBoxes(program);
}

void TestFavourites::failedSaveIsReportedAndKeepsTheMark()
{
    ProgramFixture program;
    const QString doc = program.writeFile(QStringLiteral("notat.txt"), "n");
    startWith(program, QStringLiteral("liste"), {{QStringLiteral("liste"), {{QStringLiteral("notat"), doc}}}});
    // A folder where the list's file belongs: it cannot be replaced.
    QVERIFY(QFile::remove(listFile(program, QStringLiteral("liste"))));
    QVERIFY(QDir().mkpath(listFile(program, QStringLiteral("liste"))));
    clickRow(favoritform->favFilerListe, 0);
    click(deleteHint);
    program.modal.press(QStringLiteral("OK"));
    click(saveHint);
    noUnexpectedBoxes(program);
    QVERIFY(lastShown(program).startsWith(QStringLiteral("Filen kunne ikke gemmes:")));
    QVERIFY(enabled(saveHint));
}

void TestFavourites::paneWidthAndDrawnRows()
{
    ProgramFixture program;
    const QString doc = program.writeFile(QStringLiteral("notat.txt"), "n");
    startWith(program, QStringLiteral("liste"),
              {{QStringLiteral("liste"),
                {{QStringLiteral("notat"), doc},
                 {QStringLiteral("igen"), program.writeFile(QStringLiteral("igen.txt"), "i")}}}});
    QCOMPARE(favoritform->opretPanel->width(), 580 / 2 - 12);
    favoritform->resize(701, 500);
    QTRY_COMPARE(favoritform->opretPanel->width(), 701 / 2 - 12);

    clickRow(favoritform->favFilerListe, 1);
    const QColor selection = favoritform->favFilerListe->palette().color(QPalette::Active, QPalette::Highlight);
    for (const auto &[list, square] : {std::pair{favoritform->favFilerListe, QColor(0, 255, 255)},
                                       std::pair{favoritform->fillisten, QColor(255, 0, 0)}}) {
        const QRect row = list->visualItemRect(list->item(0));
        QCOMPARE(row.height(), 19);
        const QImage image = list->viewport()->grab().toImage();
        const auto pixel = [&](int x, int y) { return image.pixelColor(row.left() + x, row.top() + y); };
        QCOMPARE(pixel(2, 5), square);
        QCOMPARE(pixel(11, 14), square);
        QVERIFY(pixel(12, 5) != square);
        QVERIFY(pixel(2, 4) != square);
        QCOMPARE(pixel(1, 18), QColor(192, 192, 192));
        QCOMPARE(pixel(row.width() - 1, 18), QColor(192, 192, 192));
        if (list == favoritform->favFilerListe) {
            const QRect second = list->visualItemRect(list->item(1));
            QCOMPARE(image.pixelColor(second.right() - 2, second.top() + 2), selection);
        }
    }
}

QTEST_MAIN(TestFavourites)
#include "tst_favourites.moc"
