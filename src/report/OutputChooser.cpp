#include "report/OutputChooser.h"

#include "report/DialogOutputChooser.h"

namespace quillio::report {

namespace {

DialogOutputChooser dialogChooser;
OutputChooser* current = &dialogChooser;

} // namespace

OutputChooser& OutputChooser::installed()
{
    return *current;
}

void OutputChooser::install(OutputChooser* chooser)
{
    current = chooser ? chooser : &dialogChooser;
}

} // namespace quillio::report
