#include "SampleRecords.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace quillio::bench {

namespace {

const QStringList Surnames = {
    QStringLiteral("Rossi"),      QStringLiteral("Russo"),     QStringLiteral("Ferrari"),
    QStringLiteral("Esposito"),   QStringLiteral("Bianchi"),   QStringLiteral("Romano"),
    QStringLiteral("Colombo"),    QStringLiteral("Ricci"),     QStringLiteral("Marino"),
    QStringLiteral("Greco"),      QStringLiteral("Bruno"),     QStringLiteral("Gallo"),
    QStringLiteral("Conti"),      QStringLiteral("De Luca"),   QStringLiteral("Mancini"),
    QStringLiteral("Costa"),      QStringLiteral("Giordano"),  QStringLiteral("Rizzo"),
    QStringLiteral("Lombardi"),   QStringLiteral("Moretti"),   QStringLiteral("Barbieri"),
    QStringLiteral("Fontana"),    QStringLiteral("Santoro"),   QStringLiteral("Caruso"),
    QStringLiteral("D'Angelo"),   QStringLiteral("Marchetti"), QStringLiteral("Parisi"),
    QStringLiteral("Villa"),      QStringLiteral("Fabbri"),    QStringLiteral("Grasso"),
    QStringLiteral("Pellegrini"), QStringLiteral("Sanna"),     QStringLiteral("Cattaneo"),
    QStringLiteral("Zanetti"),    QStringLiteral("Negri"),     QStringLiteral("Sorrentino"),
    QStringLiteral("Bonfà"),      QStringLiteral("Benassù"),   QStringLiteral("Orlando"),
    QStringLiteral("Èrcoli"),
};

const QStringList FirstNames = {
    QStringLiteral("Mario"),  QStringLiteral("Giuseppe"),  QStringLiteral("Anna"),   QStringLiteral("Lucia"),
    QStringLiteral("Marco"),  QStringLiteral("Francesca"), QStringLiteral("Luca"),   QStringLiteral("Giulia"),
    QStringLiteral("Andrea"), QStringLiteral("Chiara"),    QStringLiteral("Nicolò"), QStringLiteral("Elena"),
};

const QStringList Trades = {
    QStringLiteral("Ferramenta"),
    QStringLiteral("Tipografia"),
    QStringLiteral("Caffè"),
    QStringLiteral("Pasticceria"),
    QStringLiteral("Autofficina"),
    QStringLiteral("Studio Tecnico"),
    QStringLiteral("Società Agricola"),
    QStringLiteral("Edilizia"),
    QStringLiteral("Ottica"),
    QStringLiteral("Elettricità"),
    QStringLiteral("Impresa di pulizie"),
    QStringLiteral("Farmacia"),
};

const QStringList CompanyForms = {QStringLiteral("s.r.l."), QStringLiteral("s.n.c."),
                                  QStringLiteral("S.p.A."), QStringLiteral("s.a.s."), QString()};

const QStringList Streets = {
    QStringLiteral("Via Roma"),
    QStringLiteral("Via Garibaldi"),
    QStringLiteral("Corso Vittorio Emanuele II"),
    QStringLiteral("Piazza della Libertà"),
    QStringLiteral("Viale Mazzini"),
    QStringLiteral("Via XX Settembre"),
    QStringLiteral("Via Cavour"),
    QStringLiteral("Via Dante Alighieri"),
    QStringLiteral("Largo Augusto"),
    QStringLiteral("Via dei Mille"),
    QStringLiteral("Via Nazionale"),
    QStringLiteral("Strada Provinciale 12"),
};

const QList<std::pair<QString, QString>> Towns = {
    {QStringLiteral("Milano"), QStringLiteral("20121")},
    {QStringLiteral("Roma"), QStringLiteral("00184")},
    {QStringLiteral("Torino"), QStringLiteral("10121")},
    {QStringLiteral("Napoli"), QStringLiteral("80133")},
    {QStringLiteral("Bologna"), QStringLiteral("40121")},
    {QStringLiteral("Firenze"), QStringLiteral("50122")},
    {QStringLiteral("Forlì"), QStringLiteral("47121")},
    {QStringLiteral("Cantù"), QStringLiteral("22063")},
    {QStringLiteral("Genova"), QStringLiteral("16121")},
    {QStringLiteral("Verona"), QStringLiteral("37121")},
    {QStringLiteral("Padova"), QStringLiteral("35122")},
    {QStringLiteral("Cefalù"), QStringLiteral("90015")},
    {QStringLiteral("Bergamo"), QStringLiteral("24121")},
    {QStringLiteral("Sassari"), QStringLiteral("07100")},
    {QStringLiteral("San Donà di Piave"), QStringLiteral("30027")},
};

const QStringList LineDescriptions = {
    QStringLiteral("Consulenza fiscale"),        QStringLiteral("Tenuta della contabilità"),
    QStringLiteral("Dichiarazione dei redditi"), QStringLiteral("Trasferta"),
    QStringLiteral("Materiale di cancelleria"),  QStringLiteral("Assistenza tecnica in sede"),
    QStringLiteral("Elaborazione buste paga"),   QStringLiteral("Pratica camerale"),
};

const QStringList Conditions = {
    QStringLiteral(
        "Pagamento a 30 giorni data fattura.\nBonifico bancario: IBAN IT60 X054 2811 1010 0000 0123 456"),
    QStringLiteral("Rimessa diretta."),
    QStringLiteral("Ricevuta bancaria a 60 giorni fine mese."),
};

const QStringList Notes = {
    QStringLiteral("Cliente dal 2004. Inviare copia della fattura anche per posta."),
    QStringLiteral("Referente amministrativo presente solo al mattino."),
    QString(),
};

constexpr int LineSlots = 20;
constexpr double VatPercent = 20;

QString slotName(const char* prefix, int slot)
{
    return QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(slot, 2, 10, QLatin1Char('0'));
}

double cents(double value)
{
    return std::round(value * 100) / 100;
}

} // namespace

