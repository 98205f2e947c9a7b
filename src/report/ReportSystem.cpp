#include "report/ReportSystem.h"

#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"
#include "report/OutputChooser.h"
#include "report/PageOutput.h"
#include "report/ReportLayouter.h"
#include "report/ReportPreviewWindow.h"
#include "report/ReportStatusWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace quillio::report {

namespace {

// Shows each page's line in the status window; with no line, only listens for Cancel.
PageOutput::Progress progressOn(ReportStatusWindow* status, const QString& text = {})
{
    return [status, text](int page) {
        if (!status)
            return true;
        return text.isEmpty() ? status->poll() : status->showStep(ReportSettings::withPage(text, page));
    };
}

} // namespace

ReportSystem::ReportSystem(QObject* parent) : QObject(parent) {}

ReportSystem::~ReportSystem()
{
    delete m_preview.data();
}

QWidget* ReportSystem::parentWindow() const
{
    return QApplication::activeWindow();
}

void ReportSystem::run(const ReportDefinition& report, const ReportParameters& parameters)
{
    OutputRequest request{settings.setupTitle, {}, true};
    request.preselected.destination = settings.defaultDestination;
    request.preselected.previewZoom = settings.previewZoom;
    request.preselected.previewMaximized = settings.previewMaximized;
    const std::optional<Destined> destined = askDestination(request, parentWindow());
    if (!destined)
        return;
    const auto& [options, fileName] = *destined;
    const std::unique_ptr<ReportStatusWindow> status = openStatus();
    std::optional<LaidOutDocument> document = generate(report, parameters, status.get());
    if (!document)
        return;
    deliver(std::make_shared<const LaidOutDocument>(std::move(*document)), options, fileName, status.get());
}

std::unique_ptr<ReportStatusWindow> ReportSystem::openStatus()
{
    if (!settings.showStatus)
        return nullptr;
    auto status = std::make_unique<ReportStatusWindow>(settings.statusTitle, parentWindow());
    status->show();
    emit statusWindowShown(status.get());
    return status;
}

std::optional<LaidOutDocument> ReportSystem::generate(const ReportDefinition& report,
                                                      const ReportParameters& parameters,
                                                      ReportStatusWindow* status)
{
    const PageOutput::Progress progress = progressOn(status, settings.generatingText);
    LaidOutDocument document{ReportLayouter::pageLayout(report), {}};
    const QList<ReportLayouter::PlannedPage> pages = ReportLayouter::plan(report, parameters);
    for (qsizetype index = 0; index < pages.size(); ++index) {
        if (!progress(int(index) + 1))
            return std::nullopt;
        document.pages.append(ReportLayouter::layOutPlanned(report, pages, index, parameters));
    }
    return document;
}

void ReportSystem::deliver(std::shared_ptr<const LaidOutDocument> document, const OutputOptions& options,
                           const QString& fileName, ReportStatusWindow* status)
{
    switch (options.destination) {
    case Destination::Preview:
        if (status)
            status->close();
        showPreview(std::move(document), options);
        return;
    case Destination::File:
        // The pages were generated under their status lines already; writing them is quick.
        PageOutput::toPdf(fileName, *document, settings.jobTitle, progressOn(status));
        return;
    case Destination::Printer: {
        QPrinter printer(QPrinter::HighResolution);
        PageOutput::toPrinter(printer, *document, options, settings.jobTitle, settings.printerScaleX / 100.0,
                              settings.printerScaleY / 100.0, progressOn(status, settings.printingText));
        return;
    }
    }
}

void ReportSystem::showPreview(std::shared_ptr<const LaidOutDocument> document, const OutputOptions& options)
{
    delete m_preview.data();
    std::function<void()> print;
    if (settings.printFromPreview)
        print = [this, document] { DefaultErrorHandler::run([&] { printFromPreview(document); }); };
    m_preview =
        new ReportPreviewWindow(document, settings.previewTitle, options.previewZoom, print, parentWindow());
    m_preview->setAttribute(Qt::WA_DeleteOnClose);
    if (options.previewMaximized)
        m_preview->setWindowState(Qt::WindowMaximized);
    Platform::modal().showModal(m_preview);
}

// The options the person chose and, for a file, its name; nothing when they gave up at either.
std::optional<ReportSystem::Destined> ReportSystem::askDestination(const OutputRequest& request,
                                                                   QWidget* parent) const
{
    const std::optional<OutputOptions> options = OutputChooser::installed().choose(request, parent);
    if (!options)
        return std::nullopt;
    const QString fileName = options->destination == Destination::File ? askFileName() : QString();
    if (options->destination == Destination::File && fileName.isEmpty())
        return std::nullopt;
    return Destined{*options, fileName};
}

void ReportSystem::printFromPreview(std::shared_ptr<const LaidOutDocument> document)
{
    OutputRequest request{settings.setupTitle, {}, false};
    request.preselected.destination = Destination::Printer;
    const std::optional<Destined> destined = askDestination(request, m_preview);
    if (!destined)
        return;
    const std::unique_ptr<ReportStatusWindow> status = openStatus();
    deliver(std::move(document), destined->first, destined->second, status.get());
}

QString ReportSystem::askFileName() const
{
    const QString suggested = QDir::home().filePath(settings.jobTitle + QStringLiteral(".pdf"));
    QString name = Platform::files().saveFileName(parentWindow(), QStringLiteral("Salva il report come PDF"),
                                                  suggested, QStringLiteral("Documenti PDF (*.pdf)"));
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".pdf");
    return name;
}

} // namespace quillio::report
