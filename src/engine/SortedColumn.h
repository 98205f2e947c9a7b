#pragma once

#include <QString>
#include <QStringList>

namespace quillio::engine {

class Session;

// One text column of a table, every record's value in sorted order, read through a session as
// Table::open reads a table: the alias names the directory, and the session's passwords must open
// a protected file. Made on the session's thread; read() may then run on any thread, with a
// connection of its own.
class SortedColumn
{
public:
    SortedColumn(const Session& session, const QString& alias, const QString& tableName,
                 const QString& field);

    // Raises the engine's error when the file is missing, damaged or protected by another password.
    QStringList read() const;

private:
    QString m_directory;
    QString m_tableName;
    QStringList m_passwords;
    QString m_field;
};

} // namespace quillio::engine
