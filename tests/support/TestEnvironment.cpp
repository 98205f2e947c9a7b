#include "TestEnvironment.h"

#include "platform/Platform.h"

#include <QLocale>

namespace quillio::test {

TestEnvironment::TestEnvironment()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    Platform::setMessages(&messages);
    Platform::setErrors(&errors);
    Platform::setShell(&shell);
    Platform::setClock(&clock);
    Platform::setModal(&modal);
    Platform::setFiles(&files);
    Platform::setPaths(&paths);
}

TestEnvironment::~TestEnvironment()
{
    Platform::setMessages(nullptr);
    Platform::setErrors(nullptr);
    Platform::setShell(nullptr);
    Platform::setClock(nullptr);
    Platform::setModal(nullptr);
    Platform::setFiles(nullptr);
    Platform::setPaths(nullptr);
}

} // namespace quillio::test
