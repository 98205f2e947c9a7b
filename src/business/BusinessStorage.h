#pragma once

#include "business/ExportEntry.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace quillio::business {

// Everything a company file holds, for moving it whole to another place.
struct BusinessData
{
    struct Progressive
    {
        qint64 sequence = 0;
        QString progressive;
        int year = 0;
        qint64 number = 0;
        QString assigned;
    };
    QList<std::pair<QString, QString>> documents; // name, body
    QList<Progressive> progressives;
    QList<ExportEntry> exports; // with their content, oldest first

    bool isEmpty() const { return documents.isEmpty() && progressives.isEmpty() && exports.isEmpty(); }
};

// Where the company file's data is kept: a SQLite file beside the year folders, or tables of the
// archive's database on a server. Every write is one transaction, committed before the call
// returns.
class BusinessStorage
{
public:
    // Names the n-th progressive; raises the engine's error to refuse it.
    using ProgressiveNamer = std::function<QString(qint64 sequence)>;

    virtual ~BusinessStorage() = default;

    // How failures of the register begin, on either storage.
    static inline const QString registerReadAction =
        QStringLiteral("Impossibile leggere il registro delle fatture elettroniche in");
    static inline const QString registerWriteAction =
        QStringLiteral("Impossibile memorizzare nel registro delle fatture elettroniche in");

    // The body (JSON text) stored under a name; nothing when none.
    virtual std::optional<QString> document(const QString& name) = 0;
    virtual void setDocument(const QString& name, const QString& body) = 0;

    // The progressive last given to an invoice; nothing when it has none.
    virtual std::optional<QString> lastProgressive(int year, qint64 number) = 0;
    // Takes the sequence after the last one ever given, under a lock that keeps other desks out
    // until it is stored, names it with `name` and stores it for the invoice.
    virtual QString addProgressive(int year, qint64 number, const ProgressiveNamer& name) = 0;

    virtual void addExport(const ExportEntry& entry) = 0;
    // Oldest first; the files' content only when asked.
    virtual QList<ExportEntry> exports(int year, bool withContent) = 0;

    virtual BusinessData everything() = 0;
    // Stores `data` in one transaction; refused with the engine's error, storing nothing, unless
    // this place holds nothing yet (two registers must never be mixed).
    virtual void takeOver(const BusinessData& data) = 0;

    // The file's path, or the database's address without its password.
    virtual QString shownPlace() const = 0;
};

} // namespace quillio::business
