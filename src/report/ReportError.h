#pragma once

#include "platform/QuillioError.h"

namespace quillio::report {

// An error of the report engine: a layout that cannot be loaded, a report that cannot be laid
// out, an output that cannot be written. Its text is the one the person reads.
class ReportError : public QuillioError
{
public:
    using QuillioError::QuillioError;
};

} // namespace quillio::report
