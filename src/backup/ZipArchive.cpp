#include "backup/ZipArchive.h"

#include "backup/BackupError.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <limits>
#include <memory>
#include <zip.h>

namespace quillio::backup {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// libzip's reason in the person's words; its own English text only for the rare codes left.
QString reasonOf(const zip_error_t* error)
{
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_NOENT:
        return QStringLiteral("il file non esiste");
    case ZIP_ER_EXISTS:
        return QStringLiteral("esiste già un file con quel nome");
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
        return QStringLiteral("il file non si può leggere");
    case ZIP_ER_WRITE:
    case ZIP_ER_TMPOPEN:
    case ZIP_ER_RENAME:
    case ZIP_ER_CLOSE:
        return QStringLiteral("il file non si può scrivere: la cartella è protetta o il disco è pieno");
    case ZIP_ER_NOZIP:
        return QStringLiteral("non è un archivio zip");
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_EOF:
        return QStringLiteral("l'archivio zip è danneggiato o incompleto");
    case ZIP_ER_MEMORY:
        return QStringLiteral("la memoria non basta");
    default: {
        zip_error_t copy;
        zip_error_init_with_code(&copy, zip_error_code_zip(error));
        QString text = QString::fromUtf8(zip_error_strerror(&copy));
        zip_error_fini(&copy);
        return text;
    }
    }
}

QString libzipText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString text = reasonOf(&error);
    zip_error_fini(&error);
    return text;
}

struct ZipFileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFile = std::unique_ptr<zip_file_t, ZipFileCloser>;

constexpr qint64 ChunkSize = 1 << 16;

} // namespace

ZipArchive::ZipArchive(const QString& path, Mode mode) : m_path(path), m_mode(mode)
{
    const int flags = mode == Mode::Create ? ZIP_CREATE | ZIP_TRUNCATE : ZIP_RDONLY | ZIP_CHECKCONS;
    int code = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), flags, &code);
    if (!m_zip)
        throw BackupError(QStringLiteral("Impossibile aprire %1 come archivio zip: %2.")
                              .arg(native(path), libzipText(code)));
}

ZipArchive::~ZipArchive()
{
    // Discarding writes nothing, so an archive that was not committed never appears half-written.
    if (m_zip)
        zip_discard(m_zip);
}

void ZipArchive::fail(const QString& what) const
{
    // libzip's own reason, in parentheses, only when libzip failed: a missing entry or a size we
    // refuse is our finding, and "(No error)" after it would only confuse.
    zip_error_t* error = m_zip ? zip_get_error(m_zip) : nullptr;
    if (!error || zip_error_code_zip(error) == ZIP_ER_OK)
        throw BackupError(QStringLiteral("Archivio zip %1: %2.").arg(native(m_path), what));
    throw BackupError(QStringLiteral("Archivio zip %1: %2 (%3).").arg(native(m_path), what, reasonOf(error)));
}

void ZipArchive::addFile(const QString& nameInZip, const QString& sourcePath)
{
    zip_source_t* source = zip_source_file(m_zip, QFile::encodeName(sourcePath).constData(), 0, -1);
    if (!source)
        fail(QStringLiteral("impossibile leggere %1").arg(native(sourcePath)));
    if (zip_file_add(m_zip, nameInZip.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) <
        0) {
        zip_source_free(source);
        fail(QStringLiteral("impossibile aggiungere %1").arg(nameInZip));
    }
}

void ZipArchive::addData(const QString& nameInZip, const QByteArray& data)
{
    m_buffers.append(data);
    const QByteArray& kept = m_buffers.last();
    zip_source_t* source = zip_source_buffer(m_zip, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!source)
        fail(QStringLiteral("impossibile preparare %1").arg(nameInZip));
    if (zip_file_add(m_zip, nameInZip.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) <
        0) {
        zip_source_free(source);
        fail(QStringLiteral("impossibile aggiungere %1").arg(nameInZip));
    }
}

