#pragma once

#include <QString>

class QWidget;

namespace quillio {

// Asks the person for a file name to write, a file to read, or a folder; an empty result means
// they gave up.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                                 const QString& filter) = 0;
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& startFolder,
                                 const QString& filter) = 0;
    virtual QString folder(QWidget* parent, const QString& caption, const QString& startFolder) = 0;
};

} // namespace quillio