SampleRecords::SampleRecords(quint32 seed) : m_random(seed) {}

QString SampleRecords::pick(const QStringList& choices)
{
    return choices.at(int(m_random.bounded(quint32(choices.size()))));
}

QString SampleRecords::personName()
{
    return pick(Surnames) + u' ' + pick(FirstNames);
}

QString SampleRecords::companyName()
{
    switch (m_random.bounded(4)) {
    case 0:
        return personName();
    case 1:
        return (pick(Surnames) + u' ' + pick(CompanyForms)).trimmed();
    case 2:
        return (pick(Trades) + u' ' + pick(Surnames) + u' ' + pick(CompanyForms)).trimmed();
    default:
        return (pick(Surnames) + QStringLiteral(" & ") + pick(Surnames) + u' ' + pick(CompanyForms))
            .trimmed();
    }
}

QString SampleRecords::street()
{
    return pick(Streets) + u' ' + QString::number(m_random.bounded(1, 200));
}

std::pair<QString, QString> SampleRecords::townAndPostCode()
{
    return Towns.at(int(m_random.bounded(quint32(Towns.size()))));
}

QString SampleRecords::digits(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + m_random.bounded(10));
    return text;
}

QString SampleRecords::vatNumber()
{
    const QString base = digits(10);
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int digit = base[i].digitValue();
        if (i % 2 == 1)
            digit = digit * 2 > 9 ? digit * 2 - 9 : digit * 2;
        sum += digit;
    }
    return base + QChar(u'0' + (10 - sum % 10) % 10);
}

QString SampleRecords::taxCode()
{
    QString code;
    const auto letters = [&](int count) {
        for (int i = 0; i < count; ++i)
            code += QChar(u'A' + m_random.bounded(26));
    };
    letters(6);
    code += digits(2);
    letters(1);
    code += digits(2);
    letters(1);
    code += digits(3);
    letters(1);
    return code;
}

