#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace quillio::reliability {

// What the engine's table promises, kept in memory: the stored records in file order, the current
// record, the state and the pending record. Each operation returns the refusal it must raise, if
// any. The table it stands for has the columns of sampleColumns() (OrdNum, Nome CHAR(10), Importo,
// Data, Flag, Note).
class EngineModel
{
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Error = std::optional<QString>;

    static const QStringList& fieldNames();
    static constexpr int NameWidth = 10;

    Error open();
    Error close();
    Error first();
    Error next();
    Error prior();
    Error last();
    Error append();
    Error edit();
    Error post();
    Error cancel();
    Error remove();
    Error setField(int field, const QVariant& value);

    State state() const { return m_state; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isModified() const { return isPending() && m_modified; }
    int recordCount() const { return m_active ? int(m_records.size()) : 0; }
    // The value a read of the field must give (null as an invalid QVariant).
    QVariant fieldValue(int field) const;

private:
    struct Record
    {
        QList<QVariant> values; // one per field, OrdNum first
    };

    bool isPending() const { return m_state == State::Edit || m_state == State::Insert; }
    Error requireOpen() const;
    Error settle();
    QList<QVariant> blankRecord() const;
    static QVariant converted(int field, const QVariant& value);

    QList<Record> m_records;
    qint64 m_nextNumber = 1;
    bool m_active = false;
    State m_state = State::Inactive;
    int m_position = -1; // index of the current record, -1 for none
    bool m_bof = true;
    bool m_eof = true;
    QList<QVariant> m_buffer;
    bool m_modified = false;
    int m_editIndex = -1;
};

} // namespace quillio::reliability
