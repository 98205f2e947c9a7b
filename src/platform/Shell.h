#pragma once

#include <QUrl>

namespace quillio {

// Hands a web address or a mailto: link to the desktop's default program.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual void open(const QUrl& url) = 0;
};

} // namespace quillio
