#pragma once

#include "engine/FieldDef.h"

#include <QVariant>
#include <optional>

struct sqlite3_stmt;

namespace quillio::engine {

class SqliteStatement;

// How field values travel: from what a caller writes to the field's own type, from that to the
// stored column, and from the stored column back to a value.
class FieldCodec
{
public:
    // The value a field holds after `value` is written into it: null for a null or an empty text,
    // text cut to a Char field's width, texts read as numbers, dates or logical values. A value the
    // field cannot hold raises a ConversionError.
    static QVariant convert(const FieldDef& field, const QVariant& value);
    // Binds a value already converted for its field.
    static void bind(SqliteStatement& statement, int index, FieldType type, const QVariant& value);
    // Reads one stored column; blanks read as null, except a memo, which reads as empty text.
    static QVariant read(sqlite3_stmt* statement, int column, FieldType type);
    // A value already converted for its field as the text a database server takes; nothing for null.
    static std::optional<QByteArray> serverText(FieldType type, const QVariant& value);
    // A value from the text a database server sent (null when `text` is null); blanks read as for
    // read().
    static QVariant fromServerText(FieldType type, const QByteArray& text, bool isNull);
    // The value of a blank field.
    static QVariant blank(FieldType type);
    // The name of a value's type as error texts give it: Null, String, Double, ...
    static QString typeName(const QVariant& value);
};

} // namespace quillio::engine
