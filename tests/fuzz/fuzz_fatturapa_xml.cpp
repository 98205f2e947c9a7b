// An electronic invoice from anywhere: reading it and checking it always ends with a result.
// A document read well gets through the checks, and what the writer makes of it reads back.

#include "FuzzSupport.h"
#include "einvoice/DocumentChecks.h"
#include "einvoice/FatturaXmlReader.h"
#include "einvoice/FatturaXmlWriter.h"

using namespace quillio;
using namespace quillio::einvoice;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FatturaXmlReader::Result read = FatturaXmlReader::read(fuzz::bytes(data, size));
    if (!read.wellFormed || !read.isFatturaPA) {
        if (read.error.isEmpty())
            fuzz::fail("an unreadable file without a reason");
        return 0;
    }
    DocumentChecks::run(read.document);
    const FatturaXmlReader::Result again = FatturaXmlReader::read(FatturaXmlWriter::write(read.document));
    if (!again.wellFormed || !again.isFatturaPA)
        fuzz::fail("the writer made an unreadable file of a document read");
    return 0;
}
