#include "engine/TableFile.h"

#include "engine/EngineError.h"
#include "engine/FieldCodec.h"
#include "engine/RecordCursor.h"
#include "engine/SqliteTransaction.h"
#include "engine/TablePassword.h"
#include "engine/TextCollation.h"
#include "engine/TextSortOrder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <sqlite3.h>

namespace quillio::engine {

namespace {

// Stored in the SQLite header, so a foreign database is told apart before anything else is read.
constexpr int ApplicationId = 0x5155494C;
const char* const FormatMark = "quillio-table";
constexpr int FormatVersion = 1;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

const char* typeWord(FieldType type)
{
    switch (type) {
    case FieldType::AutoInc:
        return "AUTOINC";
    case FieldType::Char:
        return "CHAR";
    case FieldType::Numeric:
        return "NUMERIC";
    case FieldType::Date:
        return "DATE";
    case FieldType::Boolean:
        return "BOOLEAN";
    case FieldType::Memo:
        return "MEMO";
    }
    return "";
}

bool typeFromWord(const QString& word, FieldType& type)
{
    for (FieldType candidate : {FieldType::AutoInc, FieldType::Char, FieldType::Numeric, FieldType::Date,
                                FieldType::Boolean, FieldType::Memo}) {
        if (word == QLatin1String(typeWord(candidate))) {
            type = candidate;
            return true;
        }
    }
    return false;
}

QByteArray columnDeclaration(const FieldDef& field)
{
    QByteArray name = SqliteConnection::quoteIdentifier(field.name);
    switch (field.type) {
    case FieldType::AutoInc:
        return name + " INTEGER PRIMARY KEY AUTOINCREMENT";
    case FieldType::Numeric:
        return name + " REAL";
    case FieldType::Boolean:
        return name + " INTEGER";
    case FieldType::Char:
    case FieldType::Date:
    case FieldType::Memo:
        return name + " TEXT";
    }
    return name;
}

const QString StoreAction = QStringLiteral("Cannot store the record in");

// An estimate of the number of records is at most this, whatever the row ids say.
constexpr qint64 MaxEstimatedCount = 1 << 20;
// The page cache of a connection that reads records in scattered order, in KiB.
constexpr int ScatteredReadsCacheKiB = 32 * 1024;

} // namespace

TableFile::TableFile(const QString& path) : m_connection(path, SqliteConnection::Mode::OpenExisting) {}

TableFile::~TableFile() = default;

std::unique_ptr<TableFile> TableFile::open(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw EngineError(QStringLiteral("%1 is a directory, not a table file.").arg(native(path)));
    if (!info.exists())
        throw EngineError(QStringLiteral("The table file %1 does not exist.").arg(native(path)));
    std::unique_ptr<TableFile> file(new TableFile(path));
    file->readDeclarations();
    // Every commit reaches the disk before the call returns: the durability the tables promise.
    file->m_connection.exec("PRAGMA synchronous=FULL", QStringLiteral("Cannot open the table file"));
    TextCollation::install(file->m_connection.handle());
    return file;
}

void TableFile::damaged(const QString& what) const
{
    throw EngineError(QStringLiteral("The table file %1 is damaged: %2.").arg(native(path()), what));
}

void TableFile::readDeclarations()
{
    {
        SqliteStatement id = m_connection.prepare("PRAGMA application_id");
        if (!id.step() || id.columnInt64(0) != ApplicationId)
            throw EngineError(QStringLiteral("The file %1 is not a table file.").arg(native(path())));
    }
    // Everything else is read under one lock, so a writer cannot slip between the reads.
    m_connection.exec("BEGIN");
    try {
        // A trigger would run foreign SQL at every post (one planted in a restored copy could delete
        // stored records), and a view would read as a table: a file carrying either is not ours.
        if (m_connection.carriesTriggersOrViews())
            throw EngineError(QStringLiteral("The table file %1 carries triggers or views, which the program "
                                             "never writes; it is not opened.")
                                  .arg(native(path())));
        QString format;
        int version = 0;
        QString isProtected;
        SqliteStatement meta = m_connection.prepare("SELECT key, value FROM quillio_meta");
        while (meta.step()) {
            const QString key = meta.columnText(0);
            const QString value = meta.columnText(1);
            if (key == QLatin1String("format"))
                format = value;
            else if (key == QLatin1String("version"))
                version = value.toInt();
            else if (key == QLatin1String("protected"))
                isProtected = value;
            else if (key == QLatin1String("salt"))
                m_salt = value;
            else if (key == QLatin1String("verifier"))
                m_verifier = value;
        }
        if (format != QLatin1String(FormatMark))
            throw EngineError(QStringLiteral("The file %1 is not a table file.").arg(native(path())));
        if (version > FormatVersion)
            throw EngineError(
                QStringLiteral("The table file %1 was written by a newer version of the program.")
                    .arg(native(path())));
        m_protected = isProtected == QLatin1String("1");
        if (m_protected && (m_salt.isEmpty() || m_verifier.isEmpty()))
            damaged(QStringLiteral("its protection is incomplete"));

        SqliteStatement columns =
            m_connection.prepare("SELECT name, type, width FROM quillio_columns ORDER BY position");
        while (columns.step()) {
            FieldDef field;
            field.name = columns.columnText(0);
            if (field.name.isEmpty() || !typeFromWord(columns.columnText(1), field.type))
                damaged(QStringLiteral("a column declaration is not valid"));
            field.width = field.type == FieldType::Char ? int(columns.columnInt64(2)) : 0;
            if (field.type == FieldType::Char && field.width < 1)
                damaged(QStringLiteral("column %1 has no width").arg(field.name));
            const QString folded = field.name.toCaseFolded();
            if (m_foldedNames.contains(folded))
                damaged(QStringLiteral("column %1 is declared twice").arg(field.name));
            m_exactNames.insert(field.name, int(m_fields.size()));
            m_foldedNames.insert(folded, int(m_fields.size()));
            m_fields.append(field);
        }
        if (m_fields.isEmpty())
            damaged(QStringLiteral("it declares no columns"));
        QList<int> all;
        for (int i = 0; i < m_fields.size(); ++i)
            all.append(i);
        // Compiling the reading statement proves the records table matches the declarations.
        m_connection.prepare(cursorSql(all, true));
    } catch (...) {
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    // Ends the reading transaction; one left open would keep every other desk from writing.
    m_connection.exec("COMMIT", QStringLiteral("Cannot read the table file"));
}

void TableFile::create(const QString& path, const FieldDefs& columns)
{
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        throw EngineError(
            QStringLiteral("Cannot create the table file %1: a file of that name already exists.")
                .arg(native(path)));
    const QDir directory = target.absoluteDir();
    if (!directory.exists())
        throw EngineError(QStringLiteral("Cannot create the table file %1: the directory %2 does not exist.")
                              .arg(native(path), native(directory.path())));

    // The new file is built under a temporary name beside the target and moved into place only when
    // complete, without replacing a file that appeared meanwhile.
    const QString temporary = directory.filePath(QStringLiteral(".%1.%2.tmp")
                                                     .arg(target.fileName())
                                                     .arg(QRandomGenerator::global()->generate64(), 0, 16));
    const auto cleanUp = [&temporary] {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
    };
    try {
        {
            SqliteConnection connection(temporary, SqliteConnection::Mode::CreateNew, path);
            const QString action = QStringLiteral("Cannot create the table file");
            connection.exec("PRAGMA journal_mode=DELETE", action);
            connection.exec("PRAGMA synchronous=FULL", action);
            connection.exec("BEGIN", action);
            connection.exec("PRAGMA application_id=" + QByteArray::number(ApplicationId), action);
            connection.exec("CREATE TABLE quillio_meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)", action);
            connection.exec("CREATE TABLE quillio_columns (position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                            "type TEXT NOT NULL, width INTEGER NOT NULL)",
                            action);
            QByteArrayList declarations;
            bool hasAutoInc = false;
            for (const FieldDef& field : columns) {
                declarations.append(columnDeclaration(field));
                hasAutoInc = hasAutoInc || field.type == FieldType::AutoInc;
            }
            if (!hasAutoInc)
                declarations.prepend("quillio_rowid INTEGER PRIMARY KEY AUTOINCREMENT");
            declarations.append("quillio_version INTEGER NOT NULL DEFAULT 0");
            connection.exec("CREATE TABLE records (" + declarations.join(", ") + ")", action);
            connection.exec("INSERT INTO quillio_meta (key, value) VALUES ('format', '" +
                                QByteArray(FormatMark) + "'), ('version', '" +
                                QByteArray::number(FormatVersion) + "'), ('protected', '0')",
                            action);
            SqliteStatement insert = connection.prepare(
                "INSERT INTO quillio_columns (position, name, type, width) VALUES (?1, ?2, ?3, ?4)");
            for (int i = 0; i < columns.size(); ++i) {
                insert.bindInt64(1, i);
                insert.bindText(2, columns[i].name);
                insert.bindText(3, QLatin1String(typeWord(columns[i].type)));
                insert.bindInt64(4, columns[i].type == FieldType::Char ? columns[i].width : 0);
                insert.step(action);
                insert.reset();
            }
            connection.exec("COMMIT", action);
        }
        QFile built(temporary);
        if (!built.rename(path)) {
            const QString reason = QFileInfo::exists(path)
                                       ? QStringLiteral("a file of that name already exists")
                                       : built.errorString();
            throw EngineError(
                QStringLiteral("Cannot create the table file %1: %2.").arg(native(path), reason));
        }
    } catch (...) {
        cleanUp();
        throw;
    }
}

int TableFile::fieldIndex(const QString& name) const
{
    const auto exact = m_exactNames.constFind(name);
    if (exact != m_exactNames.constEnd())
        return exact.value();
    return m_foldedNames.value(name.toCaseFolded(), -1);
}

void TableFile::requireAccess(const QStringList& passwords) const
{
    if (!m_protected)
        return;
    for (const QString& password : passwords) {
        if (TablePassword::verifier(m_salt, password) == m_verifier)
            return;
    }
    throw EngineError(QStringLiteral("The table file %1 is protected by a password that is not registered in "
                                     "this session.")
                          .arg(native(path())));
}

void TableFile::protect(const QString& password)
{
    if (password.isEmpty())
        throw EngineError(
            QStringLiteral("Cannot protect the table file %1 with an empty password.").arg(native(path())));
    if (m_protected) {
        if (TablePassword::verifier(m_salt, password) == m_verifier)
            return;
        throw EngineError(QStringLiteral("The table file %1 is already protected with another password.")
                              .arg(native(path())));
    }
    const QString salt = TablePassword::newSalt();
    const QString verifier = TablePassword::verifier(salt, password);
    const QString action = QStringLiteral("Cannot protect the table file");
    beginWrite();
    SqliteTransaction transaction(m_connection, action);
    SqliteStatement set =
        m_connection.prepare("INSERT OR REPLACE INTO quillio_meta (key, value) VALUES (?1, ?2)");
    const std::pair<const char*, QString> marks[] = {
        {"salt", salt}, {"verifier", verifier}, {"protected", QStringLiteral("1")}};
    for (const auto& [key, value] : marks) {
        set.bindText(1, QLatin1String(key));
        set.bindText(2, value);
        set.step(action);
        set.reset();
    }
    transaction.commit();
    m_salt = salt;
    m_verifier = verifier;
    m_protected = true;
}

QByteArray TableFile::cursorSql(const QList<int>& fields, bool forward) const
{
    QByteArray sql = "SELECT rowid, quillio_version";
    for (int field : fields)
        sql += ", " + SqliteConnection::quoteIdentifier(m_fields.at(field).name);
    sql += forward ? " FROM records WHERE rowid >= ?1 ORDER BY rowid"
                   : " FROM records WHERE rowid <= ?1 ORDER BY rowid DESC";
    return sql;
}

void TableFile::beginWrite()
{
    // A statement still holding a read lock would make this connection (or another of this
    // thread) wait for itself when the write lock is taken.
    RecordCursor::releaseAll();
}

qint64 TableFile::insert(const QList<QVariant>& values)
{
    beginWrite();
    if (!m_insert.isValid()) {
        QByteArrayList names;
        QByteArrayList places;
        for (const FieldDef& field : m_fields) {
            if (field.type == FieldType::AutoInc)
                continue;
            names.append(SqliteConnection::quoteIdentifier(field.name));
            places.append("?");
        }
        m_insert = names.isEmpty() ? m_connection.prepare("INSERT INTO records DEFAULT VALUES")
                                   : m_connection.prepare("INSERT INTO records (" + names.join(", ") +
                                                          ") VALUES (" + places.join(", ") + ")");
    }
    SqliteTransaction transaction(m_connection, StoreAction);
    int index = 1;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].type != FieldType::AutoInc)
            FieldCodec::bind(m_insert, index++, m_fields[i].type, values.value(i));
    }
    m_insert.step(StoreAction);
    m_insert.reset();
    const qint64 rowid = m_connection.lastInsertRowid();
    transaction.commit();
    return rowid;
}

