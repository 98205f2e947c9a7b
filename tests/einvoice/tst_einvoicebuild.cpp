#include "UnexpectedWarnings.h"
#include "einvoice/DocumentBuilder.h"
#include "einvoice/DocumentChecks.h"
#include "einvoice/FatturaXmlReader.h"
#include "einvoice/FatturaXmlWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace quillio::einvoice;

namespace {

using Edit = std::function<void(InvoiceRecord&, ExportOptions&)>;

CompanyData seller()
{
    CompanyData c;
    c.denominazione = QStringLiteral("Quillio Servizi S.r.l.");
    c.partitaIva = QStringLiteral("12345678903");
    c.codiceFiscale = QStringLiteral("12345678903");
    c.indirizzo = QStringLiteral("Via Roma");
    c.numeroCivico = QStringLiteral("12/B");
    c.cap = QStringLiteral("20121");
    c.comune = QStringLiteral("Milano");
    c.provincia = QStringLiteral("MI");
    c.iban = QStringLiteral("IT18 K076 0101 6000 0001 2345 678");
    c.rea = CompanyData::Rea{QStringLiteral("MI"), QStringLiteral("1234567"), 1000000, QStringLiteral("SU"),
                             QStringLiteral("LN")};
    c.telefono = QStringLiteral("0212345678");
    c.email = QStringLiteral("amministrazione@quillio.example");
    return c;
}

// A stored invoice at 22 % with two lines, 100.00 and 23.45.
InvoiceRecord invoice()
{
    InvoiceRecord r;
    r.ordNum = 42;
    r.data = QDate(2025, 3, 14);
    r.ragioneSociale = QStringLiteral("Rossi Costruzioni S.n.c.");
    r.via = QStringLiteral("Via Garibaldi 5");
    r.citta = QStringLiteral("Torino");
    r.cap = QStringLiteral("10121");
    r.pIva = QStringLiteral("00703260992");
    r.testo1 = QStringLiteral("Lavori di marzo");
    r.desc[0] = QStringLiteral("Sopralluogo");
    r.costo[0] = 100.0;
    r.desc[1] = QStringLiteral("Materiale");
    r.costo[1] = 23.45;
    r.iva = 22;
    return r;
}

ExportOptions options()
{
    ExportOptions o;
    o.buyer.codiceDestinatario = QStringLiteral("ABC1234");
    o.buyer.provincia = QStringLiteral("TO");
    o.progressive = QStringLiteral("00001");
    o.dueDate = QDate(2025, 4, 30);
    return o;
}

QString element(const QByteArray& xml, const char* name)
{
    const QString text = QString::fromUtf8(xml);
    const QString open = QStringLiteral("<%1>").arg(QLatin1String(name));
    const qsizetype from = text.indexOf(open);
    if (from < 0)
        return QStringLiteral("(missing)");
    const qsizetype start = from + open.size();
    return text.mid(start, text.indexOf(u'<', start) - start);
}

QString describe(const QList<Problem>& problems)
{
    QStringList lines;
    for (const Problem& p : problems)
        lines.append(QStringLiteral("[%1] %2 %3").arg(int(p.severity)).arg(p.code, p.message));
    return lines.join(u'\n');
}

bool mentions(const QList<Problem>& problems, const QString& field, Problem::Severity severity)
{
    for (const Problem& p : problems) {
        if (p.field == field && p.severity == severity)
            return true;
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestEinvoiceBuild : public QObject
{
    Q_OBJECT

    QString validateScript() const { return QStringLiteral(QUILLIO_FATTURAPA_DIR "/validate"); }

    // The official schema's verdict, through the script kept with it; skips only without xmllint.
    void validate(const QByteArray& xml)
    {
        QVERIFY2(QFile::exists(validateScript()),
                 qPrintable(validateScript() + QStringLiteral(" not found")));
        if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
            QSKIP("schema step skipped: xmllint not installed (Debian libxml2-utils)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("IT12345678903_00001.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(xml);
        file.close();
        QProcess process;
        process.start(validateScript(), {path});
        QVERIFY(process.waitForFinished(60000));
        const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, output.constData());
    }

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void build_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("refusedField"); // empty: the invoice is accepted
        QTest::addColumn<QString>("imponibile");
        QTest::addColumn<QString>("imposta");
        QTest::addColumn<QString>("totale");
        QTest::addColumn<QStringList>("inFile"); // fragments the written file must hold

        const auto none = [](InvoiceRecord&, ExportOptions&) {};
        QTest::newRow("22 %, two lines")
            << Edit(none) << QString() << "123.45"
            << "27.16"
            << "150.61"
            << QStringList{"<CodiceDestinatario>ABC1234</CodiceDestinatario>",
                           "<IBAN>IT18K0760101600000012345678</IBAN>", "<Causale>Lavori di marzo</Causale>"};
        QTest::newRow("22 %, twenty lines")
            << Edit([](InvoiceRecord& r, ExportOptions&) {
                   for (int i = 0; i < InvoiceRecord::slotCount; ++i) {
                       r.desc[i] = QStringLiteral("Voce %1").arg(i + 1);
                       r.costo[i] = (i + 1) * 12.34;
                   }
               })
            // 12.34 x (1 + ... + 20) = 2591.40; 22 % of it 570.108
            << QString() << "2591.40"
            << "570.11"
            << "3161.51"
            << QStringList{"<NumeroLinea>20</NumeroLinea>", "<PrezzoTotale>246.80</PrezzoTotale>"};
        for (const char* natura : {"N2.1", "N3.1", "N4", "N6.3"}) {
            QTest::addRow("0 %%, Natura %s", natura)
                << Edit([natura](InvoiceRecord& r, ExportOptions& o) {
                       r.iva = 0;
                       o.natura = QLatin1String(natura);
                       o.riferimentoNormativo = QStringLiteral("Art. 10 D.P.R. 633/72");
                   })
                << QString() << "123.45"
                << "0.00"
                << "123.45"
                << QStringList{QStringLiteral("<Natura>%1</Natura>").arg(QLatin1String(natura)),
                               "<RiferimentoNormativo>Art. 10 D.P.R. 633/72</RiferimentoNormativo>"};
        }
        QTest::newRow("buyer with only a tax code")
            << Edit([](InvoiceRecord& r, ExportOptions&) {
                   r.pIva.clear();
                   r.cf = QStringLiteral("rssmra85t10a562s");
               })
            << QString() << "123.45"
            << "27.16"
            << "150.61" << QStringList{"<CodiceFiscale>RSSMRA85T10A562S</CodiceFiscale>"};
        QTest::newRow("buyer by PEC")
            << Edit([](InvoiceRecord&, ExportOptions& o) {
                   o.buyer.codiceDestinatario.clear();
                   o.buyer.pec = QStringLiteral("rossi@pec.example.it");
               })
            << QString() << "123.45"
            << "27.16"
            << "150.61"
            << QStringList{"<CodiceDestinatario>0000000</CodiceDestinatario>",
                           "<PECDestinatario>rossi@pec.example.it</PECDestinatario>"};
        QTest::newRow("long and non-Latin-1 texts")
            << Edit([](InvoiceRecord& r, ExportOptions&) {
                   r.testo1 = QString::fromUtf8("€ ").repeated(50); // 100 characters, 200 once folded
                   r.testo2 = QString::fromUtf8("Consegna “urgente” – vedi nota…\nfine");
                   r.desc[0] = QString::fromUtf8("Łódź: sopralluogo ‘a’");
                   r.ragioneSociale = QString::fromUtf8("Ştefan Dvořák");
               })
            << QString() << "123.45"
            << "27.16"
            << "150.61"
            << QStringList{QString::fromUtf8("<Descrizione>Lódz: sopralluogo 'a'</Descrizione>"),
                           "<Causale>Consegna &quot;urgente&quot; - vedi nota... fine</Causale>",
                           QString::fromUtf8("<Denominazione>Stefan Dvorák</Denominazione>")};
        QTest::newRow("amounts that round at half a cent")
            << Edit([](InvoiceRecord& r, ExportOptions&) {
                   r.costo[0] = 0.285; // 0.29, though the double is below 0.285
                   r.costo[1] = 1.005; // 1.01
               })
            // 1.30 x 22 % = 0.286 -> 0.29
            << QString() << "1.30"
            << "0.29"
            << "1.59" << QStringList{"<PrezzoUnitario>0.29</PrezzoUnitario>"};
        QTest::newRow("tax at exactly half a cent") << Edit([](InvoiceRecord& r, ExportOptions&) {
            r.costo[0] = 0.25; // 22 % = 0.055 -> 0.06
            r.desc[1].clear();
            r.costo[1].reset();
        }) << QString() << "0.25"
                                                    << "0.06"
                                                    << "0.31" << QStringList();
        QTest::newRow("hand totals that agree") << Edit([](InvoiceRecord& r, ExportOptions&) {
            r.totAut = false;
            r.totale = 123.45;
            r.totaleIva = 27.159;
            r.totaleFattura = 150.609;
        }) << QString() << "123.45"
                                                << "27.16"
                                                << "150.61" << QStringList();
        QTest::newRow("description-only line, stamp duty, attachment, other rate")
            << Edit([](InvoiceRecord& r, ExportOptions& o) {
                   r.desc[5] = QStringLiteral("Nota: lavori eseguiti in cantiere");
                   r.iva = 21;
                   o.bolloVirtuale = true;
                   o.attachment = QByteArray("%PDF-1.4 finta");
                   o.attachmentName = QStringLiteral("Fattura_42.pdf");
               })
            // 123.45 x 21 % = 25.9245; the stamp is not added to the total
            << QString() << "123.45"
            << "25.92"
            << "149.37"
            << QStringList{"<PrezzoTotale>0.00</PrezzoTotale>", "<BolloVirtuale>SI</BolloVirtuale>",
                           "<ImportoBollo>2.00</ImportoBollo>", "<FormatoAttachment>PDF</FormatoAttachment>",
                           "<Attachment>JVBERi0xLjQgZmludGE=</Attachment>"};

        const QString noFigures;
        QTest::newRow("hand total off by a cent") << Edit([](InvoiceRecord& r, ExportOptions&) {
            r.totAut = false;
            r.totale = 123.46;
            r.totaleIva = 27.16;
            r.totaleFattura = 150.61;
        }) << "Totale" << noFigures << noFigures << noFigures
                                                  << QStringList();
        QTest::newRow("hand invoice total off by a euro") << Edit([](InvoiceRecord& r, ExportOptions&) {
            r.totAut = false;
            r.totale = 123.45;
            r.totaleIva = 27.16;
            r.totaleFattura = 151.61;
        }) << "Totale fattura" << noFigures << noFigures << noFigures
                                                          << QStringList();
        QTest::newRow("negative line")
            << Edit([](InvoiceRecord& r, ExportOptions&) { r.costo[1] = -10.0; }) << "Importo riga 2"
            << noFigures << noFigures << noFigures << QStringList();
        QTest::newRow("never stored")
            << Edit([](InvoiceRecord& r, ExportOptions&) { r.ordNum.reset(); }) << "Numero fattura"
            << noFigures << noFigures << noFigures << QStringList();
        QTest::newRow("date missing") << Edit([](InvoiceRecord& r, ExportOptions&) { r.data = QDate(); })
                                      << "Data" << noFigures << noFigures << noFigures << QStringList();
        QTest::newRow("amount without description") << Edit([](InvoiceRecord& r, ExportOptions&) {
            r.costo[2] = 5.0;
            r.desc[2] = QStringLiteral("  ");
        }) << "Descrizione riga 3" << noFigures << noFigures
                                                    << noFigures << QStringList();
        QTest::newRow("rate 0 without Natura")
            << Edit([](InvoiceRecord& r, ExportOptions&) { r.iva = 0; }) << "Natura" << noFigures << noFigures
            << noFigures << QStringList();
        QTest::newRow("buyer VAT number with a wrong check digit")
            << Edit([](InvoiceRecord& r, ExportOptions&) { r.pIva = QStringLiteral("00703260993"); })
            << "FatturaElettronicaHeader/CessionarioCommittente/DatiAnagrafici/IdFiscaleIVA/IdCodice"
            << noFigures << noFigures << noFigures << QStringList();
        QTest::newRow("buyer CAP of four digits")
            << Edit([](InvoiceRecord& r, ExportOptions&) { r.cap = "1012"; })
            << "FatturaElettronicaHeader/CessionarioCommittente/Sede/CAP" << noFigures << noFigures
            << noFigures << QStringList();
    }

    void build()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, refusedField);
        InvoiceRecord record = invoice();
        ExportOptions exportOptions = options();
        edit(record, exportOptions);
        const DocumentBuilder::Result result = DocumentBuilder::build(record, seller(), exportOptions);
        if (!refusedField.isEmpty()) {
            QVERIFY2(!result.accepted(), qPrintable(describe(result.problems)));
            QVERIFY2(mentions(result.problems, refusedField, Problem::Error),
                     qPrintable(describe(result.problems)));
            return;
        }
        QVERIFY2(result.accepted(), qPrintable(describe(result.problems)));
        const QByteArray xml = FatturaXmlWriter::write(result.document);

        QFETCH(QString, imponibile);
        QFETCH(QString, imposta);
        QFETCH(QString, totale);
        QFETCH(QStringList, inFile);
        QCOMPARE(element(xml, "ImponibileImporto"), imponibile);
        QCOMPARE(element(xml, "Imposta"), imposta);
        QCOMPARE(element(xml, "ImportoTotaleDocumento"), totale);
        QCOMPARE(element(xml, "ImportoPagamento"), totale);
        for (const QString& fragment : inFile)
            QVERIFY2(QString::fromUtf8(xml).contains(fragment), qPrintable(fragment));

        // What we write, we read back to the same verdict.
        const FatturaXmlReader::Result read = FatturaXmlReader::read(xml);
        QVERIFY2(read.wellFormed && read.isFatturaPA, qPrintable(read.error));
        QVERIFY2(!hasErrors(DocumentChecks::run(read.document)),
                 qPrintable(describe(DocumentChecks::run(read.document))));
        validate(xml);
    }

