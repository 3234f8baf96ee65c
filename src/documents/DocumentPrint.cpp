#include "documents/DocumentForm.h"

#include "documents/Print.h"
#include "platform/DataFolders.h"
#include "platform/Dialogs.h"
#include "platform/Modal.h"
#include "platform/RichEdit.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

// A margin as the print box holds it, with a decimal comma; what the filter lets through but is
// no number ("2,,5", ",") gives nothing.
std::optional<double> centimetres(const QString &text)
{
    bool ok = false;
    const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

QString notANumber(const QString &text)
{
    return QLatin1Char('\'') + text + QStringLiteral("' er ikke et gyldigt tal.");
}

} // namespace

void TDocumentForm::udskrivDokument()
{
    if (Platform::showModal(*printform) != QDialog::Accepted)
        return;
    const QList<QLineEdit *> fields{printform->Edit1, printform->Edit2, printform->Edit3, printform->Edit4,
                                    printform->Edit5};
    for (const QLineEdit *field : fields) {
        if (field->text().isEmpty()) {
            showInfo(QStringLiteral("Information:\rDer mangler en værdi, prøv igen!"));
            return;
        }
    }
    double margins[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> value = centimetres(fields[i]->text());
        if (!value) {
            showInfo(notANumber(fields[i]->text()));
            return;
        }
        margins[i] = *value;
    }
    bool ok = false;
    const int copies = printform->Edit5->text().toInt(&ok);
    if (!ok) {
        showInfo(notANumber(printform->Edit5->text()));
        return;
    }
    PrintRichText(Editor, margins[0], margins[1], margins[2], margins[3], Platform::rtmCentimetres, copies);
}

bool TDocumentForm::PrintRichText(Platform::RichEdit *aEditor, double RTLeftMargin, double RTRightMargin,
                                  double RTTopMargin, double RTBottomMargin,
                                  Platform::TRichTextMeasurements RichTextMeasurement, int Copies)
{
    if (Copies <= 0)
        return true;
    Platform::Printer &printer = Platform::printer();
    // Without a printer the document is printed into a PDF file of the user's choice, asked for
    // each time, so that no earlier file is overwritten unasked.
    const bool toPdf = !printer.available();
    if (toPdf) {
        const QString pdf = askPdfFile();
        if (pdf.isEmpty())
            return false;
        printer.setPdfFile(pdf);
    }
    const bool printed = printPages(printer, aEditor, RTLeftMargin, RTRightMargin, RTTopMargin, RTBottomMargin,
                                    RichTextMeasurement, Copies);
    if (toPdf)
        printer.setPdfFile(QString());
    return printed;
}

QString TDocumentForm::askPdfFile() const
{
    Platform::SaveRequest request;
    request.filter = QStringLiteral("PDF-dokument (.pdf)|*.pdf");
    request.defaultExtension = QStringLiteral(".pdf");
    const QFileInfo document(Filnavn);
    if (Platform::fileExists(Filnavn))
        request.folder = QDir::toNativeSeparators(document.absolutePath());
    request.fileName = (Filnavn.isEmpty() ? capNavn : document.completeBaseName()) + QStringLiteral(".pdf");
    const QString chosen = Platform::dialogs().saveFile(window(), request);
    if (chosen.isEmpty()
        || (QFileInfo::exists(chosen)
            && !ask(QStringLiteral("Der eksisterer allerede en fil med indførte navn.\rSkal filen overskrives?"))))
        return QString();
    return chosen;
}

bool TDocumentForm::printPages(Platform::Printer &printer, Platform::RichEdit *aEditor, double RTLeftMargin,
                               double RTRightMargin, double RTTopMargin, double RTBottomMargin,
                               Platform::TRichTextMeasurements RichTextMeasurement, int Copies)
{
    const QRect pageRect = RichTextMeasurement == Platform::rtmNone && !m_pageRect.isEmpty()
        ? m_pageRect
        : Platform::pageRectangle(printer.metrics(), RTLeftMargin, RTRightMargin, RTTopMargin, RTBottomMargin,
                                  RichTextMeasurement);
    // Margins that meet or cross would lay the text out in no room at all.
    if (pageRect.isEmpty()) {
        showInfo(QStringLiteral("Margenerne er større end siden.\rDer er ikke udskrevet noget."));
        return false;
    }
    m_pageRect = pageRect;
    QCoreApplication::processEvents();
    for (int copy = 0; copy < Copies; ++copy) {
        QString error;
        if (!printer.print(*aEditor->document(), pageRect, QString(), &error)) {
            showInfo(QStringLiteral("Dokumentet blev ikke udskrevet:\r") + error);
            return false;
        }
        QCoreApplication::processEvents();
    }
    return true;
}
