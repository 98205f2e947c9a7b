#include "backupwindows/TFCopiaSicurezza.h"

#include "backup/ArchiveContents.h"
#include "backup/BackupPreferences.h"
#include "backup/BackupWriter.h"
#include "business/BusinessFile.h"
#include "engine/DataPlace.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"
#include "widgets/NamedButton.h"
#include "widgets/ValueLabel.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace quillio::backupwindows {

namespace {

QString dataDirectory()
{
    return backup::ArchiveContents::dataDirectoryOfSettings();
}

} // namespace

const QString TFCopiaSicurezza::folderIntroduction =
    QStringLiteral("Ogni giorno, alla prima apertura del programma, una copia dell'archivio viene scritta "
                   "nella cartella delle copie: restano le copie degli ultimi 10 giorni e l'ultima di "
                   "ciascuno degli ultimi 12 mesi.");
const QString TFCopiaSicurezza::serverIntroduction =
    QStringLiteral("L'archivio è su un server di database, condiviso dalle postazioni: le sue copie si "
                   "fanno sul server, con pg_dump, e da qui non se ne scrivono.");

TFCopiaSicurezza::TFCopiaSicurezza(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFCopiaSicurezza"));
    setWindowTitle(QStringLiteral("Copia di sicurezza"));
    auto* layout = new QVBoxLayout(this);
    LB_Introduzione = new QLabel(folderIntroduction, this);
    LB_Introduzione->setObjectName(QStringLiteral("LB_Introduzione"));
    LB_Introduzione->setWordWrap(true);
    layout->addWidget(LB_Introduzione);

    auto* form = new QFormLayout;
    LB_Cartella = new widgets::ValueLabel(QStringLiteral("Cartella delle copie"), {}, this);
    LB_Cartella->setObjectName(QStringLiteral("LB_Cartella"));
    LB_Cartella->setTextInteractionFlags(Qt::TextSelectableByMouse);
    BT_Cartella =
        widgets::NamedButton::make(QStringLiteral("BT_Cartella"), QStringLiteral("Cambia &cartella…"), this);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(LB_Cartella, 1);
    folderRow->addWidget(BT_Cartella);
    form->addRow(QStringLiteral("Cartella delle copie"), folderRow);
    LB_UltimaCopia = new widgets::ValueLabel(QStringLiteral("Ultima copia automatica"), {}, this);
    LB_UltimaCopia->setObjectName(QStringLiteral("LB_UltimaCopia"));
    form->addRow(QStringLiteral("Ultima copia automatica"), LB_UltimaCopia);
    layout->addLayout(form);

    BT_Copia =
        widgets::NamedButton::make(QStringLiteral("BT_Copia"), QStringLiteral("Crea una copia &ora…"), this);
    BT_Chiudi = widgets::NamedButton::make(QStringLiteral("BT_Chiudi"), QStringLiteral("C&hiudi"), this);
    BT_Copia->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BT_Copia);
    buttons->addWidget(BT_Chiudi);
    layout->addLayout(buttons);
    connect(BT_Cartella, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { chooseFolder(); }); });
    connect(BT_Copia, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { copyNow(); }); });
    connect(BT_Chiudi, &QPushButton::clicked, this, &QDialog::accept);
    resize(620, sizeHint().height());
}

void TFCopiaSicurezza::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DefaultErrorHandler::run([this] {
        refresh();
        tellPendingFailure();
    });
}

void TFCopiaSicurezza::refresh()
{
    // A server's archive is copied on the server: nothing here would make a copy of it.
    const bool onServer = engine::DataPlace::isServerAddress(dataDirectory());
    LB_Introduzione->setText(onServer ? serverIntroduction : folderIntroduction);
    BT_Copia->setEnabled(!onServer);
    BT_Cartella->setEnabled(!onServer);
    if (onServer) {
        LB_Cartella->setValue(backup::ArchiveContents::serverCopies);
        LB_UltimaCopia->setValue(QStringLiteral("nessuna"));
        return;
    }
    business::BusinessFile file(dataDirectory());
    backup::BackupPreferences preferences(file);
    LB_Cartella->setValue(QDir::toNativeSeparators(preferences.folder(dataDirectory())));
    const QDate last = preferences.lastAutomaticCopy();
    LB_UltimaCopia->setValue(last.isValid() ? last.toString(QStringLiteral("dd/MM/yyyy"))
                                            : QStringLiteral("nessuna"));
}

void TFCopiaSicurezza::tellPendingFailure()
{
    business::BusinessFile file(dataDirectory());
    backup::BackupPreferences preferences(file);
    const QString failure = preferences.pendingFailure();
    if (failure.isEmpty())
        return;
    preferences.setPendingFailure({});
    Platform::messages().message(failure);
}

void TFCopiaSicurezza::chooseFolder()
{
    const QString chosen =
        Platform::files().folder(this, QStringLiteral("Cartella delle copie"), LB_Cartella->value());
    if (chosen.isEmpty())
        return;
    business::BusinessFile file(dataDirectory());
    backup::BackupPreferences(file).setFolder(QDir::toNativeSeparators(chosen));
    refresh();
}

void TFCopiaSicurezza::copyNow()
{
    const QDateTime now = Platform::clock().now();
    const QString suggested = QDir(LB_Cartella->value()).filePath(backup::BackupWriter::fileNameFor(now));
    const QString path = Platform::files().saveFileName(this, QStringLiteral("Copia di sicurezza"), suggested,
                                                        QStringLiteral("Copie di Quillio (*.zip)"));
    if (path.isEmpty())
        return;
    const backup::BackupManifest manifest =
        backup::BackupWriter(dataDirectory(), backup::ArchiveContents::tableFilesOfSettings())
            .write(path, now);
    qint64 records = 0;
    for (const backup::BackupManifest::File& file : manifest.files)
        if (!file.year.isEmpty())
            records += manifest.recordsOf(file.path);
    const QString text = QStringLiteral("Copia di sicurezza scritta e verificata:\n%1\nAnni: %2; %3 record.")
                             .arg(QDir::toNativeSeparators(path), manifest.years().join(QStringLiteral(", ")))
                             .arg(records);
    Platform::messages().message(text + backup::BackupManifest::asMessage(manifest.warnings()));
}

} // namespace quillio::backupwindows
