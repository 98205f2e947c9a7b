#include "platform/DefaultErrorHandler.h"

#include "platform/Platform.h"
#include "platform/QuillioError.h"

namespace quillio {

bool DefaultErrorHandler::run(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const QuillioError& error) {
        Platform::errors().showError(error.text());
    } catch (const std::exception& error) {
        Platform::errors().showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace quillio
