#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DatoCompo.h"
#include "documents/DocumentForm.h"
#include "platform/Clock.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractScrollArea>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <climits>

namespace {

int floorDiv(int a, int b)
{
    return a / b - ((a % b != 0 && a < 0) ? 1 : 0);
}

int floorMod(int a, int b)
{
    return a - floorDiv(a, b) * b;
}

// Easter Sunday by the "anonymous Gregorian" algorithm (Meeus, Jones, Butcher), a different
// route to the date than the program's, with floored arithmetic so that it holds before year 0.
QDate anonymousGregorianEaster(int year, int *month, int *day)
{
    const int a = floorMod(year, 19);
    const int b = floorDiv(year, 100);
    const int c = floorMod(year, 100);
    const int d = floorDiv(b, 4);
    const int e = floorMod(b, 4);
    const int f = floorDiv(b + 8, 25);
    const int g = floorDiv(b - f + 1, 3);
    const int h = floorMod(19 * a + b - d - g + 15, 30);
    const int i = floorDiv(c, 4);
    const int k = floorMod(c, 4);
    const int l = floorMod(32 + 2 * e + 2 * i - h - k, 7);
    const int m = floorDiv(a + 11 * h + 22 * l, 451);
    *month = floorDiv(h + l - 7 * m + 114, 31);
    *day = floorMod(h + l - 7 * m + 114, 31) + 1;
    return year > 0 ? QDate(year, *month, *day) : QDate();
}

// Fixes the program's clock for one test and gives the system clock back afterwards.
struct FixedClock {
    explicit FixedClock(const QDateTime &moment) { Platform::setClock([moment] { return moment; }); }
    ~FixedClock() { Platform::setClock({}); }
};

Platform::RichEdit *activeEditor()
{
    return mainform->activeDocument() ? mainform->activeDocument()->editor() : nullptr;
}

// A new plain (Ctrl+N) or rich document holding text, with nothing selected and unmodified.
Platform::RichEdit *newDocument(bool rich, const QString &text)
{
    if (rich)
        mainform->fileNewRtf->trigger();
    else
        QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    Platform::RichEdit *editor = activeEditor();
    if (!editor)
        return nullptr;
    editor->replaceSelection(text);
    editor->setSelection(0, 0);
    editor->setModified(false);
    return editor;
}

void selectText(Platform::RichEdit *editor, const QString &part)
{
    editor->setSelection(int(editor->text().indexOf(part)), int(part.size()));
}

// Writes the holiday list of the year as if the user had it in the year field.
void writeHolidays(const QString &year)
{
    mainform->aarEdit->setText(year);
    mainform->aDatoUdskriv->Execute();
}

const QString separator = QString(55, QLatin1Char('-'));

} // namespace

class TestDatoer : public QObject {
    Q_OBJECT
private slots:
    void easterAgreesWithAnonymousGregorian_data();
    void easterAgreesWithAnonymousGregorian();
    void easterOverAllYears();
    void knownEasterDates_data();
    void knownEasterDates();
    void dayAndMonthNames_data();
    void dayAndMonthNames();

    void dateTexts_data();
    void dateTexts();
    void writingReplacesSelection_data();
    void writingReplacesSelection();
    void holidayList2024_data();
    void holidayList2024();
    void holidayListOfYear_data();
    void holidayListOfYear();
    void yearNotWholeNumber_data();
    void yearNotWholeNumber();
    void noDocumentWritesNothing();
};

void TestDatoer::easterAgreesWithAnonymousGregorian_data()
{
    QTest::addColumn<int>("year");
    for (const int year : {1583, 1600, 1700, 1800, 1900, 1954, 1961, 1981, 2000, 2008, 2011, 2018, 2019, 2024, 2038,
                           2049, 2100, 2285, 2400, 3000, 9999, 0, -1, -5, -400, -2147483647 - 1, 2147483647})
        QTest::addRow("%d", year) << year;
}

void TestDatoer::easterAgreesWithAnonymousGregorian()
{
    QFETCH(int, year);
    int expectedMonth = 0, expectedDay = 0;
    anonymousGregorianEaster(year, &expectedMonth, &expectedDay);
    int month = 0;
    const int day = TDatoer::beregnPaaskeS(month, year);
    QCOMPARE(month, expectedMonth);
    QCOMPARE(day, expectedDay);
}

