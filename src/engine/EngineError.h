#pragma once

#include "platform/QuillioError.h"

namespace quillio::engine {

// A refusal of the database engine; its text is what the person reads.
class EngineError : public QuillioError
{
public:
    using QuillioError::QuillioError;
};

} // namespace quillio::engine
