#pragma once

#include <QDialog>

class QPushButton;

namespace quillio::widgets {
class ValueLabel;
}

namespace quillio::report {

// The "Report Status" window: the page in progress and a Cancel button. It stays open while
// pages are generated or printed; a press of Cancel is noticed at the next page.
class ReportStatusWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ReportStatusWindow(const QString& title, QWidget* parent = nullptr);

    // Shows the line, lets the person press Cancel, and tells whether the run may go on.
    bool showStep(const QString& line);
    // Lets a press of Cancel arrive without changing the line; tells whether the run may go on.
    bool poll();
    bool cancelled() const { return m_cancelled; }
    QString line() const;
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    void stepShown(const QString& line);

private:
    widgets::ValueLabel* m_line = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
};

} // namespace quillio::report
