#pragma once

#include <QList>
#include <QString>

namespace quillio::einvoice {

// One private-party electronic invoice (format FPR12), element by element, as far as this
// program writes it and the checks read it. Values stay text exactly as the file has them, so a
// document read from elsewhere can hold (and the checks can report) a malformed amount or date.
// Every node knows whether the file had it and on which line; a built document has line 0.

struct XmlNode
{
    bool present = false;
    int line = 0;
};

// One element holding text.
struct XmlText : XmlNode
{
    QString text;

    XmlText() = default;
    // A present element with this text; how the builder fills the model.
    XmlText(const QString& value) : XmlNode{true, 0}, text(value) {}
};

struct IdFiscale : XmlNode
{
    XmlText idPaese;
    XmlText idCodice;
};

// Either denominazione, or nome and cognome.
struct Anagrafica : XmlNode
{
    XmlText denominazione;
    XmlText nome;
    XmlText cognome;
};

struct Sede : XmlNode
{
    XmlText indirizzo;
    XmlText numeroCivico;
    XmlText cap;
    XmlText comune;
    XmlText provincia;
    XmlText nazione;
};

struct IscrizioneRea : XmlNode
{
    XmlText ufficio;
    XmlText numeroRea;
    XmlText capitaleSociale;
    XmlText socioUnico;
    XmlText statoLiquidazione;
};

struct Contatti : XmlNode
{
    XmlText telefono;
    XmlText email;
};

struct DatiTrasmissione : XmlNode
{
    IdFiscale idTrasmittente;
    XmlText progressivoInvio;
    XmlText formatoTrasmissione;
    XmlText codiceDestinatario;
    XmlText pecDestinatario;
};

struct CedentePrestatore : XmlNode
{
    XmlNode datiAnagrafici;
    IdFiscale idFiscaleIva;
    XmlText codiceFiscale;
    Anagrafica anagrafica;
    XmlText regimeFiscale;
    Sede sede;
    IscrizioneRea iscrizioneRea;
    Contatti contatti;
};

struct CessionarioCommittente : XmlNode
{
    XmlNode datiAnagrafici;
    IdFiscale idFiscaleIva;
    XmlText codiceFiscale;
    Anagrafica anagrafica;
    Sede sede;
};

struct DatiBollo : XmlNode
{
    XmlText bolloVirtuale;
    XmlText importoBollo;
};

struct DatiGeneraliDocumento : XmlNode
{
    XmlText tipoDocumento;
    XmlText divisa;
    XmlText data;
    XmlText numero;
    DatiBollo datiBollo;
    XmlText importoTotaleDocumento;
    QList<XmlText> causale; // each at most 200 characters
};

struct DettaglioLinee : XmlNode
{
    XmlText numeroLinea;
    XmlText descrizione;
    XmlText quantita;
    XmlText prezzoUnitario;
    XmlText prezzoTotale;
    XmlText aliquotaIva;
    XmlText natura;
    // The file applies discounts or surcharges to the line, which are not modelled: its total
    // then cannot be compared with price times quantity.
    bool scontoMaggiorazione = false;
};

struct DatiRiepilogo : XmlNode
{
    XmlText aliquotaIva;
    XmlText natura;
    XmlText imponibileImporto;
    XmlText imposta;
    XmlText esigibilitaIva;
    XmlText riferimentoNormativo;
};

struct DettaglioPagamento : XmlNode
{
    XmlText modalitaPagamento;
    XmlText dataScadenzaPagamento;
    XmlText importoPagamento;
    XmlText iban;
};

struct DatiPagamento : XmlNode
{
    XmlText condizioniPagamento;
    QList<DettaglioPagamento> dettaglio;
};

struct Allegato : XmlNode
{
    XmlText nomeAttachment;
    XmlText formatoAttachment;
    XmlText attachment; // base64
};

struct FatturaDocument
{
    static const QString namespaceUri;
    static const QString signatureNamespaceUri;

    XmlText versione; // the root's attribute; line = the root's
    XmlNode header;
    DatiTrasmissione datiTrasmissione;
    CedentePrestatore cedentePrestatore;
    CessionarioCommittente cessionarioCommittente;
    XmlNode body;
    XmlNode datiGenerali;
    DatiGeneraliDocumento datiGeneraliDocumento;
    XmlNode datiBeniServizi;
    QList<DettaglioLinee> dettaglioLinee;
    QList<DatiRiepilogo> datiRiepilogo;
    QList<DatiPagamento> datiPagamento;
    QList<Allegato> allegati;
    // Further bodies of a file that carries several invoices: only the first is modelled.
    int otherBodies = 0;
};

} // namespace quillio::einvoice
