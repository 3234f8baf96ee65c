#include "ProgramFixture.h"

#include "options/boks.h"
#include "options/Fontnavne.h"
#include "platform/Modal.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractButton>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QRegularExpression>
#include <QTest>

// The font box as the options box shows it: the two lists, the names fetched from the system,
// the preview, the counter, and the height it remembers in "boks.txt".

namespace {

QString boksFile(const ProgramFixture &program)
{
    return QDir(program.optMappe()).filePath(QStringLiteral("boks.txt"));
}

QStringList names(const QListWidget *list)
{
    QStringList seen;
    for (int i = 0; i < list->count(); ++i)
        seen << list->item(i)->text();
    return seen;
}

QList<int> selectedRows(const QListWidget *list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows << i;
    return rows;
}

QStringList items(const QComboBox *box)
{
    QStringList seen;
    for (int i = 0; i < box->count(); ++i)
        seen << box->itemText(i);
    return seen;
}

// The control the user (or a screen reader) knows by this name.
template <typename Control = QWidget>
Control *control(const QString &accessibleName)
{
    for (Control *candidate : boksform->findChildren<Control *>())
        if (candidate->accessibleName() == accessibleName && candidate->isVisible())
            return candidate;
    return nullptr;
}

// A press as the user's: the idle update before it has brought the buttons up to date.
void click(const QString &accessibleName)
{
    TAction::updateAll();
    auto *button = control<QAbstractButton>(accessibleName);
    QVERIFY2(button, qPrintable(accessibleName));
    QTest::mouseClick(button, Qt::LeftButton);
}

// A click on a name; with `add` a Ctrl+click that adds it to the selection.
void clickName(QListWidget *list, int row, bool add = false)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, add ? Qt::ControlModifier : Qt::NoModifier, rect.center());
}

void selectNames(QListWidget *list, const QList<int> &rows)
{
    for (qsizetype i = 0; i < rows.size(); ++i)
        clickName(list, rows[i], i > 0);
    QCOMPARE(selectedRows(list), [&] {
        QList<int> sorted = rows;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }());
}

// Shows the box modally as the options box does, with both lists and the counter filled first; `act` works in it
// and must end it. Returns the result of the showing.
int withBox(ProgramFixture &program, const QStringList &chosen, const QStringList &store,
            const std::function<void(QDialog &)> &act)
{
    boksform->Box->clear();
    boksform->Box->addItems(chosen);
    boksform->lagerBox->clear();
    boksform->lagerBox->addItems(store);
    boksform->updateCounter();
    bool shown = false;
    program.modal.answer([&](QDialog &box) {
        shown = &box == boksform;
        act(box);
    });
    const int result = Platform::showModal(*boksform);
    [&] {
        QVERIFY(shown);
        QVERIFY(!boksform->isVisible());
    }();
    return result;
}

void writeBoks(const ProgramFixture &program, const QByteArray &bytes)
{
    QFile file(boksFile(program));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QString up = QStringLiteral("Flyt valgte op");
const QString down = QStringLiteral("Flyt valgte ned");

} // namespace

class TestFontBox : public QObject {
    Q_OBJECT
private slots:
    void boxAsTheUserMeetsIt();
    void closing_data();
    void closing();
    void heightFromFile_data();
    void heightFromFile();
    void enabledRules_data();
    void enabledRules();
    void movingInTheList_data();
    void movingInTheList();
    void movingBetweenTheLists();
    void sortingBothLists();
    void insertAddsTheChosenNameAgain();
    void fetchingTheSystemsFonts();
    void previewFollowsClicks();
    void fontNamesAreAddedSorted_data();
    void fontNamesAreAddedSorted();
    void choiceReportedOnlyWhenTheUserMakesIt();
};

