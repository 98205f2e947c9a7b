#pragma once

#include "platform/ModalShower.h"

#include <QList>
#include <QPointer>
#include <QWidget>

namespace quillio::test {

// Shows the window and returns at once, so the test drives it afterwards.
class ImmediateModal : public ModalShower
{
public:
    void showModal(QWidget* window) override;
    QList<QPointer<QWidget>> shown;
};

} // namespace quillio::test
