#pragma once
// The tree of an outline (the selector outline of the main window, the settings outline of
// a graph window) as a Qt model whose shape, cells and edits the window controller answers,
// as an outline's data source does. Rows are the tree's own items, so a reload keeps the
// rows that stay open and the selected row by identity.
#include <QAbstractItemModel>
#include <QColor>
#include <QSet>
#include <QStringList>
#include <functional>
#include <optional>

class MyOutlineItem;
class MyWindowController;
class QTreeView;

// How a cell is dressed before it is drawn: a text field, a push button or a check box.
struct OutlineCell {
    enum Kind { Text, Button, CheckBox };
    Kind kind = Text;
    bool bordered = false;      // a button shows only when bordered
    bool transparent = false;   // a check box shows only when not transparent
    bool enabled = true;
    QString title;
    std::optional<QColor> textColor;
    bool drawsBackground = false;
    QColor backgroundColor = Qt::white;
    // Whether the cell shows anything that can be pressed.
    bool isPressable() const { return enabled && ((kind == Button && bordered) || (kind == CheckBox && !transparent)); }
};

class MyOutlineModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // One column per identifier (decimal integer texts read by the controller).
    MyOutlineModel(MyWindowController* controller, QStringList columnIdentifiers, QTreeView* outline);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void setHeaderTitles(const QStringList& titles) { m_titles = titles; }

    MyOutlineItem* itemAt(const QModelIndex& index) const;
    QModelIndex indexOf(const MyOutlineItem* item, int column = 0) const;
    QString columnIdentifier(int column) const { return m_identifiers.value(column); }
    QTreeView* outline() const { return m_outline; }
    MyWindowController* controller() const { return m_controller; }
    // The value the controller gives for the cell, whatever its kind (a check box's state).
    static constexpr int ValueRole = Qt::UserRole + 1;

    // Brackets a change of the tree: the view lets go of the rows before the tree changes
    // and reads them again afterwards, with the rows that stay open and the selected row
    // kept. Nested changes join the outermost one.
    class Change {
    public:
        explicit Change(MyOutlineModel* model);
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;
    private:
        MyOutlineModel* m_model;
    };
    // The whole outline read again now (reloadItem: with no item).
    void reloadData();
    // The controller is going away: from now on the outline shows no rows.
    void detachController();

private:
    void beginChange();
    void endChange();
    MyOutlineItem* root() const;
    // Every row of the tree, parents before their children.
    // Every row with its index in column 0, made from its known position.
    void forEachRow(const std::function<void(const MyOutlineItem*, const QModelIndex&)>& f) const;

    MyWindowController* m_controller;
    QStringList m_identifiers;
    QStringList m_titles;
    QTreeView* m_outline;
    int m_changeDepth = 0;
    // Kept across a change by identity only; never dereferenced unless still in the tree.
    QSet<const MyOutlineItem*> m_expanded;
    const MyOutlineItem* m_selected = nullptr;
};
