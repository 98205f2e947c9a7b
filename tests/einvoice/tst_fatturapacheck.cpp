#include "UnexpectedWarnings.h"
#include "einvoice/CompanyData.h"
#include "einvoice/DocumentBuilder.h"
#include "einvoice/DocumentChecks.h"
#include "einvoice/FatturaXmlReader.h"
#include "einvoice/FatturaXmlWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace quillio::einvoice;

namespace {

const QString SamplesDir = QStringLiteral(QUILLIO_FATTURAPA_DIR);

QByteArray sample(const QString& name)
{
    QFile file(SamplesDir + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList codesOf(const QList<Problem>& problems)
{
    QSet<QString> codes;
    for (const Problem& p : problems) {
        if (p.severity == Problem::Error)
            codes.insert(p.code);
    }
    QStringList list(codes.begin(), codes.end());
    list.sort();
    return list;
}

QString describe(const QList<Problem>& problems)
{
    QStringList lines;
    for (const Problem& p : problems)
        lines.append(QStringLiteral("%1: %2 %3").arg(p.line).arg(p.code, p.message));
    return lines.join(u'\n');
}

} // namespace

class TestFatturaPACheck : public QObject
{
    Q_OBJECT

    void requireSamples()
    {
        // The samples are part of the tree: without them the checks that matter most would not run.
        QVERIFY2(!sample(QStringLiteral("IT01234567890_FPR01.xml")).isEmpty(),
                 qPrintable(QStringLiteral("official samples not found in %1").arg(SamplesDir)));
    }

    int runTool(const QStringList& files, QByteArray* output = nullptr)
    {
        QProcess process;
        process.start(QStringLiteral(QUILLIO_FATTURAPA_TOOL), QStringList{QStringLiteral("check")} + files);
        if (!process.waitForFinished(30000))
            return -1;
        if (output)
            *output = process.readAllStandardOutput() + process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString writeTemp(const QString& name, const QByteArray& content)
    {
        QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(content);
        return path;
    }

    QTemporaryDir m_dir;

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    // The samples' identification numbers are made up: 01234567890 would need check digit 7
    // (0+2+2+6+4+1+6+5+8+9 = 43), and so would 09876543210 (0+9+8+5+6+1+4+6+2+2 = 43).
    // The transmitter, the seller's VAT number and the buyer's company tax code fail; nothing else.
    void officialSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("FPR01") << "IT01234567890_FPR01.xml";
        QTest::newRow("FPR02, buyer by PEC") << "IT01234567890_FPR02.xml";
    }
    void officialSamples()
    {
        requireSamples();
        QFETCH(QString, file);
        const FatturaXmlReader::Result read = FatturaXmlReader::read(sample(file));
        QVERIFY2(read.wellFormed && read.isFatturaPA, qPrintable(read.error));
        const QList<Problem> problems = DocumentChecks::run(read.document);
        QCOMPARE(codesOf(problems), (QStringList{"00300", "00301", "00306"}));
        QCOMPARE(problems.size(), 3);
        // Each names the line of the element at fault.
        QCOMPARE(problems[0].line, 7);
        QCOMPARE(problems[1].line, 18);
        QCOMPARE(problems[2].line, 35);
    }

    // Each row breaks one rule in a copy of a sample: the first match of a regular expression (or
    // its first group, when it has one) is replaced by the text given. The row
    // lists every rejection code expected then, the samples' own three included.
    void brokenSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QStringList>("codes");
        const QString one = QStringLiteral("IT01234567890_FPR01.xml");
        const QString two = QStringLiteral("IT01234567890_FPR02.xml");
        const QStringList base{"00300", "00301", "00306"};
        const auto with = [&base](QStringList more) {
            more += base;
            more.sort();
            more.removeDuplicates();
            return more;
        };
        const QString lineRate = QStringLiteral("<PrezzoTotale>5.00</PrezzoTotale>\\s*<AliquotaIVA>");
        const QString summaryRate = QStringLiteral("<DatiRiepilogo>\\s*<AliquotaIVA>");

        QTest::newRow("line at 0 without Natura (and no summary at 0)")
            << one << lineRate + "(22.00)"
            << "0.00" << with({"00400", "00419", "00422"});
        QTest::newRow("line at 22 with Natura") << one << lineRate + "22.00(</AliquotaIVA>)"
                                                << "</AliquotaIVA><Natura>N4</Natura>" << with({"00401"});
        QTest::newRow("summary at 0 without Natura") << one << summaryRate + "(22.00)"
                                                     << "0.00" << with({"00429", "00419", "00421", "00422"});
        QTest::newRow("summary at 22 with Natura")
            << one << summaryRate + "22.00(</AliquotaIVA>)"
            << "</AliquotaIVA><Natura>N3.1</Natura>" << with({"00430"});
        QTest::newRow("generic Natura N2")
            << one << lineRate + "(22.00</AliquotaIVA>)"
            << "0.00</AliquotaIVA><Natura>N2</Natura>" << with({"00445", "00419", "00422"});
        QTest::newRow("buyer without any identifier") << one << "<CodiceFiscale>09876543210</CodiceFiscale>"
                                                      << "" << QStringList{"00300", "00301", "00417"};
        QTest::newRow("tax off by two cents") << one << "<Imposta>1.10<"
                                              << "<Imposta>1.12<" << with({"00421"});
        QTest::newRow("tax off by one cent is accepted") << one << "<Imposta>1.10<"
                                                         << "<Imposta>1.11<" << base;
        QTest::newRow("taxable off by a euro")
            << one << "<ImponibileImporto>5.00</ImponibileImporto>\\s*<Imposta>1.10"
            << "<ImponibileImporto>6.00</ImponibileImporto><Imposta>1.32" << with({"00422"});
        QTest::newRow("taxable off by 99 cents is accepted")
            << one << "<ImponibileImporto>5.00</ImponibileImporto>\\s*<Imposta>1.10"
            << "<ImponibileImporto>5.99</ImponibileImporto><Imposta>1.32" << base;
        QTest::newRow("line total not price times quantity") << one << "<PrezzoTotale>5.00<"
                                                             << "<PrezzoTotale>5.02<" << with({"00423"});
        QTest::newRow("number without a digit") << one << "<Numero>123<"
                                                << "<Numero>ABC<" << with({"00425"});
        QTest::newRow("PEC with a destination code") << two << "<CodiceDestinatario>0000000<"
                                                     << "<CodiceDestinatario>ABC1234<" << with({"00426"});
        QTest::newRow("destination code of 6 characters") << one << "<CodiceDestinatario>ABC1234<"
                                                          << "<CodiceDestinatario>ABC123<" << with({"00427"});
        QTest::newRow("seller tax code with a wrong check letter")
            << one << "</IdFiscaleIVA>"
            << "</IdFiscaleIVA><CodiceFiscale>RSSMRA85T10A562T</CodiceFiscale>" << with({"00302"});
        QTest::newRow("valid seller and transmitter numbers")
            << one << "<IdCodice>01234567890</IdCodice>"
            << "<IdCodice>12345678903</IdCodice>" << QStringList{"00301", "00306"};
        QTest::newRow("buyer VAT number with a wrong check digit")
            << one << "<CodiceFiscale>09876543210</CodiceFiscale>"
            << "<IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>12345678904</IdCodice></IdFiscaleIVA>"
            << QStringList{"00300", "00301", "00305"};
        QTest::newRow("foreign buyer: length only")
            << one << "<CodiceFiscale>09876543210</CodiceFiscale>"
            << "<IdFiscaleIVA><IdPaese>DE</IdPaese><IdCodice>123456789</IdCodice></IdFiscaleIVA>"
            << QStringList{"00300", "00301"};
        QTest::newRow("CAP of four digits") << one << "<CAP>07100<"
                                            << "<CAP>0710<" << with({"00200"});
        QTest::newRow("amount without decimals") << one << "<ImportoPagamento>6.10<"
                                                 << "<ImportoPagamento>6.1<" << with({"00200"});
        QTest::newRow("rate above 100") << one << summaryRate + "(22.00)"
                                        << "122.00" << with({"00200", "00419"});
        QTest::newRow("impossible date") << one << "<Data>2014-12-18<"
                                         << "<Data>2014-13-18<" << with({"00200"});
        QTest::newRow("euro sign in a name") << one << "SOCIETA' ALPHA SRL"
                                             << "SOCIETA' ALPHA € SRL" << with({"00200"});
        QTest::newRow("tax regime missing") << one << "<RegimeFiscale>RF19</RegimeFiscale>"
                                            << "" << with({"00200"});
        QTest::newRow("province in lower case") << one << "<Provincia>SS<"
                                                << "<Provincia>ss<" << with({"00200"});
        QTest::newRow("no lines") << one << "<DettaglioLinee>[\\s\\S]*</DettaglioLinee>"
                                  << "" << with({"00200", "00422"});
    }
    void brokenSamples()
    {
        requireSamples();
        QFETCH(QString, file);
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(QStringList, codes);
        QString text = QString::fromUtf8(sample(file));
        const QRegularExpression expression(pattern);
        const QRegularExpressionMatch match = expression.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(QStringLiteral("the edit does not apply: ") + pattern));
        const int part = expression.captureCount() > 0 ? 1 : 0;
        text.replace(match.capturedStart(part), match.capturedLength(part), replacement);
        const FatturaXmlReader::Result read = FatturaXmlReader::read(text.toUtf8());
        QVERIFY2(read.wellFormed && read.isFatturaPA, qPrintable(read.error));
        const QList<Problem> problems = DocumentChecks::run(read.document);
        QVERIFY2(codesOf(problems) == codes, qPrintable(describe(problems)));
    }

