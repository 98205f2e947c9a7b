#include "einvoice/DocumentBuilder.h"

#include "einvoice/Cents.h"
#include "einvoice/DocumentChecks.h"
#include "einvoice/IdentifierChecks.h"
#include "einvoice/TextFolding.h"

#include <QRegularExpression>

namespace quillio::einvoice {

namespace {

constexpr int CausaleLength = 200;
const QString NoDestination = QStringLiteral("0000000");

struct Line
{
    int slot;
    QString description;
    qint64 cents;
};

class Builder
{
public:
    Builder(const InvoiceRecord& invoice, const CompanyData& seller, const ExportOptions& options)
        : m_invoice(invoice), m_seller(seller), m_options(options)
    {
    }

    DocumentBuilder::Result build()
    {
        refusals();
        collectLines();
        rate();
        totals();
        transmission();
        sellerData();
        buyerData();
        general();
        goods();
        payment();
        attachment();
        m_result.problems.append(DocumentChecks::run(m_result.document));
        return m_result;
    }

private:
    void problem(Problem::Severity severity, const QString& field, const QString& message)
    {
        m_result.problems.append({severity, QString(), field, message, 0});
    }
    void refuse(const QString& field, const QString& message) { problem(Problem::Error, field, message); }

    // The text as the file accepts it; a notice says which field had to change.
    XmlText folded(const QString& text, const QString& field)
    {
        const TextFolding::Result f = TextFolding::fold(text);
        if (f.changed)
            problem(Problem::Notice, field,
                    QStringLiteral("%1: caratteri non ammessi nella fattura elettronica sostituiti (\"%2\")")
                        .arg(field, f.text.trimmed().left(60)));
        return XmlText(f.text.trimmed());
    }

    void refusals()
    {
        if (!m_invoice.stored())
            refuse(
                QStringLiteral("Numero fattura"),
                QStringLiteral(
                    "Numero fattura: la fattura non è ancora stata registrata; salvarla prima dell'invio."));
        if (!m_invoice.data.isValid())
            refuse(QStringLiteral("Data"), QStringLiteral("Data: la fattura non ha la data."));
        if (!m_invoice.iva)
            refuse(QStringLiteral("IVA"), QStringLiteral("IVA: manca l'aliquota."));
        if (!QRegularExpression(QStringLiteral("^[A-Za-z0-9]{1,5}$")).match(m_options.progressive).hasMatch())
            refuse(QStringLiteral("Progressivo di invio"),
                   QStringLiteral("Progressivo di invio: da 1 a 5 lettere e cifre, ricevuto \"%1\".")
                       .arg(m_options.progressive));
    }

    static QString slotLabel(const char* what, int slot)
    {
        return QStringLiteral("%1 riga %2").arg(QLatin1String(what)).arg(slot);
    }

    void collectLines()
    {
        for (int i = 0; i < InvoiceRecord::slotCount; ++i) {
            const QString description = m_invoice.desc[i].trimmed();
            const std::optional<double> amount = m_invoice.costo[i];
            if (description.isEmpty() && !amount)
                continue;
            const int slot = i + 1;
            const std::optional<qint64> cents =
                amount ? Cents::fromDouble(*amount) : std::optional<qint64>(0);
            if (!cents) {
                refuse(slotLabel("Importo", slot),
                       QStringLiteral("Importo riga %1: troppo grande.").arg(slot));
                continue;
            }
            if (*cents < 0)
                refuse(slotLabel("Importo", slot),
                       QStringLiteral(
                           "Importo riga %1: importo negativo; uno sconto va emesso come nota di credito.")
                           .arg(slot));
            if (description.isEmpty())
                refuse(slotLabel("Descrizione", slot),
                       QStringLiteral("Descrizione riga %1: la riga ha un importo ma nessuna descrizione.")
                           .arg(slot));
            m_lines.append({slot, m_invoice.desc[i], *cents});
        }
    }

    void rate()
    {
        if (!m_invoice.iva)
            return;
        const std::optional<qint64> hundredths = Cents::fromDouble(*m_invoice.iva);
        m_rate = hundredths.value_or(0);
        if (!hundredths || m_rate < 0 || m_rate > 10000) {
            refuse(QStringLiteral("IVA"), QStringLiteral("IVA: l'aliquota deve essere tra 0 e 100."));
            m_rate = 0;
            return;
        }
        if (m_rate != 2200 && m_rate != 1000 && m_rate != 500 && m_rate != 400 && m_rate != 0)
            problem(Problem::Warning, QStringLiteral("IVA"),
                    QStringLiteral("IVA: l'aliquota %1 non è una di quelle in vigore (22, 10, 5, 4 o 0).")
                        .arg(Cents::toXml(m_rate)));
        if (m_rate == 0 && m_options.natura.isEmpty())
            refuse(
                QStringLiteral("Natura"),
                QStringLiteral("Natura: con aliquota 0 va scelto il motivo per cui l'IVA non si applica."));
    }

