#include "backup/BackupManifest.h"

#include "platform/PlainName.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace quillio::backup {

namespace {

QJsonObject fileToJson(const BackupManifest::File& file)
{
    QJsonObject records;
    for (auto it = file.records.cbegin(); it != file.records.cend(); ++it)
        records.insert(it.key(), it.value());
    QJsonObject object{{"path", file.path},
                       {"year", file.year},
                       {"sha256", QString::fromLatin1(file.sha256)},
                       {"size", file.size},
                       {"records", records}};
    if (file.highestOrdNum)
        object.insert(QStringLiteral("highestOrdNum"), *file.highestOrdNum);
    if (file.damaged) {
        object.insert(QStringLiteral("damaged"), true);
        object.insert(QStringLiteral("damage"), file.damage);
    }
    return object;
}

bool isWholeNumber(const QJsonValue& value)
{
    return value.isDouble() && value.toDouble() >= 0 && value.toDouble() <= 9.0e15 &&
           value.toDouble() == double(qint64(value.toDouble()));
}

std::optional<BackupManifest::File> fileFromJson(const QJsonValue& value, QString& error)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    const QJsonObject object = value.toObject();
    BackupManifest::File file;
    file.path = object.value(QStringLiteral("path")).toString();
    file.year = object.value(QStringLiteral("year")).toString();
    file.sha256 = object.value(QStringLiteral("sha256")).toString().toLatin1();
    if (!value.isObject() || !BackupManifest::isSafePath(file.path)) {
        error = QStringLiteral("un file ha un percorso non valido");
        return std::nullopt;
    }
    if (file.year != BackupManifest::yearOf(file.path)) {
        error = QStringLiteral("il file %1 non è dell'anno elencato").arg(file.path);
        return std::nullopt;
    }
    if (!hex.match(QString::fromLatin1(file.sha256)).hasMatch() ||
        !isWholeNumber(object.value(QStringLiteral("size")))) {
        error = QStringLiteral("il file %1 non ha impronta o dimensione valide").arg(file.path);
        return std::nullopt;
    }
    file.size = qint64(object.value(QStringLiteral("size")).toDouble());
    if (file.size > BackupManifest::maximumFileSize) {
        error = QStringLiteral("il file %1 è troppo grande").arg(file.path);
        return std::nullopt;
    }
    const QJsonObject records = object.value(QStringLiteral("records")).toObject();
    for (auto it = records.constBegin(); it != records.constEnd(); ++it) {
        if (!isWholeNumber(it.value())) {
            error = QStringLiteral("il file %1 ha un numero di record non valido").arg(file.path);
            return std::nullopt;
        }
        file.records.insert(it.key(), qint64(it.value().toDouble()));
    }
    const QJsonValue highest = object.value(QStringLiteral("highestOrdNum"));
    if (!highest.isUndefined()) {
        if (!isWholeNumber(highest)) {
            error = QStringLiteral("il file %1 ha un numero d'ordine non valido").arg(file.path);
            return std::nullopt;
        }
        file.highestOrdNum = qint64(highest.toDouble());
    }
    const QJsonValue damaged = object.value(QStringLiteral("damaged"));
    if (!damaged.isUndefined() && !damaged.isBool()) {
        error = QStringLiteral("il file %1 ha un segno di danno non valido").arg(file.path);
        return std::nullopt;
    }
    file.damaged = damaged.toBool();
    if (file.damaged)
        file.damage = object.value(QStringLiteral("damage")).toString();
    return file;
}

std::optional<QStringList> missingFromJson(const QJsonValue& value)
{
    QStringList missing;
    if (value.isUndefined())
        return missing;
    if (!value.isArray())
        return std::nullopt;
    for (const QJsonValue& name : value.toArray()) {
        if (!BackupManifest::isSafePath(name.toString()))
            return std::nullopt;
        missing.append(name.toString());
    }
    return missing;
}

} // namespace

