#pragma once

#include "engine/FieldDef.h"

#include <QString>

namespace quillio::engine {

// One statement of the local SQL, as the parser understood it.
struct LocalStatement
{
    enum class Kind { CreateTable, Select };
    Kind kind = Kind::Select;
    QString fileName;
    FieldDefs columns; // CREATE TABLE: the declared columns, in order
    QString orderBy;   // SELECT: the ORDER BY column as written, empty for file order
    bool descending = false;
};

// The parser of the local SQL:
//   CREATE TABLE file ( column TYPE, ... )   with TYPE one of AUTOINC, CHAR(n), NUMERIC, DATE,
//                                            BOOLEAN, BLOB(1,1)
//   SELECT * FROM file [ORDER BY column [ASC|DESC]]
// Keywords and type names are matched without regard to case; a file or column name may stand
// bare or between double quotes ("" inside quotes is one quote). One trailing semicolon is allowed.
// Any other text raises an EngineError that quotes the statement and says what is wrong; the parser
// never fails in any other way, whatever the input.
class LocalSql
{
public:
    static LocalStatement parse(const QString& text);

    // The statement as error texts quote it: blanks collapsed, cut when very long.
    static QString shown(const QString& text);
    // Column names the storage keeps for itself.
    static bool isReservedColumnName(const QString& name);
};

} // namespace quillio::engine
