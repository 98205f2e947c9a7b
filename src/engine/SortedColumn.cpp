#include "engine/SortedColumn.h"

#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/TableFile.h"

namespace quillio::engine {

SortedColumn::SortedColumn(const Session& session, const QString& alias, const QString& tableName,
                           const QString& field)
    : m_path(TableFile::pathIn(alias.isEmpty() ? QString() : session.aliasPath(alias), tableName)),
      m_passwords(session.passwords()), m_field(field)
{
}

QStringList SortedColumn::read() const
{
    const std::unique_ptr<TableFile> file = TableFile::open(m_path);
    file->requireAccess(m_passwords);
    const int field = file->fieldIndex(m_field);
    if (field < 0)
        throw EngineError(QStringLiteral("Field '%1' not found").arg(m_field));
    return file->orderedTexts(field);
}

} // namespace quillio::engine