void TestDatoer::easterOverAllYears()
{
    // Every year from well before year 0 to far ahead: the same date as the other algorithm,
    // inside 22 March .. 25 April, and (where QDate can tell) a Sunday.
    for (int year = -20000; year <= 20000; ++year) {
        int expectedMonth = 0, expectedDay = 0;
        const QDate expected = anonymousGregorianEaster(year, &expectedMonth, &expectedDay);
        int month = 0;
        const int day = TDatoer::beregnPaaskeS(month, year);
        if (month != expectedMonth || day != expectedDay)
            QFAIL(qPrintable(QStringLiteral("year %1: %2/%3, expected %4/%5")
                                 .arg(year).arg(day).arg(month).arg(expectedDay).arg(expectedMonth)));
        const bool inRange = (month == 3 && day >= 22 && day <= 31) || (month == 4 && day >= 1 && day <= 25);
        if (!inRange)
            QFAIL(qPrintable(QStringLiteral("year %1: %2/%3 is no Easter date").arg(year).arg(day).arg(month)));
        if (expected.isValid() && expected.dayOfWeek() != Qt::Sunday)
            QFAIL(qPrintable(QStringLiteral("year %1: %2/%3 is no Sunday").arg(year).arg(day).arg(month)));
    }
}

void TestDatoer::knownEasterDates_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("1954 (d=28, e=6, a>10)") << 1954 << 4 << 18;
    QTest::newRow("1981 (d=29, e=6)") << 1981 << 4 << 19;
    QTest::newRow("2008") << 2008 << 3 << 23;
    QTest::newRow("2018") << 2018 << 4 << 1;
    QTest::newRow("2024") << 2024 << 3 << 31;
    QTest::newRow("2285 earliest") << 2285 << 3 << 22;
    QTest::newRow("2038 latest") << 2038 << 4 << 25;
    QTest::newRow("0 (1 BC)") << 0 << 4 << 9;
}

void TestDatoer::knownEasterDates()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    int foundMonth = 0;
    QCOMPARE(TDatoer::beregnPaaskeS(foundMonth, year), day);
    QCOMPARE(foundMonth, month);
}

void TestDatoer::dayAndMonthNames_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("month");
    QTest::newRow("-1") << -1 << QString() << QString();
    QTest::newRow("0") << 0 << QString() << QString();
    QTest::newRow("1") << 1 << QStringLiteral("Mandag ") << QStringLiteral(" Januar");
    QTest::newRow("2") << 2 << QStringLiteral("Tirsdag ") << QStringLiteral(" Februar");
    QTest::newRow("3") << 3 << QStringLiteral("Onsdag ") << QStringLiteral(" Marts");
    QTest::newRow("4") << 4 << QStringLiteral("Torsdag ") << QStringLiteral(" April");
    QTest::newRow("5") << 5 << QStringLiteral("Fredag ") << QStringLiteral(" Maj");
    QTest::newRow("6") << 6 << QStringLiteral("Lørdag ") << QStringLiteral(" Juni");
    QTest::newRow("7") << 7 << QStringLiteral("Søndag ") << QStringLiteral(" Juli");
    QTest::newRow("8") << 8 << QString() << QStringLiteral(" August");
    QTest::newRow("9") << 9 << QString() << QStringLiteral(" September");
    QTest::newRow("10") << 10 << QString() << QStringLiteral(" Oktober");
    QTest::newRow("11") << 11 << QString() << QStringLiteral(" November");
    QTest::newRow("12") << 12 << QString() << QStringLiteral(" December");
    QTest::newRow("13") << 13 << QString() << QString();
}

void TestDatoer::dayAndMonthNames()
{
    QFETCH(int, number);
    QFETCH(QString, day);
    QFETCH(QString, month);
    QCOMPARE(TDatoer::makeDag(number), day);
    QCOMPARE(TDatoer::makeMaaned(number), month);
}

