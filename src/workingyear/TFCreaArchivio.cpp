#include "workingyear/TFCreaArchivio.h"

namespace quillio::workingyear {

TFCreaArchivio::TFCreaArchivio(QWidget* parent)
    : YearDialog(QStringLiteral("FCreaArchivio"), QStringLiteral("Crea Nuovo Archivio"), parent)
{
}

bool TFCreaArchivio::confirm(WorkingYear& year, const QString& yearText)
{
    return year.create(yearText);
}

} // namespace quillio::workingyear
