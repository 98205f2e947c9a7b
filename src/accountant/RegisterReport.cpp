#include "accountant/RegisterReport.h"

#include "accountant/AmountText.h"
#include "accountant/SalesRegister.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/ProgramFiles.h"
#include "report/ReportProject.h"

#include <QDir>

namespace quillio::accountant {

namespace {

// Fills the numbered lines of the register's list, one kind of line at a time.
class RegisterLines
{
public:
    explicit RegisterLines(report::ReportProject& project) : m_project(project) {}

    void invoice(const RegisterRow& row)
    {
        next();
        set(QStringLiteral("N"), QString::number(row.number));
        set(QStringLiteral("Data"), row.date.toString(QStringLiteral("dd/MM/yyyy")));
        set(QStringLiteral("Cliente"), row.customer);
        set(QStringLiteral("PIVA"), row.partitaIva.isEmpty() ? row.codiceFiscale : row.partitaIva);
        set(QStringLiteral("Imponibile"), AmountText::grouped(row.taxable));
        set(QStringLiteral("Aliquota"), AmountText::rate(row.rate));
        set(QStringLiteral("IVA"), AmountText::grouped(row.vat));
        set(QStringLiteral("Totale"), AmountText::grouped(row.total));
    }
    void heading(const QString& text)
    {
        next();
        set(QStringLiteral("Titolo"), text);
    }
    void total(const QString& label, const RegisterTotal& total, const QString& rate = {})
    {
        next();
        set(QStringLiteral("Etichetta"), label);
        set(QStringLiteral("Fatture"), total.invoices == 1
                                           ? QStringLiteral("1 fattura")
                                           : QStringLiteral("%1 fatture").arg(total.invoices));
        set(QStringLiteral("TImponibile"), AmountText::grouped(total.taxable));
        set(QStringLiteral("TAliquota"), rate);
        set(QStringLiteral("TIVA"), AmountText::grouped(total.vat));
        set(QStringLiteral("TTotale"), AmountText::grouped(total.total));
    }
    void note(const QString& text)
    {
        next();
        set(QStringLiteral("Nota"), text);
    }
    void blank()
    {
        next();
        set(QStringLiteral("Vuota"), QStringLiteral(" "));
    }
    int count() const { return m_line; }

private:
    void next() { ++m_line; }
    void set(const QString& name, const QString& text)
    {
        m_project.setParameter(name + QString::number(m_line), text);
    }

    report::ReportProject& m_project;
    int m_line = 0;
};

QString rateLabel(qint64 rate)
{
    return rate == SalesRegister::noRate ? QStringLiteral("Senza aliquota")
                                         : QStringLiteral("Aliquota %1%").arg(AmountText::rate(rate));
}

void setHeading(report::ReportProject& project, const SalesRegister& salesRegister,
                const std::optional<einvoice::CompanyData>& company)
{
    const RegisterPeriod& period = salesRegister.period();
    project.setParameter(QStringLiteral("Periodo"),
                         RegisterReport::periodText(period.year, period.fromMonth, period.toMonth));
    if (!company)
        return;
    const QString name =
        company->denominazione.isEmpty() ? company->nome + u' ' + company->cognome : company->denominazione;
    project.setParameter(QStringLiteral("Azienda"), name.trimmed());
    project.setParameter(
        QStringLiteral("AziendaSede"),
        QStringLiteral("%1 %2 · %3 %4 (%5)")
            .arg(company->indirizzo, company->numeroCivico, company->cap, company->comune, company->provincia)
            .simplified());
    project.setParameter(
        QStringLiteral("AziendaPIVA"),
        QStringLiteral("P.IVA %1 · C.F. %2").arg(company->partitaIva, company->codiceFiscale));
}

void addLines(RegisterLines& lines, const SalesRegister& salesRegister)
{
    for (const RegisterRow& row : salesRegister.rows())
        lines.invoice(row);
    lines.blank();
    lines.heading(QStringLiteral("Totali per mese"));
    for (auto it = salesRegister.monthTotals().cbegin(); it != salesRegister.monthTotals().cend(); ++it)
        lines.total(RegisterReport::monthName(it.key()), it.value());
    lines.blank();
    lines.heading(QStringLiteral("Totali per aliquota"));
    for (auto it = salesRegister.rateTotals().cbegin(); it != salesRegister.rateTotals().cend(); ++it)
        lines.total(rateLabel(it.key()), it.value(),
                    it.key() == SalesRegister::noRate ? QString() : AmountText::rate(it.key()));
    lines.blank();
    lines.total(QStringLiteral("Totale del periodo"), salesRegister.grandTotal());
    lines.blank();
    lines.heading(QStringLiteral("Da verificare"));
    if (salesRegister.oddities().isEmpty())
        lines.note(QStringLiteral(
            "Nessuna segnalazione: la numerazione è continua e i totali corrispondono alle righe."));
    for (const RegisterOddity& oddity : salesRegister.oddities())
        lines.note(oddity.text);
}

} // namespace

void RegisterReport::writePdf(report::ReportProject& project, const QString& layoutPath,
                              const SalesRegister& salesRegister,
                              const std::optional<einvoice::CompanyData>& company, const QString& pdfPath)
{
    struct Closer
    {
        report::ReportProject& project;
        ~Closer() { project.close(); }
    };
    project.close();
    project.setProjectFile(layoutPath);
    project.open();
    const Closer closer{project};
    setHeading(project, salesRegister, company);
    RegisterLines lines(project);
    addLines(lines, salesRegister);
    project.setParameter(QStringLiteral("Righe"), QString::number(lines.count()));
    project.exportPdf(pdfPath);
}

QString RegisterReport::monthName(int month)
{
    static const char* const names[] = {"gennaio",   "febbraio", "marzo",    "aprile",
                                        "maggio",    "giugno",   "luglio",   "agosto",
                                        "settembre", "ottobre",  "novembre", "dicembre"};
    return month >= 1 && month <= 12 ? QString::fromLatin1(names[month - 1]) : QString();
}

QString RegisterReport::periodText(int year, int fromMonth, int toMonth)
{
    if (fromMonth == 1 && toMonth == 12)
        return QStringLiteral("anno %1").arg(year);
    if (fromMonth == toMonth)
        return QStringLiteral("%1 %2").arg(monthName(fromMonth)).arg(year);
    return QStringLiteral("%1 – %2 %3").arg(monthName(fromMonth), monthName(toMonth)).arg(year);
}

QString RegisterReport::layoutPath(const QString& pathPrg)
{
    const QChar separator = QDir::separator();
    const QString layout = QStringLiteral("Report") + separator + QStringLiteral("RegistroIVA.qrl");
    const QString besideProgram = pathPrg + separator + layout;
    const QString found =
        ProgramFiles::firstExisting({besideProgram, Platform::paths().installedDataDir() + layout});
    return found.isEmpty() ? besideProgram : found;
}

} // namespace quillio::accountant