void TestDatoer::dateTexts_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("dato");
    QTest::addColumn<QString>("dato2");
    QTest::addColumn<QString>("dato3");
    QTest::addColumn<QString>("klokken");
    QTest::newRow("monday morning")
        << QDateTime(QDate(2024, 2, 5), QTime(9, 7, 3)) << QStringLiteral("Mandag 05. Februar 2024")
        << QStringLiteral("05-02-2024") << QStringLiteral("2024-02-05") << QStringLiteral("09:07:03");
    QTest::newRow("sunday midnight")
        << QDateTime(QDate(2023, 12, 31), QTime(0, 0, 0)) << QStringLiteral("Søndag 31. December 2023")
        << QStringLiteral("31-12-2023") << QStringLiteral("2023-12-31") << QStringLiteral("00:00:00");
    QTest::newRow("saturday evening")
        << QDateTime(QDate(2022, 10, 1), QTime(23, 59, 58)) << QStringLiteral("Lørdag 01. Oktober 2022")
        << QStringLiteral("01-10-2022") << QStringLiteral("2022-10-01") << QStringLiteral("23:59:58");
    QTest::newRow("wednesday afternoon")
        << QDateTime(QDate(2025, 1, 1), QTime(13, 1, 9)) << QStringLiteral("Onsdag 01. Januar 2025")
        << QStringLiteral("01-01-2025") << QStringLiteral("2025-01-01") << QStringLiteral("13:01:09");
}

void TestDatoer::dateTexts()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, dato);
    QFETCH(QString, dato2);
    QFETCH(QString, dato3);
    QFETCH(QString, klokken);
    FixedClock clock(moment);
    ProgramFixture program;
    program.start();
    const TDatoer *datoer = mainform->Datoer;
    QVERIFY(datoer);
    QCOMPARE(datoer->getDato(), dato);
    QCOMPARE(datoer->getDato2(), dato2);
    QCOMPARE(datoer->getDato3(), dato3);
    QCOMPARE(datoer->getKlokken(), klokken);
}

void TestDatoer::writingReplacesSelection_data()
{
    QTest::addColumn<bool>("rich");
    QTest::newRow("plain") << false;
    QTest::newRow("rich") << true;
}

void TestDatoer::writingReplacesSelection()
{
    QFETCH(bool, rich);
    FixedClock clock(QDateTime(QDate(2024, 2, 4), QTime(8, 5, 0)));
    ProgramFixture program;
    program.start();
    Platform::RichEdit *editor = newDocument(rich, QStringLiteral("Dato: XXX slut"));
    QVERIFY(editor);
    QCOMPARE(mainform->Datoer->editor(), editor);
    QWidget *area = editor->widget();

    // The date replaces the selection; the caret follows it, the text area has the focus.
    mainform->aarEdit->setFocus();
    selectText(editor, QStringLiteral("XXX"));
    mainform->Datoer->UdskrivTekst(mainform->Datoer->getDato());
    QCOMPARE(editor->text(), QStringLiteral("Dato: Søndag 04. Februar 2024 slut"));
    QVERIFY(!editor->hasSelection());
    QCOMPARE(editor->selectionStart(), int(QStringLiteral("Dato: Søndag 04. Februar 2024").size()));
    QVERIFY(editor->isModified());
    QCOMPARE(area->window()->focusWidget(), area);

    // A line goes in at the caret, after a line break when asked; a selection goes away first.
    editor->setModified(false);
    mainform->aarEdit->setFocus();
    selectText(editor, QStringLiteral(" slut"));
    mainform->Datoer->InsertLine(mainform->Datoer->getKlokken(), true);
    QCOMPARE(editor->text(), QStringLiteral("Dato: Søndag 04. Februar 2024\n08:05:00"));
    QVERIFY(editor->isModified());
    QCOMPARE(area->window()->focusWidget(), area);
    editor->setModified(false);
    editor->setSelection(0, 0);
    mainform->Datoer->InsertLine(mainform->Datoer->getDato3(), false);
    QCOMPARE(editor->text(), QStringLiteral("2024-02-04Dato: Søndag 04. Februar 2024\n08:05:00"));
    QCOMPARE(editor->selectionStart(), 10);
    QVERIFY(editor->isModified());
    // Both parts of a replacing line go with one undo.
    selectText(editor, QStringLiteral("Dato"));
    mainform->Datoer->InsertLine(QStringLiteral("Tid"), true);
    QCOMPARE(editor->text(), QStringLiteral("2024-02-04\nTid: Søndag 04. Februar 2024\n08:05:00"));
    editor->undo();
    QCOMPARE(editor->text(), QStringLiteral("2024-02-04Dato: Søndag 04. Februar 2024\n08:05:00"));
}

