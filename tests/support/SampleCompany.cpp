#include "SampleCompany.h"

namespace quillio::test {

einvoice::CompanyData SampleCompany::seller(const QString& regimeFiscale)
{
    einvoice::CompanyData c;
    c.denominazione = QStringLiteral("Falegnameria Conti S.r.l.");
    c.partitaIva = QStringLiteral("01234567897");
    c.codiceFiscale = QStringLiteral("01234567897");
    c.regimeFiscale = regimeFiscale;
    c.indirizzo = QStringLiteral("Via dei Mille");
    c.numeroCivico = QStringLiteral("21");
    c.cap = QStringLiteral("20121");
    c.comune = QStringLiteral("Milano");
    c.provincia = QStringLiteral("MI");
    c.iban = QStringLiteral("IT60X0542811101000000123456");
    c.telefono = QStringLiteral("02 8765432");
    c.email = QStringLiteral("amministrazione@example.it");
    einvoice::CompanyData::Rea rea;
    rea.ufficio = QStringLiteral("MI");
    rea.numeroRea = QStringLiteral("1234567");
    rea.capitaleSociale = 1000000;
    rea.socioUnico = QStringLiteral("SM");
    c.rea = rea;
    return c;
}

} // namespace quillio::test