    void toolExitCodes()
    {
        requireSamples();
        QVERIFY(m_dir.isValid());
        CompanyData seller;
        seller.denominazione = QStringLiteral("Quillio Servizi S.r.l.");
        seller.partitaIva = QStringLiteral("12345678903");
        seller.indirizzo = QStringLiteral("Via Roma 12");
        seller.cap = QStringLiteral("20121");
        seller.comune = QStringLiteral("Milano");
        InvoiceRecord invoice;
        invoice.ordNum = 7;
        invoice.data = QDate(2025, 1, 31);
        invoice.ragioneSociale = QStringLiteral("Cliente");
        invoice.via = QStringLiteral("Via Po 1");
        invoice.citta = QStringLiteral("Torino");
        invoice.cap = QStringLiteral("10121");
        invoice.pIva = QStringLiteral("00703260992");
        invoice.desc[0] = QStringLiteral("Consulenza");
        invoice.costo[0] = 250.0;
        invoice.iva = 22;
        ExportOptions options;
        options.buyer.codiceDestinatario = QStringLiteral("ABC1234");
        options.progressive = QStringLiteral("A1");
        options.modalitaPagamento = QStringLiteral("MP01");
        const DocumentBuilder::Result built = DocumentBuilder::build(invoice, seller, options);
        QVERIFY2(built.accepted(), qPrintable(describe(built.problems)));
        const QString clean = writeTemp(QStringLiteral("clean.xml"), FatturaXmlWriter::write(built.document));
        const QString broken = writeTemp(QStringLiteral("broken.xml"),
                                         sample(QStringLiteral("IT01234567890_FPR01.xml")).left(2000));
        const QString other = writeTemp(QStringLiteral("other.xml"),
                                        "<?xml version=\"1.0\"?>\n<fattura><numero>1</numero></fattura>\n");
        QVERIFY(!clean.isEmpty() && !broken.isEmpty() && !other.isEmpty());

        QByteArray output;
        QCOMPARE(runTool({clean}, &output), 0);
        QVERIFY2(output.isEmpty(), output.constData());
        QCOMPARE(runTool({SamplesDir + QStringLiteral("/IT01234567890_FPR01.xml")}, &output), 1);
        QVERIFY2(output.contains("IT01234567890_FPR01.xml:18: 00301 Partita IVA del cedente"),
                 output.constData());
        QCOMPARE(runTool({broken}, &output), 2);
        QVERIFY2(output.contains("broken.xml: XML non ben formato, riga"), output.constData());
        QCOMPARE(runTool({other}, &output), 2);
        QVERIFY2(output.contains("<fattura>"), output.constData());
        QCOMPARE(runTool({clean, other}), 2);
        QCOMPARE(runTool({}), 2);
    }

