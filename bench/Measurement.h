#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"

#include <QString>
#include <functional>

namespace quillio::bench {

// One figure the bench takes on every generated archive. New figures join the list in
// BenchProgram::measurements().
struct Measurement
{
    QString name;
    std::function<Figure(const GeneratedArchive&)> measure;
};

} // namespace quillio::bench
