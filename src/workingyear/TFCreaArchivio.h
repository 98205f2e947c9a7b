#pragma once

#include "workingyear/YearDialog.h"

namespace quillio::workingyear {

// Switches the program to a working year, creating its directory and tables when missing.
class TFCreaArchivio : public YearDialog
{
    Q_OBJECT

public:
    explicit TFCreaArchivio(QWidget* parent = nullptr);

protected:
    bool confirm(WorkingYear& year, const QString& yearText) override;
};

} // namespace quillio::workingyear
