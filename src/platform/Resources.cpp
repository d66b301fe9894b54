#include "platform/Resources.h"

#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Defaults and resources are small; a larger file is not one of ours.
constexpr qint64 kMaxPlistSize = 64 * 1024 * 1024;

QVariant readPlistFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.exists()) {
        if (error)
            *error = QStringLiteral("The file %1 does not exist.").arg(path);
        return QVariant();
    }
    if (file.size() > kMaxPlistSize) {
        if (error)
            *error = QStringLiteral("The file %1 is too large to be a property list.").arg(path);
        return QVariant();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("The file %1 could not be read: %2").arg(path, file.errorString());
        return QVariant();
    }
    return PropertyList::fromData(file.readAll(), error);
}

QString resourcePath(const QString& name) { return QStringLiteral(":/") + name; }

}  // namespace

namespace Resources {

QVariant plist(const QString& name, QString* error)
{
    return readPlistFile(resourcePath(name), error);
}

bool exists(const QString& name)
{
    return !name.isEmpty() && QFileInfo(resourcePath(name)).isFile();
}

}  // namespace Resources

QString DefaultsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/defaults.plist");
}

DefaultsStore DefaultsStore::load(const QString& path)
{
    DefaultsStore store;
    const QVariant root = readPlistFile(path.isEmpty() ? defaultPath() : path, nullptr);
    // Only a dictionary is a defaults store; anything else counts as none.
    if (root.typeId() == QMetaType::QVariantMap)
        store.m_values = root.toMap();
    return store;
}
