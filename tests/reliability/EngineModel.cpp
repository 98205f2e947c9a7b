#include "EngineModel.h"

#include <QDate>

namespace quillio::reliability {

namespace {

enum Field { OrdNum, Nome, Importo, Data, Flag, Note };

const QString ClosedText = QStringLiteral("Cannot perform this operation on a closed dataset");
const QString NotEditingText = QStringLiteral("Dataset not in edit or insert mode");
const QString EmptyText = QStringLiteral("Cannot perform this operation on an empty dataset");

QString cutToWidth(QString text, int width)
{
    if (text.size() > width)
        text.truncate(text.at(width - 1).isHighSurrogate() ? width - 1 : width);
    return text;
}

} // namespace

const QStringList& EngineModel::fieldNames()
{
    static const QStringList names{QStringLiteral("OrdNum"),  QStringLiteral("Nome"),
                                   QStringLiteral("Importo"), QStringLiteral("Data"),
                                   QStringLiteral("Flag"),    QStringLiteral("Note")};
    return names;
}

EngineModel::Error EngineModel::requireOpen() const
{
    return m_active ? Error() : Error(ClosedText);
}

// Before moving or adding, a changed pending record is stored and an unchanged one dropped.
EngineModel::Error EngineModel::settle()
{
    if (!isPending())
        return {};
    return m_modified ? post() : cancel();
}

QList<QVariant> EngineModel::blankRecord() const
{
    return QList<QVariant>(fieldNames().size());
}

QVariant EngineModel::converted(int field, const QVariant& value)
{
    if (!value.isValid() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return {};
    if (field == Nome)
        return cutToWidth(value.toString(), NameWidth);
    return value;
}

EngineModel::Error EngineModel::open()
{
    if (m_active)
        return {};
    m_active = true;
    m_state = State::Browse;
    m_position = m_records.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_records.isEmpty();
    return {};
}

EngineModel::Error EngineModel::close()
{
    if (!m_active)
        return {};
    m_active = false;
    m_state = State::Inactive;
    m_buffer.clear();
    m_modified = false;
    m_bof = m_eof = true;
    return {};
}

EngineModel::Error EngineModel::first()
{
    if (Error error = requireOpen(); error)
        return error;
    if (Error error = settle(); error)
        return error;
    m_position = m_records.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_records.isEmpty();
    return {};
}

EngineModel::Error EngineModel::last()
{
    if (Error error = requireOpen(); error)
        return error;
    if (Error error = settle(); error)
        return error;
    m_position = int(m_records.size()) - 1;
    m_bof = m_records.isEmpty();
    m_eof = true;
    return {};
}

EngineModel::Error EngineModel::next()
{
    if (Error error = requireOpen(); error)
        return error;
    if (Error error = settle(); error)
        return error;
    if (m_position >= 0 && m_position + 1 < m_records.size()) {
        ++m_position;
        m_bof = m_eof = false;
    } else {
        m_bof = m_position < 0;
        m_eof = true;
    }
    return {};
}

EngineModel::Error EngineModel::prior()
{
    if (Error error = requireOpen(); error)
        return error;
    if (Error error = settle(); error)
        return error;
    if (m_position > 0) {
        --m_position;
        m_bof = m_eof = false;
    } else {
        m_bof = true;
        m_eof = m_position < 0;
    }
    return {};
}

EngineModel::Error EngineModel::append()
{
    if (Error error = requireOpen(); error)
        return error;
    if (Error error = settle(); error)
        return error;
    m_buffer = blankRecord();
    m_modified = false;
    m_state = State::Insert;
    return {};
}

EngineModel::Error EngineModel::edit()
{
    if (Error error = requireOpen(); error)
        return error;
    if (m_state != State::Browse)
        return {};
    if (m_position < 0)
        return append();
    m_buffer = m_records.at(m_position).values;
    m_editIndex = m_position;
    m_modified = false;
    m_state = State::Edit;
    return {};
}

EngineModel::Error EngineModel::post()
{
    if (!isPending())
        return NotEditingText;
    if (m_state == State::Insert) {
        m_buffer[OrdNum] = m_nextNumber++;
        m_records.append(Record{m_buffer});
        m_position = int(m_records.size()) - 1;
    } else {
        m_records[m_editIndex].values = m_buffer;
        m_position = m_editIndex;
    }
    m_buffer.clear();
    m_modified = false;
    m_bof = m_eof = false;
    m_state = State::Browse;
    return {};
}

EngineModel::Error EngineModel::cancel()
{
    if (!isPending())
        return {};
    m_buffer.clear();
    m_modified = false;
    m_state = State::Browse;
    return {};
}

EngineModel::Error EngineModel::remove()
{
    if (Error error = requireOpen(); error)
        return error;
    if (m_state == State::Insert)
        return cancel();
    cancel();
    if (m_position < 0)
        return EmptyText;
    m_records.removeAt(m_position);
    // The record that followed becomes current, or the new last one.
    if (m_position < m_records.size()) {
        m_bof = m_eof = false;
    } else if (!m_records.isEmpty()) {
        m_position = int(m_records.size()) - 1;
        m_bof = false;
        m_eof = true;
    } else {
        m_position = -1;
        m_bof = m_eof = true;
    }
    return {};
}

EngineModel::Error EngineModel::setField(int field, const QVariant& value)
{
    if (!m_active)
        return QStringLiteral("Field '%1' not found").arg(fieldNames().at(field));
    if (!isPending())
        return NotEditingText;
    if (field == OrdNum)
        return QStringLiteral("Field 'OrdNum' is numbered by the engine and cannot be modified");
    m_buffer[field] = converted(field, value);
    m_modified = true;
    return {};
}

QVariant EngineModel::fieldValue(int field) const
{
    QVariant value;
    if (isPending())
        value = m_buffer.at(field);
    else if (m_active && m_position >= 0)
        value = m_records.at(m_position).values.at(field);
    // A blank memo reads as empty text.
    if (field == Note && !value.isValid())
        return QString();
    return value;
}

} // namespace quillio::reliability
