#pragma once
// The readable source of "configRes.plist" (configRes.source.txt) turned into the resource's
// dictionary: "configIndexDict", "intoOutlineItem" and "configResString".
#include <QString>
#include <QVariantMap>
#include <optional>

class ConfigResSource {
public:
    // The resource dictionary, or nullopt with *error ("line N: why") for a source that is
    // malformed or inconsistent (unknown step, missing parent row, clashing orders, ...).
    static std::optional<QVariantMap> build(const QString& source, QString* error = nullptr);
    // The same from a file.
    static std::optional<QVariantMap> buildFile(const QString& path, QString* error = nullptr);
    // A key path as the source writes it ("categoryDicts > * > represents") in the tab form
    // of settings rows ("categoryDicts\t\trepresents"); "(root)" is the empty path.
    static QString keyPath(const QString& written);
};