void TableFile::update(qint64 rowid, qint64 version, const QList<QVariant>& values)
{
    beginWrite();
    int bound = 0;
    if (!m_update.isValid()) {
        QByteArray sql = "UPDATE records SET ";
        for (const FieldDef& field : m_fields) {
            if (field.type != FieldType::AutoInc)
                sql += SqliteConnection::quoteIdentifier(field.name) + " = ?, ";
        }
        sql += "quillio_version = quillio_version + 1 WHERE rowid = ? AND quillio_version = ?";
        m_update = m_connection.prepare(sql);
    }
    SqliteTransaction transaction(m_connection, StoreAction);
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].type != FieldType::AutoInc)
            FieldCodec::bind(m_update, ++bound, m_fields[i].type, values.value(i));
    }
    m_update.bindInt64(++bound, rowid);
    m_update.bindInt64(++bound, version);
    m_update.step(StoreAction);
    m_update.reset();
    if (m_connection.changes() == 0) {
        SqliteStatement exists = m_connection.prepare("SELECT 1 FROM records WHERE rowid = ?1");
        exists.bindInt64(1, rowid);
        const bool stillThere = exists.step(StoreAction);
        throw EngineError(QStringLiteral("%1 %2: another user %3 the record after it was read.")
                              .arg(StoreAction, native(path()),
                                   stillThere ? QStringLiteral("changed") : QStringLiteral("deleted")));
    }
    transaction.commit();
}

