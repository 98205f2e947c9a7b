#include "company/TFDatiAzienda.h"

#include "business/BusinessFile.h"
#include "business/CompanyStore.h"
#include "einvoice/Cents.h"
#include "platform/DefaultErrorHandler.h"
#include "widgets/NamedButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace quillio::company {

using einvoice::CodeDescription;
using einvoice::CompanyData;

namespace {

const QList<CodeDescription> shareholders = {{"", "Non indicato"}, {"SU", "Socio unico"}, {"SM", "Più soci"}};
const QList<CodeDescription> liquidation = {{"LN", "Non in liquidazione"}, {"LS", "In liquidazione"}};
const QString capitalLabel = QStringLiteral("Capitale sociale");

QGroupBox* group(const QString& title, QFormLayout*& form, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    box->setAccessibleName(title);
    form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    return box;
}

} // namespace

TFDatiAzienda::TFDatiAzienda(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFDatiAzienda"));
    setWindowTitle(QStringLiteral("Dati Azienda"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildIdentity());
    left->addWidget(buildSeat());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(buildRegister());
    right->addWidget(buildContacts());
    right->addStretch();
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout->addLayout(columns);

    BT_Salva = widgets::NamedButton::make(QStringLiteral("BT_Salva"), QStringLiteral("&Salva"), this);
    BT_Annulla = widgets::NamedButton::make(QStringLiteral("BT_Annulla"), QStringLiteral("&Annulla"), this);
    BT_Salva->setDefault(true);
    connect(BT_Salva, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { BT_SalvaClick(); }); });
    connect(BT_Annulla, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BT_Salva);
    buttons->addWidget(BT_Annulla);
    layout->addLayout(buttons);
    resize(860, sizeHint().height());
}

void TFDatiAzienda::registerField(QFormLayout* form, const QString& label, QWidget* field)
{
    field->setObjectName(label);
    field->setAccessibleName(label);
    auto* problem = new QLabel(this);
    problem->setObjectName(label + QStringLiteral(" problema"));
    problem->setWordWrap(true);
    QPalette palette = problem->palette();
    palette.setColor(QPalette::WindowText, QColor(176, 0, 0));
    problem->setPalette(palette);
    problem->hide();
    auto* cell = new QWidget(this);
    auto* stack = new QVBoxLayout(cell);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(1);
    stack->addWidget(field);
    stack->addWidget(problem);
    form->addRow(label, cell);
    m_fields.insert(label, field);
    m_problems.insert(label, problem);
}

QLineEdit* TFDatiAzienda::addLine(QFormLayout* form, const QString& label, int maxLength)
{
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(maxLength);
    registerField(form, label, edit);
    return edit;
}

QComboBox* TFDatiAzienda::addChoice(QFormLayout* form, const QString& label,
                                    const QList<CodeDescription>& codes)
{
    auto* box = new QComboBox(this);
    for (const CodeDescription& entry : codes)
        box->addItem(entry.code.isEmpty() ? entry.description
                                          : entry.code + QStringLiteral(" - ") + entry.description,
                     entry.code);
    registerField(form, label, box);
    return box;
}

QWidget* TFDatiAzienda::buildIdentity()
{
    QFormLayout* form = nullptr;
    QGroupBox* box = group(QStringLiteral("Anagrafica"), form, this);
    addLine(form, QStringLiteral("Denominazione"), 80);
    addLine(form, QStringLiteral("Nome"), 60);
    addLine(form, QStringLiteral("Cognome"), 60);
    addLine(form, QStringLiteral("Partita IVA"), 11);
    addLine(form, QStringLiteral("Codice fiscale"), 16);
    addChoice(form, QStringLiteral("Regime fiscale"), CompanyData::regimiFiscali());
    return box;
}

QWidget* TFDatiAzienda::buildSeat()
{
    QFormLayout* form = nullptr;
    QGroupBox* box = group(QStringLiteral("Sede"), form, this);
    addLine(form, QStringLiteral("Indirizzo"), 60);
    addLine(form, QStringLiteral("Numero civico"), 8);
    addLine(form, QStringLiteral("CAP"), 5);
    addLine(form, QStringLiteral("Comune"), 60);
    addLine(form, QStringLiteral("Provincia"), 2);
    addLine(form, QStringLiteral("Nazione"), 2);
    return box;
}

QWidget* TFDatiAzienda::buildRegister()
{
    QFormLayout* form = nullptr;
    QGroupBox* box = group(QStringLiteral("Registro delle imprese (REA)"), form, this);
    IscrittoRea = new QCheckBox(QStringLiteral("Iscritta al REA"), this);
    IscrittoRea->setObjectName(QStringLiteral("IscrittoRea"));
    IscrittoRea->setAccessibleName(IscrittoRea->text());
    form->addRow(IscrittoRea);
    const QList<QWidget*> fields = {
        addLine(form, QStringLiteral("Ufficio REA"), 2), addLine(form, QStringLiteral("Numero REA"), 20),
        addLine(form, capitalLabel, 20), addChoice(form, QStringLiteral("Socio unico"), shareholders),
        addChoice(form, QStringLiteral("Stato di liquidazione"), liquidation)};
    for (QWidget* field : fields) {
        field->setEnabled(false);
        connect(IscrittoRea, &QCheckBox::toggled, field, &QWidget::setEnabled);
    }
    return box;
}

QWidget* TFDatiAzienda::buildContacts()
{
    QFormLayout* form = nullptr;
    QGroupBox* box = group(QStringLiteral("Pagamenti e contatti"), form, this);
    addLine(form, QStringLiteral("IBAN"), 34);
    addLine(form, QStringLiteral("Telefono"), 12);
    addLine(form, QStringLiteral("E-mail"), 256);
    return box;
}

