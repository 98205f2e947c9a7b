#pragma once

#include "einvoice/BuyerDetails.h"
#include "einvoice/CodeDescription.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace quillio::einvoice {

// What the export dialog asks for one invoice beyond its record and the seller's data.
struct ExportOptions
{
    BuyerDetails buyer;
    QString natura;               // why no VAT is charged, for an invoice at rate 0 (N1 ... N7)
    QString riferimentoNormativo; // the law that says so, up to 100 characters; optional
    bool bolloVirtuale = false;   // the 2 euro stamp duty is paid virtually
    QString modalitaPagamento = QStringLiteral("MP05"); // empty: no payment data in the file
    std::optional<QDate> dueDate;
    QString iban;           // empty: the seller's
    QByteArray attachment;  // the printed invoice as PDF; empty for none
    QString attachmentName; // its file name
    QString progressive;    // of the file name, from the export register: 1-5 letters and digits

    // Payment methods, MP05 "Bonifico" first.
    static QList<CodeDescription> modalitaPagamentoCodes();
    // The reasons for rate 0 the exchange system accepts today (not the generic N2, N3, N6).
    static QList<CodeDescription> naturaCodes();
};

} // namespace quillio::einvoice
