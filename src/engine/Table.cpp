#include "engine/Table.h"

#include "engine/EngineError.h"
#include "engine/FieldCodec.h"
#include "engine/RecordReader.h"
#include "engine/Session.h"
#include "engine/TableStorage.h"
#include "engine/Values.h"

#include <QDir>

namespace quillio::engine {

// The reading position and the record being added or edited.
struct Table::Cursor
{
    Cursor(TableStorage& file, QObject* context) : reader(file.reader(context)) {}

    std::unique_ptr<RecordReader> reader;
    QList<QVariant> buffer; // every field of the pending record
    bool modified = false;
    qint64 editRowid = 0;
    qint64 editVersion = 0;
};

namespace {

const FieldDefs& noFields()
{
    static const FieldDefs none;
    return none;
}

[[noreturn]] void notEditing()
{
    throw EngineError(QStringLiteral("Dataset not in edit or insert mode"));
}

} // namespace

Table::Table(Session& session, QObject* parent) : Dataset(session, parent) {}

Table::~Table()
{
    close();
}

void Table::setTableName(const QString& fileName)
{
    requireClosed();
    m_tableName = fileName;
}

QString Table::filePath() const
{
    if (m_file)
        return m_file->path();
    try {
        return TableStorage::locationOf(
            databaseName().isEmpty() ? QString() : session().aliasPath(databaseName()), m_tableName);
    } catch (const EngineError&) {
        return {};
    }
}

void Table::open()
{
    if (isActive())
        return;
    if (m_tableName.isEmpty())
        throw EngineError(QStringLiteral("Cannot open a table that has no table name"));
    const QString directory = databaseName().isEmpty() ? QString() : session().aliasPath(databaseName());
    if (!session().isActive())
        session().activate();
    std::unique_ptr<TableStorage> file = TableStorage::open(directory, m_tableName, &session());
    file->requireAccess(session().passwords());
    m_cursor = std::make_unique<Cursor>(*file, this);
    m_file = std::move(file);
    const bool any = m_cursor->reader->first();
    setEdges(true, !any);
    setState(DatasetState::Browse);
    emit recordChanged();
}

void Table::close()
{
    if (!isActive())
        return;
    m_cursor.reset();
    m_file.reset();
    setEdges(true, true);
    setState(DatasetState::Inactive);
}

namespace {

void requireOpen(bool active)
{
    if (!active)
        throw EngineError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

// Before moving or adding: a pending record is stored when changed and dropped when not.
void settlePending(Table& table)
{
    if (table.state() != DatasetState::Edit && table.state() != DatasetState::Insert)
        return;
    if (table.isModified())
        table.post();
    else
        table.cancel();
}

} // namespace

void Table::first()
{
    requireOpen(isActive());
    settlePending(*this);
    const bool any = m_cursor->reader->first();
    setEdges(true, !any);
    emit recordChanged();
}

void Table::next()
{
    requireOpen(isActive());
    settlePending(*this);
    RecordReader& reader = *m_cursor->reader;
    if (reader.next())
        setEdges(false, false);
    else
        setEdges(!reader.hasPosition(), true);
    emit recordChanged();
}

void Table::prior()
{
    requireOpen(isActive());
    settlePending(*this);
    RecordReader& reader = *m_cursor->reader;
    if (reader.prior())
        setEdges(false, false);
    else
        setEdges(true, !reader.hasPosition());
    emit recordChanged();
}

void Table::last()
{
    requireOpen(isActive());
    settlePending(*this);
    const bool any = m_cursor->reader->last();
    setEdges(!any, true);
    emit recordChanged();
}

bool Table::scanFromFirst(const std::function<bool()>& found)
{
    RecordReader& reader = *m_cursor->reader;
    bool any = reader.first();
    setEdges(true, !any);
    while (any) {
        if (found())
            return true;
        any = reader.next();
        setEdges(!any && !reader.hasPosition(), !any);
    }
    return false;
}

bool Table::locate(const QString& field, const QVariant& value)
{
    requireOpen(isActive());
    settlePending(*this);
    const int index = m_file->fieldIndex(field);
    if (index < 0)
        throw EngineError(QStringLiteral("Field '%1' not found").arg(field));
    RecordReader& reader = *m_cursor->reader;
    const bool hadPosition = reader.hasPosition();
    const qint64 before = reader.position();
    bool found = scanFromFirst([&] { return Values::equal(reader.value(index), value); });
    if (!found && hadPosition)
        scanFromFirst([&] { return reader.position() == before; });
    emit recordChanged();
    return found;
}

bool Table::isEmpty() const
{
    return !isActive() || m_file->isEmpty();
}

int Table::recordCount() const
{
    return isActive() ? m_file->count() : 0;
}

const FieldDefs& Table::fields() const
{
    return m_file ? m_file->fields() : noFields();
}

QVariant Table::fieldValue(const QString& name) const
{
    const int index = m_file ? m_file->fieldIndex(name) : -1;
    if (index < 0)
        throw EngineError(QStringLiteral("Field '%1' not found").arg(name));
    if (state() == DatasetState::Edit || state() == DatasetState::Insert) {
        const QVariant& value = m_cursor->buffer.at(index);
        return value.isValid() ? value : FieldCodec::blank(m_file->fields().at(index).type);
    }
    return m_cursor->reader->value(index);
}

void Table::setFieldValue(const QString& name, const QVariant& value)
{
    const int index = m_file ? m_file->fieldIndex(name) : -1;
    if (index < 0)
        throw EngineError(QStringLiteral("Field '%1' not found").arg(name));
    if (state() != DatasetState::Edit && state() != DatasetState::Insert)
        notEditing();
    const FieldDef& field = m_file->fields().at(index);
    if (field.type == FieldType::AutoInc)
        throw EngineError(
            QStringLiteral("Field '%1' is numbered by the engine and cannot be modified").arg(field.name));
    m_cursor->buffer[index] = FieldCodec::convert(field, value);
    m_cursor->modified = true;
    emit fieldChanged(field.name);
}

void Table::append()
{
    requireOpen(isActive());
    settlePending(*this);
    m_cursor->buffer = QList<QVariant>(m_file->fields().size());
    m_cursor->modified = false;
    setState(DatasetState::Insert);
    emit recordChanged();
}

void Table::edit()
{
    requireOpen(isActive());
    if (state() != DatasetState::Browse)
        return;
    RecordReader& reader = *m_cursor->reader;
    if (!reader.hasPosition() || m_file->isEmpty()) {
        append();
        return;
    }
    if (!reader.isRecordThere()) {
        // Another user deleted the record: show where the table now stands, then refuse.
        reader.setPosition(reader.position(), false);
        const bool any = reader.load();
        setEdges(!any, !any);
        emit recordChanged();
        throw EngineError(QStringLiteral("Cannot edit the record of %1: another user deleted it.")
                              .arg(QDir::toNativeSeparators(m_file->path())));
    }
    m_cursor->buffer = reader.values();
    m_cursor->editRowid = reader.position();
    m_cursor->editVersion = reader.version();
    m_cursor->modified = false;
    setState(DatasetState::Edit);
    emit recordChanged();
}

void Table::post()
{
    if (state() != DatasetState::Edit && state() != DatasetState::Insert)
        notEditing();
    Cursor& cursor = *m_cursor;
    if (state() == DatasetState::Insert) {
        const qint64 rowid = m_file->insert(cursor.buffer);
        cursor.reader->setPosition(rowid, false);
    } else {
        m_file->update(cursor.editRowid, cursor.editVersion, cursor.buffer);
        cursor.reader->setPosition(cursor.editRowid, false);
    }
    cursor.buffer.clear();
    cursor.modified = false;
    setEdges(false, false);
    setState(DatasetState::Browse);
    emit recordChanged();
}

void Table::cancel()
{
    if (state() != DatasetState::Edit && state() != DatasetState::Insert)
        return;
    m_cursor->buffer.clear();
    m_cursor->modified = false;
    setState(DatasetState::Browse);
    emit recordChanged();
}

void Table::remove()
{
    requireOpen(isActive());
    if (state() == DatasetState::Insert) {
        cancel();
        return;
    }
    if (state() == DatasetState::Edit) {
        m_cursor->buffer.clear();
        m_cursor->modified = false;
        setState(DatasetState::Browse);
    }
    RecordReader& reader = *m_cursor->reader;
    if (!reader.hasPosition())
        throw EngineError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    const qint64 removed = reader.position();
    m_file->remove(removed);
    reader.setPosition(removed, false);
    if (reader.next())
        setEdges(false, false);
    else if (reader.last())
        setEdges(false, true);
    else
        setEdges(true, true);
    emit recordChanged();
}

bool Table::isModified() const
{
    return m_cursor && state() != DatasetState::Browse && m_cursor->modified;
}

} // namespace quillio::engine