void TestDatoer::holidayList2024_data()
{
    QTest::addColumn<bool>("rich");
    QTest::newRow("plain") << false;
    QTest::newRow("rich") << true;
}

void TestDatoer::holidayList2024()
{
    QFETCH(bool, rich);
    ProgramFixture program;
    program.start();
    Platform::RichEdit *editor = newDocument(rich, QStringLiteral("Før MARK efter"));
    QVERIFY(editor);
    mainform->aarEdit->setFocus();
    selectText(editor, QStringLiteral("MARK"));
    writeHolidays(QStringLiteral("2024"));

    const QString list = QStringLiteral(
        "Følgende dage og datoer er for år 2024.\n"
        "-------------------------------------------------------\n"
        "Skærtorsdag: 28. Marts - Torsdag \n"
        "Langfredag: 29. Marts - Fredag \n"
        "Påskedag: 31. Marts - Søndag \n"
        "Anden påskedag: 1. April - Mandag \n"
        "-------------------------------------------------------\n"
        "Store bededag: 26. April - Fredag \n"
        "Kristi himmelfartsdag: 9. Maj - Torsdag \n"
        "-------------------------------------------------------\n"
        "Pinsedag: 19. Maj - Søndag \n"
        "2. pinsedag: 20. Maj - Mandag \n"
        "-------------------------------------------------------\n"
        "Juleaften: 24. December - Tirsdag \n"
        "1. Juledag: 25. December - Onsdag \n"
        "2. juledag: 26. December - Torsdag \n"
        "-------------------------------------------------------\n"
        "Nytårsdag: 01. Januar - Onsdag \n"
        "-------------------------------------------------------\n");
    QCOMPARE(editor->text(), QStringLiteral("Før ") + list + QStringLiteral(" efter"));
    QCOMPARE(editor->selectionStart(), int(QStringLiteral("Før ").size() + list.size()));
    QVERIFY(editor->isModified());
    QCOMPARE(mainform->bogTekstLabel->text(), QStringLiteral("Datoer: 2024"));
    QCOMPARE(mainform->Datoer->datoerListe.join(QString()), list);
    QCOMPARE(mainform->Datoer->datoerListe.size(), 19);
    // The list is written where the user works, without taking the focus from the year field.
    QCOMPARE(mainform->aarEdit->window()->focusWidget(), mainform->aarEdit);

    // The whole list goes with one undo, and the selection it replaced comes back.
    editor->undo();
    QCOMPARE(editor->text(), QStringLiteral("Før MARK efter"));
    QVERIFY(program.modal.shown.isEmpty());
}

