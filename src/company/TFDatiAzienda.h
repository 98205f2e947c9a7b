#pragma once

#include "einvoice/CompanyData.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillio::company {

// "Dati Azienda": the seller's data for the electronic invoices, once for the whole data
// directory. Each field says what is wrong with it before anything is stored.
class TFDatiAzienda : public QDialog
{
    Q_OBJECT

public:
    explicit TFDatiAzienda(QWidget* parent = nullptr);

    // The data as the fields hold them now.
    einvoice::CompanyData data() const;
    void fill(const einvoice::CompanyData& data);
    // The field named as its label ("Partita IVA"), and the line under it that tells what is wrong.
    QWidget* field(const QString& label) const { return m_fields.value(label); }
    QLabel* problemOf(const QString& label) const { return m_problems.value(label); }

    QPushButton* BT_Salva = nullptr;
    QPushButton* BT_Annulla = nullptr;
    QCheckBox* IscrittoRea = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addLine(QFormLayout* form, const QString& label, int maxLength);
    QComboBox* addChoice(QFormLayout* form, const QString& label,
                         const QList<einvoice::CodeDescription>& codes);
    void registerField(QFormLayout* form, const QString& label, QWidget* field);
    QWidget* buildIdentity();
    QWidget* buildSeat();
    QWidget* buildRegister();
    QWidget* buildContacts();
    QString text(const QString& label) const;
    void setText(const QString& label, const QString& text);
    QString code(const QString& label) const;
    void setCode(const QString& label, const QString& code);
    // Shows each field's problems under it; true when there is none.
    bool showProblems(const QList<einvoice::FieldProblem>& problems);
    void BT_SalvaClick();

    QMap<QString, QWidget*> m_fields;
    QMap<QString, QLabel*> m_problems;
};

} // namespace quillio::company
