#pragma once

#include "platform/QuillioError.h"

namespace quillio::backup {

// A copy that cannot be written, read, verified or restored; its text is what the person reads.
class BackupError : public QuillioError
{
public:
    using QuillioError::QuillioError;
};

} // namespace quillio::backup
