#include "report/ReportProject.h"

#include "report/LayoutParser.h"
#include "report/PageOutput.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/ReportSystem.h"

#include <QDir>
#include <QFileInfo>

namespace quillio::report {

void ReportProject::open()
{
    if (isOpen())
        return;
    const QString fullPath = QDir::cleanPath(QFileInfo(m_projectFile).absoluteFilePath());
    if (m_projectFile.isEmpty() || !QFileInfo(fullPath).isFile())
        throw ReportError(QStringLiteral("The following reporting project does not exist:\n\"%1\"")
                              .arg(QDir::toNativeSeparators(fullPath)));
    m_layout = LayoutParser::parseFile(fullPath);
}

void ReportProject::execute()
{
    open();
    m_system.run(m_layout->activeReport(), m_parameters);
}

void ReportProject::exportPdf(const QString& path, bool archival)
{
    open();
    const LaidOutDocument document = ReportLayouter::layOut(m_layout->activeReport(), m_parameters);
    PageOutput::toPdf(
        path, document, m_system.settings.jobTitle, [](int) { return true; }, archival);
}

} // namespace quillio::report