void TestDatoer::holidayListOfYear_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QStringList>("feasts"); // Skærtorsdag .. 2. pinsedag
    QTest::addColumn<QStringList>("weekdays"); // 24, 25, 26 December, 1 January after

    QTest::newRow("2008") << QStringLiteral("2008")
        << QStringList{"20. Marts - Torsdag ", "21. Marts - Fredag ", "23. Marts - Søndag ", "24. Marts - Mandag ",
                       "18. April - Fredag ", "1. Maj - Torsdag ", "11. Maj - Søndag ", "12. Maj - Mandag "}
        << QStringList{"Onsdag ", "Torsdag ", "Fredag ", "Torsdag "};
    QTest::newRow("2018") << QStringLiteral("2018")
        << QStringList{"29. Marts - Torsdag ", "30. Marts - Fredag ", "1. April - Søndag ", "2. April - Mandag ",
                       "27. April - Fredag ", "10. Maj - Torsdag ", "20. Maj - Søndag ", "21. Maj - Mandag "}
        << QStringList{"Mandag ", "Tirsdag ", "Onsdag ", "Tirsdag "};
    QTest::newRow("1981") << QStringLiteral("1981")
        << QStringList{"16. April - Torsdag ", "17. April - Fredag ", "19. April - Søndag ", "20. April - Mandag ",
                       "15. Maj - Fredag ", "28. Maj - Torsdag ", "7. Juni - Søndag ", "8. Juni - Mandag "}
        << QStringList{"Torsdag ", "Fredag ", "Lørdag ", "Fredag "};
    QTest::newRow("1954") << QStringLiteral("1954")
        << QStringList{"15. April - Torsdag ", "16. April - Fredag ", "18. April - Søndag ", "19. April - Mandag ",
                       "14. Maj - Fredag ", "27. Maj - Torsdag ", "6. Juni - Søndag ", "7. Juni - Mandag "}
        << QStringList{"Fredag ", "Lørdag ", "Søndag ", "Lørdag "};
    QTest::newRow("0 (1 BC, a leap year)") << QStringLiteral("0")
        << QStringList{"6. April - Torsdag ", "7. April - Fredag ", "9. April - Søndag ", "10. April - Mandag ",
                       "5. Maj - Fredag ", "18. Maj - Torsdag ", "28. Maj - Søndag ", "29. Maj - Mandag "}
        << QStringList{"Søndag ", "Mandag ", "Tirsdag ", "Mandag "};
    QTest::newRow("-5") << QStringLiteral("-5")
        << QStringList{"30. Marts - Torsdag ", "31. Marts - Fredag ", "2. April - Søndag ", "3. April - Mandag ",
                       "28. April - Fredag ", "11. Maj - Torsdag ", "21. Maj - Søndag ", "22. Maj - Mandag "}
        << QStringList{"Søndag ", "Mandag ", "Tirsdag ", "Mandag "};
    QTest::newRow("9999") << QStringLiteral("9999")
        << QStringList{"25. Marts - Torsdag ", "26. Marts - Fredag ", "28. Marts - Søndag ", "29. Marts - Mandag ",
                       "23. April - Fredag ", "6. Maj - Torsdag ", "16. Maj - Søndag ", "17. Maj - Mandag "}
        << QStringList{"Fredag ", "Lørdag ", "Søndag ", "Lørdag "};
    QTest::newRow("12024") << QStringLiteral("12024")
        << QStringList{"4. April - Torsdag ", "5. April - Fredag ", "7. April - Søndag ", "8. April - Mandag ",
                       "3. Maj - Fredag ", "16. Maj - Torsdag ", "26. Maj - Søndag ", "27. Maj - Mandag "}
        << QStringList{"Tirsdag ", "Onsdag ", "Torsdag ", "Onsdag "};
    QTest::newRow("largest int") << QStringLiteral("2147483647")
        << QStringList{"11. April - Torsdag ", "12. April - Fredag ", "14. April - Søndag ", "15. April - Mandag ",
                       "10. Maj - Fredag ", "23. Maj - Torsdag ", "2. Juni - Søndag ", "3. Juni - Mandag "}
        << QStringList{"Tirsdag ", "Onsdag ", "Torsdag ", "Onsdag "};
    QTest::newRow("smallest int") << QStringLiteral("-2147483648")
        << QStringList{"10. April - Torsdag ", "11. April - Fredag ", "13. April - Søndag ", "14. April - Mandag ",
                       "9. Maj - Fredag ", "22. Maj - Torsdag ", "1. Juni - Søndag ", "2. Juni - Mandag "}
        << QStringList{"Onsdag ", "Torsdag ", "Fredag ", "Torsdag "};
}

