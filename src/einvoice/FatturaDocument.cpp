#include "einvoice/FatturaDocument.h"

namespace quillio::einvoice {

const QString FatturaDocument::namespaceUri =
    QStringLiteral("http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2");
const QString FatturaDocument::signatureNamespaceUri = QStringLiteral("http://www.w3.org/2000/09/xmldsig#");

} // namespace quillio::einvoice
