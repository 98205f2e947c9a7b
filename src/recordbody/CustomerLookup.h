#pragma once

namespace quillio::engine {
class Dataset;
class Table;
} // namespace quillio::engine

namespace quillio::recordbody {

// The customer block of a draft or invoice filled from the address book.
class CustomerLookup
{
public:
    // Scans the customer table from its first record for the record's exact name (case distinct,
    // no trimming; a blank name matches a blank name). The first match copies street, town,
    // postcode, VAT number and tax code (blanks included) and its number into CodRif. The table
    // stays open, just after the match or at its end.
    static void fillCustomerBlock(engine::Table& customers, engine::Dataset& record);
};

} // namespace quillio::recordbody
