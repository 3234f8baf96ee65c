#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "documents/Print.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

// Printing: the print settings box, the page rectangle and the print jobs.
class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void pageRectangle_data();
    void pageRectangle();
    void boxFiltersAndStandardValues();
    void copiesAreJobs_data();
    void copiesAreJobs();
    void wrongValuesPrintNothing_data();
    void wrongValuesPrintNothing();
    void realPdfHasThePagesAndMargins();
    void withoutAPrinterPrintsIntoAPdfFile();
    void printerSetupOffersAPdfFile();

private:
    // Fills the box as the user would, then presses its button.
    static void answerBox(ProgramFixture &program, const QStringList &values, const QString &button)
    {
        program.modal.answer([values, button](QDialog &box) {
            const QList<QLineEdit *> fields{printform->Edit1, printform->Edit2, printform->Edit3, printform->Edit4,
                                            printform->Edit5};
            for (int i = 0; i < values.size(); ++i) {
                fields[i]->clear();
                QTest::keyClicks(fields[i], values[i]);
            }
            pressButton(box, button);
        });
    }
};

void TestPrinting::pageRectangle_data()
{
    QTest::addColumn<int>("perInch");
    QTest::addColumn<int>("space");
    QTest::addColumn<double>("margin");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QRect>("expected");

    const int w = 4760, h = 6816;
    // round(600 * 2.5 / 2.54) = 591, less the 100 pixels before the printable area.
    QTest::newRow("2,5 cm at 600 dpi") << 600 << 100 << 2.5 << int(Platform::rtmCentimetres)
                                       << QRect(QPoint(491, 491), QPoint(w - 591 - 100 - 1, h - 591 - 100 - 1));
    // 5 * 0.5 = 2.5 and 5 * 1.5 = 7.5: halves go to the even neighbour.
    QTest::newRow("half down to even") << 5 << 0 << 0.5 << int(Platform::rtmInches)
                                       << QRect(QPoint(2, 2), QPoint(w - 2 - 1, h - 2 - 1));
    QTest::newRow("half up to even") << 5 << 0 << 1.5 << int(Platform::rtmInches)
                                     << QRect(QPoint(8, 8), QPoint(w - 8 - 1, h - 8 - 1));
    QTest::newRow("no margins") << 300 << 50 << 0.0 << int(Platform::rtmCentimetres)
                                << QRect(QPoint(-50, -50), QPoint(w - 50 - 1, h - 50 - 1));
    QTest::newRow("none keeps the printable area") << 600 << 100 << 2.5 << int(Platform::rtmNone)
                                                   << QRect(0, 0, w, h);
}

void TestPrinting::pageRectangle()
{
    QFETCH(int, perInch);
    QFETCH(int, space);
    QFETCH(double, margin);
    QFETCH(int, unit);
    QFETCH(QRect, expected);
    const Platform::PrinterMetrics metrics{perInch, perInch, space, space, 4760, 6816};
    QCOMPARE(Platform::pageRectangle(metrics, margin, margin, margin, margin, Platform::TRichTextMeasurements(unit)),
             expected);
}

void TestPrinting::boxFiltersAndStandardValues()
{
    ProgramFixture program;
    program.start();
    printform->show();
    QTest::keyClicks(printform->Edit1, QStringLiteral("a.3"));
    QCOMPARE(printform->Edit1->text(), QStringLiteral("2,53"));
    QCOMPARE(printform->Edit1->cursorPosition(), 4);
    printform->Edit2->clear();
    QApplication::clipboard()->setText(QStringLiteral("2.5"));
    printform->Edit2->paste();
    QCOMPARE(printform->Edit2->text(), QStringLiteral("25"));
    QTest::keyClicks(printform->Edit5, QStringLiteral(",5x"));
    QCOMPARE(printform->Edit5->text(), QStringLiteral("15"));
    QTest::keyClicks(printform->Edit3, QStringLiteral(",,"));
    QCOMPARE(printform->Edit3->text(), QStringLiteral("2,,"));

    QTest::mouseClick(printform->standardButton, Qt::LeftButton);
    const QStringList standard{printform->Edit1->text(), printform->Edit2->text(), printform->Edit3->text(),
                               printform->Edit4->text(), printform->Edit5->text()};
    QCOMPARE(standard, QStringList({"2,5", "1", "2", "1,5", "1"}));
    QCOMPARE(printform->windowTitle(), QStringLiteral("Udskriv dokument"));
    QVERIFY(printform->findChild<QPushButton *>(QStringLiteral("printButton"))->text() == QStringLiteral("Print    "));
}

