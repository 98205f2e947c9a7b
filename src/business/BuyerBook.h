#pragma once

#include "einvoice/BuyerDetails.h"

#include <optional>

namespace quillio::business {

class BusinessFile;

// What was entered for each buyer in an electronic invoice and the invoice table has no column
// for (how the buyer is reached, province, country), keyed by VAT number, else tax code.
class BuyerBook
{
public:
    explicit BuyerBook(BusinessFile& file) : m_file(file) {}

    // Nothing for a buyer never exported, or one with neither number.
    std::optional<einvoice::BuyerDetails> details(const QString& partitaIva, const QString& codiceFiscale);
    // Does nothing for a buyer with neither number.
    void remember(const QString& partitaIva, const QString& codiceFiscale,
                  const einvoice::BuyerDetails& details);

private:
    BusinessFile& m_file;
};

} // namespace quillio::business
