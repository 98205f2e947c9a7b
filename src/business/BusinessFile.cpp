#include "business/BusinessFile.h"

#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/SqliteStatement.h"
#include "engine/SqliteTransaction.h"

#include <QDir>
#include <QJsonDocument>

namespace quillio::business {

BusinessFile::BusinessFile(const QString& dataDirectory)
    : m_path(QDir(dataDirectory).filePath(fileName)), m_connection(std::make_unique<engine::SqliteConnection>(
                                                          m_path, engine::SqliteConnection::Mode::CreateNew))
{
    const QString action = QStringLiteral("Cannot open the company file");
    m_connection->exec("PRAGMA journal_mode=DELETE", action);
    m_connection->exec("PRAGMA synchronous=FULL", action);
    createTables();
}

BusinessFile BusinessFile::inDataDirectory()
{
    return BusinessFile(config::Settings::dataDirectory());
}

void BusinessFile::createTables()
{
    engine::SqliteTransaction transaction(*m_connection, QStringLiteral("Cannot prepare the company file"));
    m_connection->exec("CREATE TABLE IF NOT EXISTS documents (name TEXT PRIMARY KEY, body TEXT NOT NULL)");
    // One row per progressive ever given out, so none is given twice; `exports` has one row per file written.
    m_connection->exec("CREATE TABLE IF NOT EXISTS progressives (sequence INTEGER PRIMARY KEY, "
                       "progressive TEXT NOT NULL UNIQUE, year INTEGER NOT NULL, number INTEGER NOT NULL, "
                       "assigned TEXT NOT NULL)");
    m_connection->exec("CREATE TABLE IF NOT EXISTS exports (id INTEGER PRIMARY KEY, year INTEGER NOT NULL, "
                       "number INTEGER NOT NULL, progressive TEXT NOT NULL, file_name TEXT NOT NULL, "
                       "exported TEXT NOT NULL, sha256 TEXT NOT NULL, content BLOB)");
    transaction.commit();
}

std::optional<QJsonObject> BusinessFile::document(const QString& name)
{
    engine::SqliteStatement read = m_connection->prepare("SELECT body FROM documents WHERE name = ?1");
    read.bindText(1, name);
    if (!read.step(QStringLiteral("Cannot read the company file")))
        return std::nullopt;
    return QJsonDocument::fromJson(read.columnText(0).toUtf8()).object();
}

void BusinessFile::setDocument(const QString& name, const QJsonObject& document)
{
    engine::SqliteTransaction transaction(*m_connection, QStringLiteral("Cannot store in the company file"));
    engine::SqliteStatement write =
        m_connection->prepare("INSERT INTO documents (name, body) VALUES (?1, ?2) "
                              "ON CONFLICT (name) DO UPDATE SET body = excluded.body");
    write.bindText(1, name);
    write.bindText(2, QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Compact)));
    write.step(QStringLiteral("Cannot store in the company file"));
    transaction.commit();
}

} // namespace quillio::business
