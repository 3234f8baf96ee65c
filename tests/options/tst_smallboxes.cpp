#include "Fakes.h"

#include "options/genvejUnit.h"
#include "options/memoUnit.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QWindow>
#include <QtTest>

namespace {

// What the user saw of one showing of the information box.
struct Showing {
    QString text;
    QSize size;
    int pointSize = 0;
    bool textFits = false;   // the label is as tall as its wrapped text
    bool buttonFits = false; // the OK button lies wholly inside the box
};

Showing showingOf(const QString &message)
{
    Showing seen;
    ModalScript script;
    script.answer([&seen](QDialog &box) {
        QLabel *label = infform->Label1;
        seen.text = label->text();
        seen.size = box.size();
        seen.pointSize = label->font().pointSize();
        seen.textFits = label->height() >= label->heightForWidth(label->width());
        seen.buttonFits = box.rect().contains(infform->BitBtn1->geometry());
        pressButton(box, QStringLiteral("OK"));
    });
    showInfo(message);
    return seen;
}

} // namespace

class TestSmallBoxes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void informationHeightFollowsText();
    void informationStaysAboveItsParent();
    void questionIsYesOnlyForJa_data();
    void questionIsYesOnlyForJa();
    void questionStartsOnJaEveryTime();
    void shortcutPages_data();
    void shortcutPages();
    void shortcutBox();
    void controlsAreNamedForScreenReaders();
};

void TestSmallBoxes::initTestCase()
{
    infform = new Tinfform(nullptr);
    spform = new Tspform(nullptr);
    genvejsform = new Tgenvejsform(nullptr);
}

void TestSmallBoxes::cleanupTestCase()
{
    delete infform;
    delete spform;
    delete genvejsform;
    infform = nullptr;
    spform = nullptr;
    genvejsform = nullptr;
}

void TestSmallBoxes::informationHeightFollowsText()
{
    const Showing one = showingOf(QStringLiteral("Filen er gemt."));
    const Showing three = showingOf(QStringLiteral("Første linje\rAnden linje\rTredje linje"));
    const Showing wrapped = showingOf(QStringLiteral("Filen kunne ikke gemmes, ").repeated(20));
    // Markup in a file name is text like any other: "<br>" breaks no line.
    const Showing markup = showingOf(QStringLiteral("C:\\a<br>b & <i>c</i>.txt"));

    QCOMPARE(three.text, QStringLiteral("Første linje\nAnden linje\nTredje linje"));
    QCOMPARE(markup.text, QStringLiteral("C:\\a<br>b & <i>c</i>.txt"));
    QVERIFY(three.size.height() > one.size.height());
    QVERIFY(wrapped.size.height() > three.size.height());
    QCOMPARE(markup.size.height(), one.size.height());
    for (const Showing &seen : {one, three, wrapped, markup}) {
        QCOMPARE(seen.size.width(), 339);
        QCOMPARE(seen.pointSize, 10);
        QVERIFY(seen.textFits);
        QVERIFY(seen.buttonFits);
    }

    // Nothing is left over for the next caller.
    QVERIFY(infform->Label1->text().isEmpty());
    QCOMPARE(infform->Label1->font().pointSize(), 8);
    QVERIFY(!infform->isVisible());
}

void TestSmallBoxes::informationStaysAboveItsParent()
{
    QVERIFY(infform->windowFlags() & Qt::WindowStaysOnTopHint);

    QWidget main;
    main.setGeometry(40, 40, 600, 400);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    Tinfform box(&main);
    QVERIFY(box.isWindow());

    QWindow *transientParent = nullptr;
    QPoint centre;
    ModalScript script;
    script.answer([&](QDialog &shown) {
        transientParent = shown.windowHandle()->transientParent();
        centre = shown.geometry().center();
        pressButton(shown, QStringLiteral("OK"));
    });
    box.insertTekst(QStringLiteral("Hej"));
    QCOMPARE(Platform::showModal(box), int(QDialog::Accepted));

    QCOMPARE(transientParent, main.windowHandle());
    QVERIFY((centre - main.geometry().center()).manhattanLength() <= 4);
    QVERIFY(script.unexpected.isEmpty());
}

void TestSmallBoxes::questionIsYesOnlyForJa_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<Answer>("threeWay");
    QTest::newRow("Ja") << QStringLiteral("Ja") << true << Answer::Yes;
    QTest::newRow("Nej") << QStringLiteral("Nej") << false << Answer::No;
    QTest::newRow("window button") << QString() << false << Answer::Cancel;
    QTest::newRow("Escape") << QStringLiteral("Escape") << false << Answer::Cancel;
}

void TestSmallBoxes::questionIsYesOnlyForJa()
{
    QFETCH(QString, button);
    QFETCH(bool, yes);
    QFETCH(Answer, threeWay);

    ModalScript script;
    for (int asked = 0; asked < 2; ++asked) {
        if (button.isEmpty())
            script.closeWindow();
        else if (button == QLatin1String("Escape"))
            script.key(Qt::Key_Escape);
        else
            script.press(button);
    }
    QCOMPARE(ask(QStringLiteral("Skal det gemmes?\rdok.txt")), yes);
    // A question that can be taken back tells "Nej" from a box left without an answer.
    QCOMPARE(askOrCancel(QStringLiteral("Skal det gemmes?\rdok.txt")), threeWay);

    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join(u'\n')));
    QCOMPARE(script.shown.size(), 2);
    for (const ModalScript::Shown &shown : std::as_const(script.shown)) {
        QCOMPARE(shown.title, QStringLiteral("Spørgsmål"));
        QCOMPARE(shown.text, QStringLiteral("Skal det gemmes?\ndok.txt"));
    }
    QVERIFY(spform->textLabel->text().isEmpty());
    QVERIFY(!spform->isVisible());
}

