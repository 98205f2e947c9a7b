#include "PrintMeasurement.h"

#include "InvoiceSample.h"
#include "Timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <stdexcept>

namespace quillio::bench {

Figure PrintMeasurement::invoicePdf(const QString& workDirectory)
{
    const QString layout =
        QCoreApplication::applicationDirPath() + QStringLiteral("/Report/ModFatturaBase.qrl");
    const QString pdf = QDir(workDirectory).filePath(QStringLiteral("fattura.pdf"));
    // The first run also loads the fonts, once per program: it is not what a print costs.
    report::test::InvoiceSample::writePdf(layout, pdf);
    QList<double> times;
    for (int run = 0; run < 9; ++run)
        times << Timing::milliseconds([&] { report::test::InvoiceSample::writePdf(layout, pdf); });
    if (QFileInfo(pdf).size() < 1000)
        throw std::runtime_error("the invoice PDF was not written");
    Figure figure;
    figure.name = QStringLiteral("invoice_pdf");
    figure.records = 1;
    figure.value = Timing::median(times);
    figure.unit = QStringLiteral("ms");
    figure.target = Target{Target::Of::Value, 25, false};
    return figure;
}

} // namespace quillio::bench
