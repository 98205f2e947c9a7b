#pragma once

#include "platform/QuillioError.h"

namespace quillio::config {

// A setting that cannot be read as text, or a value that could not be stored.
class SettingsError : public QuillioError
{
public:
    using QuillioError::QuillioError;
};

} // namespace quillio::config
