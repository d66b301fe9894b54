#include "windows/MyAlert.h"
#include "platform/Dialogs.h"

int MyAlert::runModal() const
{
    const QStringList buttons = m_buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : m_buttons;
    return firstButtonReturn + Dialogs::current().question(m_message, QString(), buttons);
}
