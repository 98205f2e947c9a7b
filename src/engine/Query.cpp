#include "engine/Query.h"

#include "engine/EngineError.h"
#include "engine/FieldCodec.h"
#include "engine/LocalSql.h"
#include "engine/RecordReader.h"
#include "engine/Session.h"
#include "engine/TableStorage.h"

namespace quillio::engine {

// An opened SELECT: the row ids in the statement's order, and a cursor reading the current one.
struct Query::Result
{
    std::unique_ptr<TableStorage> file;
    std::unique_ptr<RecordReader> reader;
    QList<qint64> rows;
    int row = -1;
    // Whether the rows come in the order of the file, each the record after the one before.
    bool fileOrder = false;

    void moveTo(int index)
    {
        const int previous = row;
        row = index;
        if (index < 0 || index >= rows.size()) {
            reader->clearPosition();
            return;
        }
        // In file order the next row is the next record of the file: one step reaches it.
        if (fileOrder && index == previous + 1 && reader->advanceTo(rows.at(index)))
            return;
        reader->setPosition(rows.at(index), true);
    }
};

namespace {

const FieldDefs& noFields()
{
    static const FieldDefs none;
    return none;
}

[[noreturn]] void readOnly()
{
    throw EngineError(QStringLiteral("Cannot modify a read-only dataset"));
}

void requireOpen(bool active)
{
    if (!active)
        throw EngineError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

} // namespace

Query::Query(Session& session, QObject* parent) : Dataset(session, parent) {}

Query::~Query()
{
    close();
}

void Query::clearSql()
{
    requireClosed();
    m_sql.clear();
}

void Query::addSql(const QString& line)
{
    requireClosed();
    m_sql.append(line);
}

void Query::execSql()
{
    const QString text = m_sql.join(u' ');
    const LocalStatement statement = LocalSql::parse(text);
    if (statement.kind != LocalStatement::Kind::CreateTable)
        throw EngineError(
            QStringLiteral("The statement \"%1\" returns rows: open the query instead of executing it.")
                .arg(LocalSql::shown(text)));
    const QString directory = databaseName().isEmpty() ? QString() : session().aliasPath(databaseName());
    if (!session().isActive())
        session().activate();
    TableStorage::create(directory, statement.fileName, statement.columns, &session());
}

void Query::open()
{
    if (isActive())
        return;
    const QString text = m_sql.join(u' ');
    const LocalStatement statement = LocalSql::parse(text);
    if (statement.kind != LocalStatement::Kind::Select)
        throw EngineError(
            QStringLiteral("The statement \"%1\" returns no rows: execute it instead of opening the query.")
                .arg(LocalSql::shown(text)));
    const QString directory = databaseName().isEmpty() ? QString() : session().aliasPath(databaseName());
    if (!session().isActive())
        session().activate();

    auto result = std::make_unique<Result>();
    result->file = TableStorage::open(directory, statement.fileName, &session());
    result->file->requireAccess(session().passwords());
    int orderField = -1;
    if (!statement.orderBy.isEmpty()) {
        orderField = result->file->fieldIndex(statement.orderBy);
        if (orderField < 0)
            throw EngineError(QStringLiteral("Invalid SQL statement \"%1\": %2 has no column %3.")
                                  .arg(LocalSql::shown(text), statement.fileName, statement.orderBy));
    }
    result->rows = result->file->orderedRowids(orderField, statement.descending);
    const bool rowidOrder = result->file->ordersByRowid(orderField);
    result->fileOrder = rowidOrder && !statement.descending;
    // Set after the sort, whose own reading of every record needs no cache.
    if (!rowidOrder)
        result->file->cacheForScatteredReads(result->rows);
    result->reader = result->file->reader(this);
    result->moveTo(result->rows.isEmpty() ? -1 : 0);
    m_result = std::move(result);
    setEdges(true, m_result->rows.isEmpty());
    setState(DatasetState::Browse);
    emit recordChanged();
}

void Query::close()
{
    if (!isActive())
        return;
    m_result.reset();
    setEdges(true, true);
    setState(DatasetState::Inactive);
}

void Query::first()
{
    requireOpen(isActive());
    const bool empty = m_result->rows.isEmpty();
    m_result->moveTo(empty ? -1 : 0);
    setEdges(true, empty);
    emit recordChanged();
}

void Query::next()
{
    requireOpen(isActive());
    Result& result = *m_result;
    if (result.row + 1 < result.rows.size()) {
        result.moveTo(result.row + 1);
        setEdges(false, false);
    } else {
        setEdges(result.rows.isEmpty(), true);
    }
    emit recordChanged();
}

void Query::prior()
{
    requireOpen(isActive());
    Result& result = *m_result;
    if (result.row > 0) {
        result.moveTo(result.row - 1);
        setEdges(false, false);
    } else {
        setEdges(true, result.rows.isEmpty());
    }
    emit recordChanged();
}

void Query::last()
{
    requireOpen(isActive());
    const bool empty = m_result->rows.isEmpty();
    m_result->moveTo(int(m_result->rows.size()) - 1);
    setEdges(empty, true);
    emit recordChanged();
}

bool Query::isEmpty() const
{
    return !isActive() || m_result->rows.isEmpty();
}

int Query::recordCount() const
{
    return isActive() ? int(m_result->rows.size()) : 0;
}

const FieldDefs& Query::fields() const
{
    return m_result ? m_result->file->fields() : noFields();
}

QVariant Query::fieldValue(const QString& name) const
{
    const int index = m_result ? m_result->file->fieldIndex(name) : -1;
    if (index < 0)
        throw EngineError(QStringLiteral("Field '%1' not found").arg(name));
    return m_result->reader->value(index);
}

void Query::setFieldValue(const QString&, const QVariant&)
{
    readOnly();
}

void Query::append()
{
    readOnly();
}

void Query::edit()
{
    readOnly();
}

void Query::post()
{
    readOnly();
}

void Query::cancel()
{
    readOnly();
}

void Query::remove()
{
    readOnly();
}

int Query::rowNumber() const
{
    return isActive() ? m_result->row : -1;
}

void Query::moveToRow(int row)
{
    requireOpen(isActive());
    if (row < 0 || row >= m_result->rows.size())
        throw EngineError(QStringLiteral("Row %1 is outside the query result, which holds %2 rows")
                              .arg(row)
                              .arg(m_result->rows.size()));
    if (row == m_result->row)
        return;
    m_result->moveTo(row);
    setEdges(false, false);
    emit recordChanged();
}

} // namespace quillio::engine
