#include "UnexpectedWarnings.h"
#include "report/LayoutParser.h"
#include "report/ReportError.h"
#include "report/ReportParameters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace quillio::report;

namespace {

// A file with one report around the given page body; the body starts on line 4.
QByteArray onePage(const QByteArray& body, const QByteArray& reportExtra = {})
{
    return "<?xml version=\"1.0\"?>\n<reports>\n<report name=\"R\"" + reportExtra + "><page>\n" + body +
           "\n</page></report>\n</reports>\n";
}

} // namespace

class TestLayoutParser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& content)
    {
        QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        return path;
    }

    QString errorOf(const QString& path)
    {
        try {
            LayoutParser::parseFile(path);
        } catch (const ReportError& error) {
            return error.text();
        }
        return QStringLiteral("<no error>");
    }

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QImage logo(8, 4, QImage::Format_RGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(m_dir.filePath(QStringLiteral("logo.png"))));
        write(QStringLiteral("broken.png"), "not a picture");
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.png"))).constData(), 0600),
                 0);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.png")));
    }

    void badFileIsRefusedWithItsPlace_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");

        const QByteArray text = "<text x=\"1\" y=\"1\" width=\"10\" height=\"5\"";
        QTest::newRow("empty file") << QByteArray() << 1 << "Premature end of document";
        QTest::newRow("truncated")
            << QByteArray("<?xml version=\"1.0\"?>\n<reports>\n<report name=\"R\"><page>\n<te") << 4
            << "Premature end of document";
        QTest::newRow("malformed: crossed tags")
            << onePage(text + "></rect>") << 4 << "Opening and ending tag mismatch";
        QTest::newRow("not XML at all") << QByteArray("Fattura\n") << 1 << "Start tag expected";
        QTest::newRow("wrong root") << QByteArray("<report name=\"R\"/>") << 1
                                    << "root element must be <reports>";
        QTest::newRow("two roots")
            << QByteArray("<reports><report name=\"R\"><page/></report></reports>\n<reports/>") << 2
            << "Extra content at end of document";
        QTest::newRow("unknown element") << onePage("<circle x=\"1\"/>") << 4 << "unknown element <circle>";
        QTest::newRow("unknown element in text")
            << onePage(text + ">a<b>bold</b></text>") << 4 << "unknown element <b>";
        QTest::newRow("unknown attribute")
            << onePage(text + " colour=\"red\">a</text>") << 4 << "unknown attribute \"colour\" of <text>";
        QTest::newRow("missing attribute")
            << onePage("<line x1=\"1\" y1=\"1\" x2=\"5\"/>") << 4 << "<line> needs the attribute \"y2\"";
        QTest::newRow("bad number: decimal comma")
            << onePage("<rect x=\"1\" y=\"1\" width=\"12,5\" height=\"5\"/>") << 4
            << "\"12,5\" is not a number (attribute \"width\")";
        QTest::newRow("bad number: not finite")
            << onePage("<rect x=\"inf\" y=\"1\" width=\"1\" height=\"5\"/>") << 4
            << "\"inf\" is not a number";
        QTest::newRow("zero height") << onePage("<rect x=\"1\" y=\"1\" width=\"1\" height=\"0\"/>") << 4
                                     << "\"height\" must be greater than zero";
        QTest::newRow("bad whole number")
            << onePage("<table y=\"1\" height=\"9\" rowHeight=\"3\" last=\"2.5\"/>") << 4
            << "\"2.5\" is not a whole number";
        QTest::newRow("rows backwards")
            << onePage("<table y=\"1\" height=\"9\" rowHeight=\"3\" first=\"5\" last=\"2\"/>") << 4
            << "\"last\" must lie between 5 and 9999";
        QTest::newRow("bad colour") << onePage(text + " color=\"#12\">a</text>") << 4
                                    << "\"#12\" is not a colour";
        QTest::newRow("bad flag") << onePage(text + " bold=\"si\">a</text>") << 4
                                  << "\"si\" is not true or false";
        QTest::newRow("unknown style")
            << onePage(text + " style=\"titolo\">a</text>") << 4 << "unknown style \"titolo\"";
        QTest::newRow("unknown paper") << onePage("", " paper=\"B12\"") << 3 << "unknown paper \"B12\"";
        QTest::newRow("missing image")
            << onePage("<image x=\"1\" y=\"1\" width=\"9\" height=\"9\" src=\"marchio.png\"/>") << 4
            << "marchio.png\" does not exist";
        QTest::newRow("unreadable image")
            << onePage("<image x=\"1\" y=\"1\" width=\"9\" height=\"9\" src=\"broken.png\"/>") << 4
            << "broken.png\" cannot be read";
        QTest::newRow("unclosed placeholder") << onePage(text + ">Totale ${Totale</text>") << 4
                                              << "the placeholder \"${Totale\" has no closing \"}\"";
        QTest::newRow("bad placeholder name") << onePage(text + ">${Ragione Sociale}</text>") << 4
                                              << "\"Ragione Sociale\" is not a valid placeholder name";
        QTest::newRow("no report") << QByteArray("<reports>\n</reports>") << 2
                                   << "the file holds no <report>";
        QTest::newRow("report without page")
            << QByteArray("<reports>\n<report name=\"R\">\n</report></reports>") << 3
            << "the report \"R\" has no <page>";
        QTest::newRow("active report absent")
            << QByteArray("<reports active=\"Nota\">\n<report name=\"R\"><page/></report>\n</reports>") << 3
            << "the active report \"Nota\" is not in the file";
    }

    void badFileIsRefusedWithItsPlace()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const QString path = write(QStringLiteral("bad.qrl"), content);
        const QString error = errorOf(path);
        const QString place = QStringLiteral("Invalid report layout \"%1\", line %2, column ")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(line);
        QVERIFY2(error.startsWith(place), qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    // Every figure a person may type is held to a range, so that printing always ends, and a
    // picture is read only from a regular file.
    void valuesOutOfRangeAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray table = "<table y=\"10\" height=\"100\" last=\"3\" rowHeight=";
        QTest::newRow("row height 1e-300")
            << onePage(table + "\"1e-300\"/>") << 4
            << "l'attributo \"rowHeight\" vale 1e-300, ma deve essere tra 1 e 297 mm";
        QTest::newRow("row height above the page")
            << onePage(table + "\"300\"/>") << 4 << "\"rowHeight\" vale 300, ma deve essere tra 1 e 297 mm";
        const QByteArray text = "<text x=\"1\" y=\"1\" width=\"10\" height=\"5\"";
        QTest::newRow("font of a million points") << onePage(text + " size=\"1e6\">a</text>") << 4
                                                  << "\"size\" vale 1e6, ma deve essere tra 1 e 500 punti";
        QTest::newRow("font below a point") << onePage(text + " size=\"0.5\">a</text>") << 4
                                            << "\"size\" vale 0.5, ma deve essere tra 1 e 500 punti";
        QTest::newRow("style of 501 points")
            << QByteArray("<reports>\n<report name=\"R\">\n<style name=\"s\" "
                          "size=\"501\"/>\n<page/></report></reports>")
            << 3 << "\"size\" vale 501, ma deve essere tra 1 e 500 punti";
        QTest::newRow("x far off the page")
            << onePage("<text x=\"1e308\" y=\"1\" width=\"10\" height=\"5\">a</text>") << 4
            << "\"x\" vale 1e308, ma deve essere tra 0 e 210 mm (la larghezza della pagina)";
        QTest::newRow("y above the page")
            << onePage("<rect x=\"1\" y=\"-5\" width=\"10\" height=\"5\"/>") << 4
            << "\"y\" vale -5, ma deve essere tra 0 e 297 mm (l'altezza della pagina)";
        QTest::newRow("width beyond an A5 page")
            << onePage("<rect x=\"1\" y=\"1\" width=\"149\" height=\"5\"/>", " paper=\"A5\"") << 4
            << "\"width\" vale 149, ma deve essere tra 0 e 148 mm";
        QTest::newRow("line of 1e308 mm")
            << onePage("<line x1=\"0\" y1=\"0\" x2=\"10\" y2=\"0\" width=\"1e308\"/>") << 4
            << "\"width\" vale 1e308, ma deve essere tra 0 e 10 mm";
        QTest::newRow("border of 11 mm")
            << onePage("<rect x=\"1\" y=\"1\" width=\"10\" height=\"5\" border=\"11\"/>") << 4
            << "\"border\" vale 11, ma deve essere tra 0 e 10 mm";
        QTest::newRow("rule of 1e30 mm") << onePage(table + "\"5\" rule=\"1e30\"/>") << 4
                                         << "\"rule\" vale 1e30, ma deve essere tra 0 e 10 mm";
        QTest::newRow("table taller than the page")
            << onePage("<table y=\"0\" height=\"1e308\" rowHeight=\"5\" last=\"2\"/>") << 4
            << "\"height\" vale 1e308";
        QTest::newRow("cell beyond the page")
            << onePage(table + "\"5\"><cell x=\"1e308\" width=\"4\">a</cell></table>") << 4
            << "\"x\" vale 1e308, ma deve essere tra 0 e 210 mm";
        QTest::newRow("paper of 99999999 mm") << onePage("", " width=\"10\" height=\"99999999\"") << 3
                                              << "\"height\" vale 99999999, ma deve essere tra 10 e 2000 mm";
        QTest::newRow("paper of 0.001 mm") << onePage("", " width=\"0.001\" height=\"100\"") << 3
                                           << "\"width\" vale 0.001, ma deve essere tra 10 e 2000 mm";
        const QByteArray image = "<image x=\"1\" y=\"1\" width=\"9\" height=\"9\" src=";
        QTest::newRow("image that is a FIFO") << onePage(image + "\"pipe.png\"/>") << 4
                                              << "pipe.png\" è una pipe (FIFO), non un file ordinario";
        QTest::newRow("optional image that is a FIFO")
            << onePage(image + "\"pipe.png\" optional=\"true\"/>") << 4
            << "pipe.png\" è una pipe (FIFO), non un file ordinario";
        QTest::newRow("image that is a folder")
            << onePage(image + "\"folder.png\"/>") << 4 << "folder.png\" è una cartella, non un file";
        QTest::newRow("image that is a device")
            << onePage(image + "\"/dev/zero\"/>") << 4
            << "l'immagine \"/dev/zero\" è un dispositivo, non un file ordinario";
    }

    void valuesOutOfRangeAreRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const QString path = write(QStringLiteral("bad.qrl"), content);
        QElapsedTimer timer;
        timer.start();
        const QString error = errorOf(path);
        QVERIFY2(timer.elapsed() < 20000, "a guard against a hang, not a measure of speed");
        const QString place = QStringLiteral("Modello di stampa \"%1\" non valido, riga %2, colonna ")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(line);
        QVERIFY2(error.startsWith(place), qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void valuesAtTheirBoundsAreAccepted_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("x across a landscape page") << onePage(
            "<rect x=\"290\" y=\"200\" width=\"297\" height=\"210\"/>", " orientation=\"landscape\"");
        QTest::newRow("largest font, lowest row, thickest line")
            << onePage("<table y=\"0\" height=\"297\" rowHeight=\"1\" last=\"2\" rule=\"10\">"
                       "<cell x=\"0\" width=\"210\" size=\"500\">${Desc#}</cell></table>");
        QTest::newRow("smallest and largest paper") << onePage("", " width=\"10\" height=\"2000\"");
    }

    void valuesAtTheirBoundsAreAccepted()
    {
        QFETCH(QByteArray, content);
        QCOMPARE(errorOf(write(QStringLiteral("good.qrl"), content)), QStringLiteral("<no error>"));
    }

    void unreadableFileSaysSo()
    {
        const QString path = m_dir.filePath(QStringLiteral("folder.qrl"));
        QVERIFY(QDir().mkpath(path));
        const QString error = errorOf(path);
        QVERIFY2(error.startsWith(QStringLiteral("The report layout \"%1\" cannot be read: ")
                                      .arg(QDir::toNativeSeparators(path))),
                 qPrintable(error));
    }

    void activeReportIsMarkedElseFirst_data()
    {
        QTest::addColumn<QByteArray>("root");
        QTest::addColumn<QString>("active");
        QTest::newRow("marked") << QByteArray("<reports active=\"Nota\">") << "Nota";
        QTest::newRow("not marked") << QByteArray("<reports>") << "Fattura";
    }

    void activeReportIsMarkedElseFirst()
    {
        QFETCH(QByteArray, root);
        QFETCH(QString, active);
        const LayoutFile file =
            LayoutParser::parse(root + "<report name=\"Fattura\"><page/></report>"
                                       "<report name=\"Nota\" paper=\"A5\" orientation=\"landscape\">"
                                       "<page/><page/></report></reports>",
                                m_dir.filePath(QStringLiteral("x.qrl")));
        QCOMPARE(file.reports.size(), 2);
        QCOMPARE(file.activeReport().name, active);
        QCOMPARE(file.reports[1].pages.size(), 2);
        QCOMPARE(file.reports[1].pageSize.id(), QPageSize::A5);
        QCOMPARE(file.reports[1].orientation, QPageLayout::Landscape);
    }

    void stylesAndTextAreRead()
    {
        const LayoutFile file = LayoutParser::parse(
            "<reports><report name=\"R\" width=\"100\" height=\"50.5\">"
            "<style name=\"base\" font=\"DejaVu Serif\" size=\"9\" color=\"#112233\"/>"
            "<style name=\"strong\" base=\"base\" bold=\"yes\" align=\"right\"/>"
            "<page><text x=\"1.5\" y=\"2\" width=\"30\" height=\"8\" style=\"strong\" size=\"11\" "
            "fit=\"shrink\">\n"
            "   Via   dei Tessitori,\n 14 <br/>  36100 Vicenza  </text>"
            "<image x=\"1\" y=\"1\" width=\"9\" height=\"9\" src=\"logo.png\"/>"
            "<image x=\"1\" y=\"1\" width=\"9\" height=\"9\" src=\"assente.png\" optional=\"true\"/>"
            "</page></report></reports>",
            m_dir.filePath(QStringLiteral("x.qrl")));
        const ReportDefinition& report = file.activeReport();
        QCOMPARE(report.pageSize.size(QPageSize::Millimeter), QSizeF(100, 50.5));
        const auto& elements = report.pages[0].elements;
        QCOMPARE(elements.size(), 3);
        const TextBox& text = std::get<TextBox>(elements[0]);
        QCOMPARE(text.box, QRectF(1.5, 2, 30, 8));
        QCOMPARE(text.style.family, QStringLiteral("DejaVu Serif"));
        QCOMPARE(text.style.size, 11.0);
        QVERIFY(text.style.bold);
        QCOMPARE(text.style.horizontal, Qt::AlignRight);
        QCOMPARE(text.style.color, QColor(0x11, 0x22, 0x33));
        QCOMPARE(text.fit, TextFit::Shrink);
        QCOMPARE(text.text.fill({}), QStringLiteral("Via dei Tessitori, 14\n36100 Vicenza"));
        QCOMPARE(std::get<ImageShape>(elements[1]).image.size(), QSize(8, 4));
        QVERIFY(std::get<ImageShape>(elements[2]).image.isNull());
    }
};

QTEST_MAIN(TestLayoutParser)
#include "tst_layoutparser.moc"
