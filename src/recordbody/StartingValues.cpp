#include "recordbody/StartingValues.h"

#include "engine/Dataset.h"

namespace quillio::recordbody {

void StartingValues::write(engine::Dataset& record)
{
    record.setFieldValue(QStringLiteral("Testo1"), QStringLiteral("VS DARE PER"));
    record.setFieldValue(QStringLiteral("TotAut"), true);
    record.setFieldValue(QStringLiteral("Totale"), 0.0);
    record.setFieldValue(QStringLiteral("Iva"), 20.0);
    record.setFieldValue(QStringLiteral("Totale_Iva"), 0.0);
    record.setFieldValue(QStringLiteral("Totale_Fattura"), 0.0);
}

} // namespace quillio::recordbody