    void hostileMarkupIsRefusedInTime_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        const QByteArray root =
            "<?xml version=\"1.0\"?>\n<p:FatturaElettronica versione=\"FPR12\" "
            "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">\n";
        QByteArray attributes = root + "<FatturaElettronicaHeader";
        for (int i = 0; i < 300000; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"\"";
        attributes += "/>\n</p:FatturaElettronica>\n";
        QTest::newRow("300,000 attributes on one element")
            << attributes << "riga 3: il file ha più di 500 attributi XML";
        // Each prefixed element is looked up through every declaration around it, one an element.
        QByteArray declarations = root + "<x:a xmlns:x=\"u\">\n";
        for (int i = 0; i < 20000; ++i)
            declarations += "<a xmlns:n" + QByteArray::number(i) + "=\"u\">";
        declarations += QByteArray("<x:b/>").repeated(300000) + QByteArray("</a>").repeated(20000) +
                        "</x:a></p:FatturaElettronica>";
        QTest::newRow("namespace declarations nested around many elements")
            << declarations << "riga 4: il file ha più di 500 attributi XML";
        QByteArray defaults = "<!DOCTYPE p:FatturaElettronica [<!-- ' --><!ATTLIST b";
        for (int i = 0; i < 50000; ++i)
            defaults += " d" + QByteArray::number(i) + " CDATA \"v\"";
        defaults += ">]>\n" + root.mid(root.indexOf('\n') + 1) + QByteArray("<b/>").repeated(10) +
                    "</p:FatturaElettronica>";
        QTest::newRow("attribute defaults declared in the document type")
            << defaults << "riga 1: il file dichiara attributi predefiniti (ATTLIST)";
        // A quote in a comment of the document type must not hide the element after it.
        QByteArray hidden =
            "<!DOCTYPE p:FatturaElettronica [<!-- \" -->]>\n" + attributes.mid(attributes.indexOf('\n') + 1);
        QTest::newRow("a quote in the document type's comment")
            << hidden << "riga 3: il file ha più di 500 attributi XML";
    }

