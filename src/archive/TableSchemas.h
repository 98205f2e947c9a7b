#pragma once

#include <QString>

namespace quillio::archive {

// The column lists of the three tables, as handed to CREATE TABLE.
namespace TableSchemas {
QString customers();
QString drafts();
QString invoices();
} // namespace TableSchemas

// The one password of the archive's table files.
inline const QString masterPassword = QStringLiteral("QK48ZR61MW27");

} // namespace quillio::archive
