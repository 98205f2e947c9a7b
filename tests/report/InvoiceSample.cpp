#include "InvoiceSample.h"

#include "report/ReportProject.h"
#include "report/ReportSystem.h"

namespace quillio::report::test {

QList<std::pair<QString, QString>> InvoiceSample::parameters()
{
    return {
        {"Data", "16/03/2009"},
        {"Numero", "7"},
        {"Ragione_Sociale", "Trattoria Al Portico di Zanella Luca"},
        {"Via", "Piazzetta San Lorenzo, 3"},
        {"Citta", "Treviso (TV)"},
        {"CAP", "31100"},
        {"PIVA", "04512870263"},
        {"CF", "04512870263"},
        {"Testo1", "Oggetto: materiale promozionale per la stagione estiva 2009"},
        {"Testo2", "Vostro ordine n. 27 del 02/03/2009"},
        {"Desc01", "Progetto grafico del nuovo menù (4 facciate)"},
        {"Costo01", "380,00"},
        {"Desc02", "Stampa menù in quadricromia su carta patinata 300 g, 200 copie"},
        {"Costo02", "465,00"},
        {"Desc03", "Biglietti da visita, 1.000 copie"},
        {"Costo03", "95,00"},
        {"Desc04", "Locandine formato A3 per le serate a tema, 50 copie"},
        {"Costo04", "120,00"},
        {"Desc05", "Tovagliette segnaposto personalizzate, 2.000 pezzi"},
        {"Costo05", "310,00"},
        {"Desc06", "Adattamento del logo per l'insegna esterna"},
        {"Costo06", "150,00"},
        {"Totale", "1.520,00"},
        {"IVA", "20"},
        {"Totale_IVA", "304,00"},
        {"Totale_Fattura", "1.824,00"},
        {"Condizioni", "Bonifico bancario a 30 giorni data fattura.\nScadenza: 15/04/2009.\n"
                       "In caso di ritardato pagamento si applicano gli interessi di mora di legge."},
    };
}

void InvoiceSample::writePdf(const QString& layoutPath, const QString& pdfPath)
{
    ReportSystem system;
    ReportProject project(system);
    project.setProjectFile(layoutPath);
    for (const auto& [name, text] : parameters())
        project.setParameter(name, text);
    project.exportPdf(pdfPath);
}

} // namespace quillio::report::test
