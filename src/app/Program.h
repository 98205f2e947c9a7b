#pragma once

#include <memory>

class QString;

namespace quillio::archive {
class TFConf;
class TFDB;
} // namespace quillio::archive
namespace quillio::backup {
class AutomaticBackupRunner;
}
namespace quillio::backupwindows {
class TFCopiaSicurezza;
class TFEsportaCommercialista;
class TFRipristinaCopia;
} // namespace quillio::backupwindows
namespace quillio::company {
class TFDatiAzienda;
}
namespace quillio::customers {
class TFRubrica;
}
namespace quillio::drafts {
class TFBozze;
}
namespace quillio::invoices {
class TFFatture1;
}
namespace quillio::workingyear {
class TFCambioAnno;
class TFCreaArchivio;
} // namespace quillio::workingyear

namespace quillio::report {
class ReportProject;
class ReportSystem;
} // namespace quillio::report

namespace quillio::app {

class TFMain;
class TFF_About;

// The main window and the data module, made at once, and every other window, made when it is first
// asked for (by its command or by an accessor) and linked to them then; all alive until the end.
// Only what the first screen needs is built before it shows, so the program starts fast.
// The main window comes first: closing it ends the program.
class Program
{
public:
    Program();
    ~Program();

    // Shows the main window maximized; its first show runs the start-up of the archive.
    void showMainWindow();

    TFMain& main() const { return *m_main; }
    archive::TFDB& db() const { return *m_db; }
    // Made with the invoice window, the only one that prints.
    report::ReportProject& reportProject();
    customers::TFRubrica& rubrica();
    drafts::TFBozze& bozze();
    invoices::TFFatture1& fatture();
    TFF_About& about();
    workingyear::TFCambioAnno& cambioAnno();
    workingyear::TFCreaArchivio& creaArchivio();
    company::TFDatiAzienda& datiAzienda();
    backupwindows::TFCopiaSicurezza& copiaSicurezza();
    backupwindows::TFRipristinaCopia& ripristinaCopia();
    backupwindows::TFEsportaCommercialista& esportaCommercialista();
    // The daily copy, started a little after the first show of the main window.
    backup::AutomaticBackupRunner& automaticBackup() const { return *m_automaticBackup; }
    // Starts the day's copy now, when it is due (the screenshots do not wait for the timer).
    void startAutomaticBackup();

private:
    void showYear(const QString& year) const;

    std::unique_ptr<TFMain> m_main;
    std::unique_ptr<archive::TFConf> m_conf;
    std::unique_ptr<archive::TFDB> m_db;
    // The report components live beside the data module: printing needs widgets, the data module none.
    std::unique_ptr<report::ReportSystem> m_reportSystem;
    std::unique_ptr<report::ReportProject> m_reportProject;
    std::unique_ptr<customers::TFRubrica> m_rubrica;
    std::unique_ptr<invoices::TFFatture1> m_fatture;
    std::unique_ptr<drafts::TFBozze> m_bozze;
    std::unique_ptr<TFF_About> m_about;
    std::unique_ptr<workingyear::TFCambioAnno> m_cambioAnno;
    std::unique_ptr<workingyear::TFCreaArchivio> m_creaArchivio;
    std::unique_ptr<company::TFDatiAzienda> m_datiAzienda;
    std::unique_ptr<backupwindows::TFCopiaSicurezza> m_copiaSicurezza;
    std::unique_ptr<backupwindows::TFRipristinaCopia> m_ripristinaCopia;
    std::unique_ptr<backupwindows::TFEsportaCommercialista> m_esportaCommercialista;
    std::unique_ptr<backup::AutomaticBackupRunner> m_automaticBackup;
};

} // namespace quillio::app
