#pragma once

#include <QString>

namespace quillio::report {

enum class Destination { Printer, Preview, File };

// What the person chose before a run.
struct OutputOptions
{
    Destination destination = Destination::Preview;
    QString printerName; // empty: the default printer
    int copies = 1;
    bool collate = true;
    bool duplex = false;
    int previewZoom = 100;
    bool previewMaximized = true;
};

// What a run asks the person: the caption, the choices preselected, and whether the preview may
// be chosen (not when printing from the preview itself).
struct OutputRequest
{
    QString title;
    OutputOptions preselected;
    bool previewAllowed = true;
};

} // namespace quillio::report
