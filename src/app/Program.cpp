#include "Program.h"

#include "QuillioResources.h"

#include "TFBozze.h"
#include "TFCambioAnno.h"
#include "TFConf.h"
#include "TFCreaArchivio.h"
#include "TFDB.h"
#include "TFF_About.h"
#include "TFFatture1.h"
#include "TFMain.h"
#include "TFRubrica.h"
#include "ReportProject.h"
#include "ReportSystem.h"

#include <QLabel>

namespace quillio::app {

Program::Program()
{
    initResources();
    m_main = std::make_unique<TFMain>();
    m_conf = std::make_unique<archive::TFConf>();
    m_rubrica = std::make_unique<customers::TFRubrica>();
    m_db = std::make_unique<archive::TFDB>();
    m_reportSystem = std::make_unique<report::ReportSystem>();
    m_reportProject = std::make_unique<report::ReportProject>(*m_reportSystem);
    m_fatture = std::make_unique<invoices::TFFatture1>();
    m_bozze = std::make_unique<drafts::TFBozze>();
    m_about = std::make_unique<TFF_About>();
    m_cambioAnno = std::make_unique<workingyear::TFCambioAnno>();
    m_creaArchivio = std::make_unique<workingyear::TFCreaArchivio>();
    // Windows made before the data module are linked to it once it exists.
    m_main->setDataModule(m_db.get());
    m_rubrica->setDataModule(m_db.get());
    m_bozze->setDataModule(m_db.get());
    m_fatture->setDataModule(m_db.get());
    m_fatture->setReportProject(m_reportProject.get());
    const auto showYear = [this](const QString& year) { m_main->StaticText1->setText(year); };
    m_cambioAnno->setDataModule(m_db.get());
    m_cambioAnno->setYearLabel(showYear);
    m_creaArchivio->setDataModule(m_db.get());
    m_creaArchivio->setYearLabel(showYear);
    m_main->setWindows({m_rubrica.get(), m_bozze.get(), m_fatture.get(), m_about.get(), m_cambioAnno.get(),
                        m_creaArchivio.get()});
}

// Windows go before the data module whose tables they show.
Program::~Program()
{
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

} // namespace quillio::app
