#pragma once

#include "report/DisplayList.h"
#include "report/OutputOptions.h"
#include "report/ReportDefinition.h"
#include "report/ReportParameters.h"
#include "report/ReportPreviewWindow.h"
#include "report/ReportSettings.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

namespace quillio::report {

class ReportStatusWindow;

// The output side of the report engine: asks where the report goes ("Output Options"), lays its
// pages out under the "Report Status" window, and sends them to the preview, a printer or a PDF
// file. Every window that waits for the person goes through a seam, so tests never block.
class ReportSystem : public QObject
{
    Q_OBJECT

public:
    explicit ReportSystem(QObject* parent = nullptr);
    ~ReportSystem() override;

    ReportSettings settings;

    // Runs the report; returns when the output is done or abandoned (with the preview as
    // destination, when the preview window is closed).
    void run(const ReportDefinition& report, const ReportParameters& parameters);

signals:
    void statusWindowShown(quillio::report::ReportStatusWindow* window);

private:
    std::optional<LaidOutDocument> generate(const ReportDefinition& report,
                                            const ReportParameters& parameters, ReportStatusWindow* status);
    void deliver(std::shared_ptr<const LaidOutDocument> document, const OutputOptions& options,
                 const QString& fileName, ReportStatusWindow* status);
    void showPreview(std::shared_ptr<const LaidOutDocument> document, const OutputOptions& options);
    void printFromPreview(std::shared_ptr<const LaidOutDocument> document);
    std::unique_ptr<ReportStatusWindow> openStatus();
    // The PDF file to write, asked of the person; empty when they gave up.
    QString askFileName() const;
    using Destined = std::pair<OutputOptions, QString>;
    std::optional<Destined> askDestination(const OutputRequest& request, QWidget* parent) const;
    QWidget* parentWindow() const;

    QPointer<ReportPreviewWindow> m_preview;
};

} // namespace quillio::report