void TestFontBox::boxAsTheUserMeetsIt()
{
    ProgramFixture program;
    program.start();
    const Qt::WindowFlags flags = boksform->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint)));
    QVERIFY(!boksform->isVisible());
    // The options box sets the counter before every showing; until then it has its first text.
    QCOMPARE(boksform->fontAntalLabel->text(), QStringLiteral("Du har valgt 0 fonte"));

    withBox(program, {}, {}, [&](QDialog &box) {
        QCOMPARE(box.windowTitle(), QStringLiteral("Fontnavne"));
        QCOMPARE(box.minimumWidth(), 532);
        QCOMPARE(box.maximumWidth(), 532);
        QCOMPARE(box.minimumHeight(), 400);
        QCOMPARE(boksform->fontAntalLabel->text(), QStringLiteral("Der er valgt 0 antal fonte"));
        QCOMPARE(boksform->Memo->toPlainText(), QStringLiteral("Dette er skrevet med følgende font:\nSegoe UI"));
        QCOMPARE(boksform->fontBox->placeholderText(), QStringLiteral("Hent fontnavne"));
        QCOMPARE(boksform->fontBox->currentIndex(), -1);
        QCOMPARE(boksform->fontBox->maxVisibleItems(), 24);
        QCOMPARE(boksform->Box->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(boksform->lagerBox->selectionMode(), QAbstractItemView::ExtendedSelection);

        // At its smallest every control lies whole inside the box and is known by its caption or hint.
        box.resize(532, 400);
        const QStringList controls{"Valgte fonte", "Lager", "Hent fontnavne", "Eksempel", "Fjern", "Hent", "Indsæt",
                                   "Information: Administrer grupper", "Flyt valgte til lager", "Flyt valgte tilbage",
                                   "Flyt alle til lager", "Flyt alle tilbage", up, down, "Sorter listerne alfabetisk",
                                   "Annuller", "Gem og luk"};
        for (const QString &name : controls) {
            QWidget *found = control(name);
            QVERIFY2(found, qPrintable(name));
            QVERIFY2(box.rect().contains(QRect(found->mapTo(&box, QPoint()), found->size())), qPrintable(name));
        }
        QVERIFY(control(QStringLiteral("Hent"))->isEnabled());
        QVERIFY(!control(QStringLiteral("Indsæt"))->isEnabled());
        for (const QString &name : {up, down, QStringLiteral("Flyt valgte til lager")})
            QVERIFY2(!control(name)->toolTip().isEmpty(), qPrintable(name));

        // The information button explains the box and goes back to it.
        program.modal.press(QStringLiteral("OK"));
        click(QStringLiteral("Information: Administrer grupper"));
        QCOMPARE(program.modal.shown.last().title, QStringLiteral("Information"));
        QVERIFY(program.modal.shown.last().text.contains(QStringLiteral("\"Gem og luk\"")));
        QVERIFY(box.isVisible());
        click(QStringLiteral("Annuller"));
    });
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestFontBox::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Gem og luk") << "Gem og luk" << int(QDialog::Accepted);
    QTest::newRow("Annuller") << "Annuller" << int(QDialog::Rejected);
    QTest::newRow("window button") << "window" << int(QDialog::Rejected);
    QTest::newRow("Escape") << "Escape" << int(QDialog::Rejected);
}

void TestFontBox::closing()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    ProgramFixture program;
    program.start();
    QVERIFY(!QFileInfo::exists(boksFile(program)));

    const int shown = withBox(program, {"Arial"}, {}, [&](QDialog &box) {
        box.resize(532, 455);
        if (how == QLatin1String("window"))
            box.close();
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(boksform->Box, Qt::Key_Escape);
        else
            click(how);
    });
    QCOMPARE(shown, result);
    // Whichever way it closed, the height is remembered for the next start.
    QCOMPARE(ProgramFixture::readFile(boksFile(program)), QByteArray("455\r\n"));
    QVERIFY(program.close());
    program.start();
    QCOMPARE(boksform->height(), 455);
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestFontBox::heightFromFile_data()
{
    QTest::addColumn<QByteArray>("content"); // "none": no file
    QTest::addColumn<int>("height");
    QTest::newRow("no file") << QByteArray("none") << 480;
    QTest::newRow("one line") << QByteArray("445\r\n") << 445;
    QTest::newRow("one line, no line break") << QByteArray("560") << 560;
    QTest::newRow("below the smallest") << QByteArray("120\r\n") << 400;
    QTest::newRow("two lines") << QByteArray("445\r\n445\r\n") << int(Tboksform::designedHeight);
    QTest::newRow("empty file") << QByteArray("") << int(Tboksform::designedHeight);
    QTest::newRow("a word") << QByteArray("høj\r\n") << int(Tboksform::designedHeight);
    QTest::newRow("a number and a word") << QByteArray("445 px\r\n") << int(Tboksform::designedHeight);
}

