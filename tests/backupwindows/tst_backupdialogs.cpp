#include "AccessibleText.h"
#include "DataDirectory.h"
#include "PostgresCluster.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "backup/ArchiveContents.h"
#include "backup/AutomaticBackupRunner.h"
#include "backup/BackupPreferences.h"
#include "backup/BackupVerifier.h"
#include "backup/BackupWriter.h"
#include "backup/ZipArchive.h"
#include "backupwindows/TFCopiaSicurezza.h"
#include "backupwindows/TFEsportaCommercialista.h"
#include "backupwindows/TFRipristinaCopia.h"
#include "business/BusinessFile.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "widgets/ValueLabel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace quillio;
using Kind = test::Transcript::Kind;

namespace {

// The program started on a fresh archive (working year 2009), its automatic copy finished.
struct Started
{
    test::TestEnvironment env;
    std::optional<app::Program> program;
    QString dataDir = env.paths.programDir();

    // `beforeShow` runs after the program is made and before its main window first shows.
    explicit Started(const std::function<void(Started&)>& beforeShow = {})
    {
        program.emplace();
        if (beforeShow)
            beforeShow(*this);
        program->showMainWindow();
        QTRY_VERIFY(program->automaticBackup().isRunning() || automaticCopyTaken() ||
                    !backupStatus().isEmpty());
        program->automaticBackup().waitForFinished();
        QCoreApplication::processEvents();
        env.transcript.clear();
    }
    ~Started() { program.reset(); }

    QString backupFolder() const { return dataDir + QStringLiteral("Backup"); }
    bool automaticCopyTaken() const
    {
        return QFileInfo::exists(backupFolder() + "/Quillio-2009-03-05-1030.zip");
    }
    QString backupStatus() const { return program->main().backupPanel->value(); }
    int customers()
    {
        engine::Table& table = program->db().T_Rubrica;
        table.open();
        return table.recordCount();
    }
    void addCustomer(const QString& name)
    {
        engine::Table& table = program->db().T_Rubrica;
        table.open();
        table.append();
        table.setFieldValue(QStringLiteral("Ragione_Sociale"), name);
        table.post();
    }
};

} // namespace

class TestBackupDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void firstStartOfTheDayTakesACopy()
    {
        Started s;
        QVERIFY(s.automaticCopyTaken());
        QVERIFY(backup::BackupVerifier::verify(s.backupFolder() + "/Quillio-2009-03-05-1030.zip").ok());
        QCOMPARE(s.backupStatus(), QString());
        QCOMPARE(s.env.transcript.texts(), QStringList());
    }

    void failedAutomaticCopyIsShownInTheStatusBarAndOnceInTheDialog()
    {
        Started s([](Started& before) {
            QFile(before.dataDir + "occupato").open(QIODevice::WriteOnly);
            business::BusinessFile file(before.dataDir);
            backup::BackupPreferences(file).setFolder(before.dataDir + "occupato/Backup");
        });
        QVERIFY2(s.backupStatus().startsWith(
                     "La copia di sicurezza automatica del 05/03/2009 10:30 non è riuscita"),
                 qPrintable(s.backupStatus()));
        QCOMPARE(test::accessibleText(s.program->main().backupPanel), s.backupStatus());

        s.program->main().backUp();
        QCOMPARE(s.env.transcript.texts(Kind::Message), QStringList{s.backupStatus()});
        s.program->copiaSicurezza().close();
        s.program->main().backUp();
        QCOMPARE(s.env.transcript.texts(Kind::Message).size(), 1);
    }

    void backupDialogWritesAVerifiedCopyWhereChosen()
    {
        Started s;
        s.addCustomer("Rossi S.r.l.");
        s.program->main().backUp();
        backupwindows::TFCopiaSicurezza& dialog = s.program->copiaSicurezza();
        QCOMPARE(dialog.LB_Cartella->value(), QDir::toNativeSeparators(s.backupFolder()));
        QCOMPARE(dialog.LB_UltimaCopia->value(), QStringLiteral("05/03/2009"));

        s.env.files.folderAnswer = s.dataDir + "altrove";
        dialog.BT_Cartella->click();
        QCOMPARE(dialog.LB_Cartella->value(), QDir::toNativeSeparators(s.dataDir + "altrove"));
        const QString path = s.dataDir + "manuale.zip";
        s.env.files.answer = path;
        dialog.BT_Copia->click();
        QCOMPARE(s.env.transcript.texts(Kind::Error), QStringList());
        const backup::BackupVerifier::Result verified = backup::BackupVerifier::verify(path);
        QVERIFY(verified.ok());
        QCOMPARE(verified.manifest->recordsOf("2009/Rubrica.DB"), 1);
        QCOMPARE(
            s.env.transcript.texts(Kind::Message),
            QStringList{QStringLiteral("Copia di sicurezza scritta e verificata:\n%1\nAnni: 2009; 1 record.")
                            .arg(QDir::toNativeSeparators(path))});
    }

    // With the archive on a server, the windows say where its copies are made and offer nothing
    // that would copy files.
    void aServerArchiveIsCopiedOnTheServer()
    {
        if (!test::PostgresCluster::shared())
            QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
        Started s;
        config::SettingsStore::ScriviReg(config::SettingsKey::path, config::SettingsKey::pathDatiGen,
                                         test::PostgresCluster::shared()->newDatabase());
        s.program->main().backUp();
        backupwindows::TFCopiaSicurezza& dialog = s.program->copiaSicurezza();
        QCOMPARE(dialog.LB_Cartella->value(), backup::ArchiveContents::serverCopies);
        QCOMPARE(dialog.LB_Introduzione->text(), backupwindows::TFCopiaSicurezza::serverIntroduction);
        QVERIFY(!dialog.BT_Copia->isEnabled());
        QVERIFY(!dialog.BT_Cartella->isEnabled());
        dialog.hide();
        s.program->main().restoreCopy();
        backupwindows::TFRipristinaCopia& restore = s.program->ripristinaCopia();
        QCOMPARE(restore.LB_Copie->count(), 0);
        QVERIFY(restore.MM_Contenuto->toPlainText().contains(QLatin1String("pg_restore")));
        QVERIFY(!restore.BT_Ripristina->isEnabled());
        QCOMPARE(s.env.transcript.texts(Kind::Error), QStringList());
    }

    void restoreDialogRestoresAfterConfirmingAndRefusesADamagedCopy()
    {
        Started s;
        const QString copy = s.backupFolder() + "/Quillio-2009-03-05-1030.zip";
        s.addCustomer("Dopo la copia");
        s.program->main().restoreCopy();
        backupwindows::TFRipristinaCopia& dialog = s.program->ripristinaCopia();
        QCOMPARE(dialog.LB_Copie->count(), 1);
        dialog.LB_Copie->setCurrentRow(0);
        QVERIFY(dialog.MM_Contenuto->toPlainText().startsWith("Copia del 05/03/2009 10:30"));
        QVERIFY(dialog.MM_Contenuto->toPlainText().contains("2009/Rubrica.DB: 0 record"));

        // No at the question replaces nothing.
        s.env.messages.answerNext(false);
        dialog.BT_Ripristina->click();
        QCOMPARE(s.customers(), 1);

        dialog.LB_Copie->setCurrentRow(0);
        dialog.BT_Ripristina->click();
        QCOMPARE(s.env.transcript.texts(Kind::Error), QStringList());
        QCOMPARE(s.customers(), 0);
        QVERIFY(s.env.transcript.texts(Kind::Message)
                    .last()
                    .contains("Quillio-prima-del-ripristino-2009-03-05-1030.zip"));
        // The archive as it was is listed among the copies, and holds the customer.
        QCOMPARE(dialog.LB_Copie->count(), 2);
        QVERIFY(backup::BackupVerifier::verify(s.backupFolder() +
                                               "/Quillio-prima-del-ripristino-2009-03-05-1030.zip")
                    .manifest->recordsOf("2009/Rubrica.DB") == 1);

        // A table that is not the one copied: the content still reads, the restore refuses the copy.
        const QString damaged = s.dataDir + "danneggiata.zip";
        {
            const backup::ZipArchive good(copy, backup::ZipArchive::Mode::Read);
            backup::ZipArchive bad(damaged, backup::ZipArchive::Mode::Create);
            for (const QString& name : good.entryNames())
                bad.addData(name, good.read(name == "2009/Rubrica.DB" ? "2009/Fatture.DB" : name, 1 << 26));
            bad.commit();
        }
        s.addCustomer("Ancora");
        s.env.transcript.clear();
        s.env.files.openAnswer = damaged;
        dialog.BT_Altro->click();
        QVERIFY(dialog.BT_Ripristina->isEnabled());
        dialog.BT_Ripristina->click();
        const QStringList errors = s.env.transcript.texts(Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("Nessun file è stato sostituito"), qPrintable(errors[0]));
        QCOMPARE(s.customers(), 1);
    }

    void restoredCopyDoesNotDecideWhereLaterCopiesGo_data()
    {
        QTest::addColumn<bool>("takeIt");
        QTest::newRow("the person keeps the archive's folder") << false;
        QTest::newRow("the person takes the copy's folder") << true;
    }

    // A copy's company file names another backup folder, a daily copy already taken far in the
    // future and a failure to show: restored, none of these is taken by itself.
    void restoredCopyDoesNotDecideWhereLaterCopiesGo()
    {
        QFETCH(bool, takeIt);
        Started s;
        const QString elsewhere = s.dataDir + "altrove";
        const QString crafted = s.dataDir + "copia-con-altra-cartella.zip";
        {
            business::BusinessFile file(s.dataDir);
            backup::BackupPreferences preferences(file);
            preferences.setFolder(elsewhere);
            preferences.setLastAutomaticCopy(QDate(2099, 12, 31));
            preferences.setPendingFailure("Chiamare il numero 899 per assistenza");
            backup::BackupWriter(s.dataDir, test::DataDirectory::tables)
                .write(crafted, QDateTime::currentDateTime());
            preferences.setFolder({});
            preferences.setLastAutomaticCopy(QDate(2009, 3, 5));
            preferences.setPendingFailure({});
        }

        s.program->main().restoreCopy();
        backupwindows::TFRipristinaCopia& dialog = s.program->ripristinaCopia();
        s.env.files.openAnswer = crafted;
        dialog.BT_Altro->click();
        s.env.messages.answerNext(true);
        s.env.messages.answerNext(takeIt);
        dialog.BT_Ripristina->click();
        QCOMPARE(s.env.transcript.texts(Kind::Error), QStringList());
        const QStringList questions = s.env.transcript.texts(Kind::Confirm);
        QCOMPARE(questions.size(), 2);
        QVERIFY2(questions[1].contains(QDir::toNativeSeparators(elsewhere)), qPrintable(questions[1]));
        QCOMPARE(s.env.messages.lastDefault(), Messages::Default::No);

        business::BusinessFile file(s.dataDir);
        backup::BackupPreferences preferences(file);
        QCOMPARE(preferences.folder(s.dataDir), takeIt ? elsewhere : s.backupFolder());
        QCOMPARE(preferences.lastAutomaticCopy(), QDate(2009, 3, 5));
        QCOMPARE(preferences.pendingFailure(), QString());
        // The copy's folder is neither made nor written into.
        QVERIFY(!QFileInfo::exists(elsewhere));
    }

    void exportDialogWritesTheFilesAndListsTheGaps()
    {
        Started s;
        QDir().mkpath(s.dataDir + "Report");
        QFile::copy(QStringLiteral(QUILLIO_LAYOUT_DIR "/RegistroIVA.qrl"),
                    s.dataDir + "Report/RegistroIVA.qrl");
        const test::DataDirectory data(s.dataDir);
        data.addInvoice("2009", {QDate(2009, 1, 10), "Primo", {}, {}, {100}});
        data.addInvoice("2009", {QDate(2009, 1, 11), "Secondo", {}, {}, {100}});
        data.addInvoice("2009", {QDate(2009, 2, 1), "Terzo", {}, {}, {100}});
        data.removeRecord("2009", "Fatture.DB", 2);

        s.program->main().exportForAccountant();
        backupwindows::TFEsportaCommercialista& dialog = s.program->esportaCommercialista();
        QCOMPARE(dialog.SE_Anno->value(), 2009);
        s.env.files.folderAnswer = s.dataDir + "commercialista";
        dialog.CB_AlMese->setCurrentIndex(2);
        dialog.BT_Esporta->click();
        QCOMPARE(s.env.transcript.texts(Kind::Error), QStringList());
        QVERIFY(QFileInfo::exists(s.dataDir + "commercialista/Fatture-2009.csv"));
        QVERIFY(QFileInfo::exists(s.dataDir + "commercialista/Registro-IVA-2009.pdf"));
        QCOMPARE(dialog.LB_Segnalazioni->count(), 1);
        QCOMPARE(dialog.LB_Segnalazioni->item(0)->text(), QStringLiteral("Manca la fattura numero 2."));
        QCOMPARE(dialog.LB_Esito->value(),
                 QStringLiteral("2 fatture esportate: Fatture-2009.csv, Registro-IVA-2009.pdf"));

        dialog.CB_DalMese->setCurrentIndex(5);
        dialog.BT_Esporta->click();
        QCOMPARE(s.env.transcript.texts(Kind::Message).last(),
                 QStringLiteral("Il mese iniziale viene dopo quello finale."));
    }

    void everyControlHasAnAccessibleName()
    {
        Started s;
        const QList<QWidget*> dialogs = {&s.program->copiaSicurezza(), &s.program->ripristinaCopia(),
                                         &s.program->esportaCommercialista()};
        for (QWidget* dialog : dialogs) {
            for (QWidget* control : dialog->findChildren<QWidget*>()) {
                const bool isControl =
                    qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                    qobject_cast<QComboBox*>(control) || qobject_cast<QSpinBox*>(control) ||
                    qobject_cast<QListWidget*>(control) || qobject_cast<QPlainTextEdit*>(control);
                if (isControl && control->parentWidget() &&
                    !qobject_cast<QSpinBox*>(control->parentWidget()) &&
                    !qobject_cast<QComboBox*>(control->parentWidget()))
                    QVERIFY2(!test::accessibleText(control).isEmpty(),
                             qPrintable(dialog->objectName() + ": " + control->objectName()));
            }
        }
        s.program->main().backUp();
        QCOMPARE(test::accessibleText(s.program->copiaSicurezza().LB_UltimaCopia),
                 QStringLiteral("05/03/2009"));
    }
};

QTEST_MAIN(TestBackupDialogs)
#include "tst_backupdialogs.moc"
