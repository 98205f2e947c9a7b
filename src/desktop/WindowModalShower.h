#pragma once

#include "platform/ModalShower.h"

namespace quillio::desktop {

// Shows a window application-modal and runs a nested event loop until it is hidden again, so the
// caller waits while the main window's clock keeps ticking.
class WindowModalShower : public ModalShower
{
public:
    void showModal(QWidget* window) override;
};

} // namespace quillio::desktop
