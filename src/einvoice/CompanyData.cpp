#include "einvoice/CompanyData.h"

#include "einvoice/IdentifierChecks.h"

#include <QRegularExpression>

namespace quillio::einvoice {

namespace {

bool matches(const QString& text, const char* pattern)
{
    const QRegularExpression expression(QRegularExpression::anchoredPattern(QLatin1String(pattern)));
    return expression.match(text).hasMatch();
}

class ProblemList
{
public:
    void add(const QString& field, const QString& message) { m_list.append({field, message}); }
    void required(const QString& field, const QString& value)
    {
        if (value.trimmed().isEmpty())
            add(field, QStringLiteral("%1: campo obbligatorio.").arg(field));
    }
    void maxLength(const QString& field, const QString& value, int limit)
    {
        if (value.size() > limit)
            add(field, QStringLiteral("%1: al massimo %2 caratteri (ne ha %3).")
                           .arg(field)
                           .arg(limit)
                           .arg(value.size()));
    }
    QList<FieldProblem> list() const { return m_list; }

private:
    QList<FieldProblem> m_list;
};

void checkName(const CompanyData& c, ProblemList& problems)
{
    const bool company = !c.denominazione.trimmed().isEmpty();
    const bool person = !c.nome.trimmed().isEmpty() || !c.cognome.trimmed().isEmpty();
    if (!company && !person)
        problems.add(QStringLiteral("Denominazione"),
                     QStringLiteral("Denominazione: indicare la denominazione, oppure nome e cognome per una "
                                    "ditta individuale."));
    if (company && person)
        problems.add(
            QStringLiteral("Denominazione"),
            QStringLiteral("Denominazione: indicare la denominazione oppure nome e cognome, non entrambi."));
    if (person) {
        problems.required(QStringLiteral("Nome"), c.nome);
        problems.required(QStringLiteral("Cognome"), c.cognome);
    }
    problems.maxLength(QStringLiteral("Denominazione"), c.denominazione, 80);
    problems.maxLength(QStringLiteral("Nome"), c.nome, 60);
    problems.maxLength(QStringLiteral("Cognome"), c.cognome, 60);
}

void checkIdentifiers(const CompanyData& c, ProblemList& problems)
{
    const QString vat = QStringLiteral("Partita IVA");
    if (c.partitaIva.isEmpty())
        problems.required(vat, c.partitaIva);
    else if (!matches(c.partitaIva, "[0-9]{11}"))
        problems.add(vat, QStringLiteral("Partita IVA: deve essere di 11 cifre."));
    else if (!IdentifierChecks::isValidPartitaIva(c.partitaIva))
        problems.add(
            vat, QStringLiteral("Partita IVA: la cifra di controllo non corrisponde; verificare il numero."));
    if (!c.codiceFiscale.isEmpty() && !IdentifierChecks::isValidCodiceFiscale(c.codiceFiscale))
        problems.add(QStringLiteral("Codice fiscale"),
                     QStringLiteral("Codice fiscale: non valido (16 caratteri con il carattere di controllo, "
                                    "oppure 11 cifre per una società)."));
    if (!containsCode(CompanyData::regimiFiscali(), c.regimeFiscale))
        problems.add(QStringLiteral("Regime fiscale"),
                     QStringLiteral("Regime fiscale: scegliere un codice da RF01 a RF19."));
}

void checkAddress(const CompanyData& c, ProblemList& problems)
{
    problems.required(QStringLiteral("Indirizzo"), c.indirizzo);
    problems.maxLength(QStringLiteral("Indirizzo"), c.indirizzo, 60);
    problems.maxLength(QStringLiteral("Numero civico"), c.numeroCivico, 8);
    if (!matches(c.cap, "[0-9]{5}"))
        problems.add(QStringLiteral("CAP"), QStringLiteral("CAP: deve essere di 5 cifre."));
    problems.required(QStringLiteral("Comune"), c.comune);
    problems.maxLength(QStringLiteral("Comune"), c.comune, 60);
    if (!c.provincia.isEmpty() && !matches(c.provincia, "[A-Z]{2}"))
        problems.add(QStringLiteral("Provincia"),
                     QStringLiteral("Provincia: la sigla di due lettere maiuscole, per esempio MI."));
    if (!matches(c.nazione, "[A-Z]{2}"))
        problems.add(QStringLiteral("Nazione"),
                     QStringLiteral("Nazione: il codice di due lettere maiuscole, per esempio IT."));
}

void checkRea(const CompanyData::Rea& rea, ProblemList& problems)
{
    if (!matches(rea.ufficio, "[A-Z]{2}"))
        problems.add(QStringLiteral("Ufficio REA"),
                     QStringLiteral("Ufficio REA: la sigla di due lettere della provincia."));
    problems.required(QStringLiteral("Numero REA"), rea.numeroRea);
    problems.maxLength(QStringLiteral("Numero REA"), rea.numeroRea, 20);
    if (rea.capitaleSociale && *rea.capitaleSociale < 0)
        problems.add(QStringLiteral("Capitale sociale"),
                     QStringLiteral("Capitale sociale: non può essere negativo."));
    if (!rea.socioUnico.isEmpty() && rea.socioUnico != QLatin1String("SU") &&
        rea.socioUnico != QLatin1String("SM"))
        problems.add(QStringLiteral("Socio unico"),
                     QStringLiteral("Socio unico: SU (socio unico) o SM (più soci)."));
    if (rea.statoLiquidazione != QLatin1String("LS") && rea.statoLiquidazione != QLatin1String("LN"))
        problems.add(
            QStringLiteral("Stato di liquidazione"),
            QStringLiteral("Stato di liquidazione: LS (in liquidazione) o LN (non in liquidazione)."));
}

void checkContacts(const CompanyData& c, ProblemList& problems)
{
    if (!c.iban.isEmpty() && !IdentifierChecks::isValidIban(c.iban))
        problems.add(QStringLiteral("IBAN"),
                     QStringLiteral("IBAN: non valido (le cifre di controllo non corrispondono)."));
    if (!c.telefono.isEmpty() && !matches(c.telefono, "[\\x20-\\x7E]{5,12}"))
        problems.add(QStringLiteral("Telefono"), QStringLiteral("Telefono: da 5 a 12 caratteri semplici."));
    if (!c.email.isEmpty() &&
        (c.email.size() < 7 || c.email.size() > 256 || !matches(c.email, ".+@.+[.]+.+")))
        problems.add(QStringLiteral("E-mail"), QStringLiteral("E-mail: indirizzo non valido."));
}

QString text(const QJsonObject& object, const char* key, const QString& fallback = QString())
{
    return object.value(QLatin1String(key)).toString(fallback);
}

QJsonObject reaToJson(const CompanyData::Rea& rea)
{
    QJsonObject object{{"ufficio", rea.ufficio},
                       {"numeroRea", rea.numeroRea},
                       {"socioUnico", rea.socioUnico},
                       {"statoLiquidazione", rea.statoLiquidazione}};
    // As text: a double would lose cents beyond 2^53.
    if (rea.capitaleSociale)
        object.insert(QStringLiteral("capitaleSociale"), QString::number(*rea.capitaleSociale));
    return object;
}

CompanyData::Rea reaFromJson(const QJsonObject& object)
{
    CompanyData::Rea rea;
    rea.ufficio = text(object, "ufficio");
    rea.numeroRea = text(object, "numeroRea");
    rea.socioUnico = text(object, "socioUnico");
    rea.statoLiquidazione = text(object, "statoLiquidazione", QStringLiteral("LN"));
    bool ok = false;
    const qint64 capital = text(object, "capitaleSociale").toLongLong(&ok);
    if (ok)
        rea.capitaleSociale = capital;
    return rea;
}

} // namespace

QList<FieldProblem> CompanyData::problems() const
{
    ProblemList list;
    checkName(*this, list);
    checkIdentifiers(*this, list);
    checkAddress(*this, list);
    if (rea)
        checkRea(*rea, list);
    checkContacts(*this, list);
    return list.list();
}

QJsonObject CompanyData::toJson() const
{
    QJsonObject object{{"denominazione", denominazione},
                       {"nome", nome},
                       {"cognome", cognome},
                       {"partitaIva", partitaIva},
                       {"codiceFiscale", codiceFiscale},
                       {"regimeFiscale", regimeFiscale},
                       {"indirizzo", indirizzo},
                       {"numeroCivico", numeroCivico},
                       {"cap", cap},
                       {"comune", comune},
                       {"provincia", provincia},
                       {"nazione", nazione},
                       {"iban", iban},
                       {"telefono", telefono},
                       {"email", email}};
    if (rea)
        object.insert(QStringLiteral("rea"), reaToJson(*rea));
    return object;
}

CompanyData CompanyData::fromJson(const QJsonObject& object)
{
    CompanyData c;
    c.denominazione = text(object, "denominazione");
    c.nome = text(object, "nome");
    c.cognome = text(object, "cognome");
    c.partitaIva = text(object, "partitaIva");
    c.codiceFiscale = text(object, "codiceFiscale");
    c.regimeFiscale = text(object, "regimeFiscale", QStringLiteral("RF01"));
    c.indirizzo = text(object, "indirizzo");
    c.numeroCivico = text(object, "numeroCivico");
    c.cap = text(object, "cap");
    c.comune = text(object, "comune");
    c.provincia = text(object, "provincia");
    c.nazione = text(object, "nazione", QStringLiteral("IT"));
    c.iban = text(object, "iban");
    c.telefono = text(object, "telefono");
    c.email = text(object, "email");
    if (object.value(QLatin1String("rea")).isObject())
        c.rea = reaFromJson(object.value(QLatin1String("rea")).toObject());
    return c;
}

QList<CodeDescription> CompanyData::regimiFiscali()
{
    // RF03 no longer exists; "Altro" stays last, after RF19.
    return {
        {"RF01", "Ordinario"},
        {"RF02", "Contribuenti minimi"},
        {"RF04", "Agricoltura e attività connesse e pesca"},
        {"RF05", "Vendita sali e tabacchi"},
        {"RF06", "Commercio dei fiammiferi"},
        {"RF07", "Editoria"},
        {"RF08", "Gestione di servizi di telefonia pubblica"},
        {"RF09", "Rivendita di documenti di trasporto pubblico e di sosta"},
        {"RF10", "Intrattenimenti, giochi e altre attività della tariffa del D.P.R. 640/72"},
        {"RF11", "Agenzie di viaggi e turismo"},
        {"RF12", "Agriturismo"},
        {"RF13", "Vendite a domicilio"},
        {"RF14", "Rivendita di beni usati, oggetti d'arte, d'antiquariato o da collezione"},
        {"RF15", "Agenzie di vendite all'asta di oggetti d'arte, antiquariato o da collezione"},
        {"RF16", "IVA per cassa P.A."},
        {"RF17", "IVA per cassa"},
        {"RF19", "Forfettario"},
        {"RF18", "Altro"},
    };
}

} // namespace quillio::einvoice
