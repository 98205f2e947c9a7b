#pragma once

#include "business/BusinessStorage.h"

#include <QJsonObject>
#include <QString>
#include <memory>
#include <optional>

namespace quillio::business {

// What the program keeps for the whole data directory beside the working years' tables: the
// company's data, what was entered for each buyer, the register of electronic invoices. It lives
// where the archive lives: one SQLite file (Azienda.DB) in a data folder, or tables of the
// archive's database when the data directory is on a server. Made on first use; every write is
// one transaction committed before the call returns, and several desks may share it.
class BusinessFile
{
public:
    static inline const QString fileName = QStringLiteral("Azienda.DB");

    // Opens the company data of `dataDirectory` (a folder or a server address), creating it when
    // missing.
    explicit BusinessFile(const QString& dataDirectory);
    // The same, in the data directory of the settings (read afresh).
    static BusinessFile inDataDirectory();
    // Whether `dataDirectory` may hold company data to read: a folder only when it has the file
    // (opening it elsewhere would make one), a server always.
    static bool existsIn(const QString& dataDirectory);

    // A document stored under a name ("company", "buyer:PIVA:01234567890", …); nothing when none.
    std::optional<QJsonObject> document(const QString& name);
    void setDocument(const QString& name, const QJsonObject& document);

    BusinessStorage& storage() { return *m_storage; }
    // The file's path, or the server's address without its password.
    QString path() const { return m_storage->shownPlace(); }

private:
    std::unique_ptr<BusinessStorage> m_storage;
};

} // namespace quillio::business
