#include "invoices/TFFatturaElettronica.h"

#include "business/BusinessFile.h"
#include "business/BuyerBook.h"
#include "business/CompanyStore.h"
#include "business/InvoiceExport.h"
#include "einvoice/ExportDefaults.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"
#include "widgets/NamedButton.h"
#include "widgets/ValueLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillio::invoices {

using einvoice::CodeDescription;
using einvoice::ExportDefaults;
using einvoice::Problem;

namespace {

QCheckBox* newCheck(const QString& name, const QString& text, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(text);
    return box;
}

QComboBox* newChoice(const QString& name, const QString& label, const QList<CodeDescription>& codes,
                     QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(label);
    for (const CodeDescription& entry : codes)
        box->addItem(entry.code + QStringLiteral(" - ") + entry.description, entry.code);
    return box;
}

QGroupBox* newGroup(const QString& title, QFormLayout*& form, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    box->setAccessibleName(title);
    form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    return box;
}

const QString notChosen = QStringLiteral("(si sceglie alla prima esportazione)");

QString severityText(Problem::Severity severity)
{
    switch (severity) {
    case Problem::Error:
        return QStringLiteral("Errore");
    case Problem::Warning:
        return QStringLiteral("Avviso");
    case Problem::Notice:
        break;
    }
    return QStringLiteral("Nota");
}

void select(QComboBox* box, const QString& code)
{
    box->setCurrentIndex(std::max(0, box->findData(code)));
}

} // namespace

TFFatturaElettronica::TFFatturaElettronica(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFFatturaElettronica"));
    setWindowTitle(QStringLiteral("Fattura elettronica"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildBuyer());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(buildExemption());
    right->addWidget(buildPayment());
    right->addStretch();
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout->addLayout(columns);
    layout->addWidget(buildOutput());

    Problemi = new QListWidget(this);
    Problemi->setObjectName(QStringLiteral("Problemi"));
    Problemi->setAccessibleName(QStringLiteral("Problemi"));
    Problemi->setWordWrap(true);
    Problemi->setMinimumHeight(120);
    layout->addWidget(Problemi, 1);

    BT_Esporta = widgets::NamedButton::make(QStringLiteral("BT_Esporta"), QStringLiteral("Esporta"), this);
    BT_Chiudi = widgets::NamedButton::make(QStringLiteral("BT_Chiudi"), QStringLiteral("Chiudi"), this);
    connect(BT_Esporta, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { BT_EsportaClick(); }); });
    connect(BT_Chiudi, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BT_Esporta);
    buttons->addWidget(BT_Chiudi);
    layout->addLayout(buttons);

    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, &TFFatturaElettronica::refresh);
    for (QComboBox* box : findChildren<QComboBox*>())
        connect(box, &QComboBox::currentIndexChanged, this, &TFFatturaElettronica::refresh);
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &TFFatturaElettronica::refresh);
    connect(Scadenza, &QDateEdit::dateChanged, this, &TFFatturaElettronica::refresh);
    connect(ConScadenza, &QCheckBox::toggled, Scadenza, &QWidget::setEnabled);
    resize(1000, 640);
}

QLineEdit* TFFatturaElettronica::addEdit(QFormLayout* form, const QString& name, const QString& label,
                                         int maxLength)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    edit->setMaxLength(maxLength);
    form->addRow(label, edit);
    return edit;
}

widgets::ValueLabel* TFFatturaElettronica::addValue(QFormLayout* form, const QString& label)
{
    auto* value = new widgets::ValueLabel(label, {}, this);
    value->setObjectName(label);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(label, value);
    m_buyerValues.append(value);
    return value;
}

QWidget* TFFatturaElettronica::buildBuyer()
{
    QFormLayout* form = nullptr;
    QGroupBox* box = newGroup(QStringLiteral("Cliente"), form, this);
    for (const char* label : {"Ragione Sociale", "Via", "Citta'", "CAP", "Partita IVA", "Codice Fiscale"})
        addValue(form, QString::fromLatin1(label));
    CodiceDestinatario =
        addEdit(form, QStringLiteral("CodiceDestinatario"), QStringLiteral("Codice Destinatario"), 7);
    PEC = addEdit(form, QStringLiteral("PEC"), QStringLiteral("PEC"), 256);
    Provincia = addEdit(form, QStringLiteral("Provincia"), QStringLiteral("Provincia"), 2);
    Nazione = addEdit(form, QStringLiteral("Nazione"), QStringLiteral("Nazione"), 2);
    return box;
}

