#include "engine/PgResult.h"

#include "engine/ClientLibrary.h"

#include <utility>

namespace quillio::engine {

PgResult::~PgResult()
{
    ClientLibrary::get().clear(m_result);
}

PgResult::PgResult(PgResult&& other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

PgResult& PgResult::operator=(PgResult&& other) noexcept
{
    if (this != &other) {
        ClientLibrary::get().clear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int PgResult::rows() const
{
    return m_result ? ClientLibrary::get().ntuples(m_result) : 0;
}

qint64 PgResult::changedRows() const
{
    return m_result ? QByteArray(ClientLibrary::get().cmdTuples(m_result)).toLongLong() : 0;
}

bool PgResult::isNull(int row, int column) const
{
    return ClientLibrary::get().getisnull(m_result, row, column) != 0;
}

QByteArray PgResult::bytes(int row, int column) const
{
    return QByteArray(ClientLibrary::get().getvalue(m_result, row, column),
                      ClientLibrary::get().getlength(m_result, row, column));
}

QString PgResult::text(int row, int column) const
{
    return QString::fromUtf8(ClientLibrary::get().getvalue(m_result, row, column),
                             ClientLibrary::get().getlength(m_result, row, column));
}

qint64 PgResult::number(int row, int column) const
{
    return bytes(row, column).toLongLong();
}

} // namespace quillio::engine
