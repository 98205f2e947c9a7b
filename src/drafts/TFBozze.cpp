#include "TFBozze.h"

#include "TFDB.h"
#include "Table.h"

namespace quillio::drafts {

TFBozze::TFBozze(QWidget* parent)
    : RecordEditor(QStringLiteral("Bozze"), QStringLiteral("Scheda Bozza Fattura"), QColor(218, 234, 254), false,
                   parent)
{
    setObjectName(QStringLiteral("FBozze"));
    buildCommands();
}

void TFBozze::setDataModule(archive::TFDB* db)
{
    RecordEditor::setDataModule(db, &db->DS_Bozze);
}

void TFBozze::Nuovo1Click()
{
    setLayout(Layout::Edit);
    engine::Table& drafts = table();
    drafts.append();
    drafts.setFieldValue(QStringLiteral("Testo1"), QStringLiteral("VS DARE PER"));
    drafts.setFieldValue(QStringLiteral("TotAut"), true);
    drafts.setFieldValue(QStringLiteral("Totale"), 0.0);
    drafts.setFieldValue(QStringLiteral("Iva"), 20.0);
    drafts.setFieldValue(QStringLiteral("Totale_Iva"), 0.0);
    drafts.setFieldValue(QStringLiteral("Totale_Fattura"), 0.0);
    focusName();
}

} // namespace quillio::drafts