    void totals()
    {
        for (const Line& line : m_lines)
            m_taxable += line.cents;
        m_tax = Cents::percentOf(m_taxable, m_rate);
        if (m_invoice.totAut)
            return;
        // Totals typed by hand must agree with the lines: the file carries the lines' figures.
        compareTotal(m_invoice.totale, m_taxable, QStringLiteral("Totale"));
        compareTotal(m_invoice.totaleIva, m_tax, QStringLiteral("Totale IVA"));
        compareTotal(m_invoice.totaleFattura, m_taxable + m_tax, QStringLiteral("Totale fattura"));
    }

    void compareTotal(const std::optional<double>& stored, qint64 computed, const QString& field)
    {
        const std::optional<qint64> cents = stored ? Cents::fromDouble(*stored) : std::optional<qint64>(0);
        if (cents && *cents == computed)
            return;
        refuse(field,
               QStringLiteral("%1: il totale inserito a mano (%2) non corrisponde a quello delle righe (%3); "
                              "correggerlo o riattivare il calcolo automatico.")
                   .arg(field, cents ? Cents::toXml(*cents) : QStringLiteral("?"), Cents::toXml(computed)));
    }

    QString senderCode() const
    {
        return m_seller.codiceFiscale.isEmpty() ? m_seller.partitaIva : m_seller.codiceFiscale.toUpper();
    }

    void transmission()
    {
        FatturaDocument& d = m_result.document;
        d.versione = XmlText(QStringLiteral("FPR12"));
        d.header.present = true;
        DatiTrasmissione& t = d.datiTrasmissione;
        t.present = true;
        t.idTrasmittente.present = true;
        t.idTrasmittente.idPaese = XmlText(QStringLiteral("IT"));
        t.idTrasmittente.idCodice = XmlText(senderCode());
        t.progressivoInvio = XmlText(m_options.progressive);
        t.formatoTrasmissione = XmlText(QStringLiteral("FPR12"));
        const BuyerDetails& buyer = m_options.buyer;
        const QString code = buyer.codiceDestinatario.trimmed().toUpper();
        t.codiceDestinatario = XmlText(code.isEmpty() ? NoDestination : code);
        if (!buyer.pec.trimmed().isEmpty())
            t.pecDestinatario = XmlText(buyer.pec.trimmed());
        if (code.isEmpty() && buyer.pec.trimmed().isEmpty())
            problem(Problem::Warning, QStringLiteral("Codice destinatario del cliente"),
                    QStringLiteral(
                        "Codice destinatario del cliente: il cliente non ha né codice destinatario né PEC; "
                        "viene inviato 0000000 e la fattura gli arriva solo nell'area riservata del portale "
                        "dell'Agenzia delle Entrate."));
    }

    void anagrafica(Anagrafica& a, const QString& denominazione, const QString& nome, const QString& cognome,
                    const QString& owner)
    {
        a.present = true;
        if (!denominazione.trimmed().isEmpty() || nome.trimmed().isEmpty()) {
            a.denominazione = folded(denominazione, QStringLiteral("Denominazione ") + owner);
            return;
        }
        a.nome = folded(nome, QStringLiteral("Nome ") + owner);
        a.cognome = folded(cognome, QStringLiteral("Cognome ") + owner);
    }

    void optional(XmlText& target, const QString& value, const QString& field)
    {
        if (!value.trimmed().isEmpty())
            target = folded(value, field);
    }

