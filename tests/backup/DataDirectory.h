#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quillio::test {

// A data directory for the copies and the accountant's export: year directories with the three
// tables (made as the program makes them), records posted through the engine, and the settings
// that point the program at it.
class DataDirectory
{
public:
    static inline const QStringList tables = {"Rubrica.DB", "Bozze.DB", "Fatture.DB"};

    // `root`: an existing directory, or a database on a server; the data directory is `root` itself.
    explicit DataDirectory(QString root) : m_root(std::move(root)) {}

    const QString& path() const { return m_root; }
    QString yearDirectory(const QString& year) const;

    // Makes the year directory with its three tables, protected with the archive's password
    // unless `protect` is false.
    void makeYear(const QString& year, bool protect = true) const;
    void addCustomers(const QString& year, const QStringList& names) const;

    struct Invoice
    {
        QDate date;
        QString customer;
        QString partitaIva;
        QString codiceFiscale;
        QList<double> amounts;
        double rate = 22;
        bool automaticTotals = true; // false: the totals below are stored as given
        double taxable = 0, vat = 0, total = 0;
    };
    // Stores the invoice with its totals computed as the editor computes them; returns its number.
    qint64 addInvoice(const QString& year, const Invoice& invoice) const;
    void removeRecord(const QString& year, const QString& table, qint64 ordNum) const;
    void setField(const QString& year, const QString& table, qint64 ordNum, const QString& field,
                  const QVariant& value) const;

    // Every record of a table, every field, through the engine.
    QList<QVariantList> records(const QString& year, const QString& table) const;

    // Points the settings at this data directory, with `programDir` (holding Report/) as PathPrg.
    void writeSettings(const QString& programDir, const QString& year) const;

private:
    QString m_root;
};

// Every file below `root` with its SHA-256, hidden ones included, keyed by its '/'-separated path
// relative to `root`; the files below `leftOut` (a relative folder, such as "Backup") are left out.
QMap<QString, QByteArray> fingerprint(const QString& root, const QString& leftOut = {});

} // namespace quillio::test
