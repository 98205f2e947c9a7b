#include "backupwindows/TFRipristinaCopia.h"

#include "archive/PendingRecords.h"
#include "backup/ArchiveContents.h"
#include "backup/BackupError.h"
#include "backup/BackupPreferences.h"
#include "backup/ProgramRestore.h"
#include "backup/ZipArchive.h"
#include "business/BusinessFile.h"
#include "engine/DataPlace.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"
#include "widgets/NamedButton.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace quillio::backupwindows {

namespace {

QLabel* captionFor(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(u'&'));
    return label;
}

} // namespace

TFRipristinaCopia::TFRipristinaCopia(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFRipristinaCopia"));
    setWindowTitle(QStringLiteral("Ripristina copia"));
    auto* layout = new QVBoxLayout(this);
    LB_Copie = new QListWidget(this);
    LB_Copie->setObjectName(QStringLiteral("LB_Copie"));
    MM_Contenuto = new QPlainTextEdit(this);
    MM_Contenuto->setObjectName(QStringLiteral("MM_Contenuto"));
    MM_Contenuto->setReadOnly(true);
    MM_Contenuto->setTabChangesFocus(true);
    layout->addWidget(captionFor(QStringLiteral("&Copie nella cartella delle copie"), LB_Copie, this));
    layout->addWidget(LB_Copie, 1);
    layout->addWidget(captionFor(QStringLiteral("Contenuto della copia"), MM_Contenuto, this));
    layout->addWidget(MM_Contenuto, 1);

    BT_Altro = widgets::NamedButton::make(QStringLiteral("BT_Altro"), QStringLiteral("&Altra copia…"), this);
    BT_Ripristina =
        widgets::NamedButton::make(QStringLiteral("BT_Ripristina"), QStringLiteral("&Ripristina"), this);
    BT_Chiudi = widgets::NamedButton::make(QStringLiteral("BT_Chiudi"), QStringLiteral("C&hiudi"), this);
    BT_Ripristina->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BT_Altro);
    buttons->addStretch();
    buttons->addWidget(BT_Ripristina);
    buttons->addWidget(BT_Chiudi);
    layout->addLayout(buttons);

    connect(LB_Copie, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (!name.isEmpty())
            DefaultErrorHandler::run([&] { choose(QDir(m_folder).filePath(name)); });
    });
    connect(BT_Altro, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { chooseOther(); }); });
    connect(BT_Ripristina, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { restoreChosen(); }); });
    connect(BT_Chiudi, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 520);
}

void TFRipristinaCopia::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        DefaultErrorHandler::run([this] { listCopies(); });
}

void TFRipristinaCopia::listCopies()
{
    const QString dataDirectory = backup::ArchiveContents::dataDirectoryOfSettings();
    LB_Copie->clear();
    m_chosen.clear();
    m_manifest.reset();
    MM_Contenuto->clear();
    BT_Ripristina->setEnabled(false);
    if (engine::DataPlace::isServerAddress(dataDirectory)) {
        m_folder.clear();
        MM_Contenuto->setPlainText(
            QStringLiteral("L'archivio è su un server di database: le sue copie si "
                           "fanno e si rimettono sul server, con pg_dump e pg_restore."));
        return;
    }
    business::BusinessFile file(dataDirectory);
    m_folder = backup::BackupPreferences(file).folder(dataDirectory);
    // The names hold the date and time, so the reverse order of names is newest first.
    QStringList names = QDir(m_folder).entryList({QStringLiteral("Quillio-*.zip")}, QDir::Files, QDir::Name);
    std::sort(names.begin(), names.end(), std::greater<>());
    LB_Copie->addItems(names);
}

QString TFRipristinaCopia::describe(const backup::BackupManifest& manifest)
{
    QStringList lines;
    lines << QStringLiteral("Copia del %1 (Quillio %2)")
                 .arg(manifest.created.toString(QStringLiteral("dd/MM/yyyy HH:mm")), manifest.programVersion);
    lines << QStringLiteral("Anni: %1").arg(manifest.years().join(QStringLiteral(", ")));
    for (const backup::BackupManifest::File& file : manifest.files)
        if (!file.damaged)
            lines << QStringLiteral("  %1: %2 record").arg(file.path).arg(manifest.recordsOf(file.path));
    return lines.join(u'\n') + backup::BackupManifest::asMessage(manifest.warnings());
}

void TFRipristinaCopia::choose(const QString& zipPath)
{
    m_chosen = zipPath;
    m_manifest.reset();
    BT_Ripristina->setEnabled(false);
    QString error;
    try {
        const backup::ZipArchive zip(zipPath, backup::ZipArchive::Mode::Read);
        m_manifest = backup::BackupManifest::fromJson(
            zip.read(backup::BackupManifest::fileName, backup::BackupManifest::maximumSize), &error);
    } catch (const backup::BackupError& failure) {
        error = failure.text();
    }
    if (!m_manifest) {
        MM_Contenuto->setPlainText(QStringLiteral("Questa copia non si può leggere: %1").arg(error));
        return;
    }
    MM_Contenuto->setPlainText(describe(*m_manifest));
    BT_Ripristina->setEnabled(true);
}

void TFRipristinaCopia::chooseOther()
{
    const QString path = Platform::files().openFileName(this, QStringLiteral("Ripristina copia"), m_folder,
                                                        QStringLiteral("Copie di Quillio (*.zip)"));
    if (!path.isEmpty())
        choose(path);
}

void TFRipristinaCopia::restoreChosen()
{
    if (!m_db || !m_manifest)
        return;
    const QString question =
        QStringLiteral(
            "Ripristinare la copia del %1?\nL'archivio attuale sarà prima salvato in una copia a parte "
            "nella cartella delle copie.")
            .arg(m_manifest->created.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    if (!Platform::messages().confirm(question, Messages::Default::No))
        return;
    if (archive::PendingRecords::anyChanged(*m_db) &&
        !Platform::messages().confirm(archive::PendingRecords::question, Messages::Default::No))
        return;
    const backup::BackupRestore::Outcome outcome = backup::ProgramRestore::run(*m_db, m_chosen);
    Platform::messages().message(
        QStringLiteral("Copia ripristinata e verificata.\nL'archivio com'era prima del "
                       "ripristino è nella copia:\n%1")
            .arg(QDir::toNativeSeparators(outcome.preRestoreCopy)) +
        backup::BackupManifest::asMessage(outcome.warnings()));
    if (!outcome.backupFolderOfCopy.isEmpty())
        offerBackupFolderOfCopy(outcome.backupFolderOfCopy);
    listCopies();
}

void TFRipristinaCopia::offerBackupFolderOfCopy(const QString& folder)
{
    const QString question =
        QStringLiteral("La copia ripristinata indica come cartella delle copie:\n%1\nUsarla d'ora in poi? "
                       "Rispondendo No le copie restano nella cartella:\n%2")
            .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(m_folder));
    if (!Platform::messages().confirm(question, Messages::Default::No))
        return;
    const QString dataDirectory = backup::ArchiveContents::dataDirectoryOfSettings();
    business::BusinessFile file(dataDirectory);
    backup::BackupPreferences(file).setFolder(folder);
}

} // namespace quillio::backupwindows
