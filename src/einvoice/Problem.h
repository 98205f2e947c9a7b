#pragma once

#include <QList>
#include <QString>

namespace quillio::einvoice {

// One finding about an electronic invoice, built or read.
struct Problem
{
    enum Severity { Error, Warning, Notice };
    Severity severity = Error;
    QString code;    // the exchange system's rejection code ("00421"); empty for our own findings
    QString field;   // the place to fix: a field of the program or the element's path in the file
    QString message; // Italian, names the field and the code
    int line = 0;    // in the file read; 0 for a document built here
};

inline bool hasErrors(const QList<Problem>& problems)
{
    for (const Problem& problem : problems) {
        if (problem.severity == Problem::Error)
            return true;
    }
    return false;
}

} // namespace quillio::einvoice
