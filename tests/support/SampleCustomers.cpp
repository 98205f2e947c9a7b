#include "SampleCustomers.h"

#include <QStringList>

namespace quillio::test {

const QList<SampleCustomer>& SampleCustomers::all()
{
    static const QList<SampleCustomer> customers = {
        {"Rossi Arredamenti S.r.l.", "Via Garibaldi 12", "Milano", "20121", "02 8765432", "333 1234567",
         "Paolo Rossi"},
        {"Bianchi Giovanni", "Corso Vittorio Emanuele 4", "Torino", "10121", "011 445566", "",
         "Giovanni Bianchi"},
        {"Caffè Centrale di Verdi & C.", "Piazza Duomo 1", "Firenze", "50122", "055 212121", "347 9988776",
         "Anna Verdi"},
        {"Edilnord S.p.A.", "Via dell'Industria 88", "Bergamo", "24126", "035 330011", "",
         "Ufficio acquisti"},
        {"Studio Tecnico Esposito", "Via Toledo 256", "Napoli", "80134", "081 5522334", "320 1122334",
         "Ing. Esposito"},
    };
    return customers;
}

QStringList SampleCustomers::names()
{
    QStringList names;
    for (const SampleCustomer& customer : all())
        names.append(customer.name);
    return names;
}

} // namespace quillio::test
