#pragma once

#include "platform/FileChooser.h"

#include <QStringList>

namespace quillio::test {

// Answers file and folder questions with scripted names (empty: the person gave up) and records
// the captions.
class ScriptedFiles : public FileChooser
{
public:
    QString saveFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        captions.append(caption);
        return answer;
    }
    QString openFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        captions.append(caption);
        return openAnswer;
    }
    QString folder(QWidget*, const QString& caption, const QString&) override
    {
        captions.append(caption);
        return folderAnswer;
    }
    QString openAnswer;
    QString folderAnswer;
    QString answer;
    QStringList captions;
};

} // namespace quillio::test
