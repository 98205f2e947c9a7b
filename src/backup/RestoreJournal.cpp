#include "backup/RestoreJournal.h"

#include "backup/BackupError.h"
#include "backup/BackupManifest.h"
#include "backup/DurableFile.h"
#include "platform/PlainName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillio::backup {

namespace {

const QString lockName = QStringLiteral(".quillio-ripristino.lock");
const QString stateSwapping = QStringLiteral("swapping");
const QString stateCommitted = QStringLiteral("committed");

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString journalPath(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(RestoreJournal::journalName);
}

QString journalDraftPath(const QString& dataDirectory)
{
    return journalPath(dataDirectory) + QStringLiteral(".new");
}

bool isThere(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A path inside the data directory as a journal may name it: a place a copy may hold (a table file
// of a year, or a file beside the years), never one of the program's own dot-named files.
bool isArchivePath(const QString& path)
{
    return BackupManifest::isSafePath(path) && !path.startsWith(u'.');
}

bool isStagingName(const QString& name)
{
    return PlainName::isSegment(name) && name.startsWith(RestoreJournal::stagingPrefix);
}

QStringList stagingFolders(const QString& dataDirectory)
{
    return QDir(dataDirectory)
        .entryList({RestoreJournal::stagingPrefix + u'*'},
                   QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}

// A staging folder is ours (its name says so); a link with that name is removed, never followed.
void removeStagingFolder(const QString& path)
{
    const QFileInfo info(path);
    const bool removed = info.isSymLink() ? QFile::remove(path) : QDir(path).removeRecursively();
    if (!removed)
        throw BackupError(QStringLiteral("Impossibile eliminare la cartella di lavoro del ripristino %1.")
                              .arg(native(path)));
}

void removeFile(const QString& path)
{
    if (isThere(path) && !QFile::remove(path))
        throw BackupError(QStringLiteral("Impossibile eliminare %1.").arg(native(path)));
}

} // namespace

// What the journal records. Paths are relative to the data directory, so a folder moved or
// reached under another name between the crash and the recovery is recovered all the same.
struct RestoreJournal::Plan
{
    struct File
    {
        QString path; // '/'-separated, inside the data directory
        bool existed = false;
    };
    QString staging; // the staging folder's name, inside the data directory
    QList<File> files;
    QStringList createdFolders;
    bool committed = false;

    QString asideOf(const QString& dataDirectory, qsizetype index) const
    {
        return QDir(dataDirectory).filePath(staging + QStringLiteral("/prima/") + QString::number(index));
    }

    QByteArray toJson() const
    {
        QJsonArray list;
        for (const File& file : files)
            list.append(
                QJsonObject{{QStringLiteral("path"), file.path}, {QStringLiteral("existed"), file.existed}});
        return QJsonDocument(
                   QJsonObject{
                       {QStringLiteral("state"), committed ? stateCommitted : stateSwapping},
                       {QStringLiteral("staging"), staging},
                       {QStringLiteral("files"), list},
                       {QStringLiteral("createdFolders"), QJsonArray::fromStringList(createdFolders)}})
            .toJson();
    }

    // Empty `staging` when the text is not a journal this program wrote.
    static Plan fromJson(const QByteArray& text)
    {
        const QJsonObject object = QJsonDocument::fromJson(text).object();
        Plan plan;
        const QString state = object.value(QStringLiteral("state")).toString();
        plan.committed = state == stateCommitted;
        plan.staging = object.value(QStringLiteral("staging")).toString();
        bool valid = (plan.committed || state == stateSwapping) && isStagingName(plan.staging);
        for (const QJsonValue& entry : object.value(QStringLiteral("files")).toArray()) {
            const File file{entry[QStringLiteral("path")].toString(),
                            entry[QStringLiteral("existed")].toBool()};
            valid = valid && isArchivePath(file.path) && entry[QStringLiteral("existed")].isBool();
            plan.files.append(file);
        }
        for (const QJsonValue& folder : object.value(QStringLiteral("createdFolders")).toArray()) {
            plan.createdFolders.append(folder.toString());
            valid = valid && PlainName::isYear(folder.toString());
        }
        if (!valid)
            plan.staging.clear();
        return plan;
    }

    // Written beside the journal, forced, then renamed over it: the journal is always whole.
    void write(const QString& dataDirectory) const
    {
        const QString draft = journalDraftPath(dataDirectory);
        QFile file(draft);
        const QByteArray text = toJson();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
            !file.flush())
            throw BackupError(QStringLiteral("Impossibile scrivere il diario del ripristino %1: %2.")
                                  .arg(native(draft), file.errorString()));
        file.close();
        DurableFile::syncFile(draft);
        DurableFile::renameDurably(draft, journalPath(dataDirectory));
    }

    static Plan read(const QString& dataDirectory)
    {
        const QString path = journalPath(dataDirectory);
        QFile file(path);
        Plan plan;
        if (file.open(QIODevice::ReadOnly))
            plan = fromJson(file.read(1 << 20));
        if (plan.staging.isEmpty())
            throw BackupError(
                QStringLiteral("Il diario del ripristino %1 non si legge, quindi non si sa se l'ultimo "
                               "ripristino è finito: controllare l'archivio e, se serve, ripristinare la "
                               "copia \"Quillio-prima-del-ripristino\" più recente, poi eliminare il diario.")
                    .arg(native(path)));
        return plan;
    }

    void rollBack(const QString& dataDirectory) const
    {
        const QDir data(dataDirectory);
        for (qsizetype i = files.size() - 1; i >= 0; --i) {
            const QString target = data.filePath(files[i].path);
            const QString aside = asideOf(dataDirectory, i);
            if (files[i].existed && isThere(aside))
                DurableFile::renameDurably(aside, target);
            else if (!files[i].existed && isThere(target)) {
                removeFile(target);
                DurableFile::syncDirectory(QFileInfo(target).absolutePath());
            }
        }
        for (const QString& folder : createdFolders)
            data.rmdir(folder); // only when empty: anything else in it was not ours
        DurableFile::syncDirectory(dataDirectory);
    }
};

namespace {

// Every staging folder, then the journal's draft, then the journal itself, each forced to disk
// before the next goes.
void removeLeftovers(const QString& dataDirectory)
{
    for (const QString& name : stagingFolders(dataDirectory))
        removeStagingFolder(QDir(dataDirectory).filePath(name));
    removeFile(journalDraftPath(dataDirectory));
    DurableFile::syncDirectory(dataDirectory);
    if (isThere(journalPath(dataDirectory))) {
        removeFile(journalPath(dataDirectory));
        DurableFile::syncDirectory(dataDirectory);
    }
}

// The lock file counts: one left by a killed restore is taken, and goes when released.
bool hasLeftovers(const QString& dataDirectory)
{
    return isThere(journalPath(dataDirectory)) || isThere(journalDraftPath(dataDirectory)) ||
           isThere(QDir(dataDirectory).filePath(lockName)) || !stagingFolders(dataDirectory).isEmpty();
}

} // namespace

RestoreJournal::RestoreJournal(QString dataDirectory)
    : m_dataDirectory(std::move(dataDirectory)), m_lock(QDir(m_dataDirectory).filePath(lockName))
{
    const FolderLock::Outcome locked = m_lock.tryLock();
    if (locked != FolderLock::Outcome::Locked) {
        if (locked == FolderLock::Outcome::Busy)
            throw BackupError(QStringLiteral("Un altro ripristino è in corso nella cartella dei dati %1: "
                                             "riprovare quando sarà finito.")
                                  .arg(native(m_dataDirectory)));
        throw BackupError(
            QStringLiteral("Impossibile scrivere nella cartella dei dati %1.").arg(native(m_dataDirectory)));
    }
    recoverLocked(m_dataDirectory);
}

void RestoreJournal::replace(const QString& stagingDirectory, const QString& incoming,
                             const QStringList& paths)
{
    try {
        const Plan plan = planFor(stagingDirectory, paths);
        for (const QString& path : paths)
            DurableFile::syncFile(QDir(incoming).filePath(path));
        plan.write(m_dataDirectory);
        swap(plan, incoming);
        Plan done = plan;
        done.committed = true;
        done.write(m_dataDirectory);
    } catch (const BackupError& error) {
        // A failure in forcing the committed journal to disk leaves the copy in place all the same.
        if (undoAfterFailure(error.text()) != Recovery::Completed)
            throw;
        return;
    }
    // The copy is in place: what is left over goes now, or at the next start should this fail.
    try {
        removeLeftovers(m_dataDirectory);
    } catch (const BackupError&) {
    }
}

RestoreJournal::Plan RestoreJournal::planFor(const QString& stagingDirectory, const QStringList& paths) const
{
    const QDir data(m_dataDirectory);
    Plan plan;
    plan.staging = QFileInfo(stagingDirectory).fileName();
    // The journal names the staging folder by its name alone, so it must lie among the years.
    if (!isStagingName(plan.staging) || QFileInfo(stagingDirectory).absolutePath() != data.absolutePath())
        throw BackupError(
            QStringLiteral("La cartella di lavoro del ripristino %1 non è nella cartella dei dati.")
                .arg(native(stagingDirectory)));
    for (const QString& path : paths) {
        const QFileInfo target(data.filePath(path));
        // Only files are replaced: a folder moved aside would go with the staging folder.
        if (!isArchivePath(path) || (target.isDir() && !target.isSymLink()))
            throw BackupError(QStringLiteral("La copia contiene un nome non ammesso: %1.").arg(path));
        plan.files.append({path, isThere(target.filePath())});
        const QString folder = path.section(u'/', 0, -2);
        if (!folder.isEmpty() && !plan.createdFolders.contains(folder) && !isThere(data.filePath(folder)))
            plan.createdFolders.append(folder);
    }
    QDir(stagingDirectory).mkpath(QStringLiteral("prima"));
    return plan;
}

void RestoreJournal::swap(const Plan& plan, const QString& incoming) const
{
    const QDir data(m_dataDirectory);
    for (const QString& folder : plan.createdFolders)
        if (!data.mkdir(folder))
            throw BackupError(
                QStringLiteral("Impossibile creare la cartella %1.").arg(native(data.filePath(folder))));
    DurableFile::syncDirectory(m_dataDirectory);
    for (qsizetype i = 0; i < plan.files.size(); ++i) {
        const QString target = data.filePath(plan.files[i].path);
        if (plan.files[i].existed)
            DurableFile::renameDurably(target, plan.asideOf(m_dataDirectory, i));
        DurableFile::renameDurably(QDir(incoming).filePath(plan.files[i].path), target);
    }
}

RestoreJournal::Recovery RestoreJournal::undoAfterFailure(const QString& failure) const
{
    try {
        return recoverLocked(m_dataDirectory);
    } catch (const BackupError& error) {
        throw BackupError(
            QStringLiteral("%1 Anche rimettere a posto i file già sostituiti non è riuscito (%2): "
                           "il ripristino sarà completato o annullato al prossimo avvio del programma.")
                .arg(failure, error.text()));
    }
}

RestoreJournal::Recovery RestoreJournal::recover(const QString& dataDirectory)
{
    if (!hasLeftovers(dataDirectory))
        return Recovery::Nothing;
    FolderLock lock(QDir(dataDirectory).filePath(lockName));
    const FolderLock::Outcome locked = lock.tryLock();
    if (locked != FolderLock::Outcome::Locked) {
        if (locked == FolderLock::Outcome::Busy)
            return Recovery::Busy;
        throw BackupError(
            QStringLiteral("Un ripristino interrotto va completato o annullato, ma nella cartella "
                           "dei dati %1 non si può scrivere.")
                .arg(native(dataDirectory)));
    }
    return recoverLocked(dataDirectory);
}

RestoreJournal::Recovery RestoreJournal::recoverLocked(const QString& dataDirectory)
{
    Recovery outcome = Recovery::Nothing;
    if (isThere(journalPath(dataDirectory))) {
        const Plan plan = Plan::read(dataDirectory);
        if (!plan.committed)
            plan.rollBack(dataDirectory);
        outcome = plan.committed ? Recovery::Completed : Recovery::RolledBack;
    }
    removeLeftovers(dataDirectory);
    return outcome;
}

QString RestoreJournal::messageFor(Recovery recovery, const QString& dataDirectory)
{
    switch (recovery) {
    case Recovery::Nothing:
        return {};
    case Recovery::RolledBack:
        return QStringLiteral("Un ripristino interrotto in %1 è stato annullato: l'archivio è com'era prima "
                              "del ripristino.")
            .arg(native(dataDirectory));
    case Recovery::Completed:
        return QStringLiteral("Un ripristino interrotto in %1 è stato completato: l'archivio è quello della "
                              "copia ripristinata.")
            .arg(native(dataDirectory));
    case Recovery::Busy:
        return QStringLiteral("Un ripristino è in corso nella cartella dei dati %1.")
            .arg(native(dataDirectory));
    }
    return {};
}

bool RestoreJournal::isUnfinished(const QString& dataDirectory)
{
    return isThere(journalPath(dataDirectory));
}

} // namespace quillio::backup
