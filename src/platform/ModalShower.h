#pragma once

class QWidget;

namespace quillio {

// Shows a window modally and returns when it is hidden again. The test double shows it and
// returns at once, so a test can drive the window afterwards.
class ModalShower
{
public:
    virtual ~ModalShower() = default;
    virtual void showModal(QWidget* window) = 0;
};

} // namespace quillio
