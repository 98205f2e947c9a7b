#include "einvoice/ExportOptions.h"

namespace quillio::einvoice {

QList<CodeDescription> ExportOptions::modalitaPagamentoCodes()
{
    return {
        {"MP05", "Bonifico"},
        {"MP01", "Contanti"},
        {"MP02", "Assegno"},
        {"MP03", "Assegno circolare"},
        {"MP04", "Contanti presso Tesoreria"},
        {"MP06", "Vaglia cambiario"},
        {"MP07", "Bollettino bancario"},
        {"MP08", "Carta di pagamento"},
        {"MP09", "RID"},
        {"MP10", "RID utenze"},
        {"MP11", "RID veloce"},
        {"MP12", "RIBA"},
        {"MP13", "MAV"},
        {"MP14", "Quietanza erario"},
        {"MP15", "Giroconto su conti di contabilità speciale"},
        {"MP16", "Domiciliazione bancaria"},
        {"MP17", "Domiciliazione postale"},
        {"MP18", "Bollettino di c/c postale"},
        {"MP19", "SEPA Direct Debit"},
        {"MP20", "SEPA Direct Debit CORE"},
        {"MP21", "SEPA Direct Debit B2B"},
        {"MP22", "Trattenuta su somme già riscosse"},
        {"MP23", "PagoPA"},
    };
}

QList<CodeDescription> ExportOptions::naturaCodes()
{
    return {
        {"N1", "Escluse ex art. 15 del D.P.R. 633/72"},
        {"N2.1", "Non soggette ad IVA ai sensi degli artt. da 7 a 7-septies del D.P.R. 633/72"},
        {"N2.2", "Non soggette - altri casi"},
        {"N3.1", "Non imponibili - esportazioni"},
        {"N3.2", "Non imponibili - cessioni intracomunitarie"},
        {"N3.3", "Non imponibili - cessioni verso San Marino"},
        {"N3.4", "Non imponibili - operazioni assimilate alle cessioni all'esportazione"},
        {"N3.5", "Non imponibili - a seguito di dichiarazioni d'intento"},
        {"N3.6", "Non imponibili - altre operazioni che non concorrono alla formazione del plafond"},
        {"N4", "Esenti"},
        {"N5", "Regime del margine / IVA non esposta in fattura"},
        {"N6.1", "Inversione contabile - cessione di rottami e altri materiali di recupero"},
        {"N6.2", "Inversione contabile - cessione di oro e argento"},
        {"N6.3", "Inversione contabile - subappalto nel settore edile"},
        {"N6.4", "Inversione contabile - cessione di fabbricati"},
        {"N6.5", "Inversione contabile - cessione di telefoni cellulari"},
        {"N6.6", "Inversione contabile - cessione di prodotti elettronici"},
        {"N6.7", "Inversione contabile - prestazioni comparto edile e settori connessi"},
        {"N6.8", "Inversione contabile - operazioni settore energetico"},
        {"N6.9", "Inversione contabile - altri casi"},
        {"N7", "IVA assolta in altro stato UE"},
    };
}

} // namespace quillio::einvoice
