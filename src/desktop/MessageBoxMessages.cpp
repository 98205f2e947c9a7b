#include "desktop/MessageBoxMessages.h"

#include "desktop/MessageText.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QMessageBox>

namespace quillio::desktop {

void MessageBoxMessages::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, Platform::title(), MessageText::forDisplay(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool MessageBoxMessages::confirm(const QString& text, Default defaultButton)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), MessageText::forDisplay(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(defaultButton == Default::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace quillio::desktop
