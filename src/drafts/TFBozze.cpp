#include "drafts/TFBozze.h"

#include "archive/TFDB.h"
#include "engine/Table.h"
#include "recordbody/StartingValues.h"

namespace quillio::drafts {

using recordbody::StartingValues;

TFBozze::TFBozze(QWidget* parent)
    : RecordEditor(QStringLiteral("Bozze"), QStringLiteral("Scheda Bozza Fattura"), QColor(218, 234, 254),
                   false, parent)
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
    table().append();
    StartingValues::write(table());
    focusName();
}

} // namespace quillio::drafts