QWidget* TFFatturaElettronica::buildExemption()
{
    QFormLayout* form = nullptr;
    Esenzione = newGroup(QStringLiteral("Fattura senza IVA"), form, this);
    Natura = newChoice(QStringLiteral("Natura"), QStringLiteral("Natura"),
                       einvoice::ExportOptions::naturaCodes(), this);
    form->addRow(QStringLiteral("Natura"), Natura);
    RiferimentoNormativo =
        addEdit(form, QStringLiteral("RiferimentoNormativo"), QStringLiteral("Riferimento normativo"), 100);
    BolloVirtuale =
        newCheck(QStringLiteral("BolloVirtuale"), QStringLiteral("Bollo virtuale (2,00 €)"), this);
    form->addRow(BolloVirtuale);
    return Esenzione;
}

QWidget* TFFatturaElettronica::buildPayment()
{
    QFormLayout* form = nullptr;
    QGroupBox* box = newGroup(QStringLiteral("Pagamento"), form, this);
    ModalitaPagamento = newChoice(QStringLiteral("ModalitaPagamento"), QStringLiteral("Modalità"),
                                  einvoice::ExportOptions::modalitaPagamentoCodes(), this);
    form->addRow(QStringLiteral("Modalità"), ModalitaPagamento);
    ConScadenza = newCheck(QStringLiteral("ConScadenza"), QStringLiteral("Scadenza"), this);
    Scadenza = new QDateEdit(this);
    Scadenza->setObjectName(QStringLiteral("Scadenza"));
    Scadenza->setAccessibleName(QStringLiteral("Data di scadenza"));
    Scadenza->setCalendarPopup(true);
    Scadenza->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    Scadenza->setEnabled(false);
    form->addRow(ConScadenza, Scadenza);
    IBAN = addEdit(form, QStringLiteral("IBAN"), QStringLiteral("IBAN"), 34);
    return box;
}

QWidget* TFFatturaElettronica::buildOutput()
{
    auto* box = new QGroupBox(QStringLiteral("File"), this);
    box->setAccessibleName(box->title());
    auto* form = new QVBoxLayout(box);
    AllegaPdf = newCheck(QStringLiteral("AllegaPdf"), QStringLiteral("Allega PDF"), this);
    NuovoProgressivo =
        newCheck(QStringLiteral("NuovoProgressivo"),
                 QStringLiteral("Nuovo nome del file (per un file scartato e corretto)"), this);
    form->addWidget(AllegaPdf);
    form->addWidget(NuovoProgressivo);
    auto* folderRow = new QHBoxLayout;
    auto* folderLabel = new QLabel(QStringLiteral("Cartella:"), this);
    folderRow->addWidget(folderLabel);
    Cartella = new widgets::ValueLabel(QStringLiteral("Cartella"), {}, this);
    Cartella->setObjectName(QStringLiteral("Cartella"));
    BT_Cartella =
        widgets::NamedButton::make(QStringLiteral("BT_Cartella"), QStringLiteral("Cartella..."), this);
    connect(BT_Cartella, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { BT_CartellaClick(); }); });
    folderRow->addWidget(Cartella, 1);
    folderRow->addWidget(BT_Cartella);
    form->addLayout(folderRow);
    return box;
}

void TFFatturaElettronica::prepare(const einvoice::InvoiceRecord& invoice, int year,
                                   const einvoice::CompanyData& seller, PdfMaker pdf)
{
    m_invoice = invoice;
    m_year = year;
    m_seller = seller;
    m_pdf = std::move(pdf);
    m_written.clear();
    business::BusinessFile file = business::BusinessFile::inDataDirectory();
    const std::optional<einvoice::BuyerDetails> remembered =
        business::BuyerBook(file).details(invoice.pIva, invoice.cf);
    showBuyer();
    showOptions(ExportDefaults::forInvoice(invoice, seller, remembered));
    const QString folder = business::CompanyStore(file).exportFolder();
    Cartella->setValue(folder.isEmpty() ? notChosen : QDir::toNativeSeparators(folder));
    refresh();
}

void TFFatturaElettronica::showBuyer()
{
    const QStringList values = {m_invoice.ragioneSociale, m_invoice.via, m_invoice.citta, m_invoice.cap,
                                m_invoice.pIva,           m_invoice.cf};
    for (qsizetype i = 0; i < values.size(); ++i)
        m_buyerValues[i]->setValue(values[i]);
}

