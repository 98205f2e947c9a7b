#pragma once

#include "platform/QuillioError.h"

namespace quillio {

// A value that cannot take the type asked for: a null rate read as a number, a typed text that is
// not a number or not a date.
class ConversionError : public QuillioError
{
public:
    using QuillioError::QuillioError;
};

} // namespace quillio