QString TFDatiAzienda::text(const QString& label) const
{
    return static_cast<QLineEdit*>(m_fields.value(label))->text().trimmed();
}

void TFDatiAzienda::setText(const QString& label, const QString& text)
{
    static_cast<QLineEdit*>(m_fields.value(label))->setText(text);
}

QString TFDatiAzienda::code(const QString& label) const
{
    return static_cast<QComboBox*>(m_fields.value(label))->currentData().toString();
}

void TFDatiAzienda::setCode(const QString& label, const QString& code)
{
    auto* box = static_cast<QComboBox*>(m_fields.value(label));
    box->setCurrentIndex(std::max(0, box->findData(code)));
}

CompanyData TFDatiAzienda::data() const
{
    CompanyData c;
    c.denominazione = text(QStringLiteral("Denominazione"));
    c.nome = text(QStringLiteral("Nome"));
    c.cognome = text(QStringLiteral("Cognome"));
    c.partitaIva = text(QStringLiteral("Partita IVA"));
    c.codiceFiscale = text(QStringLiteral("Codice fiscale")).toUpper();
    c.regimeFiscale = code(QStringLiteral("Regime fiscale"));
    c.indirizzo = text(QStringLiteral("Indirizzo"));
    c.numeroCivico = text(QStringLiteral("Numero civico"));
    c.cap = text(QStringLiteral("CAP"));
    c.comune = text(QStringLiteral("Comune"));
    c.provincia = text(QStringLiteral("Provincia")).toUpper();
    c.nazione = text(QStringLiteral("Nazione")).toUpper();
    c.iban = text(QStringLiteral("IBAN")).toUpper();
    c.telefono = text(QStringLiteral("Telefono"));
    c.email = text(QStringLiteral("E-mail"));
    if (IscrittoRea->isChecked()) {
        CompanyData::Rea rea;
        rea.ufficio = text(QStringLiteral("Ufficio REA")).toUpper();
        rea.numeroRea = text(QStringLiteral("Numero REA"));
        bool ok = false;
        const double capital = QLocale().toDouble(text(capitalLabel), &ok);
        if (ok)
            rea.capitaleSociale = einvoice::Cents::fromDouble(capital);
        rea.socioUnico = code(QStringLiteral("Socio unico"));
        rea.statoLiquidazione = code(QStringLiteral("Stato di liquidazione"));
        c.rea = rea;
    }
    return c;
}

void TFDatiAzienda::fill(const CompanyData& c)
{
    setText(QStringLiteral("Denominazione"), c.denominazione);
    setText(QStringLiteral("Nome"), c.nome);
    setText(QStringLiteral("Cognome"), c.cognome);
    setText(QStringLiteral("Partita IVA"), c.partitaIva);
    setText(QStringLiteral("Codice fiscale"), c.codiceFiscale);
    setCode(QStringLiteral("Regime fiscale"), c.regimeFiscale);
    setText(QStringLiteral("Indirizzo"), c.indirizzo);
    setText(QStringLiteral("Numero civico"), c.numeroCivico);
    setText(QStringLiteral("CAP"), c.cap);
    setText(QStringLiteral("Comune"), c.comune);
    setText(QStringLiteral("Provincia"), c.provincia);
    setText(QStringLiteral("Nazione"), c.nazione);
    setText(QStringLiteral("IBAN"), c.iban);
    setText(QStringLiteral("Telefono"), c.telefono);
    setText(QStringLiteral("E-mail"), c.email);
    const CompanyData::Rea rea = c.rea.value_or(CompanyData::Rea());
    IscrittoRea->setChecked(c.rea.has_value());
    setText(QStringLiteral("Ufficio REA"), rea.ufficio);
    setText(QStringLiteral("Numero REA"), rea.numeroRea);
    setText(capitalLabel,
            rea.capitaleSociale ? QLocale().toString(*rea.capitaleSociale / 100.0, 'f', 2) : QString());
    setCode(QStringLiteral("Socio unico"), rea.socioUnico);
    setCode(QStringLiteral("Stato di liquidazione"), rea.statoLiquidazione);
    showProblems({});
}

// Opens on what is stored, or on the defaults the first time.
void TFDatiAzienda::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DefaultErrorHandler::run([this] {
        business::BusinessFile file = business::BusinessFile::inDataDirectory();
        fill(business::CompanyStore(file).company().value_or(CompanyData()));
    });
}

bool TFDatiAzienda::showProblems(const QList<einvoice::FieldProblem>& problems)
{
    QMap<QString, QStringList> byField;
    for (const einvoice::FieldProblem& problem : problems)
        byField[problem.field].append(problem.message);
    for (auto it = m_problems.cbegin(); it != m_problems.cend(); ++it) {
        const QString message = byField.value(it.key()).join(QLatin1Char('\n'));
        it.value()->setText(message);
        it.value()->setAccessibleName(message);
        it.value()->setVisible(!message.isEmpty());
        m_fields.value(it.key())->setAccessibleDescription(message);
    }
    return problems.isEmpty();
}

void TFDatiAzienda::BT_SalvaClick()
{
    QList<einvoice::FieldProblem> problems = data().problems();
    if (IscrittoRea->isChecked() && !text(capitalLabel).isEmpty() && !data().rea->capitaleSociale)
        problems.append({capitalLabel, QStringLiteral("Capitale sociale: importo non valido.")});
    if (!showProblems(problems))
        return;
    business::BusinessFile file = business::BusinessFile::inDataDirectory();
    business::CompanyStore(file).setCompany(data());
    accept();
}

} // namespace quillio::company
