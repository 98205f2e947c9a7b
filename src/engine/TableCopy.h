#pragma once

#include <QString>

namespace quillio::engine {

// Copies the table `fileName` of one data place to another (folders or server year addresses, in
// either direction), keeping every record's row id (its OrdNum), the protection as it is and the
// automatic numbering: the next new record of the copy gets the number the original would have
// given. Refused with an EngineError, touching nothing, when the destination already has a table of
// that name.
void copyTable(const QString& fromDirectory, const QString& toDirectory, const QString& fileName);

} // namespace quillio::engine
