#include "invoices/InvoicePrintParameters.h"

#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "dbcontrols/FieldFormat.h"
#include "einvoice/Cents.h"
#include "engine/Dataset.h"
#include "engine/Values.h"
#include "platform/Platform.h"
#include "platform/ProgramFiles.h"
#include "report/ReportProject.h"

#include <QDir>
#include <QLocale>
#include <cstdlib>
#include <functional>
#include <optional>

namespace quillio::invoices {

namespace {

enum class Form { Date, WholeNumber, Text, Amount, Rate };

struct ParameterSource
{
    QString name;
    QString field;
    Form form;
};

QList<ParameterSource> sources()
{
    QList<ParameterSource> list = {
        {"Data", "Data", Form::Date},
        {"Numero", "OrdNum", Form::WholeNumber},
        {"Ragione_Sociale", "Ragione_Sociale", Form::Text},
        {"Via", "Via", Form::Text},
        {"Citta", "Citta", Form::Text},
        {"CAP", "Cap", Form::Text},
        {"PIVA", "PIva", Form::Text},
        {"CF", "CF", Form::Text},
        {"Testo1", "Testo1", Form::Text},
        {"Testo2", "Testo2", Form::Text},
    };
    // All twenty line slots reach the layout, since the totals add all twenty.
    for (int slot = 1; slot <= 20; ++slot) {
        const QString number = QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
        list.append({QStringLiteral("Desc") + number, QStringLiteral("Desc") + number, Form::Text});
        list.append({QStringLiteral("Costo") + number, QStringLiteral("Costo") + number, Form::Amount});
    }
    list.append({{"Totale", "Totale", Form::Amount},
                 {"IVA", "Iva", Form::Rate},
                 {"Totale_IVA", "Totale_Iva", Form::Amount},
                 {"Totale_Fattura", "Totale_Fattura", Form::Amount},
                 {"Condizioni", "Condizioni", Form::Text}});
    return list;
}

// The printed amounts round exactly as the electronic invoice does.
std::optional<qint64> hundredths(double value)
{
    return einvoice::Cents::fromDouble(value);
}

QLocale groupingLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale;
}

QString signedText(qint64 cents, const QString& whole, const QString& fraction)
{
    const QLocale locale = groupingLocale();
    const QString sign = cents < 0 ? locale.negativeSign() : QString();
    return fraction.isEmpty() ? sign + whole : sign + whole + locale.decimalPoint() + fraction;
}

QString textOf(const QVariant& value, Form form)
{
    if (engine::Values::isNull(value))
        return {};
    switch (form) {
    case Form::Date:
        return InvoicePrintParameters::dateText(value.toDate());
    case Form::WholeNumber:
        return QString::number(value.toLongLong());
    case Form::Amount:
        return InvoicePrintParameters::amountText(value.toDouble());
    case Form::Rate:
        return InvoicePrintParameters::rateText(value.toDouble());
    case Form::Text:
        break;
    }
    return value.toString();
}

} // namespace

QStringList InvoicePrintParameters::names()
{
    QStringList names;
    for (const ParameterSource& source : sources())
        names.append(source.name);
    return names;
}

QList<InvoicePrintParameters::Parameter> InvoicePrintParameters::read(const engine::Dataset& invoice)
{
    QList<Parameter> parameters;
    for (const ParameterSource& source : sources())
        parameters.append({source.name, textOf(invoice.fieldValue(source.field), source.form)});
    return parameters;
}

QString InvoicePrintParameters::amountText(double value)
{
    const std::optional<qint64> cents = hundredths(value);
    if (!cents)
        return groupingLocale().toString(value, 'f', 2);
    const qint64 magnitude = std::llabs(*cents);
    const QString whole = groupingLocale().toString(magnitude / 100);
    return signedText(*cents, whole, QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0')));
}

QString InvoicePrintParameters::rateText(double value)
{
    const std::optional<qint64> cents = hundredths(value);
    if (!cents)
        return QString::number(value, 'f', 0);
    const qint64 magnitude = std::llabs(*cents);
    QString fraction = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return signedText(magnitude == 0 ? 0 : *cents, QString::number(magnitude / 100), fraction);
}

QString InvoicePrintParameters::dateText(const QDate& date)
{
    return QLocale().toString(date, dbcontrols::FieldFormat::shortDateFormat());
}

QString InvoicePrintParameters::layoutPath(const QString& pathPrg)
{
    const QChar separator = QDir::separator();
    const QString besideProgram =
        pathPrg + separator + QStringLiteral("Report") + separator + QStringLiteral("ModFatturaBase.qrl");
    const QString installed = Platform::paths().installedDataDir() + QStringLiteral("Report") + separator +
                              QStringLiteral("ModFatturaBase.qrl");
    const QString found = ProgramFiles::firstExisting({besideProgram, installed});
    return found.isEmpty() ? besideProgram : found;
}

namespace {

// Runs `output` with the project open on the invoice layout and filled from the invoice; the
// project is open only for this one run, whatever happens inside it.
void withInvoiceLoaded(report::ReportProject& project, const engine::Dataset& invoice, const QString& pathPrg,
                       const std::function<void()>& output)
{
    struct Closer
    {
        report::ReportProject& project;
        ~Closer() { project.close(); }
    };
    project.setProjectFile(InvoicePrintParameters::layoutPath(pathPrg));
    project.open();
    const Closer closer{project};
    for (const QString& name : InvoicePrintParameters::names())
        project.setParameter(name, QString());
    for (const auto& [name, text] : InvoicePrintParameters::read(invoice))
        project.setParameter(name, text);
    output();
}

} // namespace

void InvoicePrintParameters::print(report::ReportProject& project, const engine::Dataset& invoice,
                                   const QString& pathPrg)
{
    withInvoiceLoaded(project, invoice, pathPrg, [&] { project.execute(); });
}

void InvoicePrintParameters::writeArchivalPdf(report::ReportProject& project, const engine::Dataset& invoice,
                                              const QString& pathPrg, const QString& path)
{
    withInvoiceLoaded(project, invoice, pathPrg, [&] { project.exportPdf(path, true); });
}

void InvoicePrintParameters::print(report::ReportProject& project, const engine::Dataset& invoice)
{
    print(project, invoice, config::Settings::programDirectory());
}

} // namespace quillio::invoices
