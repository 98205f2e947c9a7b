#include "business/ExportRegister.h"

#include "business/BusinessFile.h"
#include "engine/EngineError.h"
#include "engine/SqliteStatement.h"
#include "engine/SqliteTransaction.h"

namespace quillio::business {

namespace {

const QString readAction = QStringLiteral("Cannot read the register of electronic invoices in");
const QString writeAction = QStringLiteral("Cannot store in the register of electronic invoices in");
constexpr qint64 progressiveLimit = 36LL * 36 * 36 * 36 * 36;

} // namespace

QString ExportRegister::progressiveText(qint64 sequence)
{
    return QString::number(sequence, 36).toUpper().rightJustified(5, QLatin1Char('0'));
}

std::optional<QString> ExportRegister::currentProgressive(int year, qint64 number)
{
    engine::SqliteStatement read =
        m_file.connection().prepare("SELECT progressive FROM progressives WHERE year = ?1 AND number = ?2 "
                                    "ORDER BY sequence DESC LIMIT 1");
    read.bindInt64(1, year);
    read.bindInt64(2, number);
    if (!read.step(readAction))
        return std::nullopt;
    return read.columnText(0);
}

QString ExportRegister::progressiveFor(int year, qint64 number, bool fresh)
{
    if (!fresh)
        if (std::optional<QString> current = currentProgressive(year, number))
            return *current;
    return assignNew(year, number);
}

QString ExportRegister::assignNew(int year, qint64 number)
{
    engine::SqliteConnection& connection = m_file.connection();
    // The write lock is taken first, so two desks cannot read the same last sequence.
    engine::SqliteTransaction transaction(connection, writeAction);
    engine::SqliteStatement last = connection.prepare("SELECT COALESCE(MAX(sequence), 0) FROM progressives");
    last.step(readAction);
    const qint64 sequence = last.columnInt64(0) + 1;
    last.reset();
    if (sequence >= progressiveLimit)
        throw engine::EngineError(
            QStringLiteral("Every progressive of the electronic invoices has been used."));
    QString progressive = progressiveText(sequence);
    engine::SqliteStatement insert =
        connection.prepare("INSERT INTO progressives (sequence, progressive, year, number, assigned) VALUES "
                           "(?1, ?2, ?3, ?4, ?5)");
    insert.bindInt64(1, sequence);
    insert.bindText(2, progressive);
    insert.bindInt64(3, year);
    insert.bindInt64(4, number);
    insert.bindText(5, QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    insert.step(writeAction);
    transaction.commit();
    return progressive;
}

void ExportRegister::record(const ExportEntry& entry)
{
    engine::SqliteConnection& connection = m_file.connection();
    engine::SqliteTransaction transaction(connection, writeAction);
    engine::SqliteStatement insert = connection.prepare(
        "INSERT INTO exports (year, number, progressive, file_name, exported, sha256, content) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    insert.bindInt64(1, entry.year);
    insert.bindInt64(2, entry.number);
    insert.bindText(3, entry.progressive);
    insert.bindText(4, entry.fileName);
    insert.bindText(5, entry.exported.toUTC().toString(Qt::ISODateWithMs));
    insert.bindText(6, QString::fromLatin1(entry.sha256));
    insert.bindBlob(7, entry.content);
    insert.step(writeAction);
    transaction.commit();
}

QList<ExportEntry> ExportRegister::entries(int year, bool withContent)
{
    engine::SqliteStatement read = m_file.connection().prepare(
        withContent ? "SELECT number, progressive, file_name, exported, sha256, content FROM exports "
                      "WHERE year = ?1 ORDER BY id"
                    : "SELECT number, progressive, file_name, exported, sha256 FROM exports WHERE year = ?1 "
                      "ORDER BY id");
    read.bindInt64(1, year);
    QList<ExportEntry> list;
    while (read.step(readAction))
        list.append({year, read.columnInt64(0), read.columnText(1), read.columnText(2),
                     QDateTime::fromString(read.columnText(3), Qt::ISODateWithMs),
                     read.columnText(4).toLatin1(), withContent ? read.columnBlob(5) : QByteArray()});
    return list;
}

} // namespace quillio::business