double SampleRecords::amount(int minimumCents, int maximumCents)
{
    return m_random.bounded(minimumCents, maximumCents) / 100.0;
}

SampleRecord SampleRecords::customer()
{
    const QString name = companyName();
    const auto [town, postCode] = townAndPostCode();
    const QString domain =
        QString(name).remove(QRegularExpression(QStringLiteral("[^A-Za-z]"))).toLower().left(20);
    const QString note = pick(Notes);
    return {
        {QStringLiteral("Tipo"),
         pick({QStringLiteral("Cliente"), QStringLiteral("Fornitore"), QStringLiteral("Privato")})},
        {QStringLiteral("Ragione_Sociale"), name},
        {QStringLiteral("Via"), street()},
        {QStringLiteral("Citta"), town},
        {QStringLiteral("Cap"), postCode},
        {QStringLiteral("PIva"), digits(11)},
        {QStringLiteral("CF"), taxCode()},
        {QStringLiteral("Telefono"), QStringLiteral("0") + digits(2) + u' ' + digits(7)},
        {QStringLiteral("Fax"), QStringLiteral("0") + digits(2) + u' ' + digits(7)},
        {QStringLiteral("Cellulare"), QStringLiteral("3") + digits(2) + u' ' + digits(7)},
        {QStringLiteral("EMail"), QStringLiteral("info@%1.it").arg(domain)},
        {QStringLiteral("Sito"), QStringLiteral("www.%1.it").arg(domain)},
        {QStringLiteral("Riferimento"), personName()},
        {QStringLiteral("Note"), note.isEmpty() ? QVariant() : QVariant(note)},
    };
}

SampleRecord SampleRecords::invoice(int number)
{
    const auto [town, postCode] = townAndPostCode();
    const QString vatNumber = this->vatNumber();
    SampleRecord record = {
        {QStringLiteral("Numero"), QStringLiteral("%1/2009").arg(number)},
        {QStringLiteral("Stato"),
         pick({QStringLiteral("IN COMPILAZIONE"), QStringLiteral("EMESSA"), QStringLiteral("PAGATA")})},
        {QStringLiteral("Data"), QDate(2009, 1, 1).addDays(m_random.bounded(365))},
        {QStringLiteral("CodRif"), double(m_random.bounded(1, 1000))},
        {QStringLiteral("Ragione_Sociale"), companyName()},
        {QStringLiteral("Via"), street()},
        {QStringLiteral("Citta"), town},
        {QStringLiteral("Cap"), postCode},
        // A company buyer: its tax code is its VAT number, so the invoice can go out electronically.
        {QStringLiteral("PIva"), vatNumber},
        {QStringLiteral("CF"), vatNumber},
        {QStringLiteral("Testo1"), QStringLiteral("VS DARE PER")},
        {QStringLiteral("Testo2"), QStringLiteral("Prestazioni del mese")},
    };
    const int filledSlots = int(m_random.bounded(1, 7));
    double total = 0;
    for (int slot = 1; slot <= LineSlots; ++slot) {
        const bool filled = slot <= filledSlots;
        const double cost = filled ? amount(2000, 150000) : 0;
        total += cost;
        record.append({slotName("Desc", slot), filled ? QVariant(pick(LineDescriptions)) : QVariant()});
        record.append({slotName("Costo", slot), filled ? QVariant(cost) : QVariant()});
    }
    const double vat = cents(total * VatPercent / 100);
    const QString note = pick(Notes);
    record.append({
        {QStringLiteral("TotAut"), true},
        {QStringLiteral("Totale"), cents(total)},
        {QStringLiteral("Iva"), VatPercent},
        {QStringLiteral("Totale_Iva"), vat},
        {QStringLiteral("Totale_Fattura"), cents(total + vat)},
        {QStringLiteral("Condizioni"), pick(Conditions)},
        {QStringLiteral("Note"), note.isEmpty() ? QVariant() : QVariant(note)},
    });
    return record;
}

} // namespace quillio::bench