void TestFontBox::heightFromFile()
{
    QFETCH(QByteArray, content);
    QFETCH(int, height);
    ProgramFixture program;
    if (content != "none")
        writeBoks(program, content);
    program.start();
    QCOMPARE(boksform->height(), height);
    QCOMPARE(boksform->width(), 532);
    // Reading is silent, and the file is left as it was until the box closes.
    QVERIFY(program.modal.shown.isEmpty());
    QCOMPARE(QFileInfo::exists(boksFile(program)), content != "none");
    if (content != "none")
        QCOMPARE(ProgramFixture::readFile(boksFile(program)), content);
}

void TestFontBox::enabledRules_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QList<int>>("chosenSelected");
    QTest::addColumn<QStringList>("store");
    QTest::addColumn<QList<int>>("storeSelected");
    // Fjern, valgte til lager, valgte tilbage, alle til lager, alle tilbage, op, ned, sorter
    QTest::addColumn<QList<bool>>("enabled");
    const QStringList abc{"A", "B", "C"};
    QTest::newRow("both empty") << QStringList() << QList<int>() << QStringList() << QList<int>()
                                << QList<bool>({false, false, false, false, false, false, false, true});
    QTest::newRow("names, none selected") << abc << QList<int>() << abc << QList<int>()
                                          << QList<bool>({false, false, false, true, true, false, false, true});
    QTest::newRow("one of three selected") << abc << QList<int>({1}) << QStringList() << QList<int>()
                                           << QList<bool>({true, true, false, true, false, true, true, true});
    QTest::newRow("two selected") << abc << QList<int>({0, 2}) << QStringList() << QList<int>()
                                  << QList<bool>({true, true, false, true, false, false, false, true});
    QTest::newRow("the only name selected") << QStringList({"A"}) << QList<int>({0}) << QStringList() << QList<int>()
                                            << QList<bool>({true, true, false, true, false, false, false, true});
    QTest::newRow("store name selected") << QStringList() << QList<int>() << abc << QList<int>({2})
                                         << QList<bool>({false, false, true, false, true, false, false, true});
}

void TestFontBox::enabledRules()
{
    QFETCH(QStringList, chosen);
    QFETCH(QList<int>, chosenSelected);
    QFETCH(QStringList, store);
    QFETCH(QList<int>, storeSelected);
    QFETCH(QList<bool>, enabled);
    ProgramFixture program;
    program.start();

    withBox(program, chosen, store, [&](QDialog &) {
        selectNames(boksform->Box, chosenSelected);
        selectNames(boksform->lagerBox, storeSelected);
        TAction::updateAll();
        QList<bool> seen;
        for (const TAction *action :
             {boksform->sletFontFraListe, boksform->AvalgteTilLager, boksform->AvalgteTilbage, boksform->AalleTilLager,
              boksform->AalleTilbage, boksform->AflytOp, boksform->AflytNed, boksform->sorterListerne})
            seen << action->isEnabled();
        QCOMPARE(seen, enabled);
        click(QStringLiteral("Annuller"));
    });
}

