#include "backup/BackupPreferences.h"

#include "business/BusinessFile.h"
#include "engine/EngineError.h"

#include <QDir>

namespace quillio::backup {

namespace {

const QString documentName = QStringLiteral("backup");

} // namespace

QString BackupPreferences::value(const QString& name)
{
    return m_file.document(documentName).value_or(QJsonObject()).value(name).toString();
}

void BackupPreferences::setValue(const QString& name, const QString& value)
{
    QJsonObject document = m_file.document(documentName).value_or(QJsonObject());
    document.insert(name, value);
    m_file.setDocument(documentName, document);
}

QString BackupPreferences::defaultFolder(const QString& dataDirectory)
{
    return QDir::toNativeSeparators(QDir(dataDirectory).filePath(QStringLiteral("Backup")));
}

QString BackupPreferences::folder(const QString& dataDirectory)
{
    const QString chosen = value(QStringLiteral("folder"));
    return chosen.isEmpty() ? defaultFolder(dataDirectory) : chosen;
}

void BackupPreferences::setFolder(const QString& folder)
{
    setValue(QStringLiteral("folder"), folder);
}

QDate BackupPreferences::lastAutomaticCopy()
{
    return QDate::fromString(value(QStringLiteral("lastAutomaticCopy")), Qt::ISODate);
}

void BackupPreferences::setLastAutomaticCopy(const QDate& day)
{
    setValue(QStringLiteral("lastAutomaticCopy"), day.toString(Qt::ISODate));
}

QString BackupPreferences::pendingFailure()
{
    return value(QStringLiteral("pendingFailure"));
}

void BackupPreferences::setPendingFailure(const QString& text)
{
    setValue(QStringLiteral("pendingFailure"), text);
}

QString BackupPreferences::folderForRestore(const QString& dataDirectory)
{
    const QString chosen = held(dataDirectory).value(QStringLiteral("folder")).toString();
    return chosen.isEmpty() ? defaultFolder(dataDirectory) : chosen;
}

QJsonObject BackupPreferences::held(const QString& dataDirectory)
{
    if (!business::BusinessFile::existsIn(dataDirectory))
        return {};
    try {
        business::BusinessFile file(dataDirectory);
        return file.document(documentName).value_or(QJsonObject());
    } catch (const engine::EngineError&) {
        // A damaged company file holds no preferences worth keeping; the restore replaces it.
        return {};
    }
}

QString BackupPreferences::keepAcrossRestore(const QString& restoredDirectory, const QString& dataDirectory,
                                             const QJsonObject& held)
{
    if (!business::BusinessFile::existsIn(restoredDirectory))
        return {};
    business::BusinessFile restored(restoredDirectory);
    const std::optional<QJsonObject> copys = restored.document(documentName);
    if (copys.value_or(QJsonObject()) == held)
        return {};
    const QString named = BackupPreferences(restored).value(QStringLiteral("folder"));
    restored.setDocument(documentName, held);
    const QString own = BackupPreferences(restored).folder(dataDirectory);
    if (named.isEmpty() || QDir::cleanPath(QDir::fromNativeSeparators(named)) ==
                               QDir::cleanPath(QDir::fromNativeSeparators(own)))
        return {};
    return named;
}

} // namespace quillio::backup
