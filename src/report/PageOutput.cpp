#include "report/PageOutput.h"

#include "report/DisplayListPainter.h"
#include "report/PageSequence.h"
#include "report/ReportError.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace quillio::report {

namespace {

// Paints the pages in `order` onto an open painter; false when progress asked to stop.
bool paintPages(QPainter& painter, QPagedPaintDevice& device, const LaidOutDocument& document,
                const QList<int>& order, qreal scaleX, qreal scaleY, const PageOutput::Progress& progress)
{
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (!progress(int(i) + 1))
            return false;
        if (i > 0)
            device.newPage();
        const LaidOutPage& page = document.pages.at(order[i]);
        DisplayListPainter::paintPage(painter, page, device.logicalDpiX() * scaleX,
                                      device.logicalDpiY() * scaleY);
    }
    return true;
}

void configurePrinter(QPrinter& printer, const LaidOutDocument& document, const OutputOptions& options,
                      const QString& jobTitle)
{
    if (!options.printerName.isEmpty() && printer.outputFormat() == QPrinter::NativeFormat)
        printer.setPrinterName(options.printerName);
    printer.setDocName(jobTitle);
    printer.setFullPage(true);
    printer.setPageLayout(document.pageLayout);
    printer.setDuplex(options.duplex ? QPrinter::DuplexAuto : QPrinter::DuplexNone);
    printer.setCopyCount(qMax(1, options.copies));
    printer.setCollateCopies(options.collate);
}

} // namespace

bool PageOutput::toPrinter(QPrinter& printer, const LaidOutDocument& document, const OutputOptions& options,
                           const QString& jobTitle, qreal scaleX, qreal scaleY, const Progress& progress)
{
    configurePrinter(printer, document, options, jobTitle);
    QList<int> order = PageSequence::order(int(document.pages.size()), 1, true);
    if (!printer.supportsMultipleCopies()) {
        order = PageSequence::order(int(document.pages.size()), options.copies, options.collate);
        printer.setCopyCount(1);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("The printer \"%1\" could not be started; nothing was printed.")
                              .arg(printer.printerName()));
    if (!paintPages(painter, printer, document, order, scaleX, scaleY, progress)) {
        printer.abort();
        return false;
    }
    if (!painter.end())
        throw ReportError(
            QStringLiteral("The printer \"%1\" did not accept the report.").arg(printer.printerName()));
    return true;
}

bool PageOutput::toPdf(const QString& path, const LaidOutDocument& document, const QString& title,
                       const Progress& progress, bool archival)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("The file \"%1\" cannot be written: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    bool completed = false;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(document.pageLayout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Quillio"));
        if (archival)
            writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        QPainter painter;
        if (!painter.begin(&writer))
            throw ReportError(
                QStringLiteral("The file \"%1\" cannot be written.").arg(QDir::toNativeSeparators(path)));
        const QList<int> order = PageSequence::order(int(document.pages.size()), 1, true);
        completed = paintPages(painter, writer, document, order, 1, 1, progress);
    }
    if (!completed) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        throw ReportError(QStringLiteral("The file \"%1\" cannot be written: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    return true;
}

} // namespace quillio::report
