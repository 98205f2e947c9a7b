#include "accountant/SalesRegisterCsv.h"

#include "accountant/AmountText.h"
#include "accountant/CsvWriter.h"
#include "accountant/SalesRegister.h"

namespace quillio::accountant {

QByteArray SalesRegisterCsv::of(const SalesRegister& salesRegister)
{
    CsvWriter csv;
    csv.addRow({"Numero", "Data", "Cliente", "Partita IVA", "Codice Fiscale", "Imponibile", "Aliquota", "IVA",
                "Totale", "Stato", "File fattura elettronica"});
    for (const RegisterRow& row : salesRegister.rows())
        csv.addRow({QString::number(row.number), row.date.toString(QStringLiteral("dd/MM/yyyy")),
                    row.customer, row.partitaIva, row.codiceFiscale, AmountText::plain(row.taxable),
                    AmountText::rate(row.rate), AmountText::plain(row.vat), AmountText::plain(row.total),
                    row.stato, row.electronicFile});
    return csv.bytes();
}

} // namespace quillio::accountant
