#include "ImmediateModal.h"

namespace quillio::test {

void ImmediateModal::showModal(QWidget* window)
{
    shown.append(window);
    window->show();
}

} // namespace quillio::test