void TableFile::remove(qint64 rowid)
{
    const QString action = QStringLiteral("Cannot delete the record from");
    beginWrite();
    SqliteTransaction transaction(m_connection, action);
    SqliteStatement remove = m_connection.prepare("DELETE FROM records WHERE rowid = ?1");
    remove.bindInt64(1, rowid);
    remove.step(action);
    remove.reset();
    transaction.commit();
}

int TableFile::count()
{
    SqliteStatement count = m_connection.prepare("SELECT count(*) FROM records");
    count.step();
    return int(count.columnInt64(0));
}

bool TableFile::isEmpty()
{
    SqliteStatement any = m_connection.prepare("SELECT EXISTS (SELECT 1 FROM records)");
    any.step();
    return any.columnInt64(0) == 0;
}

QString TableFile::pathIn(const QString& directory, const QString& fileName)
{
    return directory.isEmpty() ? fileName : QDir(directory).filePath(fileName);
}

QList<qint64> TableFile::orderedRowids(int field, bool descending)
{
    if (field >= 0 && isTextField(field)) {
        if (std::optional<QList<qint64>> rowids = textOrderedRowids(field, descending))
            return *rowids;
    }
    return sqlOrderedRowids(field, descending);
}

bool TableFile::isTextField(int field) const
{
    const FieldType type = m_fields.at(field).type;
    return type == FieldType::Char || type == FieldType::Memo;
}

