#include "einvoice/ExportDefaults.h"

#include "einvoice/Cents.h"

namespace quillio::einvoice {

qint64 ExportDefaults::taxableCents(const InvoiceRecord& invoice)
{
    qint64 sum = 0;
    for (const std::optional<double>& amount : invoice.costo)
        if (amount && *amount > 0)
            sum += Cents::fromDouble(*amount).value_or(0);
    return sum;
}

bool ExportDefaults::withoutVat(const InvoiceRecord& invoice)
{
    return invoice.iva && Cents::fromDouble(*invoice.iva).value_or(-1) == 0;
}

bool ExportDefaults::needsStampDuty(const InvoiceRecord& invoice)
{
    return withoutVat(invoice) && taxableCents(invoice) > stampDutyThreshold;
}

ExportOptions ExportDefaults::forInvoice(const InvoiceRecord& invoice, const CompanyData& seller,
                                         const std::optional<BuyerDetails>& remembered)
{
    ExportOptions options;
    if (remembered)
        options.buyer = *remembered;
    options.iban = seller.iban;
    if (withoutVat(invoice) && seller.regimeFiscale == flatRateRegime) {
        options.natura = flatRateNatura;
        options.riferimentoNormativo = flatRateReference;
    }
    options.bolloVirtuale = needsStampDuty(invoice);
    return options;
}

} // namespace quillio::einvoice
