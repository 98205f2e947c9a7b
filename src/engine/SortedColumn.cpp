#include "engine/SortedColumn.h"

#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/TableStorage.h"

namespace quillio::engine {

SortedColumn::SortedColumn(const Session& session, const QString& alias, const QString& tableName,
                           const QString& field)
    : m_directory(alias.isEmpty() ? QString() : session.aliasPath(alias)), m_tableName(tableName),
      m_passwords(session.passwords()), m_field(field)
{
}

QStringList SortedColumn::read() const
{
    const std::unique_ptr<TableStorage> file = TableStorage::open(m_directory, m_tableName);
    file->requireAccess(m_passwords);
    const int field = file->fieldIndex(m_field);
    if (field < 0)
        throw EngineError(QStringLiteral("Field '%1' not found").arg(m_field));
    return file->orderedTexts(field);
}

} // namespace quillio::engine
