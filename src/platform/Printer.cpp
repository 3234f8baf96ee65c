#include "platform/Printer.h"

#include "platform/Seam.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <cmath>
#include <memory>

namespace Platform {

namespace {

int pixels(int perInch, double inches)
{
    // nearbyint rounds halves to even in the default rounding mode.
    return int(std::nearbyint(double(perInch) * inches));
}

class SystemPrinter : public Printer {
public:
    bool available() override
    {
        QPrinter &printer = currentPrinter();
        return printer.outputFormat() == QPrinter::PdfFormat ? !printer.outputFileName().isEmpty()
                                                              : printer.isValid();
    }
    PrinterMetrics metrics() override { return metricsOf(currentPrinter()); }
    bool print(const QTextDocument &document, const QRect &pageRect, const QString &jobTitle, QString *error) override
    {
        return printDocument(currentPrinter(), document, pageRect, jobTitle, error);
    }
    void setPdfFile(const QString &fileName) override
    {
        QPrinter &printer = currentPrinter();
        if (!fileName.isEmpty())
            printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
    }
};

} // namespace

QRect pageRectangle(const PrinterMetrics &m, double left, double right, double top, double bottom,
                    TRichTextMeasurements unit)
{
    if (unit == rtmNone)
        return QRect(0, 0, m.pageWidth, m.pageHeight);
    const double perUnit = unit == rtmCentimetres ? 2.54 : 1.0;
    const int leftEdge = pixels(m.pixelsX, left / perUnit) - m.leftSpace;
    const int topEdge = pixels(m.pixelsY, top / perUnit) - m.topSpace;
    const int rightEdge = m.pageWidth - pixels(m.pixelsX, right / perUnit) - m.leftSpace;
    const int bottomEdge = m.pageHeight - pixels(m.pixelsY, bottom / perUnit) - m.topSpace;
    return QRect(QPoint(leftEdge, topEdge), QPoint(rightEdge - 1, bottomEdge - 1));
}

PrinterMetrics metricsOf(QPrinter &qprinter)
{
    const int resolution = qprinter.resolution();
    const QRect paper = qprinter.pageLayout().fullRectPixels(resolution);
    const QRect printable = qprinter.pageLayout().paintRectPixels(resolution);
    return {resolution, resolution, printable.left() - paper.left(), printable.top() - paper.top(), printable.width(),
            printable.height()};
}

bool printDocument(QPrinter &qprinter, const QTextDocument &document, const QRect &pageRect, const QString &jobTitle,
                   QString *error)
{
    // Laid out anew for the printer's resolution, in pages of the rectangle's size, so that the
    // window's own layout and fonts stay as they are.
    const std::unique_ptr<QTextDocument> pages(document.clone());
    pages->documentLayout()->setPaintDevice(&qprinter);
    pages->setPageSize(pageRect.size());
    qprinter.setDocName(jobTitle);
    QPainter painter;
    if (!painter.begin(&qprinter)) {
        if (error)
            *error = QStringLiteral("Printeren kunne ikke startes.");
        return false;
    }
    const int pageCount = qMax(1, pages->pageCount());
    const QRectF page(QPointF(0, 0), pageRect.size());
    for (int i = 0; i < pageCount; ++i) {
        if (i > 0)
            qprinter.newPage();
        painter.save();
        painter.translate(pageRect.left(), pageRect.top() - i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = page.translated(0, i * page.height());
        painter.setClipRect(context.clip);
        pages->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

Printer &printer()
{
    return Seam<Printer>::get<SystemPrinter>();
}

void setPrinter(Printer *fake)
{
    Seam<Printer>::replace(fake);
}

QPrinter &currentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

} // namespace Platform
