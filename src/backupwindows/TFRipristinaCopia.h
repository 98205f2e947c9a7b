#pragma once

#include "backup/BackupManifest.h"

#include <QDialog>
#include <optional>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quillio::archive {
class TFDB;
}

namespace quillio::backupwindows {

// "Ripristina copia": the copies of the backup folder, newest first (or another file), the
// content of the one chosen, and its restore after the person confirms. The archive as it is is
// saved first as a copy of its own; the program then reopens the working year as at start-up.
class TFRipristinaCopia : public QDialog
{
    Q_OBJECT

public:
    explicit TFRipristinaCopia(QWidget* parent = nullptr);

    void setDataModule(archive::TFDB* db) { m_db = db; }
    // The copy shown, full path; empty when none.
    const QString& chosenCopy() const { return m_chosen; }
    // Shows the content of a copy (the manifest only: the full check runs at the restore).
    void choose(const QString& zipPath);

    QListWidget* LB_Copie = nullptr;
    QPlainTextEdit* MM_Contenuto = nullptr;
    QPushButton* BT_Altro = nullptr;
    QPushButton* BT_Ripristina = nullptr;
    QPushButton* BT_Chiudi = nullptr;

    static QString describe(const backup::BackupManifest& manifest);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void listCopies();
    void chooseOther();
    void restoreChosen();
    // Asks whether the backup folder the restored copy named becomes the folder of the copies.
    void offerBackupFolderOfCopy(const QString& folder);

    archive::TFDB* m_db = nullptr;
    QString m_folder;
    QString m_chosen;
    std::optional<backup::BackupManifest> m_manifest;
};

} // namespace quillio::backupwindows
