#pragma once

#include <QObject>

namespace quillio::archive {

class TFDB;

// The table routines: creating a missing table file and protecting a table file with a password.
class TFConf : public QObject
{
    Q_OBJECT

public:
    explicit TFConf(QObject* parent = nullptr);

    // Creates one table in the directory of `alias` through the shared query, then tells the
    // person "Archivio <file> Creato". An engine error ends it before the message.
    static void CreaTabella(TFDB& db, const QString& alias, const QString& fileName, const QString& columns);
    // Protects an existing table file of `directory` with `password`, as its master password.
    static void ProteggiTabella(const QString& fileName, const QString& password, const QString& directory);
};

} // namespace quillio::archive
