#pragma once

#include "platform/FileChooser.h"

namespace quillio::desktop {

class DialogFileChooser : public FileChooser
{
public:
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& startFolder,
                         const QString& filter) override;
    QString folder(QWidget* parent, const QString& caption, const QString& startFolder) override;
};

} // namespace quillio::desktop
