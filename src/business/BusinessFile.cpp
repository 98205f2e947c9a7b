#include "business/BusinessFile.h"

#include "business/FileBusinessStorage.h"
#include "business/ServerBusinessStorage.h"
#include "config/Settings.h"
#include "engine/DataPlace.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace quillio::business {

namespace {

std::unique_ptr<BusinessStorage> storageOf(const QString& dataDirectory)
{
    if (engine::DataPlace::isServerAddress(dataDirectory))
        return std::make_unique<ServerBusinessStorage>(dataDirectory);
    return std::make_unique<FileBusinessStorage>(QDir(dataDirectory).filePath(BusinessFile::fileName));
}

} // namespace

BusinessFile::BusinessFile(const QString& dataDirectory) : m_storage(storageOf(dataDirectory)) {}

BusinessFile BusinessFile::inDataDirectory()
{
    return BusinessFile(config::Settings::dataDirectory());
}

bool BusinessFile::existsIn(const QString& dataDirectory)
{
    return engine::DataPlace::isServerAddress(dataDirectory) ||
           QFileInfo::exists(QDir(dataDirectory).filePath(fileName));
}

std::optional<QJsonObject> BusinessFile::document(const QString& name)
{
    const std::optional<QString> body = m_storage->document(name);
    if (!body)
        return std::nullopt;
    return QJsonDocument::fromJson(body->toUtf8()).object();
}

void BusinessFile::setDocument(const QString& name, const QJsonObject& document)
{
    m_storage->setDocument(name, QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Compact)));
}

} // namespace quillio::business
