#include "desktop/DialogFileChooser.h"

#include <QFileDialog>

namespace quillio::desktop {

QString DialogFileChooser::saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                                        const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filter);
}

QString DialogFileChooser::openFileName(QWidget* parent, const QString& caption, const QString& startFolder,
                                        const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, startFolder, filter);
}

QString DialogFileChooser::folder(QWidget* parent, const QString& caption, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

} // namespace quillio::desktop
