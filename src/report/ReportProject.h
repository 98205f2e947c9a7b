#pragma once

#include "report/ReportDefinition.h"
#include "report/ReportParameters.h"

#include <QString>
#include <optional>

namespace quillio::report {

class ReportSystem;

// A report layout file and the named texts it is run with. The parameters outlive close and
// open; the loaded layout lives from open to close, so each open reads the file again.
class ReportProject
{
public:
    explicit ReportProject(ReportSystem& system) : m_system(system) {}

    void setProjectFile(const QString& path) { m_projectFile = path; }
    const QString& projectFile() const { return m_projectFile; }

    // Loads the layout; nothing when already open. A missing file raises ReportError
    // "The following reporting project does not exist:" with the full path on the next line.
    void open();
    void close() { m_layout.reset(); }
    bool isOpen() const { return m_layout.has_value(); }
    // The loaded layout; only while open.
    const LayoutFile& layout() const { return *m_layout; }

    // Names without regard to case; the empty text removes the name.
    void setParameter(const QString& name, const QString& text) { m_parameters.set(name, text); }
    const ReportParameters& parameters() const { return m_parameters; }

    // Opens if needed and runs the active report through the report system.
    void execute();
    // Opens if needed and writes the active report into a PDF file without asking anything;
    // `archival` makes it PDF/A-1b.
    void exportPdf(const QString& path, bool archival = false);

    ReportSystem& system() const { return m_system; }

private:
    ReportSystem& m_system;
    QString m_projectFile;
    std::optional<LayoutFile> m_layout;
    ReportParameters m_parameters;
};

} // namespace quillio::report
