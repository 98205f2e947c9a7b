#include "DirectLibpq.h"

#include "engine/ClientLibrary.h"
#include "engine/ServerAddress.h"

#include <QDate>
#include <QVarLengthArray>
#include <stdexcept>

// Loaded as the program loads it: at the first use of a server.
using quillio::engine::pq;

namespace quillio::bench {

namespace {

// A value as the text the server reads for its column; nothing for null.
std::optional<QByteArray> serverText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Double:
        return QByteArray::number(value.toDouble(), 'g', 17);
    case QMetaType::Bool:
        return QByteArray(value.toBool() ? "t" : "f");
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QByteArray::number(value.toLongLong());
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toLatin1();
    default:
        return value.toString().toUtf8();
    }
}

// The server's notices ("drop cascades to ...") are no figures.
void ignoreNotice(void*, const char*) {}

} // namespace

void DirectLibpq::Clear::operator()(pg_result* result) const
{
    pq().clear(result);
}

DirectLibpq::DirectLibpq(const QString& yearAddress)
{
    const std::optional<engine::ServerAddress> address = engine::ServerAddress::parse(yearAddress);
    if (!address || address->schema().isEmpty())
        throw std::runtime_error("not the address of a year on a server: " + yearAddress.toStdString());
    m_schema = address->schema();
    m_conn = pq().connectdb(address->connectionUri().constData());
    if (pq().status(m_conn) != CONNECTION_OK)
        fail("cannot connect to " + address->shown().toUtf8(), nullptr);
    pq().setNoticeProcessor(m_conn, ignoreNotice, nullptr);
}

DirectLibpq::~DirectLibpq()
{
    pq().finish(m_conn);
}

void DirectLibpq::fail(const QByteArray& what, pg_result* result) const
{
    const QString reason =
        m_conn ? QString::fromUtf8(pq().errorMessage(m_conn)).trimmed() : QStringLiteral("out of memory");
    pq().clear(result);
    throw std::runtime_error(QStringLiteral("%1: %2").arg(QString::fromUtf8(what), reason).toStdString());
}

DirectLibpq::Result DirectLibpq::checked(pg_result* result, const QByteArray& what) const
{
    const ExecStatusType status = result ? pq().resultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(what, result);
    return Result(result);
}

QByteArray DirectLibpq::quoted(const QString& name) const
{
    const QByteArray utf8 = name.toUtf8();
    char* escaped = pq().escapeIdentifier(m_conn, utf8.constData(), size_t(utf8.size()));
    if (!escaped)
        fail("cannot quote " + utf8, nullptr);
    QByteArray text(escaped);
    pq().freemem(escaped);
    return text;
}

QByteArray DirectLibpq::table(const QString& fileName) const
{
    return quoted(m_schema) + '.' + quoted(fileName);
}

DirectLibpq::Result DirectLibpq::exec(const QByteArray& sql)
{
    return checked(pq().exec(m_conn, sql.constData()), sql);
}

void DirectLibpq::prepare(const QByteArray& name, const QByteArray& sql, int parameters)
{
    checked(pq().prepare(m_conn, name.constData(), sql.constData(), parameters, nullptr), sql);
}

DirectLibpq::Result DirectLibpq::execPrepared(const QByteArray& name, const QByteArrayList& values,
                                              const QList<bool>& nulls)
{
    QVarLengthArray<const char*, 64> pointers;
    QVarLengthArray<int, 64> lengths;
    for (qsizetype i = 0; i < values.size(); ++i) {
        pointers.append(nulls.at(i) ? nullptr : values.at(i).constData());
        lengths.append(int(values.at(i).size()));
    }
    return checked(pq().execPrepared(m_conn, name.constData(), int(values.size()), pointers.data(),
                                     lengths.data(), nullptr, 0),
                   "EXECUTE " + name);
}

void DirectLibpq::prepareInsert(const QByteArray& name, const QString& fileName, const SampleRecord& shape)
{
    QByteArrayList names;
    QByteArrayList places;
    for (const auto& field : shape) {
        names.append(quoted(field.first));
        places.append('$' + QByteArray::number(places.size() + 1));
    }
    prepare(name,
            "INSERT INTO " + table(fileName) + " (" + names.join(", ") + ") VALUES (" + places.join(", ") +
                ")",
            int(shape.size()));
}

void DirectLibpq::insert(const QByteArray& name, const SampleRecord& record)
{
    QByteArrayList values;
    QList<bool> nulls;
    for (const auto& field : record) {
        const std::optional<QByteArray> text = serverText(field.second);
        values.append(text.value_or(QByteArray()));
        nulls.append(!text);
    }
    execPrepared(name, values, nulls);
}

} // namespace quillio::bench
