#include "archive/TableSchemas.h"

#include "engine/LocalSql.h"

#include <algorithm>

namespace quillio::archive::TableSchemas {

namespace {

// Draft and invoice records share everything after their head: the customer block, the two text
// lines, twenty line slots (a description and an amount each) and the totals.
QString recordBody()
{
    QString body =
        QStringLiteral("CodRif NUMERIC, Ragione_Sociale CHAR(60), Via CHAR(60), Citta CHAR(40), "
                       "Cap CHAR(5), PIva CHAR(11), CF CHAR(16), Testo1 CHAR(100), Testo2 CHAR(100), ");
    for (int slot = 1; slot <= 20; ++slot) {
        const QString nn = QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
        body += QStringLiteral("Desc%1 CHAR(100), Costo%1 NUMERIC, ").arg(nn);
    }
    body += QStringLiteral("TotAut Boolean, Totale NUMERIC, Iva NUMERIC, Totale_Iva NUMERIC, "
                           "Totale_Fattura NUMERIC, Condizioni BLOB(1,1), Note BLOB(1,1) )");
    return body;
}

} // namespace

QString customers()
{
    return QStringLiteral("( OrdNum AUTOINC, Tipo CHAR(60), Ragione_Sociale CHAR(60), Via CHAR(60), "
                          "Citta CHAR(40), Cap CHAR(5), PIva CHAR(11), CF CHAR(16), Telefono CHAR(100), "
                          "Fax CHAR(100), Cellulare CHAR(100), EMail CHAR(100), Sito CHAR(100), "
                          "Riferimento CHAR(100), Note BLOB(1,1) )");
}

QString drafts()
{
    return QStringLiteral("( OrdNum AUTOINC, ") + recordBody();
}

QString invoices()
{
    return QStringLiteral("( OrdNum AUTOINC, Numero CHAR(20), Stato CHAR(50), Data DATE, ") + recordBody();
}

engine::FieldDefs columnsOf(int kind)
{
    const QString schemas[] = {customers(), drafts(), invoices()};
    return engine::LocalSql::parse(QStringLiteral("CREATE TABLE t ") + schemas[kind]).columns;
}

QString columnDifference(const engine::FieldDefs& found, int kind)
{
    const engine::FieldDefs expected = columnsOf(kind);
    for (qsizetype i = 0; i < std::max(found.size(), expected.size()); ++i) {
        if (i >= found.size())
            return QStringLiteral("manca la colonna %1").arg(expected[i].name);
        if (i >= expected.size())
            return QStringLiteral("colonna in più %1").arg(found[i].name);
        if (!(found[i] == expected[i]))
            return QStringLiteral("la colonna %1 non è come deve essere (%2)").arg(i + 1).arg(found[i].name);
    }
    return {};
}

} // namespace quillio::archive::TableSchemas