    void sellerData()
    {
        CedentePrestatore& c = m_result.document.cedentePrestatore;
        const QString owner = QStringLiteral("dell'azienda");
        c.present = true;
        c.datiAnagrafici.present = true;
        c.idFiscaleIva.present = true;
        c.idFiscaleIva.idPaese = XmlText(QStringLiteral("IT"));
        c.idFiscaleIva.idCodice = XmlText(m_seller.partitaIva.trimmed());
        if (!m_seller.codiceFiscale.trimmed().isEmpty())
            c.codiceFiscale = XmlText(m_seller.codiceFiscale.trimmed().toUpper());
        anagrafica(c.anagrafica, m_seller.denominazione, m_seller.nome, m_seller.cognome, owner);
        c.regimeFiscale = XmlText(m_seller.regimeFiscale);
        c.sede.present = true;
        c.sede.indirizzo = folded(m_seller.indirizzo, QStringLiteral("Indirizzo ") + owner);
        optional(c.sede.numeroCivico, m_seller.numeroCivico, QStringLiteral("Numero civico ") + owner);
        c.sede.cap = XmlText(m_seller.cap.trimmed());
        c.sede.comune = folded(m_seller.comune, QStringLiteral("Comune ") + owner);
        if (!m_seller.provincia.trimmed().isEmpty())
            c.sede.provincia = XmlText(m_seller.provincia.trimmed().toUpper());
        c.sede.nazione = XmlText(m_seller.nazione.trimmed().toUpper());
        sellerRea(c.iscrizioneRea);
        if (!m_seller.telefono.trimmed().isEmpty() || !m_seller.email.trimmed().isEmpty()) {
            c.contatti.present = true;
            optional(c.contatti.telefono, m_seller.telefono, QStringLiteral("Telefono ") + owner);
            optional(c.contatti.email, m_seller.email, QStringLiteral("E-mail ") + owner);
        }
    }

    void sellerRea(IscrizioneRea& r)
    {
        if (!m_seller.rea)
            return;
        const CompanyData::Rea& rea = *m_seller.rea;
        r.present = true;
        r.ufficio = XmlText(rea.ufficio.trimmed().toUpper());
        r.numeroRea = folded(rea.numeroRea, QStringLiteral("Numero REA"));
        if (rea.capitaleSociale)
            r.capitaleSociale = XmlText(Cents::toXml(*rea.capitaleSociale));
        if (!rea.socioUnico.isEmpty())
            r.socioUnico = XmlText(rea.socioUnico);
        r.statoLiquidazione = XmlText(rea.statoLiquidazione);
    }

    void buyerData()
    {
        CessionarioCommittente& c = m_result.document.cessionarioCommittente;
        const QString owner = QStringLiteral("del cliente");
        c.present = true;
        c.datiAnagrafici.present = true;
        const QString vat = m_invoice.pIva.trimmed();
        if (!vat.isEmpty()) {
            c.idFiscaleIva.present = true;
            c.idFiscaleIva.idPaese = XmlText(QStringLiteral("IT"));
            c.idFiscaleIva.idCodice = XmlText(vat);
        }
        if (!m_invoice.cf.trimmed().isEmpty())
            c.codiceFiscale = XmlText(m_invoice.cf.trimmed().toUpper());
        anagrafica(c.anagrafica, m_invoice.ragioneSociale, QString(), QString(), owner);
        c.sede.present = true;
        c.sede.indirizzo = folded(m_invoice.via, QStringLiteral("Indirizzo ") + owner);
        c.sede.cap = XmlText(m_invoice.cap.trimmed());
        c.sede.comune = folded(m_invoice.citta, QStringLiteral("Città ") + owner);
        if (!m_options.buyer.provincia.trimmed().isEmpty())
            c.sede.provincia = XmlText(m_options.buyer.provincia.trimmed().toUpper());
        c.sede.nazione = XmlText(m_options.buyer.nazione.trimmed().toUpper());
    }

    void general()
    {
        FatturaDocument& d = m_result.document;
        d.body.present = true;
        d.datiGenerali.present = true;
        DatiGeneraliDocumento& g = d.datiGeneraliDocumento;
        g.present = true;
        g.tipoDocumento = XmlText(QStringLiteral("TD01"));
        g.divisa = XmlText(QStringLiteral("EUR"));
        g.data = XmlText(m_invoice.data.toString(Qt::ISODate));
        g.numero = XmlText(m_invoice.ordNum ? QString::number(*m_invoice.ordNum) : QString());
        if (m_options.bolloVirtuale) {
            g.datiBollo.present = true;
            g.datiBollo.bolloVirtuale = XmlText(QStringLiteral("SI"));
            g.datiBollo.importoBollo = XmlText(QStringLiteral("2.00"));
        }
        g.importoTotaleDocumento = XmlText(Cents::toXml(m_taxable + m_tax));
        causale(m_invoice.testo1, QStringLiteral("Testo 1"));
        causale(m_invoice.testo2, QStringLiteral("Testo 2"));
    }

    // A text longer than one Causale continues in the next.
    void causale(const QString& text, const QString& field)
    {
        if (text.trimmed().isEmpty())
            return;
        const QString value = folded(text, field).text;
        for (qsizetype from = 0; from < value.size(); from += CausaleLength) {
            const QString part = value.mid(from, CausaleLength).trimmed();
            if (!part.isEmpty())
                m_result.document.datiGeneraliDocumento.causale.append(XmlText(part));
        }
    }

