#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace quillio::fuzz {

// The application object that Qt's fonts, locale and event dispatching need; made once, headless.
void ensureApplication();
// A directory of the process's own, removed at exit.
QString scratchDirectory();
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
// Ends the process loudly: a broken invariant must show as a finding, not pass.
[[noreturn]] void fail(const char* what);

} // namespace quillio::fuzz