QStringList BackupManifest::years() const
{
    QStringList years;
    for (const File& file : files)
        if (!file.year.isEmpty() && !years.contains(file.year))
            years.append(file.year);
    years.sort();
    return years;
}

const BackupManifest::File* BackupManifest::find(const QString& path) const
{
    for (const File& file : files)
        if (file.path == path)
            return &file;
    return nullptr;
}

qint64 BackupManifest::recordsOf(const QString& path) const
{
    const File* file = find(path);
    if (!file)
        return 0;
    // A table file's records are in its `records` table; the others hold its declarations.
    if (!file->year.isEmpty())
        return file->records.value(QStringLiteral("records"));
    qint64 total = 0;
    for (qint64 count : file->records)
        total += count;
    return total;
}

QStringList BackupManifest::warnings() const
{
    QStringList lines;
    for (const File& file : files)
        if (file.damaged)
            lines.append(QStringLiteral("%1 è danneggiato (%2): è nella copia così com'era, ma non si può "
                                        "ripristinare")
                             .arg(file.path, file.damage));
    for (const QString& path : missing)
        lines.append(QStringLiteral("%1 manca nell'archivio").arg(path));
    return lines;
}

QString BackupManifest::asMessage(const QStringList& warnings)
{
    if (warnings.isEmpty())
        return {};
    return QStringLiteral("\n\nAttenzione:\n- ") + warnings.join(QStringLiteral("\n- "));
}

QByteArray BackupManifest::toJson() const
{
    QJsonArray list;
    for (const File& file : files)
        list.append(fileToJson(file));
    QJsonObject root{{"format", "quillio-backup"},
                     {"version", formatVersion},
                     {"created", created.toString(Qt::ISODate)},
                     {"program", programVersion},
                     {"years", QJsonArray::fromStringList(years())},
                     {"files", list}};
    if (!missing.isEmpty())
        root.insert(QStringLiteral("missing"), QJsonArray::fromStringList(missing));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<BackupManifest> BackupManifest::fromJson(const QByteArray& json, QString* error)
{
    QString reason;
    const auto refuse = [&](const QString& why) -> std::optional<BackupManifest> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject())
        return refuse(QStringLiteral("l'elenco del contenuto non è leggibile"));
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String("quillio-backup"))
        return refuse(QStringLiteral("non è una copia di sicurezza di Quillio"));
    if (root.value(QStringLiteral("version")).toInt() != formatVersion)
        return refuse(QStringLiteral("la copia è stata scritta da una versione diversa del programma"));
    BackupManifest manifest;
    manifest.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);
    manifest.programVersion = root.value(QStringLiteral("program")).toString();
    if (!manifest.created.isValid())
        return refuse(QStringLiteral("la data della copia non è valida"));
    qint64 total = 0;
    for (const auto& value : root.value(QStringLiteral("files")).toArray()) {
        std::optional<File> file = fileFromJson(value, reason);
        if (!file)
            return refuse(reason);
        if (manifest.find(file->path))
            return refuse(QStringLiteral("il file %1 è elencato due volte").arg(file->path));
        total += file->size;
        if (total > maximumTotalSize)
            return refuse(QStringLiteral("i file della copia sono troppo grandi"));
        manifest.files.append(*file);
    }
    const std::optional<QStringList> missing = missingFromJson(root.value(QStringLiteral("missing")));
    if (!missing)
        return refuse(QStringLiteral("l'elenco dei file mancanti non è valido"));
    manifest.missing = *missing;
    return manifest;
}

bool BackupManifest::isSafePath(const QString& path)
{
    const QStringList parts = path.split(u'/');
    if (parts.size() == 1)
        return PlainName::isSegment(parts[0]);
    return parts.size() == 2 && PlainName::isYear(parts[0]) && PlainName::isSegment(parts[1]);
}

QString BackupManifest::yearOf(const QString& path)
{
    const qsizetype slash = path.indexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

} // namespace quillio::backup