    void foldedTextsAreNoticedByField()
    {
        InvoiceRecord record = invoice();
        record.desc[1] = QString::fromUtf8("Materiale “speciale”");
        const DocumentBuilder::Result result = DocumentBuilder::build(record, seller(), options());
        QVERIFY(result.accepted());
        QVERIFY2(mentions(result.problems, QStringLiteral("Descrizione riga 2"), Problem::Notice),
                 qPrintable(describe(result.problems)));
        QVERIFY(!mentions(result.problems, QStringLiteral("Descrizione riga 1"), Problem::Notice));
    }

    void longCausaleIsSplit()
    {
        InvoiceRecord record = invoice();
        record.testo1 = QString::fromUtf8("€").repeated(100); // 300 characters once folded
        const DocumentBuilder::Result result = DocumentBuilder::build(record, seller(), options());
        QVERIFY2(result.accepted(), qPrintable(describe(result.problems)));
        const QList<XmlText>& causale = result.document.datiGeneraliDocumento.causale;
        QCOMPARE(causale.size(), 2);
        QCOMPARE(causale[0].text, QStringLiteral("EUR").repeated(66) + QStringLiteral("EU"));
        QCOMPARE(causale[1].text.size(), 100);
    }

    void warnings_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("field");
        QTest::newRow("rate not in force")
            << Edit([](InvoiceRecord& r, ExportOptions&) { r.iva = 21; }) << "IVA";
        QTest::newRow("buyer with neither code nor PEC")
            << Edit([](InvoiceRecord&, ExportOptions& o) { o.buyer.codiceDestinatario.clear(); })
            << "Codice destinatario del cliente";
    }
    void warnings()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, field);
        InvoiceRecord record = invoice();
        ExportOptions exportOptions = options();
        edit(record, exportOptions);
        const DocumentBuilder::Result result = DocumentBuilder::build(record, seller(), exportOptions);
        QVERIFY2(result.accepted(), qPrintable(describe(result.problems)));
        QVERIFY2(mentions(result.problems, field, Problem::Warning), qPrintable(describe(result.problems)));
    }

    void fileNameFollowsSenderAndProgressive()
    {
        const DocumentBuilder::Result result = DocumentBuilder::build(invoice(), seller(), options());
        QCOMPARE(DocumentBuilder::fileName(result.document), QStringLiteral("IT12345678903_00001.xml"));
    }
};

QTEST_GUILESS_MAIN(TestEinvoiceBuild)
#include "tst_einvoicebuild.moc"
