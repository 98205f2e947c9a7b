#pragma once

#include "engine/FieldDef.h"

#include <QObject>
#include <QVariant>

namespace quillio::engine {

class Session;

enum class DatasetState { Inactive, Browse, Edit, Insert };

// What tables and queries have in common: a current record over a set of rows, moved with
// first / next / prior / last, fields read (and, for tables, written) by name without regard to
// case. Values are QVariant; a null is an invalid QVariant. Blank Char, Numeric, Date and Boolean
// fields read as null; a memo reads as text, empty when blank. Every refusal throws EngineError.
//
// Positioning follows the usual record-navigator rules: an opened dataset stands on its first
// record; first() raises bof(), last() raises eof(); next() past the last record raises eof() and
// stays on the last record; prior() before the first raises bof(). On an empty dataset both are
// raised at once and every field reads as null (a memo as empty text).
class Dataset : public QObject
{
    Q_OBJECT

public:
    explicit Dataset(Session& session, QObject* parent = nullptr);
    ~Dataset() override;

    Session& session() const { return m_session; }

    // The alias whose directory holds the file; set while closed, resolved on open().
    void setDatabaseName(const QString& alias);
    QString databaseName() const { return m_databaseName; }

    virtual void open() = 0;  // nothing when already open
    virtual void close() = 0; // nothing when closed; drops a record being added or edited
    bool isActive() const { return m_state != DatasetState::Inactive; }
    DatasetState state() const { return m_state; }

    virtual void first() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    virtual void last() = 0;
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    virtual bool isEmpty() const = 0;
    virtual int recordCount() const = 0;

    virtual const FieldDefs& fields() const = 0;
    int fieldIndex(const QString& name) const; // -1 when there is no such field
    // Throws EngineError "Field 'name' not found" for an unknown name.
    virtual QVariant fieldValue(const QString& name) const = 0;
    virtual void setFieldValue(const QString& name, const QVariant& value) = 0;

    virtual void append() = 0;
    virtual void edit() = 0;
    virtual void post() = 0;
    virtual void cancel() = 0;
    virtual void remove() = 0; // deletes the current record
    // Whether the record being added or edited holds a change not yet stored.
    virtual bool isModified() const = 0;

signals:
    // The dataset opened, closed, or changed between browsing, editing and inserting.
    void stateChanged();
    // Another record became current, or the current one was reloaded or stored.
    void recordChanged();
    // One field of the current record was written.
    void fieldChanged(const QString& name);

protected:
    void setState(DatasetState state);
    void setEdges(bool bof, bool eof)
    {
        m_bof = bof;
        m_eof = eof;
    }
    void requireClosed() const;

private:
    Session& m_session;
    QString m_databaseName;
    DatasetState m_state = DatasetState::Inactive;
    bool m_bof = true;
    bool m_eof = true;
};

} // namespace quillio::engine
