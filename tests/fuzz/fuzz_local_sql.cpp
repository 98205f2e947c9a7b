// A statement of the local SQL, as the archive module or a damaged setting might send it. The
// parser either understands it or raises EngineError; what it understood must be usable.

#include "FuzzSupport.h"
#include "engine/EngineError.h"
#include "engine/LocalSql.h"

using namespace quillio::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(quillio::fuzz::bytes(data, size));
    try {
        const LocalStatement statement = LocalSql::parse(text);
        if (statement.fileName.isEmpty())
            quillio::fuzz::fail("a statement without a file name was accepted");
        for (const FieldDef& column : statement.columns) {
            if (column.name.isEmpty())
                quillio::fuzz::fail("a column without a name was accepted");
            if (column.type == FieldType::Char && column.width <= 0)
                quillio::fuzz::fail("a CHAR column without a width was accepted");
        }
    } catch (const EngineError& error) {
        // The refusal quotes the statement; shown() must hold up to any text.
        if (error.text().isEmpty())
            quillio::fuzz::fail("a refusal without a text");
    }
    return 0;
}