void TestPrinting::copiesAreJobs_data()
{
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<int>("jobs");
    QTest::newRow("text, two copies") << false << "2" << 2;
    QTest::newRow("rich, one copy") << true << "1" << 1;
    QTest::newRow("no copies") << false << "0" << 0;
}

void TestPrinting::copiesAreJobs()
{
    QFETCH(bool, rich);
    QFETCH(QString, copies);
    QFETCH(int, jobs);
    FakePrinter printer;
    ProgramFixture program;
    program.start();
    if (rich)
        mainform->fileNewRtf->trigger();
    else
        QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QTest::keyClicks(mainform->activeDocument()->editor()->widget(), QStringLiteral("Hele dokumentet"));
    TAction::updateAll();
    QVERIFY(mainform->udskrivDokument->isEnabled());
    answerBox(program, {"2,5", "1", "2", "1,5", copies}, QStringLiteral("Print    "));
    mainform->udskrivDokument->trigger();

    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(printer.jobs.size(), jobs);
    for (const FakePrinter::Job &job : printer.jobs) {
        QCOMPARE(job.text, QStringLiteral("Hele dokumentet"));
        QVERIFY(job.title.isEmpty());
        // 2,5 cm left and 2 cm top from the paper's edge, 1 cm right and 1,5 cm bottom.
        QCOMPARE(job.pageRect, QRect(QPoint(491, 372), QPoint(4760 - 236 - 100 - 1, 6816 - 354 - 100 - 1)));
    }
    // The values stay for the next print in this run.
    QCOMPARE(printform->Edit5->text(), copies);
}

void TestPrinting::wrongValuesPrintNothing_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("printerThere");
    QTest::addColumn<QString>("message");

    QTest::newRow("cancelled") << QStringList{"2,5", "1", "2", "1,5", "1"} << "Annuller" << true << QString();
    QTest::newRow("empty field") << QStringList{"2,5", "", "2", "1,5", "1"} << "Print    " << true
                                 << "Information:\nDer mangler en værdi, prøv igen!";
    QTest::newRow("empty copies") << QStringList{"2,5", "1", "2", "1,5", ""} << "Print    " << true
                                  << "Information:\nDer mangler en værdi, prøv igen!";
    QTest::newRow("two commas") << QStringList{"2,,5", "1", "2", "1,5", "1"} << "Print    " << true
                                << "'2,,5' er ikke et gyldigt tal.";
    QTest::newRow("comma alone") << QStringList{"2", "1", ",", "1,5", "1"} << "Print    " << true
                                 << "',' er ikke et gyldigt tal.";
    QTest::newRow("copies beyond count") << QStringList{"2", "1", "2", "1,5", "99999999999"} << "Print    " << true
                                         << "'99999999999' er ikke et gyldigt tal.";
    QTest::newRow("margins wider than the page") << QStringList{"12", "12", "2", "1,5", "1"} << "Print    " << true
                                                 << "Margenerne er større end siden.\nDer er ikke udskrevet noget.";
    QTest::newRow("no printer, no PDF file chosen") << QStringList{"2,5", "1", "2", "1,5", "1"} << "Print    " << false
                                                    << QString();
}

void TestPrinting::wrongValuesPrintNothing()
{
    QFETCH(QStringList, values);
    QFETCH(QString, button);
    QFETCH(bool, printerThere);
    QFETCH(QString, message);
    FakePrinter printer;
    printer.isThere = printerThere;
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    answerBox(program, values, button);
    if (!message.isEmpty())
        program.modal.press(QStringLiteral("OK"));
    mainform->udskrivDokument->trigger();

    QVERIFY(printer.jobs.isEmpty());
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(program.modal.pending(), 0);
    QCOMPARE(program.modal.shown.size(), message.isEmpty() ? 1 : 2);
    if (!message.isEmpty())
        QCOMPARE(shownText(program.modal.shown[1].text), message);
}

