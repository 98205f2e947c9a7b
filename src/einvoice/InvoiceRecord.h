#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <optional>

namespace quillio::engine {
class Dataset;
}

namespace quillio::einvoice {

// A plain copy of one record of the invoice table, so the electronic invoice is built from
// values and not from a dataset that may move. Nulls stay distinguishable from zero and "".
struct InvoiceRecord
{
    static constexpr int slotCount = 20;

    std::optional<qint64> ordNum; // the invoice number; null until the invoice is first stored
    QString stato;
    QDate data; // invalid when null
    std::optional<double> codRif;
    QString ragioneSociale;
    QString via;
    QString citta;
    QString cap;
    QString pIva;
    QString cf;
    QString testo1;
    QString testo2;
    std::array<QString, slotCount> desc;                // Desc01..Desc20
    std::array<std::optional<double>, slotCount> costo; // Costo01..Costo20
    bool totAut = true;                                 // a null counts as true: the totals follow the lines
    std::optional<double> totale;
    std::optional<double> iva; // rate in percent
    std::optional<double> totaleIva;
    std::optional<double> totaleFattura;
    QString condizioni;
    QString note;

    bool stored() const { return ordNum.has_value(); }

    // The current record of a dataset over the invoice table.
    static InvoiceRecord fromDataset(const engine::Dataset& dataset);
};

} // namespace quillio::einvoice
