#pragma once

#include "FileChooser.h"

namespace quillio::desktop {

class DialogFileChooser : public FileChooser
{
public:
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                         const QString& filter) override;
};

} // namespace quillio::desktop
