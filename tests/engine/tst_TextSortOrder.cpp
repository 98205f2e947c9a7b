#include "UnexpectedWarnings.h"
#include "engine/TextCollation.h"
#include "engine/TextSortOrder.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <numeric>
#include <optional>
#include <random>

using quillio::engine::TextCollation;
using quillio::engine::TextSortOrder;

namespace {

using Texts = QList<std::optional<QString>>;

// The order the pairwise collation gives: blanks first (a missing value below an empty text),
// then the collator's order, ties in row order.
QList<qint64> pairwiseOrder(const Texts& texts, bool descending)
{
    const QCollator collator = TextCollation::collator();
    const auto rank = [&](int i) { return !texts[i] ? 0 : (texts[i]->isEmpty() ? 1 : 2); };
    QList<qint64> rows;
    for (int i = 0; i < texts.size(); ++i)
        rows.append(i + 1);
    std::stable_sort(rows.begin(), rows.end(), [&](qint64 a, qint64 b) {
        const int ia = int(a - 1);
        const int ib = int(b - 1);
        if ((rank(ia) == 2) != (rank(ib) == 2))
            return rank(ia) < 2;
        int order = rank(ia) < 2 ? rank(ia) - rank(ib) : collator.compare(*texts[ia], *texts[ib]);
        return descending ? order > 0 : order < 0;
    });
    return rows;
}

// Names as an address book holds them, as the bytes a table file gives: missing and empty values,
// the same name in other cases and with or without accents, equal names, names sharing a start far
// longer than the part of a key compared as one integer, and a few byte sequences that are not
// valid UTF-8.
QList<std::optional<QByteArray>> generatedNames(int count)
{
    const QStringList names = {"Rossi",   "rossi",   "ROSSI",    "Rössi",    "Città",   "citta",
                               "CITTÀ",   "Édith",   "Edith",    "edith",    "d'Amico", "D Amico",
                               "Zeta",    "zèta",    "Ångström", "Angstrom", "Ølby",    "Strauß",
                               "STRAUSS", "Bianchi", "10 Srl",   "9 Srl"};
    const QString sharedStart = QStringLiteral("Costruzioni Meccaniche Lombarde dei Fratelli ");
    const QList<QByteArray> oddBytes = {"Caf\xC3", "\xEF\xBB\xBFRossi", "Ro\xFFssi",
                                        "Rossi \xF0\x9F\x98\x80"};
    QRandomGenerator random(20090101);
    const auto pick = [&](const QStringList& list) { return list.at(random.bounded(int(list.size()))); };
    QList<std::optional<QByteArray>> generated;
    for (int i = 0; i < count; ++i) {
        switch (random.bounded(12)) {
        case 0:
            generated.append(std::nullopt);
            break;
        case 1:
            generated.append(QByteArray(""));
            break;
        case 2:
            generated.append(oddBytes.at(random.bounded(int(oddBytes.size()))));
            break;
        case 3:
        case 4:
        case 5:
            generated.append((sharedStart + pick(names) + u' ' + pick(names)).toUtf8());
            break;
        default:
            generated.append((pick(names) + u' ' + pick(names)).toUtf8());
        }
    }
    return generated;
}

} // namespace

class TextSortOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void sameOrderAsPairwiseCollation_data();
    void sameOrderAsPairwiseCollation();
    void generatedNamesInPairwiseOrder_data();
    void generatedNamesInPairwiseOrder();
};

void TextSortOrderTest::sameOrderAsPairwiseCollation_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("descending");
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    QTest::newRow("Italian, ascending") << italian << false;
    QTest::newRow("Italian, descending") << italian << true;
    // The C locale compares texts instead of keys.
    QTest::newRow("C, ascending") << QLocale::c() << false;
    QTest::newRow("C, descending") << QLocale::c() << true;
}

void TextSortOrderTest::sameOrderAsPairwiseCollation()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, descending);
    QLocale::setDefault(locale);
    // Missing and empty values, case and accent variants that tie, blanks and punctuation inside
    // names, digits, and one text that only differs by a trailing blank.
    const Texts texts = {QStringLiteral("beta"),
                         std::nullopt,
                         QString(""),
                         QStringLiteral("Zeta"),
                         QStringLiteral("Édith"),
                         QStringLiteral("alfa"),
                         QStringLiteral("edoardo"),
                         QStringLiteral("Alfa"),
                         std::nullopt,
                         QStringLiteral("ALFA"),
                         QString(""),
                         QStringLiteral("Edith"),
                         QStringLiteral("d'Amico"),
                         QStringLiteral("D Amico"),
                         QStringLiteral("10 Srl"),
                         QStringLiteral("9 Srl"),
                         QStringLiteral("Città"),
                         QStringLiteral("citta"),
                         QStringLiteral("Rossi "),
                         QStringLiteral("Rossi"),
                         QStringLiteral("Ångström")};
    TextSortOrder order(descending);
    // Rows reach the sort in a different order from their row ids: ties must still follow the ids.
    for (int i = int(texts.size()) - 1; i >= 0; --i) {
        if (texts[i])
            order.add(i + 1, texts[i]->toUtf8());
        else
            order.addMissing(i + 1);
    }
    const QList<qint64> expected = pairwiseOrder(texts, descending);
    QCOMPARE(order.rowids(), expected);
    // The three spellings of "alfa" tie and keep their row order in either direction.
    const qsizetype first = expected.indexOf(6);
    QCOMPARE(expected.mid(first, 3), (QList<qint64>{6, 8, 10}));
}

void TextSortOrderTest::generatedNamesInPairwiseOrder_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<int>("count");
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    // From TwoThreadsFrom texts on (a sixth of the names are blank), the keys of the second half
    // are made on another thread.
    const int large = int(TextSortOrder::TwoThreadsFrom) * 3 / 2;
    QTest::newRow("Italian, ascending, one thread") << italian << false << 3000;
    QTest::newRow("Italian, descending, one thread") << italian << true << 3000;
    QTest::newRow("Italian, ascending, two threads") << italian << false << large;
    QTest::newRow("Italian, descending, two threads") << italian << true << large;
    QTest::newRow("C, ascending") << QLocale::c() << false << 3000;
    QTest::newRow("C, descending") << QLocale::c() << true << 3000;
}

void TextSortOrderTest::generatedNamesInPairwiseOrder()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, descending);
    QFETCH(int, count);
    QLocale::setDefault(locale);
    const QList<std::optional<QByteArray>> names = generatedNames(count);
    // What each text reads as.
    Texts texts;
    for (const std::optional<QByteArray>& name : names)
        texts.append(name ? std::optional(QString::fromUtf8(*name)) : std::nullopt);

    // Rows arrive shuffled.
    QList<int> arrival(count);
    std::iota(arrival.begin(), arrival.end(), 0);
    std::shuffle(arrival.begin(), arrival.end(), QRandomGenerator(7));
    TextSortOrder order(descending);
    for (int i : std::as_const(arrival)) {
        if (!names[i])
            order.addMissing(i + 1);
        else
            order.add(i + 1, *names[i]);
    }

    const QList<qint64> expected = pairwiseOrder(texts, descending);
    QCOMPARE(order.rowids(), expected);
    QStringList expectedTexts;
    for (qint64 rowid : expected)
        expectedTexts.append(texts[rowid - 1].value_or(QString()));
    QCOMPARE(order.texts(), expectedTexts);
}

QTEST_GUILESS_MAIN(TextSortOrderTest)
#include "tst_TextSortOrder.moc"
