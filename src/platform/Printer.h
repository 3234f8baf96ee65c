#pragma once

#include <QRect>
#include <QString>

class QPrinter;
class QTextDocument;

// The printer the program prints on: the one the user chose with the printer set-up dialog.
namespace Platform {

// The unit of the margins that make a page rectangle; rtmNone keeps the whole printable area.
enum TRichTextMeasurements { rtmNone, rtmInches, rtmCentimetres };

struct PrinterMetrics {
    int pixelsX = 0; // resolution across, pixels per inch
    int pixelsY = 0; // resolution down
    int leftSpace = 0; // from the paper's left edge to the printable area, pixels
    int topSpace = 0; // from the paper's top edge to the printable area
    int pageWidth = 0; // of the printable area, pixels
    int pageHeight = 0;
};

// The page rectangle for the margins, in pixels of the printable area: the left and top margins
// are measured from the paper's edges, the right and bottom ones from the printable area's far
// edges. Products are rounded to the nearest pixel, halves to even.
QRect pageRectangle(const PrinterMetrics &metrics, double left, double right, double top, double bottom,
                    TRichTextMeasurements unit);

class Printer {
public:
    virtual ~Printer() = default;
    // False when there is no printer to print on.
    virtual bool available() = 0;
    virtual PrinterMetrics metrics() = 0;
    // Prints the whole document as one print job, its pages laid out in pageRect; false with
    // *error telling why when the job could not be made.
    virtual bool print(const QTextDocument &document, const QRect &pageRect, const QString &jobTitle, QString *error) = 0;
    // From now on prints into this PDF file, which any system can; an empty name goes back to
    // the printer the set-up dialog chose.
    virtual void setPdfFile(const QString &fileName) = 0;
};

Printer &printer();
void setPrinter(Printer *fake); // nullptr restores the real printer; the caller keeps ownership

// The system printer behind printer(), which the printer set-up dialog sets up.
QPrinter &currentPrinter();

// Prints document on qprinter as one job: the metrics and painting that the real printer uses,
// open to tests that print into a PDF file.
PrinterMetrics metricsOf(QPrinter &qprinter);
bool printDocument(QPrinter &qprinter, const QTextDocument &document, const QRect &pageRect, const QString &jobTitle,
                   QString *error);

} // namespace Platform