void TFFatturaElettronica::showOptions(const einvoice::ExportOptions& options)
{
    m_filling = true;
    CodiceDestinatario->setText(options.buyer.codiceDestinatario);
    PEC->setText(options.buyer.pec);
    Provincia->setText(options.buyer.provincia);
    Nazione->setText(options.buyer.nazione);
    const bool withoutVat = ExportDefaults::withoutVat(m_invoice);
    Esenzione->setEnabled(withoutVat);
    select(Natura, options.natura);
    RiferimentoNormativo->setText(options.riferimentoNormativo);
    BolloVirtuale->setEnabled(ExportDefaults::needsStampDuty(m_invoice));
    BolloVirtuale->setChecked(options.bolloVirtuale);
    select(ModalitaPagamento, options.modalitaPagamento);
    ConScadenza->setChecked(options.dueDate.has_value());
    Scadenza->setDate(options.dueDate.value_or(m_invoice.data.isValid() ? m_invoice.data.addDays(30)
                                                                        : Platform::clock().now().date()));
    IBAN->setText(options.iban);
    AllegaPdf->setChecked(true);
    NuovoProgressivo->setChecked(false);
    m_filling = false;
}

einvoice::ExportOptions TFFatturaElettronica::options() const
{
    einvoice::ExportOptions options;
    options.buyer.codiceDestinatario = CodiceDestinatario->text().trimmed().toUpper();
    options.buyer.pec = PEC->text().trimmed();
    options.buyer.provincia = Provincia->text().trimmed().toUpper();
    options.buyer.nazione = Nazione->text().trimmed().toUpper();
    if (Esenzione->isEnabled()) {
        options.natura = Natura->currentData().toString();
        options.riferimentoNormativo = RiferimentoNormativo->text().trimmed();
        options.bolloVirtuale = BolloVirtuale->isEnabled() && BolloVirtuale->isChecked();
    }
    options.modalitaPagamento = ModalitaPagamento->currentData().toString();
    if (ConScadenza->isChecked())
        options.dueDate = Scadenza->date();
    options.iban = IBAN->text().trimmed().toUpper();
    options.attachmentName =
        QStringLiteral("Fattura_%1_%2.pdf").arg(m_invoice.ordNum.value_or(0)).arg(m_year);
    return options;
}

void TFFatturaElettronica::refresh()
{
    if (m_filling)
        return;
    DefaultErrorHandler::run([this] {
        einvoice::ExportOptions checked = options();
        // The checks look at whether a page is attached, not at the page: it is made only to write.
        if (AllegaPdf->isChecked())
            checked.attachment = QByteArrayLiteral("%PDF-1.4");
        business::BusinessFile file = business::BusinessFile::inDataDirectory();
        m_problems = business::InvoiceExport(file).check(m_invoice, m_year, m_seller, checked);
    });
    showProblems();
}

void TFFatturaElettronica::showProblems()
{
    Problemi->clear();
    for (const Problem& problem : m_problems)
        Problemi->addItem(severityText(problem.severity) + QStringLiteral(": ") + problem.message);
    if (m_problems.isEmpty())
        Problemi->addItem(QStringLiteral("Nessun problema: la fattura elettronica può essere esportata."));
    BT_Esporta->setEnabled(!einvoice::hasErrors(m_problems));
}

QString TFFatturaElettronica::outputFolder(bool choose)
{
    business::BusinessFile file = business::BusinessFile::inDataDirectory();
    business::CompanyStore store(file);
    QString folder = store.exportFolder();
    if (choose || folder.isEmpty() || !QDir(folder).exists()) {
        folder = Platform::files().folder(this, QStringLiteral("Cartella delle fatture elettroniche"),
                                          folder.isEmpty() ? QDir::homePath() : folder);
        if (folder.isEmpty())
            return {};
        store.setExportFolder(folder);
    }
    Cartella->setValue(QDir::toNativeSeparators(folder));
    return folder;
}

void TFFatturaElettronica::BT_CartellaClick()
{
    outputFolder(true);
}

void TFFatturaElettronica::BT_EsportaClick()
{
    const QString folder = outputFolder(false);
    if (folder.isEmpty())
        return;
    einvoice::ExportOptions chosen = options();
    if (AllegaPdf->isChecked() && m_pdf)
        chosen.attachment = m_pdf();
    business::BusinessFile file = business::BusinessFile::inDataDirectory();
    const business::InvoiceExport::Outcome outcome = business::InvoiceExport(file).write(
        m_invoice, m_year, m_seller, chosen, folder, NuovoProgressivo->isChecked());
    m_problems = outcome.problems;
    showProblems();
    if (!outcome.written())
        return;
    m_written = outcome.filePath;
    Platform::messages().message(QStringLiteral("Fattura elettronica salvata in:\r") +
                                 QDir::toNativeSeparators(outcome.filePath));
    accept();
}

} // namespace quillio::invoices
