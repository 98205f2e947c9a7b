#pragma once

#include "engine/SqliteConnection.h"

#include <QJsonObject>
#include <QString>
#include <optional>

namespace quillio::business {

// What the program keeps for the whole data directory beside the working years' tables: the
// company's data, what was entered for each buyer, the register of electronic invoices. One
// SQLite file in the data directory, made on first use; like the tables, every write is one
// transaction committed to disk before the call returns, and two desks may share it.
class BusinessFile
{
public:
    static inline const QString fileName = QStringLiteral("Azienda.DB");

    // Opens the file in `dataDirectory`, creating it and its tables when missing.
    explicit BusinessFile(const QString& dataDirectory);
    // The same, in the data directory of the settings (read afresh).
    static BusinessFile inDataDirectory();

    // A document stored under a name ("company", "buyer:PIVA:01234567890", …); nothing when none.
    std::optional<QJsonObject> document(const QString& name);
    void setDocument(const QString& name, const QJsonObject& document);

    engine::SqliteConnection& connection() { return *m_connection; }
    const QString& path() const { return m_path; }

private:
    void createTables();

    QString m_path;
    std::unique_ptr<engine::SqliteConnection> m_connection;
};

} // namespace quillio::business
