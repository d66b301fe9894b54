#pragma once
// A settings row held by where it is rather than by pointer: its key path and its position
// among its parent's rows at each level. setObject: may drop and rebuild rows (a parent owns
// its children), so undo steps and the view manager keep this and find the row again.
#include <QString>
#include <QVector>

class MyConfigItem;
class MyConfigRootItem;

class SettingsRowPath {
public:
    SettingsRowPath() = default;
    // The path of row in its tree (the root row has an empty one).
    static SettingsRowPath of(const MyConfigItem* row);

    const QString& itemID() const { return m_itemID; }
    const QVector<int>& positions() const { return m_positions; }

    // The row at this path in root's tree when it is still there with the same key path;
    // otherwise its nearest ancestor that is (at worst the root itself). Never a row that
    // has gone.
    MyConfigItem* find(MyConfigRootItem* root) const;

    // Whether row is a row of root's tree (the root included). Compares identities only,
    // so a pointer to a row that has gone is never followed.
    static bool isRowOf(const MyConfigRootItem* root, const MyConfigItem* row);

    bool operator==(const SettingsRowPath&) const = default;

private:
    QString m_itemID;
    QVector<int> m_positions;
};
