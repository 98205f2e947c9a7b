#include "engine/PgResult.h"

#include <libpq-fe.h>
#include <utility>

namespace quillio::engine {

PgResult::~PgResult()
{
    PQclear(m_result);
}

PgResult::PgResult(PgResult&& other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

PgResult& PgResult::operator=(PgResult&& other) noexcept
{
    if (this != &other) {
        PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int PgResult::rows() const
{
    return m_result ? PQntuples(m_result) : 0;
}

qint64 PgResult::changedRows() const
{
    return m_result ? QByteArray(PQcmdTuples(m_result)).toLongLong() : 0;
}

bool PgResult::isNull(int row, int column) const
{
    return PQgetisnull(m_result, row, column) != 0;
}

QByteArray PgResult::bytes(int row, int column) const
{
    return QByteArray(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

QString PgResult::text(int row, int column) const
{
    return QString::fromUtf8(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

qint64 PgResult::number(int row, int column) const
{
    return bytes(row, column).toLongLong();
}

} // namespace quillio::engine
