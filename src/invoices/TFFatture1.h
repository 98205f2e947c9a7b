#pragma once

#include "recordbody/RecordEditor.h"

#include <functional>

class QFrame;
class QMenu;
class QPushButton;

namespace quillio::dbcontrols {
class DBGrid;
}
namespace quillio::report {
class ReportProject;
}

namespace quillio::invoices {

class TFFatturaElettronica;

// The invoice window: the draft window's record body and rules on the invoice table, plus the date
// and state of an invoice, printing, and a new invoice made from a draft through the draft picker.
class TFFatture1 : public recordbody::RecordEditor
{
    Q_OBJECT

public:
    explicit TFFatture1(QWidget* parent = nullptr);
    void setDataModule(archive::TFDB* db);

    static const QString draftListQuery;
    static const QString draftNotFound;

    void Nuovo1Click() override;
    void Salva1Click() override;
    void Annulla1Click() override;
    void BT_SelezionaClick();
    void BT_AnnullaClick();
    void StpFattura1Click();
    // The current invoice as an electronic invoice; without the company's data, asks for them.
    void StpFatturaElettronica1Click();

    // The report project invoices are printed through; linked once it exists.
    void setReportProject(report::ReportProject* project) { m_report = project; }
    // The company's data dialog, opened when they are missing.
    void setCompanyDialog(std::function<QWidget*()> dialog) { m_companyDialog = std::move(dialog); }
    TFFatturaElettronica& electronicInvoiceDialog();

    static const QString companyDataMissing;

    bool pickerShown() const;

    QMenu* Stampa1 = nullptr;
    QAction* StpFattura1 = nullptr;
    QAction* TBStampa = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* PopMenu1 = nullptr;
    QAction* StpFatturaElettronica1 = nullptr;
    QAction* PopMenu2 = nullptr;
    QFrame* Panel1 = nullptr;
    dbcontrols::DBGrid* Elenco_Bozze = nullptr;
    QPushButton* BT_Seleziona = nullptr;
    QPushButton* BT_Annulla = nullptr;

protected:
    void setOwnCommands(Layout layout) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPrintCommand();
    void buildPicker();
    void placePicker();
    void showPicker(bool shown);
    void writeStartingValues();
    bool findChosenDraft();
    void copyChosenDraft();

    QByteArray archivalPdf();

    report::ReportProject* m_report = nullptr;
    std::function<QWidget*()> m_companyDialog;
    TFFatturaElettronica* m_electronicInvoice = nullptr; // a child of the window
};

} // namespace quillio::invoices
