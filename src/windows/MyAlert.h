#pragma once
// An alert of its own, with buttons in the order they are added; running it gives the
// platform's return code of the button chosen (1000 for the first, 1001, 1002, ...).
#include <QString>
#include <QStringList>

class MyAlert {
public:
    static constexpr int firstButtonReturn = 1000;
    static constexpr int secondButtonReturn = 1001;
    static constexpr int thirdButtonReturn = 1002;

    void addButtonWithTitle(const QString& title) { m_buttons.append(title); }
    void setMessageText(const QString& text) { m_message = text; }
    QString messageText() const { return m_message; }
    QStringList buttons() const { return m_buttons; }
    // Modal; through the current dialogs, so tests answer from their script.
    int runModal() const;

private:
    QString m_message;
    QStringList m_buttons;
};
