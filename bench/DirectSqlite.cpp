#include "DirectSqlite.h"

#include <QDate>
#include <QFile>
#include <stdexcept>

namespace quillio::bench {

namespace {

void bindValue(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Double:
        sqlite3_bind_double(statement, index, value.toDouble());
        break;
    case QMetaType::Bool:
        sqlite3_bind_int64(statement, index, value.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        sqlite3_bind_int64(statement, index, value.toLongLong());
        break;
    case QMetaType::QDate: {
        const QByteArray text = value.toDate().toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

} // namespace

DirectSqlite::DirectSqlite(const QString& path) : m_path(path)
{
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        fail("cannot open");
    exec("PRAGMA journal_mode=DELETE");
    exec("PRAGMA synchronous=FULL");
}

DirectSqlite::~DirectSqlite()
{
    sqlite3_close_v2(m_db);
}

void DirectSqlite::fail(const char* what) const
{
    const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    throw std::runtime_error(
        QStringLiteral("%1 %2: %3").arg(QLatin1String(what), m_path, reason).toStdString());
}

void DirectSqlite::exec(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

DirectSqlite::Statement DirectSqlite::prepare(const QByteArray& sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
        fail(sql.constData());
    return Statement(statement);
}

DirectSqlite::Statement DirectSqlite::prepareInsert(const SampleRecord& shape)
{
    QByteArrayList names;
    QByteArrayList places;
    for (const auto& field : shape) {
        names.append('"' + field.first.toUtf8() + '"');
        places.append("?");
    }
    return prepare("INSERT INTO records (" + names.join(", ") + ") VALUES (" + places.join(", ") + ")");
}

void DirectSqlite::insert(sqlite3_stmt* statement, const SampleRecord& record)
{
    for (int i = 0; i < record.size(); ++i)
        bindValue(statement, i + 1, record.at(i).second);
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        fail("cannot insert into");
}

} // namespace quillio::bench
