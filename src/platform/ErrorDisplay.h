#pragma once

#include <QString>

namespace quillio {

// Where the default error handler sends the text of an error that ended a handler.
class ErrorDisplay
{
public:
    virtual ~ErrorDisplay() = default;
    virtual void showError(const QString& text) = 0;
};

} // namespace quillio