std::optional<QList<qint64>> TableFile::textOrderedRowids(int field, bool descending)
{
    TextSortOrder order(descending);
    if (!readTexts(field, order))
        return std::nullopt;
    return order.rowids();
}

QStringList TableFile::orderedTexts(int field)
{
    if (isTextField(field)) {
        TextSortOrder order(false);
        if (readTexts(field, order))
            return order.texts();
    }
    return sqlOrderedTexts(field);
}

qsizetype TableFile::estimatedCount()
{
    // Two lookups at the ends of the row ids, where a count would walk the whole table.
    SqliteStatement span = m_connection.prepare(
        "SELECT (SELECT max(rowid) FROM records) - (SELECT min(rowid) FROM records) + 1");
    span.step();
    return qsizetype(std::clamp<qint64>(span.columnInt64(0), 0, MaxEstimatedCount));
}

bool TableFile::readTexts(int field, TextSortOrder& order)
{
    order.reserve(estimatedCount());
    const QByteArray column = SqliteConnection::quoteIdentifier(m_fields.at(field).name);
    SqliteStatement select = m_connection.prepare("SELECT rowid, " + column + " FROM records");
    sqlite3_stmt* row = select.handle();
    while (select.step()) {
        const qint64 rowid = sqlite3_column_int64(row, 0);
        // A number or a blob in a text column is left to SQLite's own comparison of mixed values.
        switch (sqlite3_column_type(row, 1)) {
        case SQLITE_NULL:
            order.addMissing(rowid);
            break;
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, 1));
            order.add(rowid, QByteArrayView(text, sqlite3_column_bytes(row, 1)));
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

void TableFile::setProtectionMarks(const ProtectionMarks& marks)
{
    if (marks.salt.isEmpty())
        return;
    const QString action = QStringLiteral("Cannot protect the table file");
    beginWrite();
    SqliteTransaction transaction(m_connection, action);
    SqliteStatement set =
        m_connection.prepare("INSERT OR REPLACE INTO quillio_meta (key, value) VALUES (?1, ?2)");
    const std::pair<const char*, QString> entries[] = {
        {"salt", marks.salt}, {"verifier", marks.verifier}, {"protected", QStringLiteral("1")}};
    for (const auto& [key, value] : entries) {
        set.bindText(1, QLatin1String(key));
        set.bindText(2, value);
        set.step(action);
        set.reset();
    }
    transaction.commit();
    m_salt = marks.salt;
    m_verifier = marks.verifier;
    m_protected = true;
}

qint64 TableFile::nextNumber()
{
    SqliteStatement sequence = m_connection.prepare("SELECT seq FROM sqlite_sequence WHERE name = 'records'");
    return sequence.step() ? sequence.columnInt64(0) + 1 : 1;
}

void TableFile::insertNumbered(const QList<NumberedRecord>& records)
{
    beginWrite();
    QByteArrayList names{"rowid"};
    QByteArrayList places{"?"};
    for (const FieldDef& field : m_fields) {
        if (field.type == FieldType::AutoInc)
            continue;
        names.append(SqliteConnection::quoteIdentifier(field.name));
        places.append("?");
    }
    SqliteStatement insert = m_connection.prepare("INSERT INTO records (" + names.join(", ") + ") VALUES (" +
                                                  places.join(", ") + ")");
    SqliteTransaction transaction(m_connection, StoreAction);
    for (const NumberedRecord& record : records) {
        insert.bindInt64(1, record.rowid);
        int index = 2;
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_fields[i].type != FieldType::AutoInc)
                FieldCodec::bind(insert, index++, m_fields[i].type, record.values.value(i));
        }
        insert.step(StoreAction);
        insert.reset();
    }
    transaction.commit();
}

