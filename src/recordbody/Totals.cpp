#include "recordbody/Totals.h"

#include "engine/Dataset.h"
#include "engine/Values.h"
#include "recordbody/LineSlots.h"

namespace quillio::recordbody {

using engine::Values;

void Totals::recompute(engine::Dataset& record)
{
    const QVariant automatic = record.fieldValue(QStringLiteral("TotAut"));
    if (!Values::isNull(automatic) && !automatic.toBool())
        return;
    double sum = 0.0;
    for (int slot = 1; slot <= LineSlots::count; ++slot) {
        const QVariant amount = record.fieldValue(LineSlots::amount(slot));
        if (!Values::isNull(amount) && amount.toDouble() > 0)
            sum += amount.toDouble();
    }
    const double rate = Values::toDouble(record.fieldValue(QStringLiteral("IVA")));
    const double vat = sum * rate / 100;
    record.setFieldValue(QStringLiteral("Totale"), sum);
    record.setFieldValue(QStringLiteral("Totale_IVA"), vat);
    record.setFieldValue(QStringLiteral("Totale_Fattura"), sum + vat);
}

} // namespace quillio::recordbody
