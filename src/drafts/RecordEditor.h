#pragma once

#include "RecordWindow.h"

namespace quillio::archive {
class DataSource;
class TFDB;
} // namespace quillio::archive
namespace quillio::dbcontrols {
class DBNavigator;
}
namespace quillio::engine {
class Table;
}

namespace quillio::drafts {

class RecordPanel;

// What the draft and invoice windows share: one record of their table at a time in the record
// panel, the navigator, and the commands that switch between the browse and edit layouts. Each
// command first sets the layout that follows it, then does its table operation.
class RecordEditor : public dbcontrols::RecordWindow
{
    Q_OBJECT

public:
    enum class Layout { Browse, Edit };

    RecordEditor(const QString& caption, const QString& statusText, const QColor& background, bool invoiceFields,
                 QWidget* parent = nullptr);

    // Linked once the data module exists; `source` is the editor's own table.
    void setDataModule(archive::TFDB* db, archive::DataSource* source);

    Layout layout() const { return m_layout; }
    RecordPanel* PanelScheda = nullptr;
    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    QAction* Nuovo1 = nullptr;
    QAction* Modifica1 = nullptr;
    QAction* Salva1 = nullptr;
    QAction* Cancella1 = nullptr;
    QAction* Annulla1 = nullptr;
    QAction* Esci1 = nullptr;

    virtual void Nuovo1Click() = 0;
    void Modifica1Click();
    virtual void Salva1Click();
    virtual void Annulla1Click();
    void Cancella1Click();
    void Esci1Click();
    void FormShow();

protected:
    // Adds the commands; `extra` goes between Annulla and the separator before Esci.
    void buildCommands(const std::function<void()>& extra = {});
    // Sets the commands in their order, then the navigator, then the record panel.
    virtual void setLayout(Layout layout);
    void setCommands(bool edit);
    // Commands of a window of its own, set between Cancella and Esci.
    virtual void setOwnCommands(bool edit) { Q_UNUSED(edit); }
    void focusName();
    engine::Table& table() const;
    archive::TFDB& db() const { return *m_db; }
    void showEvent(QShowEvent* event) override;

private:
    archive::TFDB* m_db = nullptr;
    archive::DataSource* m_source = nullptr;
    Layout m_layout = Layout::Browse;
};

} // namespace quillio::drafts