void TestFontBox::movingInTheList_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    const QStringList abc{"A", "B", "C"};
    QTest::newRow("first up wraps to the end") << abc << 0 << up << QStringList({"B", "C", "A"}) << 2;
    QTest::newRow("middle up") << abc << 1 << up << QStringList({"B", "A", "C"}) << 0;
    QTest::newRow("last up") << abc << 2 << up << QStringList({"A", "C", "B"}) << 1;
    QTest::newRow("last down wraps to the top") << abc << 2 << down << QStringList({"C", "A", "B"}) << 0;
    QTest::newRow("middle down") << abc << 1 << down << QStringList({"A", "C", "B"}) << 2;
    QTest::newRow("first down") << abc << 0 << down << QStringList({"B", "A", "C"}) << 1;
    QTest::newRow("first of four up") << QStringList({"A", "B", "C", "D"}) << 0 << up << QStringList({"B", "C", "D", "A"}) << 3;
    QTest::newRow("last of four down") << QStringList({"A", "B", "C", "D"}) << 3 << down << QStringList({"D", "A", "B", "C"}) << 0;
    QTest::newRow("two names, up") << QStringList({"A", "B"}) << 0 << up << QStringList({"B", "A"}) << 1;
    QTest::newRow("twins keep apart") << QStringList({"A", "A", "B"}) << 1 << down << QStringList({"A", "B", "A"}) << 2;
}

void TestFontBox::movingInTheList()
{
    QFETCH(QStringList, before);
    QFETCH(int, selected);
    QFETCH(QString, button);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    ProgramFixture program;
    program.start();

    withBox(program, before, {"Lager"}, [&](QDialog &) {
        selectNames(boksform->Box, {selected});
        click(button);
        QCOMPARE(names(boksform->Box), after);
        QCOMPARE(selectedRows(boksform->Box), QList<int>({selectedAfter}));
        QCOMPARE(boksform->Box->currentRow(), selectedAfter);
        QCOMPARE(names(boksform->lagerBox), QStringList({"Lager"}));
        QCOMPARE(boksform->fontAntalLabel->text(), QStringLiteral("Der er valgt %1 antal fonte").arg(before.size()));
        // The selection follows, so the same button moves the same name on.
        click(button);
        QCOMPARE(selectedRows(boksform->Box).size(), 1);
        QCOMPARE(boksform->Box->selectedItems().first()->text(), before[selected]);
        click(QStringLiteral("Annuller"));
    });
}

void TestFontBox::movingBetweenTheLists()
{
    ProgramFixture program;
    program.start();
    const auto counter = [] { return boksform->fontAntalLabel->text(); };

    const int result = withBox(program, {"A", "B", "C", "D"}, {"X", "Y"}, [&](QDialog &) {
        // Selected bottom first: they still arrive top to bottom, after what the store holds.
        selectNames(boksform->Box, {3, 1});
        click(QStringLiteral("Flyt valgte til lager"));
        QCOMPARE(names(boksform->Box), QStringList({"A", "C"}));
        QCOMPARE(names(boksform->lagerBox), QStringList({"X", "Y", "B", "D"}));
        QCOMPARE(counter(), QStringLiteral("Der er valgt 2 antal fonte"));

        // Moving names leaves the preview alone, also when a single selected name is left behind
        // for a moment: it shows only what the user clicked.
        selectNames(boksform->lagerBox, {1, 3});
        const QString preview = boksform->Memo->toPlainText();
        QCOMPARE(preview, QStringLiteral("Fontnavn:\nY"));
        click(QStringLiteral("Flyt valgte tilbage"));
        QCOMPARE(boksform->Memo->toPlainText(), preview);
        QCOMPARE(names(boksform->Box), QStringList({"A", "C", "Y", "D"}));
        QCOMPARE(names(boksform->lagerBox), QStringList({"X", "B"}));
        QCOMPARE(counter(), QStringLiteral("Der er valgt 4 antal fonte"));

        click(QStringLiteral("Flyt alle til lager"));
        QCOMPARE(names(boksform->Box), QStringList());
        QCOMPARE(names(boksform->lagerBox), QStringList({"X", "B", "A", "C", "Y", "D"}));
        QCOMPARE(counter(), QStringLiteral("Der er valgt 0 antal fonte"));

        click(QStringLiteral("Flyt alle tilbage"));
        QCOMPARE(names(boksform->Box), QStringList({"X", "B", "A", "C", "Y", "D"}));
        QCOMPARE(names(boksform->lagerBox), QStringList());
        QCOMPARE(counter(), QStringLiteral("Der er valgt 6 antal fonte"));

        selectNames(boksform->Box, {1, 3, 4});
        const QString clicked = boksform->Memo->toPlainText();
        click(QStringLiteral("Fjern"));
        QCOMPARE(names(boksform->Box), QStringList({"X", "A", "D"}));
        QCOMPARE(counter(), QStringLiteral("Der er valgt 3 antal fonte"));
        QCOMPARE(boksform->Memo->toPlainText(), clicked);
        click(QStringLiteral("Gem og luk"));
    });
    QCOMPARE(result, int(QDialog::Accepted));
    // The lists are the options box's to take back; the box keeps only its height.
    QCOMPARE(names(boksform->Box), QStringList({"X", "A", "D"}));
    QCOMPARE(ProgramFixture::readFile(boksFile(program)), QByteArray::number(boksform->height()) + "\r\n");
}

