#pragma once

#include "SampleRecords.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <memory>

struct pg_conn;
struct pg_result;

namespace quillio::bench {

// The database of a year's address on a server, reached directly through the client library, with
// the year's schema for the names of its tables: the bench's server baselines, its bulk fill and its
// clean-up go through here. Failures throw std::runtime_error naming the statement and the server's
// reason.
class DirectLibpq
{
public:
    struct Clear
    {
        void operator()(pg_result* result) const;
    };
    using Result = std::unique_ptr<pg_result, Clear>;

    // `yearAddress`: postgresql://.../database/year/.
    explicit DirectLibpq(const QString& yearAddress);
    ~DirectLibpq();
    DirectLibpq(const DirectLibpq&) = delete;
    DirectLibpq& operator=(const DirectLibpq&) = delete;

    const QString& schema() const { return m_schema; }
    // A name as SQL text, quoted.
    QByteArray quoted(const QString& name) const;
    // "schema"."fileName"
    QByteArray table(const QString& fileName) const;

    Result exec(const QByteArray& sql);
    // Prepares `sql` once under `name`, to run with text parameters ($1, $2, ...).
    void prepare(const QByteArray& name, const QByteArray& sql, int parameters);
    Result execPrepared(const QByteArray& name, const QByteArrayList& values, const QList<bool>& nulls);
    // Prepares `name` as an insert into `fileName` of the fields `shape` names, in its order.
    void prepareInsert(const QByteArray& name, const QString& fileName, const SampleRecord& shape);
    // Runs the insert `name` with `record`'s values in order.
    void insert(const QByteArray& name, const SampleRecord& record);

private:
    [[noreturn]] void fail(const QByteArray& what, pg_result* result) const;
    Result checked(pg_result* result, const QByteArray& what) const;

    QString m_schema;
    pg_conn* m_conn = nullptr;
};

} // namespace quillio::bench
