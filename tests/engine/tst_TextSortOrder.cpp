#include "TextCollation.h"
#include "TextSortOrder.h"

#include <QLocale>
#include <QTest>
#include <algorithm>
#include <optional>

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

} // namespace

class TextSortOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void sameOrderAsPairwiseCollation_data();
    void sameOrderAsPairwiseCollation();
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
            order.add(i + 1, *texts[i]);
        else
            order.addMissing(i + 1);
    }
    const QList<qint64> expected = pairwiseOrder(texts, descending);
    QCOMPARE(order.rowids(), expected);
    // The three spellings of "alfa" tie and keep their row order in either direction.
    const qsizetype first = expected.indexOf(6);
    QCOMPARE(expected.mid(first, 3), (QList<qint64>{6, 8, 10}));
}

QTEST_GUILESS_MAIN(TextSortOrderTest)
#include "tst_TextSortOrder.moc"
