#pragma once

#include "platform/Clock.h"
#include "platform/ErrorDisplay.h"
#include "platform/FileChooser.h"
#include "platform/Messages.h"
#include "platform/ModalShower.h"
#include "platform/Paths.h"
#include "platform/Shell.h"

namespace quillio {

// The seams through which the program reaches the person and the desktop. Production installs
// the desktop implementations at start; tests install recording doubles. The pointers are not
// owned: whoever installs an implementation keeps it alive while it is installed.
class Platform
{
public:
    static Messages& messages();
    static ErrorDisplay& errors();
    static Shell& shell();
    static const Clock& clock();
    static ModalShower& modal();
    static FileChooser& files();
    static const Paths& paths();

    static void setMessages(Messages* messages);
    static void setErrors(ErrorDisplay* errors);
    static void setShell(Shell* shell);
    static void setClock(const Clock* clock);
    static void setModal(ModalShower* modal);
    static void setFiles(FileChooser* files);
    static void setPaths(const Paths* paths);

    // The application title: caption of every message box and the program's name.
    static QString title() { return QStringLiteral("Quillio"); }
};

} // namespace quillio
