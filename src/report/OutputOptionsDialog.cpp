#include "report/OutputOptionsDialog.h"

#include "report/OutputRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quillio::report {

namespace {

QString spokenName(const QString& caption)
{
    return QString(caption).remove(u'&').trimmed();
}

template <typename Control> Control* named(Control* control, const QString& caption)
{
    control->setAccessibleName(spokenName(caption));
    return control;
}

QSpinBox* spinBox(int minimum, int maximum, const QString& caption)
{
    auto* box = named(new QSpinBox, caption);
    box->setRange(minimum, maximum);
    return box;
}

} // namespace

OutputOptionsDialog::OutputOptionsDialog(const OutputRequest& request, const QStringList& printerNames,
                                         QWidget* parent)
    : QDialog(parent), m_printersInstalled(!printerNames.isEmpty()), m_printerNames(printerNames)
{
    setWindowTitle(request.title);
    setAccessibleName(request.title);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildDestination());
    layout->addWidget(buildPrinterPart());
    layout->addWidget(buildPreviewPart());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    OutputOptions shown = request.preselected;
    shown.destination =
        OutputRules::initialDestination(shown.destination, m_printersInstalled, request.previewAllowed);
    m_preview->setEnabled(request.previewAllowed);
    showOptions(shown);
}

QWidget* OutputOptionsDialog::buildDestination()
{
    auto* group = named(new QGroupBox(QStringLiteral("Destinazione")), QStringLiteral("Destinazione"));
    auto* layout = new QVBoxLayout(group);
    m_printer = named(new QRadioButton(QStringLiteral("&Stampante")), QStringLiteral("&Stampante"));
    m_preview = named(new QRadioButton(QStringLiteral("&Anteprima")), QStringLiteral("&Anteprima"));
    m_file = named(new QRadioButton(QStringLiteral("&File PDF")), QStringLiteral("&File PDF"));
    const QString reason = QStringLiteral("Nessuna stampante installata: si può solo vedere l'anteprima o "
                                          "salvare un file PDF.");
    m_noPrinterNote = named(new QLabel(reason), reason);
    m_noPrinterNote->setWordWrap(true);
    m_noPrinterNote->setVisible(!m_printersInstalled);
    m_printer->setEnabled(OutputRules::printerDestinationAllowed(m_printersInstalled));
    if (!m_printersInstalled)
        m_printer->setToolTip(reason);
    for (QRadioButton* choice : {m_printer, m_preview, m_file}) {
        layout->addWidget(choice);
        connect(choice, &QRadioButton::toggled, this, &OutputOptionsDialog::updateEnabled);
    }
    layout->addWidget(m_noPrinterNote);
    return group;
}

QWidget* OutputOptionsDialog::buildPrinterPart()
{
    auto* group = named(new QGroupBox(QStringLiteral("Stampante")), QStringLiteral("Stampante"));
    auto* form = new QFormLayout(group);
    m_printerName = named(new QComboBox, QStringLiteral("Nome stampante"));
    m_printerName->addItems(m_printerNames);
    m_printerSetup = named(new QPushButton(QStringLiteral("&Imposta stampante...")),
                           QStringLiteral("Imposta stampante..."));
    connect(m_printerSetup, &QPushButton::clicked, this, &OutputOptionsDialog::setUpPrinter);
    m_copies = spinBox(1, 999, QStringLiteral("&Copie:"));
    m_collate = named(new QCheckBox(QStringLiteral("&Fascicola")), QStringLiteral("&Fascicola"));
    m_duplex = named(new QCheckBox(QStringLiteral("F&ronte/retro")), QStringLiteral("F&ronte/retro"));
    form->addRow(QStringLiteral("Nome stampante:"), m_printerName);
    form->addRow(QString(), m_printerSetup);
    form->addRow(QStringLiteral("&Copie:"), m_copies);
    form->addRow(QString(), m_collate);
    form->addRow(QString(), m_duplex);
    return group;
}

QWidget* OutputOptionsDialog::buildPreviewPart()
{
    auto* group = named(new QGroupBox(QStringLiteral("Impostazioni anteprima")),
                        QStringLiteral("Impostazioni anteprima"));
    auto* form = new QFormLayout(group);
    m_zoom = spinBox(10, 400, QStringLiteral("&Zoom (%):"));
    m_maximized = named(new QCheckBox(QStringLiteral("Finestra &massimizzata")),
                        QStringLiteral("Finestra &massimizzata"));
    form->addRow(QStringLiteral("&Zoom (%):"), m_zoom);
    form->addRow(QString(), m_maximized);
    return group;
}

void OutputOptionsDialog::showOptions(const OutputOptions& options)
{
    m_printer->setChecked(options.destination == Destination::Printer);
    m_preview->setChecked(options.destination == Destination::Preview);
    m_file->setChecked(options.destination == Destination::File);
    const qsizetype printer = m_printerNames.indexOf(options.printerName);
    if (printer >= 0)
        m_printerName->setCurrentIndex(int(printer));
    m_copies->setValue(options.copies);
    m_collate->setChecked(options.collate);
    m_duplex->setChecked(options.duplex);
    m_zoom->setValue(options.previewZoom);
    m_maximized->setChecked(options.previewMaximized);
    updateEnabled();
}

Destination OutputOptionsDialog::destination() const
{
    if (m_printer->isChecked())
        return Destination::Printer;
    return m_file->isChecked() ? Destination::File : Destination::Preview;
}

void OutputOptionsDialog::updateEnabled()
{
    const Destination chosen = destination();
    const bool setup = OutputRules::printerSetupEnabled(chosen, m_printersInstalled);
    m_printerName->setEnabled(setup);
    m_printerSetup->setEnabled(setup);
    for (QWidget* control :
         {static_cast<QWidget*>(m_copies), static_cast<QWidget*>(m_collate), static_cast<QWidget*>(m_duplex)})
        control->setEnabled(OutputRules::copiesEnabled(chosen));
    m_zoom->setEnabled(OutputRules::previewSetupEnabled(chosen));
    m_maximized->setEnabled(OutputRules::previewSetupEnabled(chosen));
}

void OutputOptionsDialog::setUpPrinter()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(m_printerName->currentText());
    printer.setCopyCount(m_copies->value());
    printer.setCollateCopies(m_collate->isChecked());
    printer.setDuplex(m_duplex->isChecked() ? QPrinter::DuplexAuto : QPrinter::DuplexNone);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_printerName->setCurrentText(printer.printerName());
    m_copies->setValue(printer.copyCount());
    m_collate->setChecked(printer.collateCopies());
    m_duplex->setChecked(printer.duplex() != QPrinter::DuplexNone);
}

OutputOptions OutputOptionsDialog::options() const
{
    OutputOptions chosen;
    chosen.destination = destination();
    chosen.printerName = m_printerName->currentText();
    chosen.copies = m_copies->value();
    chosen.collate = m_collate->isChecked();
    chosen.duplex = m_duplex->isChecked();
    chosen.previewZoom = m_zoom->value();
    chosen.previewMaximized = m_maximized->isChecked();
    return chosen;
}

} // namespace quillio::report
