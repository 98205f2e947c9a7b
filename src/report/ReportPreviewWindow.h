#pragma once

#include "report/DisplayList.h"

#include <QDialog>
#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;

namespace quillio::report {

// The "Report Preview" window: the laid-out pages at a chosen zoom, with a button that prints
// them through the report system's own output path.
class ReportPreviewWindow : public QDialog
{
    Q_OBJECT

public:
    ReportPreviewWindow(std::shared_ptr<const LaidOutDocument> document, const QString& title,
                        int zoomPercent, std::function<void()> print, QWidget* parent = nullptr);
    ~ReportPreviewWindow() override;

    QPrintPreviewWidget* previewWidget() const { return m_preview; }
    QAction* printAction() const { return m_print; }

private:
    void paintPages(QPrinter* printer);

    std::shared_ptr<const LaidOutDocument> m_document;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QAction* m_print = nullptr;
};

} // namespace quillio::report
