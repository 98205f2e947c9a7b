#pragma once

#include "RecordWindow.h"

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

    enum class Layout { Browse, Edit, Confirming };
    Layout layout() const { return m_layout; }

    void AggiornaElenco();
    void Nuovo1Click();
    void Modifica1Click();
    void Salva1Click();
    void Annulla1Click();
    void Cancella1Click();
    void Esci1Click();
    void DBGrid1DblClick();
    void SpeedButton1Click();
    void SpeedButton2Click();

    QAction* Nuovo1 = nullptr;
    QAction* Modifica1 = nullptr;
    QAction* Salva1 = nullptr;
    QAction* Cancella1 = nullptr;
    QAction* Annulla1 = nullptr;
    QAction* Esci1 = nullptr;
    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    dbcontrols::DBGrid* DBGrid1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    dbcontrols::DBMemo* Note = nullptr;
    QList<dbcontrols::DBEdit*> edits;
    dbcontrols::DBEdit* edit(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildCommands();
    QWidget* buildListPanel();
    QWidget* buildDetailPanel();
    void setLayout(Layout layout);
    bool positionOn(const QVariant& ordNum);

    archive::TFDB* m_db = nullptr;
    Layout m_layout = Layout::Browse;
};

} // namespace quillio::customers