void TestDatoer::holidayListOfYear()
{
    QFETCH(QString, year);
    QFETCH(QStringList, feasts);
    QFETCH(QStringList, weekdays);
    ProgramFixture program;
    program.start();
    Platform::RichEdit *editor = newDocument(false, QString());
    QVERIFY(editor);
    writeHolidays(year);

    const QStringList lines = editor->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 20); // the last line break leaves an empty line behind
    QCOMPARE(lines[0], QStringLiteral("Følgende dage og datoer er for år ") + year + QLatin1Char('.'));
    const QStringList expected{
        QStringLiteral("Skærtorsdag: ") + feasts[0],
        QStringLiteral("Langfredag: ") + feasts[1],
        QStringLiteral("Påskedag: ") + feasts[2],
        QStringLiteral("Anden påskedag: ") + feasts[3],
        QStringLiteral("Store bededag: ") + feasts[4],
        QStringLiteral("Kristi himmelfartsdag: ") + feasts[5],
        QStringLiteral("Pinsedag: ") + feasts[6],
        QStringLiteral("2. pinsedag: ") + feasts[7],
        QStringLiteral("Juleaften: 24. December - ") + weekdays[0],
        QStringLiteral("1. Juledag: 25. December - ") + weekdays[1],
        QStringLiteral("2. juledag: 26. December - ") + weekdays[2],
        QStringLiteral("Nytårsdag: 01. Januar - ") + weekdays[3],
    };
    const QStringList written{lines[2], lines[3], lines[4], lines[5], lines[7], lines[8],
                              lines[10], lines[11], lines[13], lines[14], lines[15], lines[17]};
    QCOMPARE(written, expected);
    for (const int separatorLine : {1, 6, 9, 12, 16, 18})
        QCOMPARE(lines[separatorLine], separator);
    QVERIFY(lines[19].isEmpty());
    QCOMPARE(mainform->bogTekstLabel->text(), QStringLiteral("Datoer: ") + year);
}

void TestDatoer::yearNotWholeNumber_data()
{
    QTest::addColumn<QString>("year");
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("empty") << QString();
    QTest::newRow("trailing letter") << QStringLiteral("2024x");
    QTest::newRow("fraction") << QStringLiteral("20.5");
    QTest::newRow("too large") << QStringLiteral("2147483648");
    QTest::newRow("far too large") << QStringLiteral("99999999999");
}

void TestDatoer::yearNotWholeNumber()
{
    QFETCH(QString, year);
    ProgramFixture program;
    program.start();
    Platform::RichEdit *editor = newDocument(false, QStringLiteral("Før MARK efter"));
    QVERIFY(editor);
    writeHolidays(QStringLiteral("2024"));
    const QStringList previousList = mainform->Datoer->datoerListe;
    editor->setSelection(0, 0);
    editor->replaceSelection(QStringLiteral("Ny tekst: "));
    const QString before = editor->text();
    editor->setModified(false);
    selectText(editor, QStringLiteral("MARK"));

    program.modal.press(QStringLiteral("OK"));
    writeHolidays(year);
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].text,
             shownText(QStringLiteral("Året \"") + year
                       + QStringLiteral("\" er ikke et helt tal.\rDer er ikke udskrevet nogen datoer.")));
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(editor->text(), before);
    QCOMPARE(editor->selectedText(), QStringLiteral("MARK"));
    QVERIFY(!editor->isModified());
    QCOMPARE(mainform->Datoer->datoerListe, previousList);
    QCOMPARE(mainform->bogTekstLabel->text(), QStringLiteral("Datoer: 2024"));
}

void TestDatoer::noDocumentWritesNothing()
{
    ProgramFixture program;
    program.start();
    QVERIFY(newDocument(true, QStringLiteral("tekst")));
    while (TDocumentForm *window = mainform->activeDocument())
        QVERIFY(window->close());
    QVERIFY(!mainform->Datoer->editor());

    mainform->Datoer->UdskrivTekst(QStringLiteral("x"));
    mainform->Datoer->InsertLine(QStringLiteral("x"), true);
    QVERIFY(mainform->Datoer->udskrivHelligdage(QStringLiteral("2024")));
    // The list is still worked out; it only has nowhere to go.
    QCOMPARE(mainform->Datoer->datoerListe.size(), 19);
    QCOMPARE(mainform->Datoer->datoerListe[4], QStringLiteral("Påskedag: 31. Marts - Søndag \n"));
    QCOMPARE(mainform->documentWindows().size(), 0);
    QVERIFY(program.modal.unexpected.isEmpty());
}

QTEST_MAIN(TestDatoer)
#include "tst_datoer.moc"
