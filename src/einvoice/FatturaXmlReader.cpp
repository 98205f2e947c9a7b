#include "einvoice/FatturaXmlReader.h"

#include "einvoice/MarkupLimits.h"

#include <QXmlStreamReader>

namespace quillio::einvoice {

namespace {

// Repeated elements beyond these are skipped: a file cannot make the model grow without bound.
constexpr int MaximumLines = 10000;
constexpr int MaximumRepeats = 1000;

class Reader
{
public:
    explicit Reader(const QByteArray& content) : m_xml(content) {}

    FatturaXmlReader::Result read()
    {
        FatturaXmlReader::Result result;
        if (!m_xml.readNextStartElement()) {
            result.error = syntaxError(QStringLiteral("il file non contiene alcun elemento XML"));
            return result;
        }
        result.isFatturaPA = m_xml.name() == QLatin1String("FatturaElettronica") &&
                             m_xml.namespaceUri() == FatturaDocument::namespaceUri;
        const QString root = m_xml.qualifiedName().toString();
        const int rootLine = line();
        if (result.isFatturaPA)
            root_(result.document);
        while (!m_xml.atEnd())
            m_xml.readNext(); // the rest must be well-formed too
        result.wellFormed = !m_xml.hasError();
        if (!result.wellFormed)
            result.error = syntaxError(QString());
        else if (!result.isFatturaPA)
            result.error = QStringLiteral("riga %1: l'elemento principale è <%2>, non una FatturaElettronica "
                                          "dello spazio dei nomi %3")
                               .arg(rootLine)
                               .arg(root, FatturaDocument::namespaceUri);
        return result;
    }

private:
    int line() const { return int(qMin<qint64>(m_xml.lineNumber(), INT_MAX)); }

    QString syntaxError(const QString& fallback) const
    {
        const QString what = m_xml.hasError() ? m_xml.errorString() : fallback;
        return QStringLiteral("XML non ben formato, riga %1 colonna %2: %3")
            .arg(m_xml.lineNumber())
            .arg(m_xml.columnNumber())
            .arg(what);
    }

    bool is(const char* name) const { return m_xml.name() == QLatin1String(name); }

    // Calls handle() at each child element of the current one; a child it does not take is skipped.
    template <typename Handler> void children(Handler&& handle)
    {
        while (m_xml.readNextStartElement()) {
            if (!handle())
                m_xml.skipCurrentElement();
        }
    }

    void mark(XmlNode& node) const
    {
        node.present = true;
        node.line = line();
    }

    XmlText text()
    {
        XmlText value;
        mark(value);
        value.text = m_xml.readElementText(QXmlStreamReader::SkipChildElements);
        return value;
    }

    // Takes the current element into `target` when it is called `name`.
    bool take(const char* name, XmlText& target)
    {
        if (!is(name))
            return false;
        target = text();
        return true;
    }

    void root_(FatturaDocument& d)
    {
        mark(d.versione);
        d.versione.text = m_xml.attributes().value(QLatin1String("versione")).toString();
        d.versione.present = m_xml.attributes().hasAttribute(QLatin1String("versione"));
        children([&] {
            if (is("FatturaElettronicaHeader"))
                return header(d), true;
            if (is("FatturaElettronicaBody")) {
                if (d.body.present)
                    return ++d.otherBodies, false;
                return body(d), true;
            }
            return false;
        });
    }

    void idFiscale(IdFiscale& id)
    {
        mark(id);
        children([&] { return take("IdPaese", id.idPaese) || take("IdCodice", id.idCodice); });
    }

    void anagrafica(Anagrafica& a)
    {
        mark(a);
        children([&] {
            return take("Denominazione", a.denominazione) || take("Nome", a.nome) ||
                   take("Cognome", a.cognome);
        });
    }

    void sede(Sede& s)
    {
        mark(s);
        children([&] {
            return take("Indirizzo", s.indirizzo) || take("NumeroCivico", s.numeroCivico) ||
                   take("CAP", s.cap) || take("Comune", s.comune) || take("Provincia", s.provincia) ||
                   take("Nazione", s.nazione);
        });
    }

    void header(FatturaDocument& d)
    {
        mark(d.header);
        children([&] {
            if (is("DatiTrasmissione"))
                return datiTrasmissione(d.datiTrasmissione), true;
            if (is("CedentePrestatore"))
                return cedente(d.cedentePrestatore), true;
            if (is("CessionarioCommittente"))
                return cessionario(d.cessionarioCommittente), true;
            return false;
        });
    }

    void datiTrasmissione(DatiTrasmissione& t)
    {
        mark(t);
        children([&] {
            if (is("IdTrasmittente"))
                return idFiscale(t.idTrasmittente), true;
            return take("ProgressivoInvio", t.progressivoInvio) ||
                   take("FormatoTrasmissione", t.formatoTrasmissione) ||
                   take("CodiceDestinatario", t.codiceDestinatario) ||
                   take("PECDestinatario", t.pecDestinatario);
        });
    }

    void cedente(CedentePrestatore& c)
    {
        mark(c);
        children([&] {
            if (is("DatiAnagrafici")) {
                mark(c.datiAnagrafici);
                children([&] {
                    if (is("IdFiscaleIVA"))
                        return idFiscale(c.idFiscaleIva), true;
                    if (is("Anagrafica"))
                        return anagrafica(c.anagrafica), true;
                    return take("CodiceFiscale", c.codiceFiscale) || take("RegimeFiscale", c.regimeFiscale);
                });
                return true;
            }
            if (is("Sede"))
                return sede(c.sede), true;
            if (is("IscrizioneREA"))
                return iscrizioneRea(c.iscrizioneRea), true;
            if (is("Contatti"))
                return contatti(c.contatti), true;
            return false;
        });
    }