    void hostileMarkupIsRefusedInTime()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QVERIFY(content.size() <= FatturaXmlReader::maximumSize);
        QElapsedTimer timer;
        timer.start();
        const FatturaXmlReader::Result result = FatturaXmlReader::read(content);
        qInfo("%lld bytes read in %lld ms", qint64(content.size()), timer.elapsed());
        QVERIFY2(timer.elapsed() < 20000, "a guard against a hang, not a measure of speed");
        QVERIFY(!result.wellFormed && !result.isFatturaPA);
        QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
    }

    void toolRefusesWhatIsNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("FIFO") << "fifo"
                              << "è una pipe (FIFO), non un file ordinario";
        QTest::newRow("folder") << "folder"
                                << "è una cartella, non un file";
        QTest::newRow("device") << "device"
                                << "è un dispositivo, non un file ordinario";
        QTest::newRow("missing") << "missing"
                                 << "non esiste";
    }

    void toolRefusesWhatIsNotAFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        QString path = m_dir.filePath(kind);
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkdir(path));
        else if (kind == u"device")
            path = QStringLiteral("/dev/zero");
        QElapsedTimer timer;
        timer.start();
        QByteArray output;
        QCOMPARE(runTool({path}, &output), 2);
        qInfo("refused in %lld ms", timer.elapsed());
        QVERIFY2(output.contains((path + ": " + error).toUtf8()), output.constData());
    }
};

QTEST_GUILESS_MAIN(TestFatturaPACheck)
#include "tst_fatturapacheck.moc"
