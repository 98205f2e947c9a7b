#include "engine/Dataset.h"

#include "engine/EngineError.h"
#include "engine/Session.h"

namespace quillio::engine {

Dataset::Dataset(Session& session, QObject* parent) : QObject(parent), m_session(session)
{
    m_session.attach(this);
}

Dataset::~Dataset()
{
    m_session.detach(this);
}

void Dataset::setDatabaseName(const QString& alias)
{
    requireClosed();
    m_databaseName = alias;
}

int Dataset::fieldIndex(const QString& name) const
{
    const FieldDefs& defs = fields();
    for (int i = 0; i < defs.size(); ++i) {
        if (defs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void Dataset::setState(DatasetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

void Dataset::requireClosed() const
{
    if (isActive())
        throw EngineError(QStringLiteral("Cannot perform this operation on an open dataset"));
}

} // namespace quillio::engine