    void iscrizioneRea(IscrizioneRea& r)
    {
        mark(r);
        children([&] {
            return take("Ufficio", r.ufficio) || take("NumeroREA", r.numeroRea) ||
                   take("CapitaleSociale", r.capitaleSociale) || take("SocioUnico", r.socioUnico) ||
                   take("StatoLiquidazione", r.statoLiquidazione);
        });
    }

    void contatti(Contatti& c)
    {
        mark(c);
        children([&] { return take("Telefono", c.telefono) || take("Email", c.email); });
    }

    void cessionario(CessionarioCommittente& c)
    {
        mark(c);
        children([&] {
            if (is("DatiAnagrafici")) {
                mark(c.datiAnagrafici);
                children([&] {
                    if (is("IdFiscaleIVA"))
                        return idFiscale(c.idFiscaleIva), true;
                    if (is("Anagrafica"))
                        return anagrafica(c.anagrafica), true;
                    return take("CodiceFiscale", c.codiceFiscale);
                });
                return true;
            }
            if (is("Sede"))
                return sede(c.sede), true;
            return false;
        });
    }

    void body(FatturaDocument& d)
    {
        mark(d.body);
        children([&] {
            if (is("DatiGenerali"))
                return datiGenerali(d), true;
            if (is("DatiBeniServizi"))
                return datiBeniServizi(d), true;
            if (is("DatiPagamento") && d.datiPagamento.size() < MaximumRepeats)
                return datiPagamento(d.datiPagamento.emplace_back()), true;
            if (is("Allegati") && d.allegati.size() < MaximumRepeats)
                return allegato(d.allegati.emplace_back()), true;
            return false;
        });
    }

    void datiGenerali(FatturaDocument& d)
    {
        mark(d.datiGenerali);
        children([&] {
            if (!is("DatiGeneraliDocumento"))
                return false;
            datiGeneraliDocumento(d.datiGeneraliDocumento);
            return true;
        });
    }

    void datiGeneraliDocumento(DatiGeneraliDocumento& g)
    {
        mark(g);
        children([&] {
            if (is("DatiBollo")) {
                mark(g.datiBollo);
                children([&] {
                    return take("BolloVirtuale", g.datiBollo.bolloVirtuale) ||
                           take("ImportoBollo", g.datiBollo.importoBollo);
                });
                return true;
            }
            if (is("Causale") && g.causale.size() < MaximumRepeats)
                return g.causale.append(text()), true;
            return take("TipoDocumento", g.tipoDocumento) || take("Divisa", g.divisa) ||
                   take("Data", g.data) || take("Numero", g.numero) ||
                   take("ImportoTotaleDocumento", g.importoTotaleDocumento);
        });
    }

    void datiBeniServizi(FatturaDocument& d)
    {
        mark(d.datiBeniServizi);
        children([&] {
            if (is("DettaglioLinee") && d.dettaglioLinee.size() < MaximumLines)
                return linea(d.dettaglioLinee.emplace_back()), true;
            if (is("DatiRiepilogo") && d.datiRiepilogo.size() < MaximumRepeats)
                return riepilogo(d.datiRiepilogo.emplace_back()), true;
            return false;
        });
    }

    void linea(DettaglioLinee& l)
    {
        mark(l);
        children([&] {
            if (is("ScontoMaggiorazione")) {
                l.scontoMaggiorazione = true;
                return false;
            }
            return take("NumeroLinea", l.numeroLinea) || take("Descrizione", l.descrizione) ||
                   take("Quantita", l.quantita) || take("PrezzoUnitario", l.prezzoUnitario) ||
                   take("PrezzoTotale", l.prezzoTotale) || take("AliquotaIVA", l.aliquotaIva) ||
                   take("Natura", l.natura);
        });
    }

    void riepilogo(DatiRiepilogo& r)
    {
        mark(r);
        children([&] {
            return take("AliquotaIVA", r.aliquotaIva) || take("Natura", r.natura) ||
                   take("ImponibileImporto", r.imponibileImporto) || take("Imposta", r.imposta) ||
                   take("EsigibilitaIVA", r.esigibilitaIva) ||
                   take("RiferimentoNormativo", r.riferimentoNormativo);
        });
    }

    void datiPagamento(DatiPagamento& p)
    {
        mark(p);
        children([&] {
            if (is("DettaglioPagamento") && p.dettaglio.size() < MaximumRepeats) {
                DettaglioPagamento& d = p.dettaglio.emplace_back();
                mark(d);
                children([&] {
                    return take("ModalitaPagamento", d.modalitaPagamento) ||
                           take("DataScadenzaPagamento", d.dataScadenzaPagamento) ||
                           take("ImportoPagamento", d.importoPagamento) || take("IBAN", d.iban);
                });
                return true;
            }
            return take("CondizioniPagamento", p.condizioniPagamento);
        });
    }

    void allegato(Allegato& a)
    {
        mark(a);
        children([&] {
            return take("NomeAttachment", a.nomeAttachment) ||
                   take("FormatoAttachment", a.formatoAttachment) || take("Attachment", a.attachment);
        });
    }

    QXmlStreamReader m_xml;
};

} // namespace

FatturaXmlReader::Result FatturaXmlReader::read(const QByteArray& content)
{
    if (content.size() > maximumSize) {
        Result result;
        result.error = QStringLiteral("il file supera i 5 MB accettati per una fattura elettronica (riga 1)");
        return result;
    }
    if (QString excess = MarkupLimits::excess(content); !excess.isEmpty()) {
        Result result;
        result.error = std::move(excess);
        return result;
    }
    return Reader(content).read();
}

} // namespace quillio::einvoice
