#include "LentArchive.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace quillio::bench {

namespace {

const QStringList TableFiles = {GeneratedArchive::Customers, GeneratedArchive::Drafts,
                                GeneratedArchive::Invoices};

} // namespace

LentArchive::LentArchive(const GeneratedArchive& archive, const QString& programDirectory)
    : m_from(archive.directory), m_to(QDir(programDirectory).filePath(WorkingYear))
{
    if (!QDir().mkpath(m_to))
        throw std::runtime_error("cannot create " + m_to.toStdString());
    for (const QString& file : TableFiles) {
        if (!QFile::rename(QDir(m_from).filePath(file), QDir(m_to).filePath(file)))
            throw std::runtime_error(QStringLiteral("cannot move %1 to %2").arg(file, m_to).toStdString());
    }
}

LentArchive::~LentArchive()
{
    for (const QString& file : TableFiles)
        QFile::rename(QDir(m_to).filePath(file), QDir(m_from).filePath(file));
}

} // namespace quillio::bench
