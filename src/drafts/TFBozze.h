#pragma once

#include "recordbody/RecordEditor.h"

namespace quillio::drafts {

// The draft window: invoice drafts written freely, their customer block filled from the address
// book, their totals computed as amounts are typed.
class TFBozze : public recordbody::RecordEditor
{
    Q_OBJECT

public:
    explicit TFBozze(QWidget* parent = nullptr);
    void setDataModule(archive::TFDB* db);

    void Nuovo1Click() override;
};

} // namespace quillio::drafts
