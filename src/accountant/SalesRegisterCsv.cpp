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
    // Number, date, amounts and rate are written by the program as numbers; every other column
    // holds text typed by a person or read from a file, which must never become a formula.
    for (const RegisterRow& row : salesRegister.rows())
        csv.addRow({QString::number(row.number), row.date.toString(QStringLiteral("dd/MM/yyyy")),
                    CsvWriter::text(row.customer), CsvWriter::text(row.partitaIva),
                    CsvWriter::text(row.codiceFiscale), AmountText::plain(row.taxable),
                    AmountText::rate(row.rate), AmountText::plain(row.vat), AmountText::plain(row.total),
                    CsvWriter::text(row.stato), CsvWriter::text(row.electronicFile)});
    return csv.bytes();
}

} // namespace quillio::accountant
