#pragma once
// The data grid of the table window: the document's table with a title row, a row-number
// column and, while the window is editable, one extra row and column for growing the table.
// Selection, editing, paste/import/copy, column and row commands and fonts all end in
// snapshot steps on the document's table histories.
#include "platform/Geometry.h"
#include "platform/KeyedArchive.h"
#include "table/MyGridSelection.h"
#include <QColor>
#include <QFont>
#include <QSet>
#include <QTableView>
#include <optional>

class Document;
class MyWindowController;
class MyTableModel;

class MyTableView : public QTableView {
    Q_OBJECT
public:
    // Private clipboard type of the grid's own copy: the block exactly, empty cells included.
    static const QString kBlockMimeType;

    explicit MyTableView(QWidget* parent = nullptr);

    // Constants.
    const QColor firstRowColor;
    const QColor firstColumnColor;
    const QColor selectedCellColor;
    const QColor selectedCellsColor;
    const QColor normalCellColor;
    const QColor tableGridColor;
    const QFont smallSystemFontAttr;
    const Size defaultSize{300, 300};

    MyWindowController* myWindowCont = nullptr;
    Document* myDoc = nullptr;

    const TextAttributes& titleRowFont() const { return m_titleRowFont; }
    const TextAttributes& dataRowFont() const { return m_dataRowFont; }
    void setTitleRowFont(const TextAttributes& attributes);
    void setDataRowFont(const TextAttributes& attributes);
    // The fonts as the grid draws them.
    const QFont& titleQFont() const { return m_titleQFont; }
    const QFont& dataQFont() const { return m_dataQFont; }

    const CellSelection& selectingCells() const { return m_selection.selectingCells; }
    void setSelectingCells(const CellSelection& cells);
    MyGridSelection& gridSelection() { return m_selection; }
    MyTableModel* tableModel() const { return m_model; }
    bool hasCells() const { return rowCountR() > 0 && columnCountC() > 0; }
    // Every cell, as the row-number header selects them, in the grid's own selection, which
    // the item view's does not reach; nothing in a table without cells.
    void selectAll() override;

    // Data source.
    qint64 rowCountR() const;      // rows of the table, title row included
    qint64 columnCountC() const;   // data columns
    bool isEditable() const;
    int numberOfRowsInTableView() const;
    QVariant objectValue(qint64 identifier, qint64 row) const;
    QVariant cellBackground(qint64 identifier, qint64 row) const;
    bool isAnchor(qint64 identifier, qint64 row) const;
    double heightOfRow(qint64 row) const;
    bool shouldReorderColumn(qint64 from, qint64 to) const;
    qint64 columnIdentifierAt(int position) const;
    QString columnIdentifierTextAt(int position) const;
    int numberOfGridColumns() const { return int(m_identifiers.size()); }

    // Columns and rows brought in line with the document.
    void fixTableColumns();
    void reloadData();

    // Editing.
    bool allowEditCellWithRow(qint64 row, qint64 columnIdentifier) const;
    void tableViewSetObjectValue(const QVariant& value, const QString& identifier, qint64 row);
    // The text that value, typed into a cell, would store there; nothing when it changes
    // nothing or is refused.
    std::optional<QString> typedCellText(const QVariant& value, const QString& identifier, qint64 row) const;

    // Table text.
    void paste();
    void importTable();
    void copy();
    // noText, when given, is said instead of laying anything when the text holds no cell.
    void addString(const QString& string, bool newTable, const QString& actionName, const QString& noText = QString());

    // Column and row commands.
    void tableViewColumnDidResize(int position);
    void tableViewColumnDidMove(int oldPosition, int newPosition);
    void columnWidth();
    void sortColumns(int tag);
    void deleteColumns();
    void deleteRows();

    // Fonts and row heights.
    void changeFont();
    void rowHeight();

    // What the document's table steps leave to the grid once a snapshot is loaded.
    void tableSnapshotLoaded(bool settings);
    void columnSettingsSnapshotLoaded();
    void rowSettingsSnapshotLoaded();

    // Typed text is kept on one line: tabs and line breaks become spaces.
    static QString cellText(const QString& typed);
    // Table text to a block, keeping empty lines between rows; *error (and no block) for a
    // text of more cells than a table may hold.
    static QVector<QStringList> blockFromText(const QString& text, QString* error = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void alert(const QString& message) const;
    bool requireEditable() const;
    template <class Transform>
    void pushColumnsWith(Transform transform, const QString& actionName);
    void repaintCells();
    void applyRowHeights();
    void setSectionWidth(int position, double width);
    void headerSectionClicked(int logical);
    void headerSectionResized(int logical, int oldSize, int newSize);
    void headerSectionMoved(int logical, int oldVisual, int newVisual);
    void commitPendingResizes();
    void addBlock(const QVector<QStringList>& block, const QString& actionName);
    void mouseDownAt(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    void mouseUpAt(const QPoint& pos, int clickCount);
    // Keyboard entry: the anchor cell moves like a spreadsheet's current cell.
    void moveAnchor(qint64 rows, qint64 columns);
    // Page Up and Down, Home and End (with Ctrl: the table's first and last cell).
    bool jumpAnchor(const QKeyEvent* event);
    bool editAnchor(QKeyEvent* typed);

    MyTableModel* m_model = nullptr;
    MyGridSelection m_selection;
    TextAttributes m_titleRowFont;
    TextAttributes m_dataRowFont;
    QFont m_titleQFont;
    QFont m_dataQFont;
    QStringList m_identifiers;
    QVector<qint64> m_identifierValues;
    bool m_programResize = false;
    bool m_programMove = false;
    QSet<int> m_pendingResizes;
    bool m_headerShift = false;
    bool m_headerPressed = false;
    bool m_skipRelease = false;
    int m_appliedTitleHeight = -1;
    int m_appliedDataHeight = -1;
};
