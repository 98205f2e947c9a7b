#pragma once

#include "platform/Shell.h"

#include <QList>

namespace quillio::test {

// Keeps the links the program asked to open; opens nothing.
class RecordingShell : public Shell
{
public:
    void open(const QUrl& url) override { opened.append(url); }
    QList<QUrl> opened;
};

} // namespace quillio::test
