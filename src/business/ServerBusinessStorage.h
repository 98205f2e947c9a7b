#pragma once

#include "business/BusinessStorage.h"
#include "engine/PgConnection.h"
#include "engine/ServerAddress.h"

namespace quillio::business {

// The company file's data as tables of the archive's database on a server (in its public schema,
// beside the year schemas), so every desk reads and writes the same; made on first use.
class ServerBusinessStorage : public BusinessStorage
{
public:
    // `address`: the data directory, postgresql://host/database/.
    explicit ServerBusinessStorage(const QString& address);

    std::optional<QString> document(const QString& name) override;
    void setDocument(const QString& name, const QString& body) override;
    std::optional<QString> lastProgressive(int year, qint64 number) override;
    QString addProgressive(int year, qint64 number, const ProgressiveNamer& name) override;
    void addExport(const ExportEntry& entry) override;
    QList<ExportEntry> exports(int year, bool withContent) override;
    BusinessData everything() override;
    void takeOver(const BusinessData& data) override;
    QString shownPlace() const override { return m_connection.shown(); }

private:
    explicit ServerBusinessStorage(const engine::ServerAddress& address);
    void createTables();
    void insertProgressive(const BusinessData::Progressive& row);
    QList<ExportEntry> readExports(std::optional<int> year, bool withContent);

    engine::PgConnection m_connection;
};

} // namespace quillio::business
