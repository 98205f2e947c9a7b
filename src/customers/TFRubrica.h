#pragma once

#include "dbcontrols/RecordWindow.h"

class QFrame;
class QToolButton;
class QWidget;

namespace quillio::archive {
class TFDB;
}
namespace quillio::dbcontrols {
class DBEdit;
class DBGrid;
class DBMemo;
class DBNavigator;
} // namespace quillio::dbcontrols

namespace quillio::customers {

// The address book: the customers of the working year as an alphabetical list (the shared query)
// beside the detail panel of the customer table's current record, with the commands to add, edit,
// delete, and open a customer's web site or start an e-mail.
class TFRubrica : public dbcontrols::RecordWindow
{
    Q_OBJECT

public:
    explicit TFRubrica(QWidget* parent = nullptr);

    // Linked once the data module exists (it is created after this window).
    void setDataModule(archive::TFDB* db);

    static const QString listQuery;

    void AggiornaElenco();
    void Nuovo1Click() override;
    void DBGrid1DblClick();
    void SpeedButton1Click();
    void SpeedButton2Click();

    dbcontrols::DBGrid* DBGrid1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    dbcontrols::DBMemo* Note = nullptr;
    QList<dbcontrols::DBEdit*> edits;
    dbcontrols::DBEdit* edit(const QString& name) const;

protected:
    void setPanels(Layout layout) override;
    void focusFirstField() override;
    void recordStored() override { AggiornaElenco(); }
    void recordDeleted() override { AggiornaElenco(); }
    void windowShown() override { AggiornaElenco(); }

private:
    QWidget* buildListPanel();
    QWidget* buildDetailPanel();

    archive::TFDB* m_db = nullptr;
};

} // namespace quillio::customers
