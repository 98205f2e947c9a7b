#pragma once

#include "dbcontrols/RecordWindow.h"

namespace quillio::archive {
class TFDB;
}
namespace quillio::engine {
class DataSource;
}

namespace quillio::recordbody {

class RecordPanel;

// What the draft and invoice windows add to the record-window frame: the record panel with the
// customer block, the line slots and the totals, and the customer name list filled at each showing.
class RecordEditor : public dbcontrols::RecordWindow
{
    Q_OBJECT

public:
    RecordEditor(const QString& caption, const QString& statusText, const QColor& background,
                 bool invoiceFields, QWidget* parent = nullptr);

    // Linked once the data module exists; `source` is the editor's own table.
    void setDataModule(archive::TFDB* db, engine::DataSource* source);

    RecordPanel* PanelScheda = nullptr;

    void FormShow();

protected:
    // Adds the commands; `extra` goes between Annulla and the separator before Esci.
    void buildCommands(const std::function<void()>& extra = {});
    void setPanels(Layout layout) override;
    void focusFirstField() override { focusName(); }
    void windowShown() override { FormShow(); }
    void focusName();
    archive::TFDB& db() const { return *m_db; }

private:
    archive::TFDB* m_db = nullptr;
};

} // namespace quillio::recordbody
