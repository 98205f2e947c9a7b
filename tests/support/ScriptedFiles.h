#pragma once

#include "FileChooser.h"

#include <QStringList>

namespace quillio::test {

// Answers file questions with a scripted name (empty: the person gave up) and records the captions.
class ScriptedFiles : public FileChooser
{
public:
    QString saveFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        captions.append(caption);
        return answer;
    }
    QString answer;
    QStringList captions;
};

} // namespace quillio::test