void ZipArchive::commit()
{
    if (zip_close(m_zip) != 0)
        fail(QStringLiteral("impossibile scrivere l'archivio"));
    m_zip = nullptr;
    m_buffers.clear();
}

QStringList ZipArchive::entryNames() const
{
    QStringList names;
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(m_zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            names.append(QString::fromUtf8(name));
    return names;
}

qint64 ZipArchive::indexOf(const QString& nameInZip) const
{
    return zip_name_locate(m_zip, nameInZip.toUtf8().constData(), ZIP_FL_ENC_GUESS);
}

bool ZipArchive::contains(const QString& nameInZip) const
{
    return indexOf(nameInZip) >= 0;
}

std::pair<qint64, qint64> ZipArchive::locate(const QString& nameInZip, qint64 maximumSize) const
{
    const qint64 index = indexOf(nameInZip);
    if (index < 0)
        fail(QStringLiteral("manca il file %1").arg(nameInZip));
    zip_stat_t stat;
    if (zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        fail(QStringLiteral("impossibile leggere %1").arg(nameInZip));
    if (stat.size > zip_uint64_t(maximumSize))
        fail(QStringLiteral("il file %1 è troppo grande").arg(nameInZip));
    return {index, qint64(stat.size)};
}

qint64 ZipArchive::declaredSize(const QString& nameInZip) const
{
    return locate(nameInZip, std::numeric_limits<qint64>::max()).second;
}

QByteArray ZipArchive::read(const QString& nameInZip, qint64 maximumSize) const
{
    const auto [index, size] = locate(nameInZip, maximumSize);
    const ZipFile file(zip_fopen_index(m_zip, zip_uint64_t(index), 0));
    if (!file)
        fail(QStringLiteral("impossibile leggere %1").arg(nameInZip));
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const zip_int64_t got = zip_fread(file.get(), bytes.data() + done, zip_uint64_t(bytes.size() - done));
        if (got <= 0)
            fail(QStringLiteral("il file %1 è danneggiato").arg(nameInZip));
        done += got;
    }
    // The checksum is compared when the end of the entry is read.
    char probe;
    if (zip_fread(file.get(), &probe, 1) != 0)
        fail(QStringLiteral("il file %1 è danneggiato").arg(nameInZip));
    return bytes;
}

void ZipArchive::extract(const QString& nameInZip, const QString& targetPath, qint64 maximumSize) const
{
    const auto [index, size] = locate(nameInZip, maximumSize);
    const ZipFile file(zip_fopen_index(m_zip, zip_uint64_t(index), 0));
    if (!file)
        fail(QStringLiteral("impossibile leggere %1").arg(nameInZip));
    QFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw BackupError(
            QStringLiteral("Impossibile scrivere %1: %2.").arg(native(targetPath), target.errorString()));
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    // Reads never ask for more than the declared size is still owed, so a zip that lies about it
    // (a small file inflating to gigabytes) cannot fill the disk.
    for (qint64 left = size; left > 0;) {
        const zip_int64_t got = zip_fread(file.get(), chunk.data(), zip_uint64_t(std::min(left, ChunkSize)));
        if (got <= 0)
            fail(QStringLiteral("il file %1 è danneggiato").arg(nameInZip));
        if (target.write(chunk.constData(), got) != got)
            throw BackupError(
                QStringLiteral("Impossibile scrivere %1: %2.").arg(native(targetPath), target.errorString()));
        left -= got;
    }
    // The checksum is compared at the end of the entry; a byte beyond the declared size is a lie.
    char probe;
    const zip_int64_t beyond = zip_fread(file.get(), &probe, 1);
    if (beyond > 0)
        fail(QStringLiteral("il file %1 è più grande di quanto dichiarato").arg(nameInZip));
    if (beyond < 0)
        fail(QStringLiteral("il file %1 è danneggiato").arg(nameInZip));
    if (!target.flush())
        throw BackupError(
            QStringLiteral("Impossibile scrivere %1: %2.").arg(native(targetPath), target.errorString()));
}

} // namespace quillio::backup
