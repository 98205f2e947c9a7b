#pragma once

#include "report/OutputOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quillio::report {

// "Output Options": where the report goes (printer, preview, file), copies, collation, duplex,
// printer setup and preview setup. Without an installed printer the printer destination is
// disabled and a line says why.
class OutputOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OutputOptionsDialog(const OutputRequest& request, const QStringList& printerNames,
                        QWidget* parent = nullptr);

    OutputOptions options() const;

    QRadioButton* printerChoice() const { return m_printer; }
    QRadioButton* previewChoice() const { return m_preview; }
    QRadioButton* fileChoice() const { return m_file; }
    QPushButton* printerSetupButton() const { return m_printerSetup; }
    QLabel* noPrinterNote() const { return m_noPrinterNote; }
    QSpinBox* copiesBox() const { return m_copies; }
    QSpinBox* zoomBox() const { return m_zoom; }

private:
    QWidget* buildDestination();
    QWidget* buildPrinterPart();
    QWidget* buildPreviewPart();
    void showOptions(const OutputOptions& options);
    Destination destination() const;
    void updateEnabled();
    void setUpPrinter();

    bool m_printersInstalled = false;
    QStringList m_printerNames;
    QRadioButton* m_printer = nullptr;
    QRadioButton* m_preview = nullptr;
    QRadioButton* m_file = nullptr;
    QLabel* m_noPrinterNote = nullptr;
    QComboBox* m_printerName = nullptr;
    QPushButton* m_printerSetup = nullptr;
    QSpinBox* m_copies = nullptr;
    QCheckBox* m_collate = nullptr;
    QCheckBox* m_duplex = nullptr;
    QSpinBox* m_zoom = nullptr;
    QCheckBox* m_maximized = nullptr;
};

} // namespace quillio::report
