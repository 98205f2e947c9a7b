#pragma once

#include "platform/Paths.h"

namespace quillio {

// The real locations: the executable's directory and the user's configuration directory.
class ApplicationPaths : public Paths
{
public:
    QString programDir() const override;
    QString settingsRoot() const override;
};

} // namespace quillio