void TestPrinting::realPdfHasThePagesAndMargins()
{
    // The system printer's own path, printing into a PDF file.
    ProgramFixture program;
    const QString pdf = program.workFolder() + QStringLiteral("/udskrift.pdf");
    QPrinter &printer = Platform::currentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QStringLiteral("Linje%1").arg(i);
    mainform->activeDocument()->editor()->replaceSelection(lines.join(QLatin1Char('\n')));
    mainform->activeDocument()->editor()->setDefaultFont(QStringLiteral("DejaVu Sans Mono"), 12);
    answerBox(program, {"3", "2", "4", "2,5", "1"}, QStringLiteral("Print    "));
    mainform->udskrivDokument->trigger();
    QVERIFY(program.modal.unexpected.isEmpty());
    QVERIFY(QFile::exists(pdf));

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished());
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAllStandardOutput()));
    QVERIFY(pages.hasMatch());
    const int pageCount = pages.captured(1).toInt();
    QVERIFY2(pageCount >= 3, qPrintable(QString::number(pageCount)));

    // Word boxes in points from the paper's top left corner: the first word of every page begins
    // at the left margin (3 cm) and just below the top margin (4 cm); no word reaches into the
    // bottom margin (2,5 cm) or the right margin (2 cm).
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString html = QString::fromUtf8(text.readAllStandardOutput());
    const double pointsPerCm = 72 / 2.54;
    const double pageHeight = 297 / 10.0 * pointsPerCm;
    const double pageWidth = 210 / 10.0 * pointsPerCm;
    const QRegularExpression page(QStringLiteral("<page[^>]*>(.*?)</page>"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                                 "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int pagesSeen = 0;
    QStringList printed;
    for (const QRegularExpressionMatch &p : page.globalMatch(html)) {
        ++pagesSeen;
        bool first = true;
        for (const QRegularExpressionMatch &w : word.globalMatch(p.captured(1))) {
            const double xMin = w.captured(1).toDouble(), yMin = w.captured(2).toDouble();
            const double xMax = w.captured(3).toDouble(), yMax = w.captured(4).toDouble();
            if (first) {
                QVERIFY2(qAbs(xMin - 3 * pointsPerCm) < 3, qPrintable(QString::number(xMin)));
                QVERIFY2(yMin >= 4 * pointsPerCm - 1 && yMin < 4 * pointsPerCm + 20, qPrintable(QString::number(yMin)));
                first = false;
            }
            QVERIFY2(yMax <= pageHeight - 2.5 * pointsPerCm + 1, qPrintable(w.captured(5)));
            QVERIFY2(xMax <= pageWidth - 2 * pointsPerCm, qPrintable(w.captured(5)));
            printed << w.captured(5);
        }
    }
    QCOMPARE(pagesSeen, pageCount);
    QCOMPARE(printed, lines);
}

namespace {

QString pdfText(const QString &pdf)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    return text.waitForFinished() ? QString::fromUtf8(text.readAllStandardOutput()) : QString();
}

} // namespace

