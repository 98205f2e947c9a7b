#pragma once

#include "einvoice/CompanyData.h"
#include "einvoice/ExportOptions.h"
#include "einvoice/InvoiceRecord.h"

#include <optional>

namespace quillio::einvoice {

// What the export dialog starts from for one invoice: the buyer's details entered last time,
// and for an invoice without VAT the reason and the stamp duty the law asks for.
class ExportDefaults
{
public:
    // Above this taxable amount (in cents) an invoice without VAT carries the 2 euro stamp duty.
    static constexpr qint64 stampDutyThreshold = 7747;
    // The flat-rate scheme: no VAT, for the reason and under the law below.
    static inline const QString flatRateRegime = QStringLiteral("RF19");
    static inline const QString flatRateNatura = QStringLiteral("N2.2");
    static inline const QString flatRateReference = QStringLiteral("Legge 190/2014, art. 1, commi 54-89");

    static ExportOptions forInvoice(const InvoiceRecord& invoice, const CompanyData& seller,
                                    const std::optional<BuyerDetails>& remembered);
    // The rate is 0: the file must say why (Natura).
    static bool withoutVat(const InvoiceRecord& invoice);
    static bool needsStampDuty(const InvoiceRecord& invoice);
    // The sum of the lines in cents, as the file's taxable amount.
    static qint64 taxableCents(const InvoiceRecord& invoice);
};

} // namespace quillio::einvoice
