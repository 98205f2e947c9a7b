#include "archive/TFDB.h"

namespace quillio::archive {

TFDB::TFDB(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("FDB"));
    Session1.activate();
}

} // namespace quillio::archive
