#pragma once

#include "einvoice/CodeDescription.h"
#include "einvoice/FieldProblem.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

namespace quillio::einvoice {

// The seller: who issues the invoices. Filled by the company dialog, stored as JSON.
struct CompanyData
{
    // Entry in the register of companies, for those that have one.
    struct Rea
    {
        QString ufficio;                                  // province of the register, two letters
        QString numeroRea;                                // up to 20 characters
        std::optional<qint64> capitaleSociale;            // cents
        QString socioUnico;                               // "SU" one shareholder, "SM" several; may be empty
        QString statoLiquidazione = QStringLiteral("LN"); // "LS" in liquidation, "LN" not
    };

    QString denominazione; // a company's name; or, for a sole trader, nome and cognome
    QString nome;
    QString cognome;
    QString partitaIva;
    QString codiceFiscale;
    QString regimeFiscale = QStringLiteral("RF01");
    QString indirizzo;
    QString numeroCivico;
    QString cap;
    QString comune;
    QString provincia;
    QString nazione = QStringLiteral("IT");
    QString iban;
    std::optional<Rea> rea;
    QString telefono;
    QString email;

    // Everything that would keep an invoice from being accepted, by field, in Italian.
    QList<FieldProblem> problems() const;

    QJsonObject toJson() const;
    static CompanyData fromJson(const QJsonObject& object);

    // The tax regimes the file accepts, RF01 "Ordinario" first.
    static QList<CodeDescription> regimiFiscali();
};

} // namespace quillio::einvoice
