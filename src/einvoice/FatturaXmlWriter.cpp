#include "einvoice/FatturaXmlWriter.h"

#include <QXmlStreamWriter>

namespace quillio::einvoice {

namespace {

class Writer
{
public:
    explicit Writer(QByteArray* out) : m_xml(out) { m_xml.setAutoFormatting(true); }

    void document(const FatturaDocument& d)
    {
        m_xml.writeStartDocument(QStringLiteral("1.0"));
        m_xml.writeNamespace(FatturaDocument::signatureNamespaceUri, QStringLiteral("ds"));
        m_xml.writeNamespace(FatturaDocument::namespaceUri, QStringLiteral("p"));
        m_xml.writeStartElement(FatturaDocument::namespaceUri, QStringLiteral("FatturaElettronica"));
        m_xml.writeAttribute(QStringLiteral("versione"), d.versione.text);
        header(d);
        body(d);
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    // Children go without a namespace: the format qualifies only the root.
    void start(const char* name) { m_xml.writeStartElement(QLatin1String(name)); }
    void end() { m_xml.writeEndElement(); }
    void text(const char* name, const XmlText& value)
    {
        if (value.present)
            m_xml.writeTextElement(QLatin1String(name), value.text);
    }

    void idFiscale(const char* name, const IdFiscale& id)
    {
        if (!id.present)
            return;
        start(name);
        text("IdPaese", id.idPaese);
        text("IdCodice", id.idCodice);
        end();
    }

    void anagrafica(const Anagrafica& a)
    {
        if (!a.present)
            return;
        start("Anagrafica");
        text("Denominazione", a.denominazione);
        text("Nome", a.nome);
        text("Cognome", a.cognome);
        end();
    }

    void sede(const Sede& s)
    {
        if (!s.present)
            return;
        start("Sede");
        text("Indirizzo", s.indirizzo);
        text("NumeroCivico", s.numeroCivico);
        text("CAP", s.cap);
        text("Comune", s.comune);
        text("Provincia", s.provincia);
        text("Nazione", s.nazione);
        end();
    }

    void datiTrasmissione(const DatiTrasmissione& t)
    {
        if (!t.present)
            return;
        start("DatiTrasmissione");
        idFiscale("IdTrasmittente", t.idTrasmittente);
        text("ProgressivoInvio", t.progressivoInvio);
        text("FormatoTrasmissione", t.formatoTrasmissione);
        text("CodiceDestinatario", t.codiceDestinatario);
        text("PECDestinatario", t.pecDestinatario);
        end();
    }

    void iscrizioneRea(const IscrizioneRea& r)
    {
        if (!r.present)
            return;
        start("IscrizioneREA");
        text("Ufficio", r.ufficio);
        text("NumeroREA", r.numeroRea);
        text("CapitaleSociale", r.capitaleSociale);
        text("SocioUnico", r.socioUnico);
        text("StatoLiquidazione", r.statoLiquidazione);
        end();
    }

    void contatti(const Contatti& c)
    {
        if (!c.present)
            return;
        start("Contatti");
        text("Telefono", c.telefono);
        text("Email", c.email);
        end();
    }

    void cedente(const CedentePrestatore& c)
    {
        if (!c.present)
            return;
        start("CedentePrestatore");
        if (c.datiAnagrafici.present) {
            start("DatiAnagrafici");
            idFiscale("IdFiscaleIVA", c.idFiscaleIva);
            text("CodiceFiscale", c.codiceFiscale);
            anagrafica(c.anagrafica);
            text("RegimeFiscale", c.regimeFiscale);
            end();
        }
        sede(c.sede);
        iscrizioneRea(c.iscrizioneRea);
        contatti(c.contatti);
        end();
    }

    void cessionario(const CessionarioCommittente& c)
    {
        if (!c.present)
            return;
        start("CessionarioCommittente");
        if (c.datiAnagrafici.present) {
            start("DatiAnagrafici");
            idFiscale("IdFiscaleIVA", c.idFiscaleIva);
            text("CodiceFiscale", c.codiceFiscale);
            anagrafica(c.anagrafica);
            end();
        }
        sede(c.sede);
        end();
    }

    void header(const FatturaDocument& d)
    {
        if (!d.header.present)
            return;
        start("FatturaElettronicaHeader");
        datiTrasmissione(d.datiTrasmissione);
        cedente(d.cedentePrestatore);
        cessionario(d.cessionarioCommittente);
        end();
    }

    void datiGeneraliDocumento(const DatiGeneraliDocumento& g)
    {
        if (!g.present)
            return;
        start("DatiGeneraliDocumento");
        text("TipoDocumento", g.tipoDocumento);
        text("Divisa", g.divisa);
        text("Data", g.data);
        text("Numero", g.numero);
        if (g.datiBollo.present) {
            start("DatiBollo");
            text("BolloVirtuale", g.datiBollo.bolloVirtuale);
            text("ImportoBollo", g.datiBollo.importoBollo);
            end();
        }
        text("ImportoTotaleDocumento", g.importoTotaleDocumento);
        for (const XmlText& causale : g.causale)
            text("Causale", causale);
        end();
    }

    void linea(const DettaglioLinee& l)
    {
        start("DettaglioLinee");
        text("NumeroLinea", l.numeroLinea);
        text("Descrizione", l.descrizione);
        text("Quantita", l.quantita);
        text("PrezzoUnitario", l.prezzoUnitario);
        text("PrezzoTotale", l.prezzoTotale);
        text("AliquotaIVA", l.aliquotaIva);
        text("Natura", l.natura);
        end();
    }

    void riepilogo(const DatiRiepilogo& r)
    {
        start("DatiRiepilogo");
        text("AliquotaIVA", r.aliquotaIva);
        text("Natura", r.natura);
        text("ImponibileImporto", r.imponibileImporto);
        text("Imposta", r.imposta);
        text("EsigibilitaIVA", r.esigibilitaIva);
        text("RiferimentoNormativo", r.riferimentoNormativo);
        end();
    }

    void pagamento(const DatiPagamento& p)
    {
        start("DatiPagamento");
        text("CondizioniPagamento", p.condizioniPagamento);
        for (const DettaglioPagamento& d : p.dettaglio) {
            start("DettaglioPagamento");
            text("ModalitaPagamento", d.modalitaPagamento);
            text("DataScadenzaPagamento", d.dataScadenzaPagamento);
            text("ImportoPagamento", d.importoPagamento);
            text("IBAN", d.iban);
            end();
        }
        end();
    }

    void allegato(const Allegato& a)
    {
        start("Allegati");
        text("NomeAttachment", a.nomeAttachment);
        text("FormatoAttachment", a.formatoAttachment);
        text("Attachment", a.attachment);
        end();
    }

    void body(const FatturaDocument& d)
    {
        if (!d.body.present)
            return;
        start("FatturaElettronicaBody");
        if (d.datiGenerali.present) {
            start("DatiGenerali");
            datiGeneraliDocumento(d.datiGeneraliDocumento);
            end();
        }
        if (d.datiBeniServizi.present) {
            start("DatiBeniServizi");
            for (const DettaglioLinee& l : d.dettaglioLinee)
                linea(l);
            for (const DatiRiepilogo& r : d.datiRiepilogo)
                riepilogo(r);
            end();
        }
        for (const DatiPagamento& p : d.datiPagamento)
            pagamento(p);
        for (const Allegato& a : d.allegati)
            allegato(a);
        end();
    }

    QXmlStreamWriter m_xml;
};

} // namespace

QByteArray FatturaXmlWriter::write(const FatturaDocument& document)
{
    QByteArray out;
    Writer(&out).document(document);
    return out;
}

} // namespace quillio::einvoice
