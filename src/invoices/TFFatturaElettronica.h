#pragma once

#include "einvoice/CompanyData.h"
#include "einvoice/ExportOptions.h"
#include "einvoice/InvoiceRecord.h"
#include "einvoice/Problem.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quillio::widgets {
class ValueLabel;
}

namespace quillio::invoices {

// "Fattura elettronica": one stored invoice as its electronic invoice. It shows the buyer as the
// invoice holds it, asks for what the invoice table has no column for, lists every problem found
// and writes the file when there is none.
class TFFatturaElettronica : public QDialog
{
    Q_OBJECT

public:
    // Makes the printed page attached to the file.
    using PdfMaker = std::function<QByteArray()>;

    explicit TFFatturaElettronica(QWidget* parent = nullptr);

    // Fills the dialog for the invoice, starting from what was entered for its buyer before.
    void prepare(const einvoice::InvoiceRecord& invoice, int year, const einvoice::CompanyData& seller,
                 PdfMaker pdf);
    // The choices as the fields hold them now (without the attachment).
    einvoice::ExportOptions options() const;
    const QList<einvoice::Problem>& problems() const { return m_problems; }
    // The file last written; empty when none.
    const QString& writtenFile() const { return m_written; }

    QLineEdit* CodiceDestinatario = nullptr;
    QLineEdit* PEC = nullptr;
    QLineEdit* Provincia = nullptr;
    QLineEdit* Nazione = nullptr;
    QGroupBox* Esenzione = nullptr;
    QComboBox* Natura = nullptr;
    QLineEdit* RiferimentoNormativo = nullptr;
    QCheckBox* BolloVirtuale = nullptr;
    QComboBox* ModalitaPagamento = nullptr;
    QCheckBox* ConScadenza = nullptr;
    QDateEdit* Scadenza = nullptr;
    QLineEdit* IBAN = nullptr;
    QCheckBox* AllegaPdf = nullptr;
    QCheckBox* NuovoProgressivo = nullptr;
    widgets::ValueLabel* Cartella = nullptr;
    QPushButton* BT_Cartella = nullptr;
    QListWidget* Problemi = nullptr;
    QPushButton* BT_Esporta = nullptr;
    QPushButton* BT_Chiudi = nullptr;

    void BT_EsportaClick();
    void BT_CartellaClick();
    // Checks the invoice again with the choices of the moment.
    void refresh();

private:
    QWidget* buildBuyer();
    QWidget* buildExemption();
    QWidget* buildPayment();
    QWidget* buildOutput();
    QLineEdit* addEdit(QFormLayout* form, const QString& name, const QString& label, int maxLength);
    widgets::ValueLabel* addValue(QFormLayout* form, const QString& label);
    void showBuyer();
    void showOptions(const einvoice::ExportOptions& options);
    void showProblems();
    // The remembered folder, or the one the person chooses now; empty when they give up.
    QString outputFolder(bool choose);

    einvoice::InvoiceRecord m_invoice;
    einvoice::CompanyData m_seller;
    int m_year = 0;
    PdfMaker m_pdf;
    QList<einvoice::Problem> m_problems;
    QString m_written;
    QList<widgets::ValueLabel*> m_buyerValues;
    bool m_filling = false;
};

} // namespace quillio::invoices