void TestFontBox::sortingBothLists()
{
    ProgramFixture program;
    program.start();

    withBox(program, {"delta", "Charlie", "alfa", "Bravo"}, {"Zulu", "Ære", "Echo", "Åen", "Øst"}, [&](QDialog &) {
        click(QStringLiteral("Sorter listerne alfabetisk"));
        QCOMPARE(names(boksform->Box), QStringList({"alfa", "Bravo", "Charlie", "delta"}));
        QCOMPARE(names(boksform->lagerBox), QStringList({"Echo", "Zulu", "Ære", "Øst", "Åen"}));
        QCOMPARE(boksform->fontAntalLabel->text(), QStringLiteral("Der er valgt 4 antal fonte"));
        // Sorted once: what comes later is appended.
        click(QStringLiteral("Flyt alle til lager"));
        QCOMPARE(names(boksform->lagerBox),
                 QStringList({"Echo", "Zulu", "Ære", "Øst", "Åen", "alfa", "Bravo", "Charlie", "delta"}));
        click(QStringLiteral("Annuller"));
    });
}

void TestFontBox::insertAddsTheChosenNameAgain()
{
    ProgramFixture program;
    program.start();

    withBox(program, {"Courier New"}, {}, [&](QDialog &) {
        TFontnavne *fontBox = boksform->fontBox;
        fontBox->GetFontNames({"Gamma", "Alfa", "Beta"});
        // Filling the list chooses nothing, so there is nothing to insert yet.
        QCOMPARE(fontBox->currentIndex(), -1);
        QVERIFY(!control(QStringLiteral("Indsæt"))->isEnabled());

        fontBox->setFocus();
        QTest::keyClick(fontBox, Qt::Key_Down);
        QCOMPARE(fontBox->currentText(), QStringLiteral("Alfa"));
        click(QStringLiteral("Indsæt"));
        QCOMPARE(names(boksform->Box), QStringList({"Courier New", "Alfa"}));
        QCOMPARE(boksform->fontAntalLabel->text(), QStringLiteral("Der er valgt 2 antal fonte"));
        QVERIFY(!control(QStringLiteral("Indsæt"))->isEnabled());

        QTest::keyClick(fontBox, Qt::Key_Down);
        QTest::keyClick(fontBox, Qt::Key_Up);
        QCOMPARE(fontBox->currentText(), QStringLiteral("Alfa"));
        click(QStringLiteral("Indsæt"));
        QCOMPARE(names(boksform->Box), QStringList({"Courier New", "Alfa", "Alfa"}));
        QCOMPARE(boksform->fontAntalLabel->text(), QStringLiteral("Der er valgt 3 antal fonte"));
        click(QStringLiteral("Gem og luk"));
    });
}

