#include "documents/DatoCompo.h"

#include "platform/Clock.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>

namespace {

// Division and remainder rounded towards minus infinity; the divisor is always positive here.
template <typename T>
T floorDiv(T a, T b)
{
    const T q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

template <typename T>
T floorMod(T a, T b)
{
    const T r = a % b;
    return r < 0 ? r + b : r;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Days since 1 January 1970 in the proleptic Gregorian calendar with astronomical year numbers
// (year 0 is 1 BC). QDate knows no year 0, so the holiday list counts days itself; 64 bits keep
// every int year and the year after it in range.
qint64 daysFromCivil(qint64 year, int month, int day)
{
    const qint64 y = year - (month <= 2 ? 1 : 0);
    const qint64 era = floorDiv<qint64>(y, 400);
    const qint64 yearOfEra = y - era * 400;
    const qint64 dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct MonthDay {
    int month;
    int day;
};

MonthDay monthDayFromDays(qint64 days)
{
    const qint64 shifted = days + 719468;
    const qint64 era = floorDiv<qint64>(shifted, 146097);
    const qint64 dayOfEra = shifted - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {month, day};
}

// 1 Monday … 7 Sunday; day 0 was a Thursday.
int weekdayOfDays(qint64 days)
{
    return int(floorMod<qint64>(days + 3, 7)) + 1;
}

} // namespace

QString TDatoer::makeDag(int D)
{
    switch (D) {
    case 1: return QStringLiteral("Mandag ");
    case 2: return QStringLiteral("Tirsdag ");
    case 3: return QStringLiteral("Onsdag ");
    case 4: return QStringLiteral("Torsdag ");
    case 5: return QStringLiteral("Fredag ");
    case 6: return QStringLiteral("Lørdag ");
    case 7: return QStringLiteral("Søndag ");
    default: return QString();
    }
}

QString TDatoer::makeMaaned(int M)
{
    switch (M) {
    case 1: return QStringLiteral(" Januar");
    case 2: return QStringLiteral(" Februar");
    case 3: return QStringLiteral(" Marts");
    case 4: return QStringLiteral(" April");
    case 5: return QStringLiteral(" Maj");
    case 6: return QStringLiteral(" Juni");
    case 7: return QStringLiteral(" Juli");
    case 8: return QStringLiteral(" August");
    case 9: return QStringLiteral(" September");
    case 10: return QStringLiteral(" Oktober");
    case 11: return QStringLiteral(" November");
    case 12: return QStringLiteral(" December");
    default: return QString();
    }
}

QString TDatoer::getDato() const
{
    const QDate today = Platform::now().date();
    return makeDag(today.dayOfWeek()) + twoDigits(today.day()) + QLatin1Char('.') + makeMaaned(today.month())
           + QLatin1Char(' ') + QString::number(today.year());
}

QString TDatoer::getDato2() const
{
    const QDate today = Platform::now().date();
    return twoDigits(today.day()) + QLatin1Char('-') + twoDigits(today.month()) + QLatin1Char('-')
           + QString::number(today.year());
}

QString TDatoer::getDato3() const
{
    const QDate today = Platform::now().date();
    return QString::number(today.year()) + QLatin1Char('-') + twoDigits(today.month()) + QLatin1Char('-')
           + twoDigits(today.day());
}

QString TDatoer::getKlokken() const
{
    const QTime time = Platform::now().time();
    return twoDigits(time.hour()) + QLatin1Char(':') + twoDigits(time.minute()) + QLatin1Char(':')
           + twoDigits(time.second());
}

bool TDatoer::writable() const
{
    return FEditor && !FEditor->isLoading();
}

void TDatoer::UdskrivTekst(const QString &S)
{
    if (!writable())
        return;
    FEditor->replaceSelection(S);
    FEditor->widget()->setFocus();
    FEditor->setModified(true);
}

void TDatoer::InsertLine(const QString &S, bool newLine)
{
    if (!writable())
        return;
    QTextCursor cursor = FEditor->textCursor();
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    cursor.insertText(newLine ? QLatin1Char('\n') + S : S);
    cursor.endEditBlock();
    FEditor->setTextCursor(cursor);
    FEditor->widget()->setFocus();
    FEditor->setModified(true);
}

int TDatoer::beregnPaaskeS(int &Maaned, int year)
{
    // Rounding towards minus infinity gives the same as truncation for years from 0 on, and
    // keeps the remainders in range before year 0, where truncation would put Easter before
    // 22 March. Every whole year thus gets a Sunday between 22 March and 25 April.
    const int a = floorMod(year, 19);
    const int b = floorMod(year, 4);
    const int c = floorMod(year, 7);
    const int k = floorDiv(year, 100);
    const int p = floorDiv(8 * k + 13, 25);
    const int q = floorDiv(k, 4);
    const int M = floorMod(15 - p + k - q, 30);
    const int N = floorMod(4 + k - q, 7);
    const int d = floorMod(19 * a + M, 30);
    const int e = floorMod(2 * b + 4 * c + 6 * d + N, 7);
    int day = 22 + d + e;
    Maaned = 3;
    if (day > 31) {
        day = d + e - 9;
        Maaned = 4;
    }
    if (d == 29 && e == 6) {
        day = 19;
        Maaned = 4;
    } else if (d == 28 && e == 6 && a > 10) {
        day = 18;
        Maaned = 4;
    }
    return day;
}

bool TDatoer::udskrivHelligdage(const QString &yearText)
{
    bool isNumber = false;
    const int year = yearText.toInt(&isNumber, 10);
    if (!isNumber) {
        showInfo(QStringLiteral("Året \"") + yearText
                 + QStringLiteral("\" er ikke et helt tal.\rDer er ikke udskrevet nogen datoer."));
        return false;
    }

    int easterMonth = 0;
    const int easterDay = beregnPaaskeS(easterMonth, year);
    const qint64 easter = daysFromCivil(year, easterMonth, easterDay);
    const auto feast = [easter](int offset) {
        const qint64 days = easter + offset;
        const MonthDay date = monthDayFromDays(days);
        return QString::number(date.day) + QLatin1Char('.') + makeMaaned(date.month) + QStringLiteral(" - ")
               + makeDag(weekdayOfDays(days));
    };
    const auto weekday = [](qint64 y, int month, int day) { return makeDag(weekdayOfDays(daysFromCivil(y, month, day))); };
    const QString separator(55, QLatin1Char('-'));

    datoerListe = {
        QStringLiteral("Følgende dage og datoer er for år ") + QString::number(year) + QLatin1Char('.'),
        separator,
        QStringLiteral("Skærtorsdag: ") + feast(-3),
        QStringLiteral("Langfredag: ") + feast(-2),
        QStringLiteral("Påskedag: ") + feast(0),
        QStringLiteral("Anden påskedag: ") + feast(1),
        separator,
        QStringLiteral("Store bededag: ") + feast(26),
        QStringLiteral("Kristi himmelfartsdag: ") + feast(39),
        separator,
        QStringLiteral("Pinsedag: ") + feast(49),
        QStringLiteral("2. pinsedag: ") + feast(50),
        separator,
        QStringLiteral("Juleaften: 24. December - ") + weekday(year, 12, 24),
        QStringLiteral("1. Juledag: 25. December - ") + weekday(year, 12, 25),
        QStringLiteral("2. juledag: 26. December - ") + weekday(year, 12, 26),
        separator,
        QStringLiteral("Nytårsdag: 01. Januar - ") + weekday(qint64(year) + 1, 1, 1),
        separator,
    };
    for (QString &line : datoerListe)
        line += QLatin1Char('\n');

    if (!writable())
        return true;
    // One edit block, so that a single undo takes the whole list away again.
    QTextCursor cursor = FEditor->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(datoerListe.join(QString()));
    cursor.endEditBlock();
    FEditor->setTextCursor(cursor);
    FEditor->setModified(true);
    return true;
}
