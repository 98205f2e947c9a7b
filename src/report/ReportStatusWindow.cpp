#include "report/ReportStatusWindow.h"

#include "widgets/ValueLabel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillio::report {

ReportStatusWindow::ReportStatusWindow(const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    setAccessibleName(title);
    auto* layout = new QVBoxLayout(this);
    m_line = new widgets::ValueLabel(QStringLiteral("StatusLine"));
    m_line->setObjectName(QStringLiteral("StatusLine"));
    m_line->setMinimumWidth(260);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setAccessibleName(QStringLiteral("Cancel"));
    layout->addWidget(m_line);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
    });
}

bool ReportStatusWindow::showStep(const QString& line)
{
    m_line->setValue(line);
    emit stepShown(line);
    return poll();
}

bool ReportStatusWindow::poll()
{
    // Lets the window paint and a press of Cancel arrive between two pages.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !m_cancelled;
}

QString ReportStatusWindow::line() const
{
    return m_line->text();
}

} // namespace quillio::report
