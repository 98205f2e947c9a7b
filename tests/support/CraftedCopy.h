#pragma once

#include "backup/BackupManifest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace quillio::test {

// A copy someone crafted to harm the archive it is restored into, made from a good copy the
// program wrote: its entries and manifest are taken, changed at will, and written as a new zip.
// The manifest tells the truth about every file put() here (SHA-256, size, records), so a test
// shows the one lie or the one foreign thing it means to, and nothing else gives the copy away.
//
//     CraftedCopy copy(good);
//     copy.runSql("2026/Fatture.DB", "CREATE TRIGGER ...");  // a planted trigger
//     copy.put("Azienda.DB", {}, {});                       // an empty company file
//     copy.manifest().files[0].size = 1;                     // a manifest that lies
//     copy.write(crafted);
class CraftedCopy
{
public:
    explicit CraftedCopy(const QString& goodZip);

    // The manifest as write() will put it in the copy; change it to make it lie.
    backup::BackupManifest& manifest() { return m_manifest; }
    // The bytes of an entry; empty when there is none.
    QByteArray bytes(const QString& name) const;

    // Adds or replaces the entry `name` and lists it truthfully in the manifest with `year`.
    void put(const QString& name, const QByteArray& bytes, const QString& year);
    // Adds or replaces the entry `name` in the zip only; the manifest is left as it is.
    void putUnlisted(const QString& name, const QByteArray& bytes);
    // Runs `sql` on the SQLite file of entry `name` (planting a trigger, a view, a table) and lists
    // the changed file truthfully.
    void runSql(const QString& name, const QByteArray& sql);

    // Writes the crafted copy.
    void write(const QString& zipPath) const;

    // Rewrites the zip `zipPath` so that entry `name` declares `size` bytes, in its local header and
    // in the central directory, while its data still inflates to every byte it holds: a small zip
    // that would fill the disk if its declared sizes were trusted.
    static void declareSize(const QString& zipPath, const QString& name, quint32 size);

private:
    QList<std::pair<QString, QByteArray>> m_entries; // in the order of the good copy
    backup::BackupManifest m_manifest;
};

} // namespace quillio::test
