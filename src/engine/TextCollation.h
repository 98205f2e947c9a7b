#pragma once

#include <QCollator>

struct sqlite3;

namespace quillio::engine {

// The order of text columns in a sorted result: as an alphabetical list of the default locale
// reads, without regard to case, accented letters beside their base letter. Installed on a
// connection under the name `quillio_text`.
class TextCollation
{
public:
    static constexpr const char* Name = "quillio_text";
    static void install(sqlite3* db);
    // The collator behind the order, for code that sorts texts itself.
    static QCollator collator();
};

} // namespace quillio::engine
