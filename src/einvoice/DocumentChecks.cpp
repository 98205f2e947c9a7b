#include "einvoice/DocumentChecks.h"

#include "einvoice/Cents.h"
#include "einvoice/CompanyData.h"
#include "einvoice/ExportOptions.h"
#include "einvoice/IdentifierChecks.h"

#include <QDate>
#include <QMap>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace quillio::einvoice {

namespace {

const QString SchemaCode = QStringLiteral("00200");

// Where a finding lies: the element's path, its Italian name, the line to show.
struct Place
{
    QString path;
    QString label;
    int line = 0;
};

// A group of elements: its path, the words that say whose they are ("del cedente"), its line.
struct Scope
{
    QString path;
    QString owner;
    int line = 0;

    Place place(const QString& element, const QString& label, const XmlNode& node) const
    {
        return {path + u'/' + element, owner.isEmpty() ? label : label + u' ' + owner,
                node.present ? node.line : line};
    }
    Scope child(const QString& element, const QString& childOwner, const XmlNode& node) const
    {
        return {path + u'/' + element, childOwner, node.present ? node.line : line};
    }
};

bool matches(const QString& text, const QString& pattern)
{
    const QRegularExpression expression(QRegularExpression::anchoredPattern(pattern));
    return expression.match(text).hasMatch();
}

enum class Characters { BasicLatin, Latin1 };

bool within(const QString& text, Characters set)
{
    const char16_t last = set == Characters::BasicLatin ? 0x7F : 0xFF;
    for (QChar c : text) {
        if (c.unicode() > last)
            return false;
    }
    return true;
}

// The number forms of the file, read exactly; nothing when the text does not have the form.
std::optional<qint64> amount2(const QString& text)
{
    const QString t = text.trimmed();
    if (!matches(t, QStringLiteral("-?[0-9]{1,11}\\.[0-9]{2}")))
        return std::nullopt;
    return QString(t).remove(u'.').toLongLong();
}

// Hundred-millionths: the form of unit and line prices.
std::optional<__int128> amount8(const QString& text)
{
    const QString t = text.trimmed();
    if (!matches(t, QStringLiteral("-?[0-9]{1,11}\\.[0-9]{2,8}")))
        return std::nullopt;
    const qsizetype point = t.indexOf(u'.');
    const QString fraction = t.mid(point + 1).leftJustified(8, u'0');
    const bool negative = t.startsWith(u'-');
    const qint64 whole = t.left(point).remove(u'-').toLongLong();
    const __int128 value = __int128(whole) * 100000000 + fraction.toLongLong();
    return negative ? -value : value;
}

std::optional<qint64> rate(const QString& text)
{
    const QString t = text.trimmed();
    if (!matches(t, QStringLiteral("[0-9]{1,3}\\.[0-9]{2}")))
        return std::nullopt;
    const qint64 value = QString(t).remove(u'.').toLongLong();
    return value <= 10000 ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<long double> quantity(const QString& text)
{
    const QString t = text.trimmed();
    if (!matches(t, QStringLiteral("[0-9]{1,12}\\.[0-9]{2,8}")))
        return std::nullopt;
    return std::strtold(t.toLatin1().constData(), nullptr);
}

bool isDate(const QString& text, const QDate& earliest = QDate())
{
    const QString t = text.trimmed();
    if (!matches(t, QStringLiteral("[0-9]{4}-[0-9]{2}-[0-9]{2}(Z|[+-][0-9]{2}:[0-9]{2})?")))
        return false;
    const QDate date = QDate::fromString(t.left(10), Qt::ISODate);
    return date.isValid() && (!earliest.isValid() || date >= earliest);
}

QStringList codesOf(const QList<CodeDescription>& list)
{
    QStringList codes;
    for (const CodeDescription& entry : list)
        codes.append(entry.code);
    return codes;
}

// The Natura codes the format knows, generic ones included: those are refused with their own code.
QStringList allNaturaCodes()
{
    return codesOf(ExportOptions::naturaCodes())
           << QStringLiteral("N2") << QStringLiteral("N3") << QStringLiteral("N6");
}

QString cents(qint64 value)
{
    return Cents::toXml(value);
}

class Checker
{
public:
    explicit Checker(const FatturaDocument& d) : m_d(d) {}

    QList<Problem> run()
    {
        root();
        header();
        body();
        rules();
        return m_problems;
    }

private:
    // Findings ---------------------------------------------------------------------------------

    void add(Problem::Severity severity, const QString& code, const Place& place, const QString& what)
    {
        QString message = place.label + QStringLiteral(": ") + what;
        if (!code.isEmpty())
            message += QStringLiteral(" (codice %1)").arg(code);
        m_problems.append({severity, code, place.path, message, place.line});
    }
    void error(const QString& code, const Place& place, const QString& what)
    {
        add(Problem::Error, code, place, what);
    }
    void schema(const Place& place, const QString& what) { error(SchemaCode, place, what); }

    // Format rules for single elements ----------------------------------------------------------

    bool required(const XmlNode& node, const Place& place)
    {
        if (!node.present)
            schema(place, QStringLiteral("manca, ed è obbligatorio"));
        return node.present;
    }

    void text(const XmlText& v, const Place& p, int maxLength, Characters set, bool needed)
    {
        if (!v.present) {
            if (needed)
                required(v, p);
            return;
        }
        const qsizetype length = v.text.toUcs4().size();
        if (length == 0)
            schema(p, QStringLiteral("è vuoto"));
        else if (length > maxLength)
            schema(p, QStringLiteral("al massimo %1 caratteri, ne ha %2").arg(maxLength).arg(length));
        if (!within(v.text, set))
            schema(p, set == Characters::Latin1
                          ? QStringLiteral(
                                "contiene caratteri non ammessi (solo l'alfabeto latino di base e Latin-1, "
                                "per esempio niente € né virgolette tipografiche)")
                          : QStringLiteral(
                                "contiene caratteri non ammessi (niente accenti né simboli speciali)"));
        if (v.text.contains(u'\n') || v.text.contains(u'\r') || v.text.contains(u'\t'))
            add(Problem::Warning, QString(), p, QStringLiteral("contiene a capo o tabulazioni"));
    }

    void pattern(const XmlText& v, const Place& p, const QString& regex, const QString& expected, bool needed)
    {
        if (!v.present) {
            if (needed)
                required(v, p);
            return;
        }
        if (!matches(v.text, regex))
            schema(p, QStringLiteral("\"%1\" non va bene: %2").arg(v.text.left(60), expected));
    }

    void oneOf(const XmlText& v, const Place& p, const QStringList& codes, bool needed)
    {
        if (!v.present) {
            if (needed)
                required(v, p);
            return;
        }
        if (!codes.contains(v.text))
            schema(p, QStringLiteral("\"%1\" non è un codice ammesso (%2)")
                          .arg(v.text.left(20),
                               codes.size() <= 4 ? codes.join(QStringLiteral(", "))
                                                 : codes.first() + QStringLiteral(" ... ") + codes.last()));
    }

    void amount(const XmlText& v, const Place& p, bool needed)
    {
        pattern(v, p, QStringLiteral("\\s*-?[0-9]{1,11}\\.[0-9]{2}\\s*"),
                QStringLiteral("un importo con il punto e due decimali, per esempio 1234.50"), needed);
    }
    void price(const XmlText& v, const Place& p)
    {
        pattern(v, p, QStringLiteral("\\s*-?[0-9]{1,11}\\.[0-9]{2,8}\\s*"),
                QStringLiteral("un importo con il punto e da due a otto decimali, per esempio 12.50"), true);
    }
    void rateValue(const XmlText& v, const Place& p)
    {
        if (required(v, p) && !rate(v.text))
            schema(p, QStringLiteral(
                          "\"%1\" non va bene: un'aliquota da 0.00 a 100.00, con il punto e due decimali")
                          .arg(v.text.left(20)));
    }
    void date(const XmlText& v, const Place& p, bool needed, const QDate& earliest = QDate())
    {
        if (!v.present) {
            if (needed)
                required(v, p);
            return;
        }
        if (!isDate(v.text, earliest))
            schema(p, QStringLiteral("\"%1\" non è una data valida nella forma AAAA-MM-GG%2")
                          .arg(v.text.left(30),
                               earliest.isValid() ? QStringLiteral(", dal 1970-01-01") : QString()));
    }
    void email(const XmlText& v, const Place& p, int minLength)
    {
        if (!v.present)
            return;
        const QString t = v.text.trimmed();
        if (t.size() < minLength || t.size() > 256 ||
            !matches(t, QStringLiteral("[^@\\s]+@[^@\\s]+\\.[^@\\s]+")))
            schema(p, QStringLiteral("\"%1\" non è un indirizzo di posta valido").arg(v.text.left(60)));
    }

    // Groups -----------------------------------------------------------------------------------

    void root()
    {
        const Place p{QStringLiteral("FatturaElettronica/@versione"), QStringLiteral("Versione del formato"),
                      m_d.versione.line};
        oneOf(m_d.versione, p, {QStringLiteral("FPR12"), QStringLiteral("FPA12")}, true);
        if (m_d.otherBodies > 0)
            add(Problem::Warning, QString(),
                {QStringLiteral("FatturaElettronicaBody"), QStringLiteral("Corpo"), m_d.body.line},
                QStringLiteral("il file contiene %1 fatture in più: è controllata solo la prima")
                    .arg(m_d.otherBodies));
    }

    void idFiscale(const IdFiscale& id, const Scope& s, bool needed)
    {
        if (!id.present) {
            if (needed)
                required(id, s.place(QString(), QStringLiteral("Identificativo fiscale"), id));
            return;
        }
        pattern(id.idPaese, s.place(QStringLiteral("IdPaese"), QStringLiteral("Paese"), id.idPaese),
                QStringLiteral("[A-Z]{2}"),
                QStringLiteral("il codice di due lettere maiuscole, per esempio IT"), true);
        text(id.idCodice, s.place(QStringLiteral("IdCodice"), QStringLiteral("Codice"), id.idCodice), 28,
             Characters::Latin1, true);
    }

    void anagrafica(const Anagrafica& a, const Scope& s)
    {
        if (!required(a, s.place(QString(), QStringLiteral("Anagrafica"), a)))
            return;
        const Scope in = s.child(QStringLiteral("Anagrafica"), s.owner, a);
        const bool person = a.nome.present || a.cognome.present;
        if (a.denominazione.present && person)
            schema(
                in.place(QStringLiteral("Denominazione"), QStringLiteral("Denominazione"), a.denominazione),
                QStringLiteral("indicare la denominazione oppure nome e cognome, non entrambi"));
        if (a.denominazione.present || !person) {
            text(a.denominazione,
                 in.place(QStringLiteral("Denominazione"), QStringLiteral("Denominazione"), a.denominazione),
                 80, Characters::Latin1, true);
            return;
        }
        text(a.nome, in.place(QStringLiteral("Nome"), QStringLiteral("Nome"), a.nome), 60, Characters::Latin1,
             true);
        text(a.cognome, in.place(QStringLiteral("Cognome"), QStringLiteral("Cognome"), a.cognome), 60,
             Characters::Latin1, true);
    }

    void sede(const Sede& sede, const Scope& s)
    {
        if (!required(sede, s.place(QStringLiteral("Sede"), QStringLiteral("Sede"), sede)))
            return;
        const Scope in = s.child(QStringLiteral("Sede"), QStringLiteral("della sede ") + s.owner, sede);
        text(sede.indirizzo,
             in.place(QStringLiteral("Indirizzo"), QStringLiteral("Indirizzo"), sede.indirizzo), 60,
             Characters::Latin1, true);
        text(sede.numeroCivico,
             in.place(QStringLiteral("NumeroCivico"), QStringLiteral("Numero civico"), sede.numeroCivico), 8,
             Characters::BasicLatin, false);
        pattern(sede.cap, in.place(QStringLiteral("CAP"), QStringLiteral("CAP"), sede.cap),
                QStringLiteral("[0-9]{5}"), QStringLiteral("5 cifre"), true);
        text(sede.comune, in.place(QStringLiteral("Comune"), QStringLiteral("Comune"), sede.comune), 60,
             Characters::Latin1, true);
        pattern(sede.provincia,
                in.place(QStringLiteral("Provincia"), QStringLiteral("Provincia"), sede.provincia),
                QStringLiteral("[A-Z]{2}"),
                QStringLiteral("la sigla di due lettere maiuscole, per esempio MI"), false);
        pattern(sede.nazione, in.place(QStringLiteral("Nazione"), QStringLiteral("Nazione"), sede.nazione),
                QStringLiteral("[A-Z]{2}"),
                QStringLiteral("il codice di due lettere maiuscole, per esempio IT"), true);
    }

    void codiceFiscale(const XmlText& cf, const Place& p)
    {
        pattern(cf, p, QStringLiteral("[A-Z0-9]{11,16}"),
                QStringLiteral("da 11 a 16 lettere maiuscole e cifre"), false);
    }

    void header()
    {
        const Scope top{QStringLiteral("FatturaElettronicaHeader"), QString(), m_d.versione.line};
        if (!required(m_d.header, top.place(QString(), QStringLiteral("Intestazione"), m_d.header)))
            return;
        const Scope h = top.child(QString(), QString(), m_d.header);
        datiTrasmissione(Scope{top.path, QString(), h.line});
        cedente(Scope{top.path, QString(), h.line});
        cessionario(Scope{top.path, QString(), h.line});
    }

    void datiTrasmissione(const Scope& h)
    {
        const DatiTrasmissione& t = m_d.datiTrasmissione;
        if (!required(t,
                      h.place(QStringLiteral("DatiTrasmissione"), QStringLiteral("Dati di trasmissione"), t)))
            return;
        const Scope s = h.child(QStringLiteral("DatiTrasmissione"), QStringLiteral("del trasmittente"), t);
        idFiscale(
            t.idTrasmittente,
            s.child(QStringLiteral("IdTrasmittente"), QStringLiteral("del trasmittente"), t.idTrasmittente),
            true);
        const Scope plain{s.path, QString(), s.line};
        text(t.progressivoInvio,
             plain.place(QStringLiteral("ProgressivoInvio"), QStringLiteral("Progressivo di invio"),
                         t.progressivoInvio),
             10, Characters::BasicLatin, true);
        oneOf(t.formatoTrasmissione,
              plain.place(QStringLiteral("FormatoTrasmissione"), QStringLiteral("Formato di trasmissione"),
                          t.formatoTrasmissione),
              {QStringLiteral("FPR12"), QStringLiteral("FPA12")}, true);
        pattern(t.codiceDestinatario,
                plain.place(QStringLiteral("CodiceDestinatario"), QStringLiteral("Codice destinatario"),
                            t.codiceDestinatario),
                QStringLiteral("[A-Z0-9]{6,7}"), QStringLiteral("6 o 7 lettere maiuscole e cifre"), true);
        email(t.pecDestinatario,
              plain.place(QStringLiteral("PECDestinatario"), QStringLiteral("PEC del destinatario"),
                          t.pecDestinatario),
              1);
    }

    void cedente(const Scope& h)
    {
        const CedentePrestatore& c = m_d.cedentePrestatore;
        if (!required(c, h.place(QStringLiteral("CedentePrestatore"), QStringLiteral("Cedente"), c)))
            return;
        const Scope s = h.child(QStringLiteral("CedentePrestatore"), QStringLiteral("del cedente"), c);
        if (required(c.datiAnagrafici, s.place(QStringLiteral("DatiAnagrafici"),
                                               QStringLiteral("Dati anagrafici"), c.datiAnagrafici))) {
            const Scope a = s.child(QStringLiteral("DatiAnagrafici"), s.owner, c.datiAnagrafici);
            idFiscale(c.idFiscaleIva,
                      a.child(QStringLiteral("IdFiscaleIVA"), QStringLiteral("della partita IVA del cedente"),
                              c.idFiscaleIva),
                      true);
            codiceFiscale(c.codiceFiscale, a.place(QStringLiteral("CodiceFiscale"),
                                                   QStringLiteral("Codice fiscale"), c.codiceFiscale));
            anagrafica(c.anagrafica, a);
            oneOf(c.regimeFiscale,
                  a.place(QStringLiteral("RegimeFiscale"), QStringLiteral("Regime fiscale"), c.regimeFiscale),
                  codesOf(CompanyData::regimiFiscali()), true);
        }
        sede(c.sede, s);
        iscrizioneRea(c.iscrizioneRea, s);
        contatti(c.contatti, s);
    }

    void iscrizioneRea(const IscrizioneRea& r, const Scope& s)
    {
        if (!r.present)
            return;
        const Scope in = s.child(QStringLiteral("IscrizioneREA"), QStringLiteral("dell'iscrizione REA"), r);
        pattern(r.ufficio, in.place(QStringLiteral("Ufficio"), QStringLiteral("Ufficio"), r.ufficio),
                QStringLiteral("[A-Z]{2}"), QStringLiteral("la sigla di due lettere della provincia"), true);
        text(r.numeroRea, in.place(QStringLiteral("NumeroREA"), QStringLiteral("Numero"), r.numeroRea), 20,
             Characters::BasicLatin, true);
        amount(r.capitaleSociale,
               in.place(QStringLiteral("CapitaleSociale"), QStringLiteral("Capitale sociale"),
                        r.capitaleSociale),
               false);
        oneOf(r.socioUnico,
              in.place(QStringLiteral("SocioUnico"), QStringLiteral("Socio unico"), r.socioUnico),
              {QStringLiteral("SU"), QStringLiteral("SM")}, false);
        oneOf(r.statoLiquidazione,
              in.place(QStringLiteral("StatoLiquidazione"), QStringLiteral("Stato di liquidazione"),
                       r.statoLiquidazione),
              {QStringLiteral("LS"), QStringLiteral("LN")}, true);
    }

    void contatti(const Contatti& c, const Scope& s)
    {
        if (!c.present)
            return;
        const Scope in = s.child(QStringLiteral("Contatti"), QStringLiteral("nei contatti del cedente"), c);
        if (c.telefono.present) {
            const Place p = in.place(QStringLiteral("Telefono"), QStringLiteral("Telefono"), c.telefono);
            if (!within(c.telefono.text, Characters::BasicLatin) || c.telefono.text.size() < 5 ||
                c.telefono.text.size() > 12)
                schema(p, QStringLiteral("da 5 a 12 caratteri semplici"));
        }
        email(c.email, in.place(QStringLiteral("Email"), QStringLiteral("E-mail"), c.email), 7);
    }

    void cessionario(const Scope& h)
    {
        const CessionarioCommittente& c = m_d.cessionarioCommittente;
        if (!required(c, h.place(QStringLiteral("CessionarioCommittente"),
                                 QStringLiteral("Cliente (cessionario)"), c)))
            return;
        const Scope s = h.child(QStringLiteral("CessionarioCommittente"), QStringLiteral("del cliente"), c);
        if (required(c.datiAnagrafici, s.place(QStringLiteral("DatiAnagrafici"),
                                               QStringLiteral("Dati anagrafici"), c.datiAnagrafici))) {
            const Scope a = s.child(QStringLiteral("DatiAnagrafici"), s.owner, c.datiAnagrafici);
            idFiscale(c.idFiscaleIva,
                      a.child(QStringLiteral("IdFiscaleIVA"), QStringLiteral("della partita IVA del cliente"),
                              c.idFiscaleIva),
                      false);
            codiceFiscale(c.codiceFiscale, a.place(QStringLiteral("CodiceFiscale"),
                                                   QStringLiteral("Codice fiscale"), c.codiceFiscale));
            anagrafica(c.anagrafica, a);
        }
        sede(c.sede, s);
    }

    void body()
    {
        const Scope top{QStringLiteral("FatturaElettronicaBody"), QString(), m_d.versione.line};
        if (!required(m_d.body, top.place(QString(), QStringLiteral("Corpo della fattura"), m_d.body)))
            return;
        const Scope b{top.path, QString(), m_d.body.line};
        datiGenerali(b);
        datiBeniServizi(b);
        for (qsizetype i = 0; i < m_d.datiPagamento.size(); ++i)
            datiPagamento(m_d.datiPagamento[i], b, int(i) + 1);
        for (qsizetype i = 0; i < m_d.allegati.size(); ++i)
            allegato(m_d.allegati[i], b, int(i) + 1);
    }

    void datiGenerali(const Scope& b)
    {
        if (!required(m_d.datiGenerali, b.place(QStringLiteral("DatiGenerali"),
                                                QStringLiteral("Dati generali"), m_d.datiGenerali)))
            return;
        const DatiGeneraliDocumento& g = m_d.datiGeneraliDocumento;
        const Scope dg = b.child(QStringLiteral("DatiGenerali"), QString(), m_d.datiGenerali);
        if (!required(g, dg.place(QStringLiteral("DatiGeneraliDocumento"),
                                  QStringLiteral("Dati del documento"), g)))
            return;
        const Scope s = dg.child(QStringLiteral("DatiGeneraliDocumento"), QStringLiteral("del documento"), g);
        oneOf(g.tipoDocumento,
              s.place(QStringLiteral("TipoDocumento"), QStringLiteral("Tipo"), g.tipoDocumento),
              documentTypes(), true);
        pattern(g.divisa, s.place(QStringLiteral("Divisa"), QStringLiteral("Valuta"), g.divisa),
                QStringLiteral("[A-Z]{3}"), QStringLiteral("il codice di tre lettere, per esempio EUR"),
                true);
        date(g.data, s.place(QStringLiteral("Data"), QStringLiteral("Data"), g.data), true,
             QDate(1970, 1, 1));
        text(g.numero, s.place(QStringLiteral("Numero"), QStringLiteral("Numero"), g.numero), 20,
             Characters::BasicLatin, true);
        if (g.datiBollo.present) {
            const Scope bollo =
                s.child(QStringLiteral("DatiBollo"), QStringLiteral("del bollo"), g.datiBollo);
            oneOf(g.datiBollo.bolloVirtuale,
                  bollo.place(QStringLiteral("BolloVirtuale"), QStringLiteral("Bollo virtuale"),
                              g.datiBollo.bolloVirtuale),
                  {QStringLiteral("SI")}, true);
            amount(g.datiBollo.importoBollo,
                   bollo.place(QStringLiteral("ImportoBollo"), QStringLiteral("Importo"),
                               g.datiBollo.importoBollo),
                   false);
        }
        amount(g.importoTotaleDocumento,
               s.place(QStringLiteral("ImportoTotaleDocumento"), QStringLiteral("Importo totale"),
                       g.importoTotaleDocumento),
               false);
        for (qsizetype i = 0; i < g.causale.size(); ++i)
            text(g.causale[i],
                 s.place(QStringLiteral("Causale[%1]").arg(i + 1), QStringLiteral("Causale"), g.causale[i]),
                 200, Characters::Latin1, true);
    }

    static QStringList documentTypes()
    {
        QStringList types;
        for (const char* code :
             {"TD01", "TD02", "TD03", "TD04", "TD05", "TD06", "TD16", "TD17", "TD18", "TD19", "TD20", "TD21",
              "TD22", "TD23", "TD24", "TD25", "TD26", "TD27", "TD28"})
            types.append(QLatin1String(code));
        return types;
    }

    void datiBeniServizi(const Scope& b)
    {
        if (!required(m_d.datiBeniServizi,
                      b.place(QStringLiteral("DatiBeniServizi"), QStringLiteral("Righe e riepiloghi"),
                              m_d.datiBeniServizi)))
            return;
        const Scope s = b.child(QStringLiteral("DatiBeniServizi"), QString(), m_d.datiBeniServizi);
        if (m_d.dettaglioLinee.isEmpty())
            schema(s.place(QStringLiteral("DettaglioLinee"), QStringLiteral("Righe"), m_d.datiBeniServizi),
                   QStringLiteral("la fattura non ha alcuna riga"));
        if (m_d.datiRiepilogo.isEmpty())
            schema(s.place(QStringLiteral("DatiRiepilogo"), QStringLiteral("Riepilogo IVA"),
                           m_d.datiBeniServizi),
                   QStringLiteral("manca, ed è obbligatorio"));
        for (qsizetype i = 0; i < m_d.dettaglioLinee.size(); ++i)
            linea(m_d.dettaglioLinee[i], lineScope(s.path, int(i)));
        for (qsizetype i = 0; i < m_d.datiRiepilogo.size(); ++i)
            riepilogo(m_d.datiRiepilogo[i], summaryScope(s.path, int(i)));
    }

    Scope lineScope(const QString& path, int index) const
    {
        const DettaglioLinee& l = m_d.dettaglioLinee[index];
        return {path + QStringLiteral("/DettaglioLinee[%1]").arg(index + 1),
                QStringLiteral("della riga %1").arg(index + 1), l.line};
    }
    Scope summaryScope(const QString& path, int index) const
    {
        const DatiRiepilogo& r = m_d.datiRiepilogo[index];
        return {path + QStringLiteral("/DatiRiepilogo[%1]").arg(index + 1),
                QStringLiteral("del riepilogo IVA %1").arg(index + 1), r.line};
    }

    void linea(const DettaglioLinee& l, const Scope& s)
    {
        pattern(l.numeroLinea,
                s.place(QStringLiteral("NumeroLinea"), QStringLiteral("Numero"), l.numeroLinea),
                QStringLiteral("\\s*\\+?0*([1-9][0-9]{0,3})\\s*"),
                QStringLiteral("un numero intero da 1 a 9999"), true);
        text(l.descrizione,
             s.place(QStringLiteral("Descrizione"), QStringLiteral("Descrizione"), l.descrizione), 1000,
             Characters::Latin1, true);
        pattern(l.quantita, s.place(QStringLiteral("Quantita"), QStringLiteral("Quantità"), l.quantita),
                QStringLiteral("\\s*[0-9]{1,12}\\.[0-9]{2,8}\\s*"),
                QStringLiteral("un numero con il punto e da due a otto decimali"), false);
        price(l.prezzoUnitario,
              s.place(QStringLiteral("PrezzoUnitario"), QStringLiteral("Prezzo unitario"), l.prezzoUnitario));
        price(l.prezzoTotale,
              s.place(QStringLiteral("PrezzoTotale"), QStringLiteral("Prezzo totale"), l.prezzoTotale));
        rateValue(l.aliquotaIva,
                  s.place(QStringLiteral("AliquotaIVA"), QStringLiteral("Aliquota IVA"), l.aliquotaIva));
        oneOf(l.natura, s.place(QStringLiteral("Natura"), QStringLiteral("Natura"), l.natura),
              allNaturaCodes(), false);
    }

    void riepilogo(const DatiRiepilogo& r, const Scope& s)
    {
        rateValue(r.aliquotaIva,
                  s.place(QStringLiteral("AliquotaIVA"), QStringLiteral("Aliquota IVA"), r.aliquotaIva));
        oneOf(r.natura, s.place(QStringLiteral("Natura"), QStringLiteral("Natura"), r.natura),
              allNaturaCodes(), false);
        amount(
            r.imponibileImporto,
            s.place(QStringLiteral("ImponibileImporto"), QStringLiteral("Imponibile"), r.imponibileImporto),
            true);
        amount(r.imposta, s.place(QStringLiteral("Imposta"), QStringLiteral("Imposta"), r.imposta), true);
        oneOf(r.esigibilitaIva,
              s.place(QStringLiteral("EsigibilitaIVA"), QStringLiteral("Esigibilità IVA"), r.esigibilitaIva),
              {QStringLiteral("I"), QStringLiteral("D"), QStringLiteral("S")}, false);
        text(r.riferimentoNormativo,
             s.place(QStringLiteral("RiferimentoNormativo"), QStringLiteral("Riferimento normativo"),
                     r.riferimentoNormativo),
             100, Characters::Latin1, false);
    }

    void datiPagamento(const DatiPagamento& p, const Scope& b, int number)
    {
        const Scope s{b.path + QStringLiteral("/DatiPagamento[%1]").arg(number),
                      QStringLiteral("del pagamento"), p.line};
        oneOf(p.condizioniPagamento,
              s.place(QStringLiteral("CondizioniPagamento"), QStringLiteral("Condizioni"),
                      p.condizioniPagamento),
              {QStringLiteral("TP01"), QStringLiteral("TP02"), QStringLiteral("TP03")}, true);
        if (p.dettaglio.isEmpty())
            schema(s.place(QStringLiteral("DettaglioPagamento"), QStringLiteral("Dettaglio"), p),
                   QStringLiteral("manca, ed è obbligatorio"));
        for (qsizetype i = 0; i < p.dettaglio.size(); ++i) {
            const DettaglioPagamento& d = p.dettaglio[i];
            const Scope in{s.path + QStringLiteral("/DettaglioPagamento[%1]").arg(i + 1),
                           QStringLiteral("del pagamento"), d.line};
            oneOf(d.modalitaPagamento,
                  in.place(QStringLiteral("ModalitaPagamento"), QStringLiteral("Modalità"),
                           d.modalitaPagamento),
                  paymentCodes(), true);
            date(d.dataScadenzaPagamento,
                 in.place(QStringLiteral("DataScadenzaPagamento"), QStringLiteral("Scadenza"),
                          d.dataScadenzaPagamento),
                 false);
            amount(
                d.importoPagamento,
                in.place(QStringLiteral("ImportoPagamento"), QStringLiteral("Importo"), d.importoPagamento),
                true);
            iban(d.iban, in.place(QStringLiteral("IBAN"), QStringLiteral("IBAN"), d.iban));
        }
    }

    static QStringList paymentCodes()
    {
        QStringList codes = codesOf(ExportOptions::modalitaPagamentoCodes());
        codes.sort();
        return codes;
    }

    void iban(const XmlText& v, const Place& p)
    {
        if (!v.present)
            return;
        if (!matches(v.text, QStringLiteral("[a-zA-Z]{2}[0-9]{2}[a-zA-Z0-9]{11,30}")))
            schema(p, QStringLiteral("\"%1\" non ha la forma di un IBAN (senza spazi)").arg(v.text.left(40)));
        else if (!IdentifierChecks::isValidIban(v.text))
            add(Problem::Warning, QString(), p,
                QStringLiteral("le cifre di controllo non corrispondono: il cliente non potrebbe pagare su "
                               "questo conto"));
    }

    void allegato(const Allegato& a, const Scope& b, int number)
    {
        const Scope s{b.path + QStringLiteral("/Allegati[%1]").arg(number), QStringLiteral("dell'allegato"),
                      a.line};
        text(a.nomeAttachment,
             s.place(QStringLiteral("NomeAttachment"), QStringLiteral("Nome"), a.nomeAttachment), 60,
             Characters::Latin1, true);
        text(a.formatoAttachment,
             s.place(QStringLiteral("FormatoAttachment"), QStringLiteral("Formato"), a.formatoAttachment), 10,
             Characters::BasicLatin, false);
        const Place p = s.place(QStringLiteral("Attachment"), QStringLiteral("Contenuto"), a.attachment);
        if (required(a.attachment, p) &&
            !QByteArray::fromBase64Encoding(
                QString(a.attachment.text).remove(QRegularExpression(QStringLiteral("\\s"))).toLatin1(),
                QByteArray::AbortOnBase64DecodingErrors))
            schema(p, QStringLiteral("non è un contenuto base64 valido"));
    }

    // The exchange system's own rules -----------------------------------------------------------

    void rules()
    {
        destination();
        identifiers();
        documentNumber();
        lineNature();
        summaryNature();
        summariesCoverLines();
        summaryTax();
        summaryTaxable();
        lineTotals();
    }

    Place transmissionPlace(const char* element, const QString& label, const XmlNode& node) const
    {
        return {QStringLiteral("FatturaElettronicaHeader/DatiTrasmissione/") + QLatin1String(element), label,
                node.present ? node.line : m_d.datiTrasmissione.line};
    }

    void destination()
    {
        const DatiTrasmissione& t = m_d.datiTrasmissione;
        if (!t.present)
            return;
        const XmlText& code = t.codiceDestinatario;
        if (t.pecDestinatario.present && code.present && code.text != QLatin1String("0000000"))
            error(QStringLiteral("00426"),
                  transmissionPlace("PECDestinatario", QStringLiteral("PEC del destinatario"),
                                    t.pecDestinatario),
                  QStringLiteral("va indicata solo con il codice destinatario 0000000, non con %1")
                      .arg(code.text.left(10)));
        const int expected = m_d.versione.text == QLatin1String("FPA12") ? 6 : 7;
        if (code.present && code.text.size() != expected && within(code.text, Characters::BasicLatin))
            error(QStringLiteral("00427"),
                  transmissionPlace("CodiceDestinatario", QStringLiteral("Codice destinatario"), code),
                  QStringLiteral("deve essere di %1 caratteri per il formato %2, ne ha %3")
                      .arg(expected)
                      .arg(m_d.versione.text.left(10))
                      .arg(code.text.size()));
    }

    // Italian numbers have check digits; a foreign one is only held to its length, already checked.
    void vatNumber(const IdFiscale& id, const QString& code, const Place& p)
    {
        if (!id.present || !id.idCodice.present || id.idPaese.text != QLatin1String("IT"))
            return;
        if (!IdentifierChecks::isValidPartitaIva(id.idCodice.text))
            error(code, p,
                  QStringLiteral("\"%1\" non è una partita IVA valida (11 cifre, l'ultima di controllo)")
                      .arg(id.idCodice.text.left(30)));
    }

    void taxCode(const XmlText& cf, const QString& code, const Place& p)
    {
        if (cf.present && !IdentifierChecks::isValidCodiceFiscale(cf.text))
            error(
                code, p,
                QStringLiteral("\"%1\" non è un codice fiscale valido (16 caratteri con quello di controllo, "
                               "o 11 cifre per una società)")
                    .arg(cf.text.left(30)));
    }

    void identifiers()
    {
        const IdFiscale& sender = m_d.datiTrasmissione.idTrasmittente;
        if (m_d.datiTrasmissione.present && sender.present && sender.idPaese.text == QLatin1String("IT") &&
            sender.idCodice.present && !IdentifierChecks::isValidCodiceFiscale(sender.idCodice.text))
            error(QStringLiteral("00300"),
                  {QStringLiteral("FatturaElettronicaHeader/DatiTrasmissione/IdTrasmittente/IdCodice"),
                   QStringLiteral("Codice del trasmittente"), sender.idCodice.line},
                  QStringLiteral("\"%1\" non è un codice fiscale né una partita IVA validi")
                      .arg(sender.idCodice.text.left(30)));
        const QString seller = QStringLiteral("FatturaElettronicaHeader/CedentePrestatore/DatiAnagrafici/");
        const CedentePrestatore& c = m_d.cedentePrestatore;
        if (c.present) {
            vatNumber(c.idFiscaleIva, QStringLiteral("00301"),
                      {seller + QStringLiteral("IdFiscaleIVA/IdCodice"),
                       QStringLiteral("Partita IVA del cedente"), c.idFiscaleIva.idCodice.line});
            taxCode(c.codiceFiscale, QStringLiteral("00302"),
                    {seller + QStringLiteral("CodiceFiscale"), QStringLiteral("Codice fiscale del cedente"),
                     c.codiceFiscale.line});
        }
        const QString buyer =
            QStringLiteral("FatturaElettronicaHeader/CessionarioCommittente/DatiAnagrafici/");
        const CessionarioCommittente& b = m_d.cessionarioCommittente;
        if (!b.present)
            return;
        vatNumber(b.idFiscaleIva, QStringLiteral("00305"),
                  {buyer + QStringLiteral("IdFiscaleIVA/IdCodice"), QStringLiteral("Partita IVA del cliente"),
                   b.idFiscaleIva.idCodice.line});
        taxCode(b.codiceFiscale, QStringLiteral("00306"),
                {buyer + QStringLiteral("CodiceFiscale"), QStringLiteral("Codice fiscale del cliente"),
                 b.codiceFiscale.line});
        if (b.datiAnagrafici.present && !b.idFiscaleIva.present && !b.codiceFiscale.present)
            error(QStringLiteral("00417"),
                  {buyer + QStringLiteral("IdFiscaleIVA"),
                   QStringLiteral("Partita IVA o codice fiscale del cliente"), b.datiAnagrafici.line},
                  QStringLiteral("manca: il cliente deve avere almeno uno dei due"));
    }

    void documentNumber()
    {
        const XmlText& n = m_d.datiGeneraliDocumento.numero;
        if (!n.present || n.text.isEmpty())
            return;
        for (QChar c : n.text) {
            if (c >= u'0' && c <= u'9')
                return;
        }
        error(QStringLiteral("00425"),
              {QStringLiteral("FatturaElettronicaBody/DatiGenerali/DatiGeneraliDocumento/Numero"),
               QStringLiteral("Numero del documento"), n.line},
              QStringLiteral("\"%1\" non contiene alcuna cifra").arg(n.text.left(20)));
    }

    // Natura goes with rate 0 and only with it; the generic codes are no longer accepted.
    void nature(const XmlText& rateText, const XmlText& natura, const Scope& s, const char* missing,
                const char* extra)
    {
        const std::optional<qint64> r = rate(rateText.text);
        const Place p = s.place(QStringLiteral("Natura"), QStringLiteral("Natura"), natura);
        if (r && *r == 0 && !natura.present)
            error(QLatin1String(missing), p,
                  QStringLiteral("manca: con aliquota 0 va indicata perché l'IVA non si applica"));
        if (r && *r > 0 && natura.present)
            error(QLatin1String(extra), p,
                  QStringLiteral("va indicata solo con aliquota 0, qui l'aliquota è %1").arg(rateText.text));
        const QString generic = natura.text;
        if (natura.present && (generic == QLatin1String("N2") || generic == QLatin1String("N3") ||
                               generic == QLatin1String("N6")))
            error(QStringLiteral("00445"), p,
                  QStringLiteral(
                      "il codice generico %1 non è più accettato: scegliere il sottocodice (%1.1, %1.2, ...)")
                      .arg(generic));
    }

    QString linesPath() const { return QStringLiteral("FatturaElettronicaBody/DatiBeniServizi"); }

    void lineNature()
    {
        for (qsizetype i = 0; i < m_d.dettaglioLinee.size(); ++i)
            nature(m_d.dettaglioLinee[i].aliquotaIva, m_d.dettaglioLinee[i].natura,
                   lineScope(linesPath(), int(i)), "00400", "00401");
    }

    void summaryNature()
    {
        for (qsizetype i = 0; i < m_d.datiRiepilogo.size(); ++i)
            nature(m_d.datiRiepilogo[i].aliquotaIva, m_d.datiRiepilogo[i].natura,
                   summaryScope(linesPath(), int(i)), "00429", "00430");
    }

    // What a summary covers: a rate, and at rate 0 also a Natura.
    struct Key
    {
        qint64 rate;
        QString natura;
        bool operator<(const Key& o) const { return rate != o.rate ? rate < o.rate : natura < o.natura; }
    };
    static std::optional<Key> keyOf(const XmlText& rateText, const XmlText& natura)
    {
        const std::optional<qint64> r = rate(rateText.text);
        if (!r)
            return std::nullopt;
        return Key{*r, *r == 0 ? natura.text : QString()};
    }

    void summariesCoverLines()
    {
        QList<qint64> rates;
        QStringList natures;
        for (const DatiRiepilogo& r : m_d.datiRiepilogo) {
            if (const auto k = keyOf(r.aliquotaIva, r.natura)) {
                rates.append(k->rate);
                if (k->rate == 0)
                    natures.append(k->natura);
            }
        }
        for (qsizetype i = 0; i < m_d.dettaglioLinee.size(); ++i) {
            const DettaglioLinee& l = m_d.dettaglioLinee[i];
            const auto k = keyOf(l.aliquotaIva, l.natura);
            if (!k || m_d.datiRiepilogo.isEmpty())
                continue;
            const Scope s = lineScope(linesPath(), int(i));
            if (!rates.contains(k->rate))
                error(QStringLiteral("00419"),
                      s.place(QStringLiteral("AliquotaIVA"), QStringLiteral("Aliquota IVA"), l.aliquotaIva),
                      QStringLiteral("nessun riepilogo IVA ha l'aliquota %1").arg(l.aliquotaIva.text));
            else if (k->rate == 0 && l.natura.present && !natures.contains(k->natura))
                error(QStringLiteral("00443"),
                      s.place(QStringLiteral("Natura"), QStringLiteral("Natura"), l.natura),
                      QStringLiteral("nessun riepilogo IVA ha la natura %1").arg(l.natura.text.left(10)));
        }
    }

    void summaryTax()
    {
        for (qsizetype i = 0; i < m_d.datiRiepilogo.size(); ++i) {
            const DatiRiepilogo& r = m_d.datiRiepilogo[i];
            const auto rateValue = rate(r.aliquotaIva.text);
            const auto taxable = amount2(r.imponibileImporto.text);
            const auto tax = amount2(r.imposta.text);
            if (!rateValue || !taxable || !tax)
                continue;
            const qint64 expected = Cents::percentOf(*taxable, *rateValue);
            if (std::llabs(*tax - expected) > 1)
                error(
                    QStringLiteral("00421"),
                    summaryScope(linesPath(), int(i))
                        .place(QStringLiteral("Imposta"), QStringLiteral("Imposta"), r.imposta),
                    QStringLiteral("%1 non corrisponde all'imponibile per l'aliquota: %2 × %3 % = %4")
                        .arg(r.imposta.text, r.imponibileImporto.text, r.aliquotaIva.text, cents(expected)));
        }
    }

    void summaryTaxable()
    {
        // Lines and summaries added up per rate (and Natura); a group with an unreadable amount is skipped.
        QMap<Key, __int128> lineSums;
        QMap<Key, bool> unreadable;
        for (const DettaglioLinee& l : m_d.dettaglioLinee) {
            const auto k = keyOf(l.aliquotaIva, l.natura);
            if (!k)
                continue;
            const auto total = amount8(l.prezzoTotale.text);
            if (total)
                lineSums[*k] += *total;
            else
                unreadable[*k] = true;
        }
        QMap<Key, __int128> summarySums;
        QMap<Key, int> firstSummary;
        for (qsizetype i = 0; i < m_d.datiRiepilogo.size(); ++i) {
            const DatiRiepilogo& r = m_d.datiRiepilogo[i];
            const auto k = keyOf(r.aliquotaIva, r.natura);
            if (!k)
                continue;
            if (!firstSummary.contains(*k))
                firstSummary[*k] = int(i);
            if (const auto taxable = amount2(r.imponibileImporto.text))
                summarySums[*k] += __int128(*taxable) * 1000000;
            else
                unreadable[*k] = true;
        }
        for (auto it = firstSummary.cbegin(); it != firstSummary.cend(); ++it) {
            if (unreadable.value(it.key()))
                continue;
            const __int128 difference = summarySums.value(it.key()) - lineSums.value(it.key());
            if ((difference < 0 ? -difference : difference) < 100000000)
                continue;
            const DatiRiepilogo& r = m_d.datiRiepilogo[it.value()];
            error(
                QStringLiteral("00422"),
                summaryScope(linesPath(), it.value())
                    .place(QStringLiteral("ImponibileImporto"), QStringLiteral("Imponibile"),
                           r.imponibileImporto),
                QStringLiteral(
                    "%1 differisce di un euro o più dalla somma dei prezzi totali delle righe con la stessa "
                    "aliquota (%2)")
                    .arg(r.imponibileImporto.text, decimal8(lineSums.value(it.key()))));
        }
    }

    static QString decimal8(__int128 value)
    {
        const bool negative = value < 0;
        const __int128 magnitude = negative ? -value : value;
        const qint64 whole = qint64(magnitude / 100000000);
        QString fraction = QStringLiteral("%1").arg(qint64(magnitude % 100000000), 8, 10, QLatin1Char('0'));
        while (fraction.size() > 2 && fraction.endsWith(u'0'))
            fraction.chop(1);
        return (negative ? QStringLiteral("-") : QString()) + QString::number(whole) + u'.' + fraction;
    }

    void lineTotals()
    {
        for (qsizetype i = 0; i < m_d.dettaglioLinee.size(); ++i) {
            const DettaglioLinee& l = m_d.dettaglioLinee[i];
            if (l.scontoMaggiorazione)
                continue;
            const auto unit = amount8(l.prezzoUnitario.text);
            const auto total = amount8(l.prezzoTotale.text);
            const auto count =
                l.quantita.present ? quantity(l.quantita.text) : std::optional<long double>(1.0L);
            if (!unit || !total || !count)
                continue;
            // In hundred-millionths; the margin keeps a difference of exactly one cent acceptable.
            const long double product = (long double)*unit * *count;
            if (std::fabs(product - (long double)*total) <= 1000000.0L + 1e-3L)
                continue;
            error(QStringLiteral("00423"),
                  lineScope(linesPath(), int(i))
                      .place(QStringLiteral("PrezzoTotale"), QStringLiteral("Prezzo totale"), l.prezzoTotale),
                  QStringLiteral("%1 non è il prezzo unitario %2 per la quantità %3")
                      .arg(l.prezzoTotale.text, l.prezzoUnitario.text,
                           l.quantita.present ? l.quantita.text : QStringLiteral("1")));
        }
    }

    const FatturaDocument& m_d;
    QList<Problem> m_problems;
};

} // namespace

QList<Problem> DocumentChecks::run(const FatturaDocument& document)
{
    return Checker(document).run();
}

} // namespace quillio::einvoice
