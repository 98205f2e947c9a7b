#include "app/Program.h"

#include "QuillioResources.h"
#include "app/TFF_About.h"
#include "app/TFMain.h"
#include "archive/TFConf.h"
#include "archive/TFDB.h"
#include "backup/AutomaticBackupRunner.h"
#include "backupwindows/TFCopiaSicurezza.h"
#include "backupwindows/TFEsportaCommercialista.h"
#include "backupwindows/TFRipristinaCopia.h"
#include "company/TFDatiAzienda.h"
#include "customers/TFRubrica.h"
#include "drafts/TFBozze.h"
#include "invoices/TFFatture1.h"
#include "report/ReportProject.h"
#include "report/ReportSystem.h"
#include "widgets/ValueLabel.h"
#include "workingyear/TFCambioAnno.h"
#include "workingyear/TFCreaArchivio.h"

#include <QLabel>

namespace quillio::app {

Program::Program()
{
    initResources();
    m_main = std::make_unique<TFMain>();
    m_conf = std::make_unique<archive::TFConf>();
    m_db = std::make_unique<archive::TFDB>();
    m_main->setDataModule(m_db.get());
    m_main->setWindows({
        [this] { return &rubrica(); },
        [this] { return &bozze(); },
        [this] { return &fatture(); },
        [this] { return &about(); },
        [this] { return &cambioAnno(); },
        [this] { return &creaArchivio(); },
        [this] { return &datiAzienda(); },
        [this] { return &copiaSicurezza(); },
        [this] { return &ripristinaCopia(); },
        [this] { return &esportaCommercialista(); },
    });
    m_automaticBackup = std::make_unique<backup::AutomaticBackupRunner>();
    QObject::connect(m_automaticBackup.get(), &backup::AutomaticBackupRunner::finished, m_main.get(),
                     [this](const backup::AutomaticBackup::Outcome& outcome) {
                         if (!outcome.failure.isEmpty())
                             m_main->showBackupStatus(outcome.failure);
                     });
    m_main->setAfterStartup([this] { startAutomaticBackup(); });
}

// Windows go before the data module whose tables they show.
Program::~Program()
{
    // A copy still being written is finished first: no thread outlives the program.
    m_automaticBackup.reset();
    m_esportaCommercialista.reset();
    m_ripristinaCopia.reset();
    m_copiaSicurezza.reset();
    m_datiAzienda.reset();
    m_creaArchivio.reset();
    m_cambioAnno.reset();
    m_about.reset();
    m_bozze.reset();
    m_fatture.reset();
    m_rubrica.reset();
    m_main.reset();
}

void Program::showMainWindow()
{
    m_main->showMaximized();
}

void Program::startAutomaticBackup()
{
    m_automaticBackup->start(backup::AutomaticBackup::fromSettings());
}

void Program::showYear(const QString& year) const
{
    m_main->StaticText1->setValue(year);
}

report::ReportProject& Program::reportProject()
{
    if (!m_reportProject) {
        m_reportSystem = std::make_unique<report::ReportSystem>();
        m_reportProject = std::make_unique<report::ReportProject>(*m_reportSystem);
    }
    return *m_reportProject;
}

customers::TFRubrica& Program::rubrica()
{
    if (!m_rubrica) {
        m_rubrica = std::make_unique<customers::TFRubrica>();
        m_rubrica->setDataModule(m_db.get());
    }
    return *m_rubrica;
}

drafts::TFBozze& Program::bozze()
{
    if (!m_bozze) {
        m_bozze = std::make_unique<drafts::TFBozze>();
        m_bozze->setDataModule(m_db.get());
    }
    return *m_bozze;
}

invoices::TFFatture1& Program::fatture()
{
    if (!m_fatture) {
        m_fatture = std::make_unique<invoices::TFFatture1>();
        m_fatture->setDataModule(m_db.get());
        m_fatture->setReportProject(&reportProject());
        m_fatture->setCompanyDialog([this] { return &datiAzienda(); });
    }
    return *m_fatture;
}

TFF_About& Program::about()
{
    if (!m_about)
        m_about = std::make_unique<TFF_About>();
    return *m_about;
}

workingyear::TFCambioAnno& Program::cambioAnno()
{
    if (!m_cambioAnno) {
        m_cambioAnno = std::make_unique<workingyear::TFCambioAnno>();
        m_cambioAnno->setDataModule(m_db.get());
        m_cambioAnno->setYearLabel([this](const QString& year) { showYear(year); });
    }
    return *m_cambioAnno;
}

workingyear::TFCreaArchivio& Program::creaArchivio()
{
    if (!m_creaArchivio) {
        m_creaArchivio = std::make_unique<workingyear::TFCreaArchivio>();
        m_creaArchivio->setDataModule(m_db.get());
        m_creaArchivio->setYearLabel([this](const QString& year) { showYear(year); });
    }
    return *m_creaArchivio;
}

company::TFDatiAzienda& Program::datiAzienda()
{
    if (!m_datiAzienda)
        m_datiAzienda = std::make_unique<company::TFDatiAzienda>();
    return *m_datiAzienda;
}

} // namespace quillio::app

namespace quillio::app {

backupwindows::TFCopiaSicurezza& Program::copiaSicurezza()
{
    if (!m_copiaSicurezza)
        m_copiaSicurezza = std::make_unique<backupwindows::TFCopiaSicurezza>();
    return *m_copiaSicurezza;
}

backupwindows::TFRipristinaCopia& Program::ripristinaCopia()
{
    if (!m_ripristinaCopia) {
        m_ripristinaCopia = std::make_unique<backupwindows::TFRipristinaCopia>();
        m_ripristinaCopia->setDataModule(m_db.get());
    }
    return *m_ripristinaCopia;
}

backupwindows::TFEsportaCommercialista& Program::esportaCommercialista()
{
    if (!m_esportaCommercialista)
        m_esportaCommercialista = std::make_unique<backupwindows::TFEsportaCommercialista>();
    return *m_esportaCommercialista;
}

} // namespace quillio::app
