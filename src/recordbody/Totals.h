#pragma once

namespace quillio::engine {
class Dataset;
}

namespace quillio::recordbody {

// The totals of a draft or invoice record: the taxable total is the sum of the positive slot
// amounts, the VAT amount that sum times the rate over 100, the invoice total their sum. Nothing is
// rounded.
class Totals
{
public:
    // Recomputes when automatic totals are on (TotAut true or null); otherwise leaves them. A null
    // rate raises the conversion error before anything is written, so the three totals never
    // disagree with each other.
    static void recompute(engine::Dataset& record);
};

} // namespace quillio::recordbody
