#include "business/InvoiceExport.h"

#include "business/BusinessFile.h"
#include "business/BuyerBook.h"
#include "business/ExportRegister.h"
#include "einvoice/DocumentBuilder.h"
#include "einvoice/FatturaXmlWriter.h"
#include "engine/EngineError.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QSaveFile>

namespace quillio::business {

using einvoice::DocumentBuilder;

namespace {

// Stands in for the progressive while nothing is written yet; any valid one gives the same checks.
const QString checkingProgressive = QStringLiteral("00000");

void writeWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw engine::EngineError(QStringLiteral("Impossibile scrivere il file %1: %2")
                                      .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace

QList<einvoice::Problem> InvoiceExport::check(const einvoice::InvoiceRecord& invoice, int year,
                                              const einvoice::CompanyData& seller,
                                              einvoice::ExportOptions options)
{
    options.progressive = checkingProgressive;
    if (invoice.stored())
        if (const std::optional<QString> current =
                ExportRegister(m_file).currentProgressive(year, *invoice.ordNum))
            options.progressive = *current;
    return DocumentBuilder::build(invoice, seller, options).problems;
}

InvoiceExport::Outcome InvoiceExport::write(const einvoice::InvoiceRecord& invoice, int year,
                                            const einvoice::CompanyData& seller,
                                            einvoice::ExportOptions options, const QString& folder,
                                            bool newProgressive)
{
    Outcome outcome;
    outcome.problems = check(invoice, year, seller, options);
    if (einvoice::hasErrors(outcome.problems))
        return outcome;
    ExportRegister exports(m_file);
    options.progressive = exports.progressiveFor(year, *invoice.ordNum, newProgressive);
    const DocumentBuilder::Result built = DocumentBuilder::build(invoice, seller, options);
    outcome.problems = built.problems;
    if (!built.accepted())
        return outcome;
    const QByteArray xml = einvoice::FatturaXmlWriter::write(built.document);
    const QString fileName = DocumentBuilder::fileName(built.document);
    const QString path = QDir(folder).filePath(fileName);
    writeWhole(path, xml);
    exports.record({year, *invoice.ordNum, options.progressive, fileName, QDateTime::currentDateTimeUtc(),
                    QCryptographicHash::hash(xml, QCryptographicHash::Sha256).toHex(), xml});
    BuyerBook(m_file).remember(invoice.pIva, invoice.cf, options.buyer);
    outcome.filePath = path;
    outcome.progressive = options.progressive;
    return outcome;
}

} // namespace quillio::business
