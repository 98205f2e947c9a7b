#include "engine/PgTransaction.h"

#include "engine/EngineError.h"
#include "engine/PgConnection.h"

namespace quillio::engine {

PgTransaction::PgTransaction(PgConnection& connection, const QString& action)
    : m_connection(connection), m_action(action)
{
    m_connection.exec("BEGIN", m_action);
}

PgTransaction::~PgTransaction()
{
    if (!m_open)
        return;
    try {
        m_connection.exec("ROLLBACK", m_action);
    } catch (const EngineError&) {
        // The connection is gone, and the server dropped its transaction with it.
    }
}

void PgTransaction::commit()
{
    m_open = false;
    m_connection.exec("COMMIT", m_action);
}

} // namespace quillio::engine
