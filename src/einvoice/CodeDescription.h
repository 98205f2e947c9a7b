#pragma once

#include <QList>
#include <QString>

namespace quillio::einvoice {

// A code of one of the file's value lists with the Italian text the dialogs show for it.
struct CodeDescription
{
    QString code;
    QString description;
};

inline bool containsCode(const QList<CodeDescription>& list, const QString& code)
{
    for (const CodeDescription& entry : list) {
        if (entry.code == code)
            return true;
    }
    return false;
}

} // namespace quillio::einvoice
