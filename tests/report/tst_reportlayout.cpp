#include "UnexpectedWarnings.h"
#include "report/LayoutLimits.h"
#include "report/LayoutParser.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/TextFitter.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QTest>

using namespace quillio::report;

namespace {

LaidOutPage layOut(const QByteArray& pageBody, const ReportParameters& parameters)
{
    const LayoutFile file =
        LayoutParser::parse("<reports><report name=\"R\"><page>" + pageBody + "</page></report></reports>",
                            QStringLiteral("t.qrl"));
    return ReportLayouter::layOutPage(file.activeReport(), 0, parameters);
}

QList<TextRun> textRuns(const LaidOutPage& page)
{
    QList<TextRun> runs;
    for (const DisplayItem& item : page.items)
        if (const auto* run = std::get_if<TextRun>(&item))
            runs.append(*run);
    return runs;
}

QStringList texts(const QList<TextRun>& runs)
{
    QStringList list;
    for (const TextRun& run : runs)
        list.append(run.text);
    return list;
}

ReportParameters parameters(const QList<std::pair<QString, QString>>& values)
{
    ReportParameters list;
    for (const auto& [name, text] : values)
        list.set(name, text);
    return list;
}

// The ink of a run as its font measures it: from the left of its advance, ascent to descent.
QRectF runExtent(const TextRun& run)
{
    const QFontMetricsF metrics(run.font);
    return QRectF(run.baseline.x(), run.baseline.y() - metrics.ascent(), metrics.horizontalAdvance(run.text),
                  metrics.ascent() + metrics.descent());
}

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void placeholdersAreFilledOnce_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("printed");
        QTest::newRow("plain") << "Rossi S.p.A."
                               << "Cliente: Rossi S.p.A.";
        QTest::newRow("value holding a placeholder") << "Bar ${Via}"
                                                     << "Cliente: Bar ${Via}";
        QTest::newRow("value holding its own name") << "${Ragione_Sociale}"
                                                    << "Cliente: ${Ragione_Sociale}";
        QTest::newRow("no parameter") << QString() << "Cliente:";
    }

    void placeholdersAreFilledOnce()
    {
        QFETCH(QString, value);
        QFETCH(QString, printed);
        const auto page =
            layOut("<text x=\"10\" y=\"10\" width=\"150\" height=\"10\">Cliente: ${ragione_sociale}</text>",
                   parameters({{"Ragione_Sociale", value}, {"Via", "Via Roma 1"}}));
        QCOMPARE(texts(textRuns(page)), QStringList{printed});
    }

    void blankTextBoxCanBeLeftOut()
    {
        const QByteArray body =
            "<text x=\"10\" y=\"10\" width=\"80\" height=\"6\" skipBlank=\"true\">P.IVA ${PIVA}</text>"
            "<text x=\"10\" y=\"20\" width=\"80\" height=\"6\">C.F. ${CF}</text>";
        QCOMPARE(texts(textRuns(layOut(body, {}))), QStringList{QStringLiteral("C.F.")});
        QCOMPARE(texts(textRuns(layOut(body, parameters({{"PIVA", "04512870263"}})))),
                 (QStringList{QStringLiteral("P.IVA 04512870263"), QStringLiteral("C.F.")}));
    }

    void tableRowsSkipBlankSlotsAndCloseUp()
    {
        const QByteArray body =
            "<table y=\"100\" height=\"30\" rowHeight=\"6\" first=\"1\" last=\"12\" digits=\"2\">"
            "<cell x=\"20\" width=\"100\">${Desc#}</cell>"
            "<cell x=\"150\" width=\"40\" align=\"right\">${Costo#}</cell>"
            "<cell x=\"195\" width=\"5\">€</cell></table>";
        // Slot 2 has only an amount and slot 11 only a description: both print; 1, 3-10 and 12 do not.
        const auto runs = textRuns(layOut(body, parameters({{"Costo02", "0,00"},
                                                            {"Desc04", "Stampa"},
                                                            {"Costo04", "1.234,50"},
                                                            {"Desc11", "Consegna"}})));
        QCOMPARE(texts(runs), (QStringList{"0,00", "€", "Stampa", "1.234,50", "€", "Consegna", "€"}));
        const qreal rowStep = Reference::fromMillimetres(6);
        QVERIFY(qAbs(runs[2].clip.top() - runs[0].clip.top() - rowStep) < 0.01);
        QVERIFY(qAbs(runs[5].clip.top() - runs[2].clip.top() - rowStep) < 0.01);
        QVERIFY(qAbs(runs[0].clip.top() - Reference::fromMillimetres(100)) < 0.01);
    }

    void tableThatCannotHoldItsRowsRefusesToPrint()
    {
        const QByteArray body =
            "<table y=\"100\" height=\"12\" rowHeight=\"6\" first=\"1\" last=\"3\" digits=\"0\">"
            "<cell x=\"20\" width=\"100\">${Desc#}</cell></table>";
        QCOMPARE(textRuns(layOut(body, parameters({{"Desc1", "a"}, {"Desc3", "c"}}))).size(), 2);
        QVERIFY_THROWS_EXCEPTION(ReportError,
                                 layOut(body, parameters({{"Desc1", "a"}, {"Desc2", "b"}, {"Desc3", "c"}})));
    }

    void rowsFromAParameterAreBounded_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("pages");
        QTest::newRow("largest int") << "2147483647" << -1;
        QTest::newRow("beyond int") << "99999999999" << -1;
        QTest::newRow("one past the limit") << "100001" << -1;
        QTest::newRow("at the limit") << "100000" << 1;
        QTest::newRow("negative") << "-2147483648" << 1;
    }

    void rowsFromAParameterAreBounded()
    {
        QFETCH(QString, last);
        QFETCH(int, pages);
        const LayoutFile file = LayoutParser::parse(
            "<reports><report name=\"R\"><page>"
            "<table y=\"10\" height=\"250\" rowHeight=\"5\" rowsFrom=\"Righe\" flow=\"true\" digits=\"0\">"
            "<cell x=\"10\" width=\"100\">${N#}</cell></table></page></report></reports>",
            QStringLiteral("t.qrl"));
        // Only the first and the last rows are filled: the others take no room.
        const ReportParameters values = parameters({{"Righe", last}, {"N1", "primo"}, {"N100000", "ultimo"}});
        QElapsedTimer timer;
        timer.start();
        try {
            const QList<ReportLayouter::PlannedPage> plan = ReportLayouter::plan(file.activeReport(), values);
            QCOMPARE(int(plan.size()), pages);
        } catch (const ReportError& error) {
            QCOMPARE(pages, -1);
            QVERIFY2(error.text().contains(QStringLiteral("oltre le 100000 ammesse")),
                     qPrintable(error.text()));
            QVERIFY2(error.text().contains(QStringLiteral("fino alla %1 (parametro \"Righe\")").arg(last)),
                     qPrintable(error.text()));
        }
        qInfo("planned in %lld ms", timer.elapsed());
        QVERIFY2(timer.elapsed() < 20000, "a guard against a hang, not a measure of speed");
    }

    // A table built by a program, not read from a file: its row count must not overflow either.
    void roomOfATableNeverOverflows()
    {
        TextBox cell{
            QRectF(10, 0, 100, 5), {}, TextTemplate::parse(QStringLiteral("${N#}"), nullptr), TextFit::Wrap};
        TableRows table;
        table.top = 10;
        table.height = 100;
        table.rowHeight = 1e-300;
        table.last = 3;
        table.digits = 0;
        table.cells = {cell};
        ReportDefinition report;
        report.pages = {PageDefinition{{table}}};
        const ReportParameters values = parameters({{"N1", "a"}, {"N2", "b"}, {"N3", "c"}});
        QCOMPARE(texts(textRuns(ReportLayouter::layOutPage(report, 0, values))),
                 (QStringList{"a", "b", "c"}));
        table.flow = true;
        report.pages = {PageDefinition{{table}}};
        QCOMPARE(ReportLayouter::plan(report, values).size(), 1);
    }

    void textStaysInsideItsBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSizeF>("boxMm");
        QTest::addColumn<int>("fit");
        QTest::addColumn<int>("lines"); // 0: several
        QTest::addColumn<bool>("shrunk");

        const QString longLine =
            QStringLiteral("Stampa menù in quadricromia su carta patinata 300 g, 200 copie, "
                           "con piegatura a portafoglio e consegna a domicilio");
        QTest::newRow("fits as it is")
            << "Biglietti da visita" << QSizeF(80, 6) << int(TextFit::Wrap) << 1 << false;
        QTest::newRow("wraps in a tall box")
            << longLine << QSizeF(60, 30) << int(TextFit::Wrap) << 0 << false;
        QTest::newRow("wraps and shrinks in a low box")
            << longLine << QSizeF(60, 8) << int(TextFit::Wrap) << 0 << true;
        QTest::newRow("shrinks on one line")
            << longLine << QSizeF(60, 6) << int(TextFit::Shrink) << 1 << true;
        QTest::newRow("one long word")
            << QString(40, u'W') << QSizeF(20, 5) << int(TextFit::Wrap) << 0 << true;
        QTest::newRow("memo keeps its breaks") << "Bonifico a 30 giorni\nScadenza 15/04/2009\nGrazie"
                                               << QSizeF(80, 20) << int(TextFit::Wrap) << 3 << false;
        QTest::newRow("more than fits at the smallest size")
            << QString(60, u'x').split(QString()).join(u' ') << QSizeF(10, 4) << int(TextFit::Wrap) << 1
            << true;
    }

    void textStaysInsideItsBox()
    {
        QFETCH(QString, text);
        QFETCH(QSizeF, boxMm);
        QFETCH(int, fit);
        QFETCH(int, lines);
        QFETCH(bool, shrunk);
        TextStyle style;
        style.size = 10;
        const QRectF box = Reference::fromMillimetres(QRectF(QPointF(20, 30), boxMm));
        const QList<TextRun> runs = TextFitter::fit(text, box, style, TextFit(fit));
        if (lines > 0)
            QCOMPARE(runs.size(), lines);
        else
            QVERIFY(runs.size() >= 2);
        for (const TextRun& run : runs) {
            QCOMPARE(run.clip, box);
            QVERIFY2(run.baseline.y() <= box.bottom() && run.baseline.y() > box.top(), qPrintable(run.text));
            QCOMPARE(run.font.pixelSize() < qRound(Reference::fromPoints(10)), shrunk);
            if (!(shrunk &&
                  run.font.pixelSize() == qRound(Reference::fromPoints(TextFitter::smallestPointSize))))
                QVERIFY2(box.adjusted(-1, -1, 1, 1).contains(runExtent(run)), qPrintable(run.text));
        }
        if (text.contains(u'\n'))
            QCOMPARE(texts(runs), text.split(u'\n'));
    }

    // From the largest font a layout may give, the text is set in time, and in the same size as when
    // it starts from 10 points, where every half point down is tried in turn.
    void largestFontShrinksInTimeToTheSameSize_data()
    {
        QTest::addColumn<int>("fit");
        QTest::addColumn<QSizeF>("boxMm");
        QTest::newRow("wrap") << int(TextFit::Wrap) << QSizeF(60, 8);
        QTest::newRow("shrink") << int(TextFit::Shrink) << QSizeF(60, 6);
    }

    void largestFontShrinksInTimeToTheSameSize()
    {
        QFETCH(int, fit);
        QFETCH(QSizeF, boxMm);
        const QString text = QStringLiteral("Stampa menù in quadricromia su carta patinata 300 g, 200 copie, "
                                            "con piegatura a portafoglio e consegna a domicilio");
        const QRectF box = Reference::fromMillimetres(QRectF(QPointF(20, 30), boxMm));
        TextStyle style;
        style.size = 10;
        const QList<TextRun> fromTen = TextFitter::fit(text, box, style, TextFit(fit));
        style.size = LayoutLimits::largestFont;
        QElapsedTimer timer;
        timer.start();
        const QList<TextRun> fromLargest = TextFitter::fit(text, box, style, TextFit(fit));
        qInfo("set from %g points in %lld ms", style.size, timer.elapsed());
        QVERIFY2(timer.elapsed() < 20000, "a guard against a hang, not a measure of speed");
        QVERIFY(!fromTen.isEmpty() && fromTen[0].font.pixelSize() < qRound(Reference::fromPoints(10)));
        QCOMPARE(texts(fromLargest), texts(fromTen));
        QCOMPARE(fromLargest[0].font.pixelSize(), fromTen[0].font.pixelSize());
    }

    void alignmentPlacesLinesInTheBox()
    {
        const auto runs =
            textRuns(layOut("<text x=\"10\" y=\"10\" width=\"60\" height=\"20\" align=\"right\" "
                            "valign=\"bottom\">1.234,50</text>"
                            "<text x=\"10\" y=\"40\" width=\"60\" height=\"20\" align=\"center\" "
                            "valign=\"middle\">FATTURA</text>",
                            {}));
        QCOMPARE(runs.size(), 2);
        const QRectF right = runExtent(runs[0]);
        QVERIFY(qAbs(right.right() - runs[0].clip.right()) < 1);
        QVERIFY(qAbs(right.bottom() - runs[0].clip.bottom()) < QFontMetricsF(runs[0].font).lineSpacing());
        const QRectF centred = runExtent(runs[1]);
        QVERIFY(qAbs(centred.center().x() - runs[1].clip.center().x()) < 1);
    }
};

QTEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
