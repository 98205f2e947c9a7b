#include "platform/QuillioError.h"

namespace quillio {

QuillioError::QuillioError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

} // namespace quillio
