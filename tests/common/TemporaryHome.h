#pragma once
// The user's home and configuration folders moved into a temporary folder while it lives,
// so that what the program proposes or writes there never reaches the real user's.
#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <QVector>
#include <utility>

class TemporaryHome {
public:
    TemporaryHome()
    {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
            m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
            m_wasSet.append(qEnvironmentVariableIsSet(name));
        }
        QDir(m_dir.path()).mkpath(".config");
        qputenv("HOME", m_dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_dir.path() + "/.config").toUtf8());
        qputenv("XDG_DATA_HOME", (m_dir.path() + "/.local/share").toUtf8());
        qputenv("XDG_CACHE_HOME", (m_dir.path() + "/.cache").toUtf8());
    }
    ~TemporaryHome()
    {
        for (int i = 0; i < m_saved.size(); ++i) {
            if (m_wasSet[i])
                qputenv(m_saved[i].first, m_saved[i].second);
            else
                qunsetenv(m_saved[i].first);
        }
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    QString path() const { return QDir(m_dir.path()).canonicalPath(); }

private:
    QTemporaryDir m_dir;
    QVector<std::pair<const char*, QByteArray>> m_saved;
    QVector<bool> m_wasSet;
};
