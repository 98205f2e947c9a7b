#pragma once

#include <QFrame>
#include <QMap>

class QHBoxLayout;
class QLabel;

namespace quillio::archive {
class TFDB;
}
namespace quillio::engine {
class DataSource;
}
namespace quillio::dbcontrols {
class DBCheckBox;
class DBComboBox;
class DBEdit;
class DBMemo;
} // namespace quillio::dbcontrols

namespace quillio::recordbody {

// The record body that the draft and invoice editors share (the panel `PanelScheda`): number,
// customer block, two text lines, twenty line slots, payment conditions, notes and the totals
// block, bound to one table, with its rules: the focus highlight, the totals recomputed when an
// amount is left, the decimal point of numeric fields, lines that run on into the next, and the
// customer block filled from the address book when the name is left.
class CustomerNameList;

class RecordPanel : public QFrame
{
    Q_OBJECT

public:
    // With `invoiceFields` the top row also holds the date and the state of an invoice.
    RecordPanel(bool invoiceFields, QWidget* parent = nullptr);

    void bind(archive::TFDB& db, engine::DataSource& source);
    // Fills the name list from the customer table (the table is closed afterwards); the names
    // arrive shortly after, or as soon as the name box needs them.
    void fillNameList();

    dbcontrols::DBEdit* edit(const QString& name) const { return m_edits.value(name); }
    dbcontrols::DBComboBox* Ragione_Sociale = nullptr;
    dbcontrols::DBMemo* Condizioni = nullptr;
    dbcontrols::DBMemo* Note = nullptr;
    dbcontrols::DBCheckBox* TotAut = nullptr;

    // The line-advance chain: the text lines and descriptions, each to the next.
    static QString nextInChain(const QString& field);

private:
    QWidget* buildTopRow();
    void addToTopRow(const QString& caption, QWidget* field, int width);
    void addInvoiceFields();
    QWidget* buildCustomerBlock();
    QWidget* buildSlots();
    QWidget* buildSideColumn();
    QWidget* buildTotals();
    dbcontrols::DBEdit* addEdit(const QString& name, QWidget* parent, int limit = 0);
    void addHighlight(QWidget* field);
    void makeNumeric(dbcontrols::DBEdit* field, bool decimalPoint);
    void makeAmount(dbcontrols::DBEdit* field);
    void makeRunOn(dbcontrols::DBEdit* field);
    bool runOn(dbcontrols::DBEdit* field, QKeyEvent* event);
    void setTabOrderOfBody();
    void recomputeTotals();

    QHBoxLayout* m_topRow = nullptr;
    archive::TFDB* m_db = nullptr;
    engine::DataSource* m_source = nullptr;
    CustomerNameList* m_names = nullptr;
    QMap<QString, dbcontrols::DBEdit*> m_edits;
};

} // namespace quillio::recordbody
