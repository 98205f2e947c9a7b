#include "workingyear/TFCambioAnno.h"

namespace quillio::workingyear {

TFCambioAnno::TFCambioAnno(QWidget* parent)
    : YearDialog(QStringLiteral("FCambioAnno"), QStringLiteral("Cambio Anno"), parent)
{
}

bool TFCambioAnno::confirm(WorkingYear& year, const QString& yearText)
{
    return year.change(yearText);
}

} // namespace quillio::workingyear
