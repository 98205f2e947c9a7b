#pragma once

#include "SampleRecords.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <sqlite3.h>

namespace quillio::bench {

// A table file reached directly through SQLite, with the settings the engine gives its own
// connections (rollback journal, full synchronous writes): the bench's baselines and its bulk fill
// go through here. Failures throw std::runtime_error naming the file and SQLite's reason.
class DirectSqlite
{
public:
    struct Finalize
    {
        void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
    };
    using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

    explicit DirectSqlite(const QString& path);
    ~DirectSqlite();
    DirectSqlite(const DirectSqlite&) = delete;
    DirectSqlite& operator=(const DirectSqlite&) = delete;

    void exec(const char* sql);
    Statement prepare(const QByteArray& sql);
    // An insert into the records table of the fields `shape` names, in its order.
    Statement prepareInsert(const SampleRecord& shape);
    // Binds `record`'s values in order, steps once and resets the statement for the next record.
    void insert(sqlite3_stmt* statement, const SampleRecord& record);

private:
    [[noreturn]] void fail(const char* what) const;

    QString m_path;
    sqlite3* m_db = nullptr;
};

} // namespace quillio::bench
