// Text typed into a data-bound field: read as a number or a date by the control, and converted
// again by the engine when it is written to the record. A refusal is a ConversionError; an accepted
// number is finite and an accepted date valid, and both show as a text that reads back the same.

#include "FuzzSupport.h"
#include "dbcontrols/FieldFormat.h"
#include "engine/FieldCodec.h"
#include "platform/ConversionError.h"

#include <cmath>

using namespace quillio;
using namespace quillio::dbcontrols;
using namespace quillio::engine;

namespace {

void checkControl(const QString& text, FieldType type)
{
    try {
        const QVariant value = FieldFormat::parse(text, type);
        if (!value.isValid())
            return;
        if (type == FieldType::Numeric && !std::isfinite(value.toDouble()))
            fuzz::fail("a number that is not finite was accepted");
        if (type == FieldType::Date && !value.toDate().isValid())
            fuzz::fail("an invalid date was accepted");
        const QVariant again = FieldFormat::parse(FieldFormat::display(value, type), type);
        if (type == FieldType::Date && again != value)
            fuzz::fail("a date does not read back as it is shown");
    } catch (const ConversionError&) {
    }
}

void checkEngine(const QString& text, const FieldDef& field)
{
    try {
        const QVariant value = FieldCodec::convert(field, text);
        if (field.type == FieldType::Char && value.toString().size() > field.width)
            fuzz::fail("a text longer than its field was kept");
        if (field.type == FieldType::Numeric && value.isValid() && !std::isfinite(value.toDouble()))
            fuzz::fail("the engine accepted a number that is not finite");
    } catch (const ConversionError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    checkControl(text, FieldType::Numeric);
    checkControl(text, FieldType::Date);
    FieldFormat::parseDate(text, QDate(2009, 6, 15));
    for (const FieldDef& field : {FieldDef{QStringLiteral("Cap"), FieldType::Char, 5},
                                  FieldDef{QStringLiteral("Costo01"), FieldType::Numeric, 0},
                                  FieldDef{QStringLiteral("Data"), FieldType::Date, 0},
                                  FieldDef{QStringLiteral("TotAut"), FieldType::Boolean, 0},
                                  FieldDef{QStringLiteral("Note"), FieldType::Memo, 0}})
        checkEngine(text, field);
    return 0;
}
