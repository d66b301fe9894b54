#pragma once
// The warnings Qt gives while a test runs, recorded so that the test can fail on them; they
// are still printed. Let through: the platform plugin's notes on what it cannot do ("This
// plugin does not support raise()", size hints, keyboard grabs), which offscreen gives for
// every shown window.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <utility>

class QtWarnings {
public:
    // One records at a time: a second, made while the first lives, takes over until it goes.
    QtWarnings() : m_outer(s_current)
    {
        if (!m_outer)
            s_previous = qInstallMessageHandler(&record);
        s_current = this;
    }
    ~QtWarnings()
    {
        s_current = m_outer;
        if (!m_outer)
            qInstallMessageHandler(s_previous);
    }
    QtWarnings(const QtWarnings&) = delete;
    QtWarnings& operator=(const QtWarnings&) = delete;

    QStringList take() { return std::exchange(m_warnings, {}); }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (!s_current)
            return;
        if (type != QtDebugMsg && type != QtInfoMsg && !message.startsWith(QLatin1String("This plugin does not support")))
            s_current->m_warnings << message;
        if (s_previous)
            s_previous(type, context, message);
    }

    inline static QtWarnings* s_current = nullptr;
    inline static QtMessageHandler s_previous = nullptr;
    QtWarnings* m_outer;
    QStringList m_warnings;
};