// On a system without a printer "Udskriv" prints into a PDF file that the user names, asked each
// time so that no earlier file is overwritten unasked.
void TestPrinting::withoutAPrinterPrintsIntoAPdfFile()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("This system has a printer; the test is about one without.");
    ProgramFixture program;
    Platform::currentPrinter().setOutputFileName(QString()); // as a program just started has it
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    mainform->activeDocument()->editor()->replaceSelection(QStringLiteral("Første side af noterne"));
    const QString pdf = program.workFolder() + QStringLiteral("/noter.pdf");

    answerBox(program, {"2,5", "1", "2", "1,5", "1"}, QStringLiteral("Print    "));
    program.dialogs.saveAnswers.enqueue(pdf);
    mainform->udskrivDokument->trigger();
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.dialogs.saveRequests.size(), 1);
    QCOMPARE(program.dialogs.saveRequests[0].filter, QStringLiteral("PDF-dokument (.pdf)|*.pdf"));
    QCOMPARE(program.dialogs.saveRequests[0].defaultExtension, QStringLiteral(".pdf"));
    QCOMPARE(program.dialogs.saveRequests[0].fileName, mainform->activeDocument()->capNavn + QStringLiteral(".pdf"));
    QVERIFY(pdfText(pdf).contains(QStringLiteral("Første side af noterne")));

    // The next print asks again; the file already there is overwritten only on "Ja".
    const QByteArray printed = ProgramFixture::readFile(pdf);
    mainform->activeDocument()->editor()->replaceSelection(QStringLiteral(" og anden"));
    answerBox(program, {"2,5", "1", "2", "1,5", "1"}, QStringLiteral("Print    "));
    program.dialogs.saveAnswers.enqueue(pdf);
    program.modal.press(QStringLiteral("Nej"));
    mainform->udskrivDokument->trigger();
    QCOMPARE(program.dialogs.saveRequests.size(), 2);
    QCOMPARE(shownText(program.modal.shown.last().text),
             QStringLiteral("Der eksisterer allerede en fil med indførte navn.\nSkal filen overskrives?"));
    QCOMPARE(ProgramFixture::readFile(pdf), printed);

    answerBox(program, {"2,5", "1", "2", "1,5", "1"}, QStringLiteral("Print    "));
    program.dialogs.saveAnswers.enqueue(pdf);
    program.modal.press(QStringLiteral("Ja"));
    mainform->udskrivDokument->trigger();
    QVERIFY(pdfText(pdf).contains(QStringLiteral("Første side af noterne og anden")));

    // A cancelled choice prints nothing and tells nothing.
    answerBox(program, {"2,5", "1", "2", "1,5", "1"}, QStringLiteral("Print    "));
    const qsizetype shownBefore = program.modal.shown.size();
    mainform->udskrivDokument->trigger();
    QCOMPARE(program.dialogs.saveRequests.size(), 4);
    QCOMPARE(program.modal.shown.size(), shownBefore + 1);
    QVERIFY(program.modal.unexpected.isEmpty());
}

// "Printer" shows the system's printer set-up: a dialog that sets up, in Danish, and offers a PDF
// file among the printers; chosen there, it is where "Udskriv" prints without asking.
void TestPrinting::printerSetupOffersAPdfFile()
{
    ProgramFixture program;
    program.start();
    const QString pdf = program.workFolder() + QStringLiteral("/opsat.pdf");
    bool offered = false;
    QString title;
    QStringList buttons;
    program.modal.answer([&](QDialog &box) {
        title = box.windowTitle();
        for (QComboBox *printers : box.findChildren<QComboBox *>()) {
            for (int i = 0; i < printers->count(); ++i) {
                if (printers->itemText(i).contains(QLatin1String("PDF"))) {
                    offered = true;
                    printers->setCurrentIndex(i);
                }
            }
        }
        if (QLineEdit *file = box.findChild<QLineEdit *>(QStringLiteral("filename")))
            file->setText(pdf);
        if (auto *row = box.findChild<QDialogButtonBox *>())
            for (QAbstractButton *button : row->buttons())
                buttons << button->text().remove(QLatin1Char('&'));
        QVERIFY(pressButton(box, QStringLiteral("Indstil")));
    });
    Platform::setDialogs(nullptr); // the system's own dialog
    mainform->printerEgenskaber->trigger();
    Platform::setDialogs(&program.dialogs);
    QCOMPARE(title, QStringLiteral("Printeropsætning"));
    QCOMPARE(buttons, QStringList({"Indstil", "Annuller", "Valgmuligheder >>"}));
    QVERIFY(offered);
    QVERIFY(program.modal.unexpected.isEmpty());

    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    mainform->activeDocument()->editor()->replaceSelection(QStringLiteral("Opsat til en fil"));
    answerBox(program, {"2,5", "1", "2", "1,5", "1"}, QStringLiteral("Print    "));
    mainform->udskrivDokument->trigger();
    Platform::currentPrinter().setOutputFileName(QString());
    QVERIFY(program.dialogs.saveRequests.isEmpty());
    QVERIFY(pdfText(pdf).contains(QStringLiteral("Opsat til en fil")));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
