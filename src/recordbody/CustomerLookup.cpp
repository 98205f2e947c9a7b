#include "recordbody/CustomerLookup.h"

#include "engine/Table.h"
#include "engine/Values.h"
#include "recordbody/QuietScan.h"

namespace quillio::recordbody {

using engine::Values;

void CustomerLookup::fillCustomerBlock(engine::Table& customers, engine::Dataset& record)
{
    static const QString name = QStringLiteral("Ragione_Sociale");
    customers.open();
    const QuietScan quiet(customers);
    customers.first();
    bool matched = false;
    while (!customers.eof() && !matched) {
        if (Values::equal(record.fieldValue(name), customers.fieldValue(name))) {
            for (const char* field : {"Via", "Citta", "Cap", "PIva", "CF"})
                record.setFieldValue(QLatin1String(field), customers.fieldValue(QLatin1String(field)));
            record.setFieldValue(QStringLiteral("CodRif"), customers.fieldValue(QStringLiteral("OrdNum")));
            matched = true;
        }
        customers.next();
    }
}

} // namespace quillio::recordbody
