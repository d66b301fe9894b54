#pragma once
// Bundle resources (compiled in with the Qt resource system) and the read-only defaults store.
#include <QString>
#include <QVariant>

namespace Resources {
// The property list of a bundle resource (":/<name>"), e.g. "configRes.plist".
// An invalid QVariant when missing or unreadable; *error says why.
QVariant plist(const QString& name, QString* error = nullptr);
bool exists(const QString& name);
}

// The per-user defaults: a property-list dictionary read once from a file in the user's
// configuration folder; never written by the application.
class DefaultsStore {
public:
    // Reads <AppConfigLocation>/defaults.plist (or the given file); a missing or unreadable
    // file gives an empty store.
    static DefaultsStore load(const QString& path = QString());
    static QString defaultPath();
    QVariant value(const QString& key) const { return m_values.value(key); }
    bool contains(const QString& key) const { return m_values.contains(key); }
    QVariantMap values() const { return m_values; }
    void setValues(const QVariantMap& values) { m_values = values; }  // tests
private:
    QVariantMap m_values;
};
