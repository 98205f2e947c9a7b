#include "CraftedCopy.h"

#include "backup/BackupError.h"
#include "backup/SqliteFileCopy.h"
#include "backup/ZipArchive.h"
#include "engine/SqliteConnection.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <stdexcept>

namespace quillio::test {

namespace {

using backup::BackupManifest;

// What the program would list for a file holding `bytes`: records only when SQLite can read it.
BackupManifest::File truthAbout(const QString& name, const QByteArray& bytes, const QString& year)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("file"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a scratch file");
    file.close();
    try {
        return backup::SqliteFileCopy::describe(path, name, year);
    } catch (const backup::BackupError&) {
        BackupManifest::File listed;
        listed.path = name;
        listed.year = year;
        listed.sha256 = backup::SqliteFileCopy::sha256Of(path);
        listed.size = bytes.size();
        return listed;
    }
}

quint32 readLe32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 readLe16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

void writeLe32(QByteArray& bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

CraftedCopy::CraftedCopy(const QString& goodZip)
{
    const backup::ZipArchive zip(goodZip, backup::ZipArchive::Mode::Read);
    for (const QString& name : zip.entryNames())
        if (name != BackupManifest::fileName)
            m_entries.append({name, zip.read(name, BackupManifest::maximumSize * 64)});
    QString error;
    const std::optional<BackupManifest> manifest =
        BackupManifest::fromJson(zip.read(BackupManifest::fileName, BackupManifest::maximumSize), &error);
    if (!manifest)
        throw std::runtime_error(error.toStdString());
    m_manifest = *manifest;
}

QByteArray CraftedCopy::bytes(const QString& name) const
{
    for (const auto& [entry, content] : m_entries)
        if (entry == name)
            return content;
    return {};
}

void CraftedCopy::putUnlisted(const QString& name, const QByteArray& bytes)
{
    for (auto& [entry, content] : m_entries)
        if (entry == name) {
            content = bytes;
            return;
        }
    m_entries.append({name, bytes});
}

void CraftedCopy::put(const QString& name, const QByteArray& bytes, const QString& year)
{
    putUnlisted(name, bytes);
    const BackupManifest::File listed = truthAbout(name, bytes, year);
    for (BackupManifest::File& file : m_manifest.files)
        if (file.path == name) {
            file = listed;
            return;
        }
    m_manifest.files.append(listed);
}

void CraftedCopy::runSql(const QString& name, const QByteArray& sql)
{
    const BackupManifest::File* listed = m_manifest.find(name);
    const QString year = listed ? listed->year : QString();
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("file"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes(name)) != bytes(name).size())
        throw std::runtime_error("cannot write a scratch file");
    file.close();
    engine::SqliteConnection(path, engine::SqliteConnection::Mode::OpenExisting).exec(sql);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read a scratch file");
    put(name, file.readAll(), year);
}

void CraftedCopy::write(const QString& zipPath) const
{
    backup::ZipArchive zip(zipPath, backup::ZipArchive::Mode::Create);
    for (const auto& [name, content] : m_entries)
        zip.addData(name, content);
    zip.addData(BackupManifest::fileName, m_manifest.toJson());
    zip.commit();
}

void CraftedCopy::declareSize(const QString& zipPath, const QString& name, quint32 size)
{
    QFile file(zipPath);
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot open the zip");
    QByteArray zip = file.readAll();
    // The end of the central directory: its entry count at +10, its offset at +16.
    const qsizetype end = zip.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (end < 0)
        throw std::runtime_error("not a zip");
    qsizetype at = readLe32(zip, end + 16);
    bool found = false;
    for (int entry = 0, count = readLe16(zip, end + 10); entry < count; ++entry) {
        // A central directory record: the uncompressed size at +24, the name's length at +28 and
        // the name at +46, the local header's offset at +42 (whose uncompressed size is at +22).
        const quint16 nameLength = readLe16(zip, at + 28);
        if (zip.mid(at + 46, nameLength) == name.toUtf8()) {
            writeLe32(zip, at + 24, size);
            writeLe32(zip, qsizetype(readLe32(zip, at + 42)) + 22, size);
            found = true;
        }
        at += 46 + nameLength + readLe16(zip, at + 30) + readLe16(zip, at + 32);
    }
    if (!found)
        throw std::runtime_error("no such entry in the zip");
    file.seek(0);
    file.write(zip);
}

} // namespace quillio::test