void TestFontBox::fetchingTheSystemsFonts()
{
    ProgramFixture program;
    program.start();
    QStringList expected;
    // Each family once, without the foundry that tells apart its makers ("C059 [URW]").
    static const QRegularExpression foundry(QStringLiteral(" \\[[^\\]]*\\]$"));
    for (QString family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@')) && !expected.contains(family.remove(foundry)))
            expected << family;
    expected << QStringLiteral("Zz egen");
    const auto sorted = [](const QStringList &list) {
        QCollator collator{QLocale(QLocale::Danish, QLocale::Denmark)};
        for (qsizetype i = 1; i < list.size(); ++i)
            if (collator.compare(list[i - 1], list[i]) > 0)
                return false;
        return true;
    };

    withBox(program, {}, {}, [&](QDialog &) {
        // What the list held stays.
        boksform->fontBox->addItem(QStringLiteral("Zz egen"));
        click(QStringLiteral("Hent"));
        const QStringList fetched = items(boksform->fontBox);
        QCOMPARE(fetched.size(), expected.size());
        for (const QString &name : expected)
            QVERIFY2(fetched.contains(name), qPrintable(name));
        QVERIFY(sorted(fetched));
        QCOMPARE(boksform->fontBox->currentIndex(), 0);
        QVERIFY(!control(QStringLiteral("Hent"))->isEnabled());
        QVERIFY(control(QStringLiteral("Indsæt"))->isEnabled());
        click(QStringLiteral("Indsæt"));
        QCOMPARE(names(boksform->Box), QStringList({fetched.first()}));
        click(QStringLiteral("Annuller"));
    });
    // For the rest of the run: the names stay and "Hent" stays disabled.
    withBox(program, {}, {}, [&](QDialog &) {
        QCOMPARE(boksform->fontBox->count(), expected.size());
        TAction::updateAll();
        QVERIFY(!control(QStringLiteral("Hent"))->isEnabled());
        click(QStringLiteral("Gem og luk"));
    });
}

void TestFontBox::previewFollowsClicks()
{
    ProgramFixture program;
    program.start();
    const auto preview = [] {
        return QStringList({boksform->Memo->toPlainText(), boksform->Memo->font().family()});
    };
    const auto showing = [](const QString &name) {
        return QStringList({QStringLiteral("Fontnavn:\n") + name, name});
    };

    withBox(program, {"Alfa", "Beta"}, {"Gamma"}, [&](QDialog &) {
        clickName(boksform->Box, 1);
        QCOMPARE(preview(), showing("Beta"));
        // Two selected: no single name to show.
        clickName(boksform->Box, 0, true);
        QCOMPARE(preview(), showing("Beta"));
        clickName(boksform->lagerBox, 0);
        QCOMPARE(preview(), showing("Gamma"));
        clickName(boksform->Box, 0);
        QCOMPARE(preview(), showing("Alfa"));
        clickName(boksform->lagerBox, 0);
        QCOMPARE(preview(), showing("Gamma"));
        // A click on the name that is already the only one selected shows it again.
        clickName(boksform->Box, 0);
        QCOMPARE(preview(), showing("Alfa"));
        // The keys choose as well.
        QTest::keyClick(boksform->Box, Qt::Key_Down);
        QCOMPARE(preview(), showing("Beta"));
        click(QStringLiteral("Annuller"));
    });
}

void TestFontBox::fontNamesAreAddedSorted_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("faceNames");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("vertical variants left out")
        << QStringList() << -1 << QStringList({"@MS Gothic", "MS Gothic", "Arial", "@Yu Gothic", "@"})
        << QStringList({"Arial", "MS Gothic"});
    QTest::newRow("adds to what is there and keeps the choice")
        << QStringList({"Zeta", "Beta"}) << 0 << QStringList({"alfa", "Gamma"})
        << QStringList({"alfa", "Beta", "Gamma", "Zeta"});
    QTest::newRow("Danish letters last") << QStringList() << -1 << QStringList({"Åben", "Ødis", "Ære", "Zulu"})
                                         << QStringList({"Zulu", "Ære", "Ødis", "Åben"});
    QTest::newRow("letter case only between equals, capitals first")
        << QStringList({"arial"}) << 0 << QStringList({"Bahn", "Arial", "BAHN"}) << QStringList({"Arial", "arial", "BAHN", "Bahn"});
    QTest::newRow("nothing to add") << QStringList({"Beta", "Alfa"}) << 1 << QStringList({"@Alfa"})
                                    << QStringList({"Alfa", "Beta"});
    QTest::newRow("families of several foundries once, without the foundry")
        << QStringList() << -1 << QStringList({"C059 [UKWN]", "Arial", "C059 [URW]", "Noto [x] Sans"})
        << QStringList({"Arial", "C059", "Noto [x] Sans"});
}

