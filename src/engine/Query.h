#pragma once

#include "engine/Dataset.h"

#include <QStringList>
#include <memory>

namespace quillio::engine {

// A statement of the local SQL, run against the files of its session's alias. The language is
// small: CREATE TABLE "file" ( column TYPE, ... ) with the types AUTOINC, CHAR(n), NUMERIC, DATE,
// Boolean and BLOB(1,1), executed by execSql(); and SELECT * FROM file [ORDER BY column [ASC|DESC]],
// opened by open() as a read-only result whose rows come in the statement's order. Anything else is
// an EngineError that names the statement. Text columns sort as an alphabetical list does: without
// regard to case, accented letters beside their base letter, blanks first. CREATE TABLE on a file
// that exists fails and leaves the file untouched.
class Query : public Dataset
{
    Q_OBJECT

public:
    explicit Query(Session& session, QObject* parent = nullptr);
    ~Query() override;

    // The statement, as lines joined with a blank; changed only while closed.
    void clearSql();
    void addSql(const QString& line);
    const QStringList& sql() const { return m_sql; }

    // Runs a statement that returns no rows.
    void execSql();

    void open() override;
    void close() override;
    void first() override;
    void next() override;
    void prior() override;
    void last() override;
    bool isEmpty() const override;
    int recordCount() const override;
    const FieldDefs& fields() const override;
    QVariant fieldValue(const QString& name) const override;
    // A query's rows are read-only: each of these fails with an EngineError.
    void setFieldValue(const QString& name, const QVariant& value) override;
    void append() override;
    void edit() override;
    void post() override;
    void cancel() override;
    void remove() override;
    bool isModified() const override { return false; }

    // The current row's number within the result (0-based), and positioning on a row; for grids.
    int rowNumber() const;
    void moveToRow(int row);

private:
    QStringList m_sql;
    struct Result;
    std::unique_ptr<Result> m_result;
};

} // namespace quillio::engine
