#pragma once

#include "engine/DataSource.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"

#include <QObject>

namespace quillio::archive {

// The data module: the engine session of the program, the shared query, the three tables and
// their data sources. Windows work directly on these shared objects and keep no record copies.
class TFDB : public QObject
{
    Q_OBJECT

public:
    explicit TFDB(QObject* parent = nullptr);

    engine::Session Session1{QStringLiteral("QuillioSession")};
    engine::Query QGEN{Session1};
    engine::Table T_Rubrica{Session1};
    engine::Table T_Bozze{Session1};
    engine::Table T_Fatture{Session1};
    engine::DataSource DS_QGEN{QGEN};
    engine::DataSource DS_Rubrica{T_Rubrica};
    engine::DataSource DS_Bozze{T_Bozze};
    engine::DataSource DS_Fatture{T_Fatture};
};

} // namespace quillio::archive
