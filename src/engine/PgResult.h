#pragma once

#include <QByteArray>
#include <QString>

struct pg_result;

namespace quillio::engine {

// The result of one statement on the server, freed when destroyed. Values are read as the text
// the server sends.
class PgResult
{
public:
    PgResult() = default;
    explicit PgResult(pg_result* result) : m_result(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept;
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    pg_result* handle() const { return m_result; }
    int rows() const;
    // The number of rows the statement changed.
    qint64 changedRows() const;
    bool isNull(int row, int column) const;
    QByteArray bytes(int row, int column) const;
    QString text(int row, int column) const;
    qint64 number(int row, int column) const;

private:
    pg_result* m_result = nullptr;
};

} // namespace quillio::engine