void TestFontBox::fontNamesAreAddedSorted()
{
    QFETCH(QStringList, before);
    QFETCH(int, chosen);
    QFETCH(QStringList, faceNames);
    QFETCH(QStringList, after);
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    TFontnavne box;
    box.addItems(before);
    box.setCurrentIndex(chosen);
    QSignalSpy changed(&box, &TFontnavne::Changed);
    int reported = 0;
    box.FOnNyFont = [&](QObject *, const QString &) { ++reported; };

    box.GetFontNames(faceNames);
    QCOMPARE(items(&box), after);
    QCOMPARE(box.currentText(), chosen < 0 ? QString() : before[chosen]);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(reported, 0);
}

void TestFontBox::choiceReportedOnlyWhenTheUserMakesIt()
{
    TFontnavne box;
    QStringList reported;
    QSignalSpy changed(&box, &TFontnavne::Changed);
    box.FOnNyFont = [&](QObject *sender, const QString &name) {
        QCOMPARE(sender, &box);
        QVERIFY(box.FontUpdate);
        reported << name;
        // A handler that changes the choice itself is not told about it again.
        if (name == QLatin1String("Gamma"))
            box.setCurrentIndex(0);
    };

    // Told a name before there are any: remembered, nothing chosen.
    box.NyFont(QStringLiteral("Beta"));
    QCOMPARE(box.OldFontname, QStringLiteral("Beta"));
    QCOMPARE(box.currentIndex(), -1);

    box.GetFontNames({"Alfa", "Beta", "Gamma"});
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(reported, QStringList({"Alfa"}));
    QCOMPARE(changed.size(), 1);
    QVERIFY(!box.FontUpdate);

    box.NyFont(QStringLiteral("Gamma"));
    QCOMPARE(box.currentText(), QStringLiteral("Gamma"));
    QCOMPARE(box.OldFontname, QStringLiteral("Gamma"));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(reported, QStringList({"Alfa"}));
    QVERIFY(!box.FontUpdate);

    // The same name again is no news, even when the user has chosen another since.
    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(reported, QStringList({"Alfa", "Beta"}));
    box.NyFont(QStringLiteral("Gamma"));
    QCOMPARE(box.currentText(), QStringLiteral("Beta"));

    // The user's choice of "Gamma" makes the handler choose "Alfa", quietly.
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(reported, QStringList({"Alfa", "Beta", "Gamma"}));
    QCOMPARE(box.currentText(), QStringLiteral("Alfa"));
    QCOMPARE(changed.size(), 5);
    QVERIFY(!box.FontUpdate);

    // Without a handler a choice is still an ordinary change.
    box.FOnNyFont = nullptr;
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(changed.size(), 6);
    QCOMPARE(reported.size(), 3);
}

QTEST_MAIN(TestFontBox)
#include "tst_fontbox.moc"
