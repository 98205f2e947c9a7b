#pragma once

#include "business/BusinessStorage.h"
#include "engine/SqliteConnection.h"

#include <memory>

namespace quillio::business {

// The company file as one SQLite file (Azienda.DB) in the data directory, made on first use; two
// desks may share it.
class FileBusinessStorage : public BusinessStorage
{
public:
    explicit FileBusinessStorage(const QString& path);

    std::optional<QString> document(const QString& name) override;
    void setDocument(const QString& name, const QString& body) override;
    std::optional<QString> lastProgressive(int year, qint64 number) override;
    QString addProgressive(int year, qint64 number, const ProgressiveNamer& name) override;
    void addExport(const ExportEntry& entry) override;
    QList<ExportEntry> exports(int year, bool withContent) override;
    BusinessData everything() override;
    void takeOver(const BusinessData& data) override;
    QString shownPlace() const override { return m_path; }

private:
    void createTables();
    void insertProgressive(const BusinessData::Progressive& row);
    void insertExport(const ExportEntry& entry);
    QList<ExportEntry> readExports(std::optional<int> year, bool withContent);

    QString m_path;
    std::unique_ptr<engine::SqliteConnection> m_connection;
};

} // namespace quillio::business