void TestSmallBoxes::questionStartsOnJaEveryTime()
{
    // Keys as the keyboard sends them to the box's window, reaching its focused button.
    const auto keys = [](QList<Qt::Key> pressed) {
        return [pressed](QDialog &box) {
            for (const Qt::Key key : pressed)
                QTest::keyClick(box.windowHandle(), key);
        };
    };
    ModalScript script;
    script.answer(keys({Qt::Key_Tab, Qt::Key_Return})); // over to "Nej", and pressed
    script.answer(keys({Qt::Key_Return}));
    script.answer(keys({Qt::Key_Escape}));
    script.answer(keys({Qt::Key_Return}));
    QCOMPARE(ask(QStringLiteral("Første?")), false);
    QCOMPARE(ask(QStringLiteral("Anden?")), true);
    QCOMPARE(ask(QStringLiteral("Tredje?")), false);
    QCOMPARE(ask(QStringLiteral("Fjerde?")), true);
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join(u'\n')));
}

void TestSmallBoxes::shortcutPages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("functions");

    QTest::newRow("Hovedmenuen")
        << 0 << QStringLiteral("Hovedmenuen") << QStringList{"Ctrl+", "Funktion"}
        << QStringList{" 1", " 2", " 3", " 4", " 5", " 6", " 7"}
        << QStringList{"Fil", "Dokument", "Søg", "Vindue", "Bokse", "Egenskaber", "Info"};
    QTest::newRow("F taster")
        << 1 << QStringLiteral("F taster") << QStringList{"Tast", "Funktion"}
        << QStringList{" F1", " F2", " F3", " F4", " F5", " F6", " F7", " F8", " F9"}
        << QStringList{"Info", "Opdater filinformation", "Mappefilboksen", "Favoritboksen",
                       "Dokumentboksen", "Søg efter tekst i dokumenter",
                       "Søg efter fil og mappenavne", "Typelisteboksen", "Denne boks"};
    QTest::newRow("Internet")
        << 2 << QStringLiteral("Internet") << QStringList{"Genvej", "Funktion"}
        << QStringList{" Ctrl+Shift+B", " Ctrl+Shift+G", " Ctrl+Shift+T"}
        << QStringList{"Søg med Bing", "Søg med Google", "Søg på YouTube"};
    QTest::newRow("Ctrl+")
        << 3 << QStringLiteral("Ctrl+") << QStringList{"Tast", "Funktion"}
        << QStringList{"R", "H"} << QStringList{"Redskabslinje", "Hovedmenu"};
}

void TestSmallBoxes::shortcutPages()
{
    QFETCH(int, page);
    QFETCH(QString, title);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, functions);

    QTabWidget *pages = genvejsform->PageControl1;
    QCOMPARE(pages->count(), 4);
    QCOMPARE(pages->tabText(page), title);
    auto *list = qobject_cast<QTableWidget *>(pages->widget(page));
    QVERIFY(list);
    QCOMPARE(list->columnCount(), 2);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), headers[0]);
    QCOMPARE(list->horizontalHeaderItem(1)->text(), headers[1]);

    QStringList seenEntries, seenFunctions;
    for (int row = 0; row < list->rowCount(); ++row) {
        seenEntries << list->item(row, 0)->text();
        seenFunctions << list->item(row, 1)->text();
        // Only the first three pages carry a row image.
        QCOMPARE(list->item(row, 0)->icon().isNull(), page == 3);
    }
    QCOMPARE(seenEntries, entries);
    QCOMPARE(seenFunctions, functions);

    // A click anywhere in a row selects the whole row, and nothing opens for editing.
    pages->setCurrentIndex(page);
    genvejsform->show();
    QVERIFY(QTest::qWaitForWindowExposed(genvejsform));
    const QRect cell = list->visualItemRect(list->item(1, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(list, Qt::Key_F2);
    QCOMPARE(list->selectedItems().size(), 2);
    QCOMPARE(list->selectedItems().first()->row(), 1);
    QVERIFY(list->viewport()->findChildren<QLineEdit *>().isEmpty());
    genvejsform->hide();
    pages->setCurrentIndex(0);
}

void TestSmallBoxes::shortcutBox()
{
    Tgenvejsform box(nullptr);
    QCOMPARE(box.windowTitle(), QStringLiteral("Genveje"));
    QCOMPARE(box.PageControl1->currentIndex(), 0);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(!box.isModal());
    // At least its designed width, wider where its four tabs need it.
    QCOMPARE(box.height(), 306);
    QVERIFY(box.width() >= 280);
    QCOMPARE(box.minimumSize(), box.maximumSize());
}

void TestSmallBoxes::controlsAreNamedForScreenReaders()
{
    const QList<std::pair<QWidget *, QString>> controls{
        {infform, QStringLiteral("Information")},
        {infform->BitBtn1, QStringLiteral("OK")},
        {spform, QStringLiteral("Spørgsmål")},
        {spform->BitBtn1, QStringLiteral("Ja")},
        {spform->annullerButton, QStringLiteral("Nej")},
        {genvejsform, QStringLiteral("Genveje")},
        {genvejsform->ListView2, QStringLiteral("F taster")},
    };
    for (const auto &[control, name] : controls)
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
}

QTEST_MAIN(TestSmallBoxes)
#include "tst_smallboxes.moc"
