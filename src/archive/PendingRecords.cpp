#include "archive/PendingRecords.h"

#include "archive/TFDB.h"

namespace quillio::archive {

const QString PendingRecords::question =
    QStringLiteral("ATTENZIONE - SCHEDA NON SALVATA\r\rUna scheda in modifica non e' stata salvata.\r\r"
                   "Procedere senza salvarla?");

bool PendingRecords::anyChanged(const TFDB& db)
{
    for (const engine::Table* table : {&db.T_Rubrica, &db.T_Bozze, &db.T_Fatture}) {
        const engine::DatasetState state = table->state();
        if ((state == engine::DatasetState::Edit || state == engine::DatasetState::Insert) &&
            table->isModified())
            return true;
    }
    return false;
}

} // namespace quillio::archive
