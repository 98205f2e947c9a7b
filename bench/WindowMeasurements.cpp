#include "WindowMeasurements.h"

#include "LentArchive.h"
#include "TestEnvironment.h"
#include "Timing.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/ArchiveSequences.h"
#include "archive/TFDB.h"
#include "config/Settings.h"
#include "customers/TFRubrica.h"
#include "dbcontrols/BoundField.h"
#include "dbcontrols/DBComboBox.h"
#include "drafts/TFBozze.h"
#include "invoices/TFFatture1.h"
#include "recordbody/RecordPanel.h"

#include <QApplication>
#include <memory>
#include <stdexcept>

namespace quillio::bench {

namespace {

const QString Milliseconds = QStringLiteral("ms");
constexpr int Rounds = 5;

constexpr Target EditorTarget{Target::Of::Value, 50, false};
constexpr Target AddressBookTarget{Target::Of::Value, 150, false};
// Up to 10,000 records every window opens within the stricter limit.
constexpr int SmallArchive = 10000;
constexpr Target SmallArchiveWindowTarget{Target::Of::Value, 20, false};
constexpr Target LookupTarget{Target::Of::Value, 20, false};
constexpr Target PickerTarget{Target::Of::Value, 150, false};
// On a server every window, at every size, opens within one limit.
constexpr Target ServerTarget{Target::Of::Value, 150, false};

void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

// Paints the window now, as the first paint after showing it does.
void paint(QWidget& window)
{
    window.repaint();
    QApplication::processEvents();
}

Figure figure(const QString& name, const GeneratedArchive& archive, const QList<double>& samples,
              Target target)
{
    return {name, archive.records, Timing::median(samples), Milliseconds, std::nullopt, target};
}

class ProgramRun
{
public:
    explicit ProgramRun(const GeneratedArchive& archive) : m_archive(archive)
    {
        if (!archive.isOnServer())
            m_lent = std::make_unique<LentArchive>(archive, m_env.paths.programDir());
        m_program.showMainWindow();
        QApplication::processEvents();
        if (archive.isOnServer())
            workOnServerYear();
    }

    Figure openWindow(const QString& name, QWidget& window, void (app::TFMain::*command)(),
                      engine::Table& table, const std::function<void()>& close, Target target)
    {
        QList<double> samples;
        for (int round = 0; round < Rounds; ++round) {
            samples << Timing::milliseconds([&] {
                (m_program.main().*command)();
                paint(window);
            });
            // The post figure adds its records to the invoices before the windows are measured.
            require(window.isVisible() && table.recordCount() >= m_archive.records,
                    QStringLiteral("%1 did not show the %2 records").arg(name).arg(m_archive.records));
            close();
            table.close();
        }
        return figure(name, m_archive, samples, target);
    }

    QList<Figure> openWindows()
    {
        archive::TFDB& db = m_program.db();
        const bool small = m_archive.records <= SmallArchive;
        const Target editorTarget = target(small ? SmallArchiveWindowTarget : EditorTarget);
        const Target addressBookTarget = target(small ? SmallArchiveWindowTarget : AddressBookTarget);
        return {
            openWindow(
                QStringLiteral("open_addressbook"), m_program.rubrica(), &app::TFMain::openAddressBook,
                db.T_Rubrica, [this] { m_program.rubrica().Esci1Click(); }, addressBookTarget),
            openWindow(
                QStringLiteral("open_drafts"), m_program.bozze(), &app::TFMain::openDrafts, db.T_Bozze,
                [this] { m_program.bozze().Esci1Click(); }, editorTarget),
            openWindow(
                QStringLiteral("open_invoices"), m_program.fatture(), &app::TFMain::openInvoices,
                db.T_Fatture, [this] { m_program.fatture().Esci1Click(); }, editorTarget),
        };
    }

    // Leaving the name box of a new draft with the name of the last customer.
    Figure lookup()
    {
        archive::TFDB& db = m_program.db();
        drafts::TFBozze& bozze = m_program.bozze();
        m_program.main().openDrafts();
        const QString name = lastCustomerName();
        QList<double> samples;
        for (int round = 0; round < Rounds; ++round) {
            bozze.Nuovo1Click();
            db.T_Bozze.setFieldValue(QStringLiteral("Ragione_Sociale"), name);
            samples << Timing::milliseconds([&] { bozze.PanelScheda->Ragione_Sociale->binding().onExit(); });
            require(db.T_Bozze.fieldValue(QStringLiteral("CodRif")).toInt() > 0,
                    QStringLiteral("the lookup did not find \"%1\"").arg(name));
            bozze.Annulla1Click();
            db.T_Rubrica.close();
        }
        bozze.Esci1Click();
        db.T_Bozze.close();
        return figure(QStringLiteral("lookup"), m_archive, samples, target(LookupTarget));
    }

    // "&Nuovo" in the invoice window until the draft list is shown.
    Figure picker()
    {
        invoices::TFFatture1& fatture = m_program.fatture();
        m_program.main().openInvoices();
        QList<double> samples;
        for (int round = 0; round < Rounds; ++round) {
            samples << Timing::milliseconds([&] {
                fatture.Nuovo1Click();
                paint(fatture);
            });
            require(m_program.db().QGEN.recordCount() == m_archive.records,
                    QStringLiteral("the draft list did not hold the %1 drafts").arg(m_archive.records));
            fatture.Annulla1Click();
        }
        fatture.Esci1Click();
        m_program.db().T_Fatture.close();
        return figure(QStringLiteral("picker"), m_archive, samples, target(PickerTarget));
    }

private:
    // A window's target on files, or the one target of every window on a server.
    Target target(Target onFiles) const { return m_archive.isOnServer() ? ServerTarget : onFiles; }

    // The program takes only folders as its data directory: it starts on a year of its program
    // directory, then its session's alias is pointed at the year on the server and the tables bound
    // anew, as changing the working year does for another folder.
    void workOnServerYear()
    {
        archive::TFDB& db = m_program.db();
        const QString alias = config::Settings::alias();
        db.Session1.deleteAlias(alias);
        db.Session1.addStandardAlias(alias, m_archive.directory);
        archive::ArchiveSequences::rebind(db);
    }

    QString lastCustomerName()
    {
        engine::Table& customers = m_program.db().T_Rubrica;
        customers.open();
        customers.last();
        QString name = customers.fieldValue(QStringLiteral("Ragione_Sociale")).toString();
        customers.close();
        return name;
    }

    const GeneratedArchive& m_archive;
    test::TestEnvironment m_env;
    std::unique_ptr<LentArchive> m_lent; // an archive of files only
    app::Program m_program;
};

} // namespace

QList<Figure> WindowMeasurements::measure(const GeneratedArchive& archive)
{
    ProgramRun run(archive);
    QList<Figure> figures = run.openWindows();
    figures << run.lookup() << run.picker();
    return figures;
}

} // namespace quillio::bench
