#pragma once

#include <QString>

namespace quillio::einvoice {

// Something to correct in data the user typed: the field as the dialog names it, and why.
struct FieldProblem
{
    QString field;
    QString message;
};

} // namespace quillio::einvoice
