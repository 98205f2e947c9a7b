#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace quillio::report::test {

// A filled invoice as the print command hands it to the layout: names and texts.
class InvoiceSample
{
public:
    static QList<std::pair<QString, QString>> parameters();
    // Loads the layout, lays the sample invoice out and writes it as a PDF file.
    static void writePdf(const QString& layoutPath, const QString& pdfPath);
};

} // namespace quillio::report::test
