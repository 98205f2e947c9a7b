#pragma once

#include <functional>

namespace quillio {

// Every handler of the program runs through here: an error that a step raises ends the
// handler at that step, its text is shown in a message box, and the program keeps running with
// whatever was done before. Returns whether the handler completed.
class DefaultErrorHandler
{
public:
    static bool run(const std::function<void()>& handler);
};

} // namespace quillio