    void goods()
    {
        FatturaDocument& d = m_result.document;
        d.datiBeniServizi.present = true;
        const QString rateText = Cents::toXml(m_rate);
        int number = 0;
        for (const Line& line : m_lines) {
            DettaglioLinee l;
            l.present = true;
            l.numeroLinea = XmlText(QString::number(++number));
            l.descrizione = folded(line.description, slotLabel("Descrizione", line.slot));
            l.prezzoUnitario = XmlText(Cents::toXml(line.cents));
            l.prezzoTotale = l.prezzoUnitario;
            l.aliquotaIva = XmlText(rateText);
            if (m_rate == 0 && !m_options.natura.isEmpty())
                l.natura = XmlText(m_options.natura);
            d.dettaglioLinee.append(l);
        }
        DatiRiepilogo r;
        r.present = true;
        r.aliquotaIva = XmlText(rateText);
        if (m_rate == 0 && !m_options.natura.isEmpty())
            r.natura = XmlText(m_options.natura);
        r.imponibileImporto = XmlText(Cents::toXml(m_taxable));
        r.imposta = XmlText(Cents::toXml(m_tax));
        if (m_rate == 0 && !m_options.riferimentoNormativo.trimmed().isEmpty())
            r.riferimentoNormativo =
                folded(m_options.riferimentoNormativo, QStringLiteral("Riferimento normativo"));
        d.datiRiepilogo.append(r);
    }

    void payment()
    {
        if (m_options.modalitaPagamento.isEmpty())
            return;
        DatiPagamento p;
        p.present = true;
        p.condizioniPagamento = XmlText(QStringLiteral("TP02"));
        DettaglioPagamento detail;
        detail.present = true;
        detail.modalitaPagamento = XmlText(m_options.modalitaPagamento);
        if (m_options.dueDate && m_options.dueDate->isValid())
            detail.dataScadenzaPagamento = XmlText(m_options.dueDate->toString(Qt::ISODate));
        detail.importoPagamento = XmlText(Cents::toXml(m_taxable + m_tax));
        if (m_options.modalitaPagamento == QLatin1String("MP05"))
            bankTransfer(detail);
        p.dettaglio.append(detail);
        m_result.document.datiPagamento.append(p);
    }

    void bankTransfer(DettaglioPagamento& detail)
    {
        const QString iban =
            IdentifierChecks::compactIban(m_options.iban.isEmpty() ? m_seller.iban : m_options.iban);
        if (iban.isEmpty()) {
            problem(Problem::Warning, QStringLiteral("IBAN"),
                    QStringLiteral("IBAN: pagamento con bonifico ma nessun IBAN indicato, né nell'invio né "
                                   "nei dati dell'azienda."));
            return;
        }
        detail.iban = XmlText(iban);
    }

    void attachment()
    {
        if (m_options.attachment.isEmpty())
            return;
        Allegato a;
        a.present = true;
        const QString name = m_options.attachmentName.trimmed().isEmpty()
                                 ? QStringLiteral("Fattura_%1.pdf").arg(m_invoice.ordNum.value_or(0))
                                 : m_options.attachmentName.trimmed();
        a.nomeAttachment = folded(name, QStringLiteral("Nome dell'allegato"));
        a.formatoAttachment = XmlText(QStringLiteral("PDF"));
        a.attachment = XmlText(QString::fromLatin1(m_options.attachment.toBase64()));
        m_result.document.allegati.append(a);
    }

    const InvoiceRecord& m_invoice;
    const CompanyData& m_seller;
    const ExportOptions& m_options;
    DocumentBuilder::Result m_result;
    QList<Line> m_lines;
    qint64 m_rate = 0;
    qint64 m_taxable = 0;
    qint64 m_tax = 0;
};

} // namespace

DocumentBuilder::Result DocumentBuilder::build(const InvoiceRecord& invoice, const CompanyData& seller,
                                               const ExportOptions& options)
{
    return Builder(invoice, seller, options).build();
}

QString DocumentBuilder::fileName(const FatturaDocument& document)
{
    const IdFiscale& sender = document.datiTrasmissione.idTrasmittente;
    return sender.idPaese.text + sender.idCodice.text + u'_' +
           document.datiTrasmissione.progressivoInvio.text + QStringLiteral(".xml");
}

} // namespace quillio::einvoice
