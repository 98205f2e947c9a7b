#pragma once

#include <QList>
#include <QString>

namespace quillio::engine {

// The column types of the archive's local SQL.
enum class FieldType {
    AutoInc, // record number assigned by the engine on the first post; read-only
    Char,    // text of at most `width` characters
    Numeric, // double
    Date,    // calendar date
    Boolean,
    Memo // text of any length
};

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Char;
    int width = 0; // characters, for Char only

    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

using FieldDefs = QList<FieldDef>;

} // namespace quillio::engine
