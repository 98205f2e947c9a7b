#include "engine/PgResult.h"

#include "engine/ClientLibrary.h"

#include <utility>

namespace quillio::engine {

PgResult::~PgResult()
{
    pq().clear(m_result);
}

PgResult::PgResult(PgResult&& other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

PgResult& PgResult::operator=(PgResult&& other) noexcept
{
    if (this != &other) {
        pq().clear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int PgResult::rows() const
{
    return m_result ? pq().ntuples(m_result) : 0;
}

qint64 PgResult::changedRows() const
{
    return m_result ? QByteArray(pq().cmdTuples(m_result)).toLongLong() : 0;
}

bool PgResult::isNull(int row, int column) const
{
    return pq().getisnull(m_result, row, column) != 0;
}

QByteArray PgResult::bytes(int row, int column) const
{
    return QByteArray(pq().getvalue(m_result, row, column), pq().getlength(m_result, row, column));
}

QString PgResult::text(int row, int column) const
{
    return QString::fromUtf8(pq().getvalue(m_result, row, column), pq().getlength(m_result, row, column));
}

qint64 PgResult::number(int row, int column) const
{
    return bytes(row, column).toLongLong();
}

} // namespace quillio::engine
