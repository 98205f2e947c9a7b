#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace quillio::bench {

// What a person waits for in the whole program, windows shown offscreen: the main window's commands
// opening the address book, the drafts and the invoices, the customer lookup of a draft, and the
// draft list of a new invoice. The program runs on the generated archive as its working year, with
// the seams of the tests installed so that no window waits for a person.
class WindowMeasurements
{
public:
    static QList<Figure> measure(const GeneratedArchive& archive);
};

} // namespace quillio::bench