void TableFile::continueNumbersAt(qint64 next)
{
    if (next <= nextNumber())
        return;
    beginWrite();
    SqliteTransaction transaction(m_connection, StoreAction);
    SqliteStatement set = m_connection.prepare("UPDATE sqlite_sequence SET seq = ?1 WHERE name = 'records'");
    set.bindInt64(1, next - 1);
    set.step(StoreAction);
    if (m_connection.changes() == 0) {
        SqliteStatement add =
            m_connection.prepare("INSERT INTO sqlite_sequence (name, seq) VALUES ('records', ?1)");
        add.bindInt64(1, next - 1);
        add.step(StoreAction);
    }
    transaction.commit();
}

std::unique_ptr<RecordReader> TableFile::reader(QObject* context)
{
    return std::make_unique<RecordCursor>(*this, context);
}

bool TableFile::ordersByRowid(int field) const
{
    return field < 0 || m_fields.at(field).type == FieldType::AutoInc;
}

void TableFile::cacheForScatteredReads(const QList<qint64>& /*order*/)
{
    // Enough for a table of 100,000 customers; the memory is taken only as pages are read.
    m_connection.exec("PRAGMA cache_size = -" + QByteArray::number(ScatteredReadsCacheKiB));
}

QByteArray TableFile::orderTerms(int field, bool descending) const
{
    const QByteArray direction = descending ? " DESC" : "";
    if (ordersByRowid(field))
        return "rowid" + direction;
    const QByteArray column = SqliteConnection::quoteIdentifier(m_fields.at(field).name);
    if (isTextField(field)) {
        // Blanks first, then the alphabetical order of a person's list.
        return "(" + column + " IS NULL OR " + column + " = '') DESC, " + column + " COLLATE " +
               TextCollation::Name + direction + ", rowid";
    }
    return column + direction + ", rowid";
}

QList<qint64> TableFile::sqlOrderedRowids(int field, bool descending)
{
    QList<qint64> rowids;
    SqliteStatement select =
        m_connection.prepare("SELECT rowid FROM records ORDER BY " + orderTerms(field, descending));
    while (select.step())
        rowids.append(select.columnInt64(0));
    return rowids;
}

QStringList TableFile::sqlOrderedTexts(int field)
{
    const QByteArray column = SqliteConnection::quoteIdentifier(m_fields.at(field).name);
    QStringList texts;
    SqliteStatement select =
        m_connection.prepare("SELECT " + column + " FROM records ORDER BY " + orderTerms(field, false));
    // SQLite's text of a number; nothing for a missing value.
    while (select.step())
        texts.append(select.columnText(0));
    return texts;
}

} // namespace quillio::engine
