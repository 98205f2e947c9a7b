#include "engine/TablePassword.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace quillio::engine {

QString TablePassword::newSalt()
{
    return QString::fromLatin1(
        QByteArray::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, '0') +
        QByteArray::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, '0'));
}

QString TablePassword::verifier(const QString& salt, const QString& password)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::fromHex(salt.toLatin1()));
    hash.addData(password.toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace quillio::engine
