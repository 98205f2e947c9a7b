#pragma once

#include "workingyear/YearDialog.h"

namespace quillio::workingyear {

// Switches the program to a working year whose directory already exists.
class TFCambioAnno : public YearDialog
{
    Q_OBJECT

public:
    explicit TFCambioAnno(QWidget* parent = nullptr);

protected:
    bool confirm(WorkingYear& year, const QString& yearText) override;
};

} // namespace quillio::workingyear
