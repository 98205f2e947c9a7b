#include "report/ReportPreviewWindow.h"

#include "report/DisplayListPainter.h"

#include <QAction>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillio::report {

namespace {

QAction* addButton(QToolBar* bar, const QString& caption)
{
    QAction* action = bar->addAction(caption);
    bar->widgetForAction(action)->setAccessibleName(QString(caption).remove(u'&'));
    return action;
}

} // namespace

ReportPreviewWindow::ReportPreviewWindow(std::shared_ptr<const LaidOutDocument> document,
                                         const QString& title, int zoomPercent, std::function<void()> print,
                                         QWidget* parent)
    : QDialog(parent), m_document(std::move(document)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setWindowTitle(title);
    setAccessibleName(title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_printer->setFullPage(true);
    m_printer->setPageLayout(m_document->pageLayout);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar;
    bar->setAccessibleName(QStringLiteral("ToolBar1"));
    m_print = addButton(bar, QStringLiteral("&Stampa..."));
    m_print->setEnabled(bool(print));
    connect(m_print, &QAction::triggered, this, [print = std::move(print)] { print(); });
    connect(addButton(bar, QStringLiteral("Zoom &+")), &QAction::triggered, this,
            [this] { m_preview->zoomIn(); });
    connect(addButton(bar, QStringLiteral("Zoom &-")), &QAction::triggered, this,
            [this] { m_preview->zoomOut(); });
    connect(addButton(bar, QStringLiteral("&Chiudi")), &QAction::triggered, this, &QDialog::close);

    m_preview = new QPrintPreviewWidget(m_printer.get());
    m_preview->setAccessibleName(QStringLiteral("Anteprima"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &ReportPreviewWindow::paintPages);
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(zoomPercent / 100.0);
    layout->addWidget(bar);
    layout->addWidget(m_preview, 1);
}

// The preview widget draws on the printer: it goes first.
ReportPreviewWindow::~ReportPreviewWindow()
{
    delete m_preview;
}

void ReportPreviewWindow::paintPages(QPrinter* printer)
{
    QPainter painter(printer);
    for (qsizetype i = 0; i < m_document->pages.size(); ++i) {
        if (i > 0)
            printer->newPage();
        DisplayListPainter::paintPage(painter, m_document->pages[i], printer->logicalDpiX(),
                                      printer->logicalDpiY());
    }
}

} // namespace quillio::report
