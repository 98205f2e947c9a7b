#pragma once

#include <memory>

namespace quillio::archive {
class TFConf;
class TFDB;
} // namespace quillio::archive
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

// Every window and the data module, created once in a fixed order and alive until the end.
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
    report::ReportProject& reportProject() const { return *m_reportProject; }
    customers::TFRubrica& rubrica() const { return *m_rubrica; }
    drafts::TFBozze& bozze() const { return *m_bozze; }
    invoices::TFFatture1& fatture() const { return *m_fatture; }
    TFF_About& about() const { return *m_about; }
    workingyear::TFCambioAnno& cambioAnno() const { return *m_cambioAnno; }
    workingyear::TFCreaArchivio& creaArchivio() const { return *m_creaArchivio; }

private:
    std::unique_ptr<TFMain> m_main;
    std::unique_ptr<archive::TFConf> m_conf;
    std::unique_ptr<customers::TFRubrica> m_rubrica;
    std::unique_ptr<archive::TFDB> m_db;
    // The report components live beside the data module: printing needs widgets, the data module none.
    std::unique_ptr<report::ReportSystem> m_reportSystem;
    std::unique_ptr<report::ReportProject> m_reportProject;
    std::unique_ptr<invoices::TFFatture1> m_fatture;
    std::unique_ptr<drafts::TFBozze> m_bozze;
    std::unique_ptr<TFF_About> m_about;
    std::unique_ptr<workingyear::TFCambioAnno> m_cambioAnno;
    std::unique_ptr<workingyear::TFCreaArchivio> m_creaArchivio;
};

} // namespace quillio::app
