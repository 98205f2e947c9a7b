#pragma once

#include <QString>

namespace quillio::engine {

// The marks a protected table keeps: a random salt and a verifier of the password, so the password
// itself is stored nowhere.
class TablePassword
{
public:
    static QString newSalt();
    static QString verifier(const QString& salt, const QString& password);
};

} // namespace quillio::engine
