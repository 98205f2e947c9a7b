#include "platform/Platform.h"

#include "platform/ApplicationPaths.h"
#include "platform/SystemClock.h"

#include <QtGlobal>

namespace quillio {

namespace {

SystemClock systemClock;
ApplicationPaths applicationPaths;

Messages* currentMessages = nullptr;
ErrorDisplay* currentErrors = nullptr;
Shell* currentShell = nullptr;
const Clock* currentClock = &systemClock;
ModalShower* currentModal = nullptr;
FileChooser* currentFiles = nullptr;
const Paths* currentPaths = &applicationPaths;

template <typename T> T& installed(T* seam, const char* name)
{
    if (!seam)
        qFatal("Quillio: no %s installed", name);
    return *seam;
}

} // namespace

Messages& Platform::messages()
{
    return installed(currentMessages, "message display");
}
ErrorDisplay& Platform::errors()
{
    return installed(currentErrors, "error display");
}
Shell& Platform::shell()
{
    return installed(currentShell, "shell");
}
const Clock& Platform::clock()
{
    return *currentClock;
}
ModalShower& Platform::modal()
{
    return installed(currentModal, "modal window shower");
}
FileChooser& Platform::files()
{
    return installed(currentFiles, "file chooser");
}
const Paths& Platform::paths()
{
    return *currentPaths;
}

void Platform::setMessages(Messages* messages)
{
    currentMessages = messages;
}
void Platform::setErrors(ErrorDisplay* errors)
{
    currentErrors = errors;
}
void Platform::setShell(Shell* shell)
{
    currentShell = shell;
}
void Platform::setClock(const Clock* clock)
{
    currentClock = clock ? clock : &systemClock;
}
void Platform::setModal(ModalShower* modal)
{
    currentModal = modal;
}
void Platform::setFiles(FileChooser* files)
{
    currentFiles = files;
}
void Platform::setPaths(const Paths* paths)
{
    currentPaths = paths ? paths : &applicationPaths;
}

} // namespace quillio
