#include "desktop/MessageBoxErrors.h"

#include "desktop/MessageText.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QMessageBox>

namespace quillio::desktop {

void MessageBoxErrors::showError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, Platform::title(), MessageText::forDisplay(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

} // namespace quillio::desktop
