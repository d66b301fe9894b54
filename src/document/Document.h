#pragma once
// One open document: the data table with its column and row settings, their snapshot
// histories and undo steps, the per-analysis records (graph settings with their histories,
// analysis XML texts, statistics records), and the document's page layout. Saved and read as
// a "*.vlbdoc" package through the platform's document machinery.
#include "app/AppDelegate.h"
#include "document/TableHistory.h"
#include "platform/DocumentController.h"
#include "platform/Geometry.h"
#include "platform/PrintInfo.h"
#include "platform/UndoBridge.h"
#include <QMarginsF>
#include <QObject>
#include <QPageLayout>
#include <QVariantMap>
#include <QVector>
#include <optional>

class MyWindowController;

struct TableMatrix {
    qint64 row = 0;      // strings per column, title included; 0 without columns
    qint64 column = 0;
    bool operator==(const TableMatrix&) const = default;
};

// One dictionary of strings per column (key "width").
using ColumnSettings = QVector<QVariantMap>;

class Document : public QObject, public DocumentInterface {
    Q_OBJECT
public:
    explicit Document(AppDelegate* delegate = AppDelegate::shared(), QObject* parent = nullptr);
    ~Document() override;

    // A factory for the document controller.
    static DocumentController::Factory factory(AppDelegate* delegate = nullptr);

    AppDelegate* ourDelegate() const { return m_delegate; }
    Alert* ourAlert = nullptr;

    // Window controllers, owned and filled by the window subsystem.
    MyWindowController* baseWindowCont = nullptr;
    MyWindowController* tableWindowCont = nullptr;
    QVector<MyWindowController*> graphWindowConts;
    QVector<MyWindowController*> statsWindowConts;

    TableData tableData;
    TableHistory historyOfTableData;
    TableMatrix tableMatrix;
    QStringList variables;
    ColumnSettings columnSettings;
    QVector<ColumnSettings> historyOfColumnSettings;
    QVariantMap tableRowSettings;
    QVector<QVariantMap> historyOfTableRowSettings;
    QVector<qint64> columnCounter;
    QVector<QVector<qint64>> historyOfColumnCounter;
    qint64 tableDataIndex = 0;
    qint64 columnSettingsIndex = 0;
    qint64 tableRowSettingIndex = 0;
    qint64 columnCounterIndex = 0;

    // Per analysis, element i belonging to graph ID i; always of one length.
    QVector<qint64> graphSettingsIndex;
    QVector<QVariantMap> graphSettings;
    QVector<QVector<QVariantMap>> historyOfGraphSettings;
    QStringList graphXMLs;
    QVector<QVariantMap> stats;

    QString docVersion;
    // Whether docVersion names a version before the application's: its graph settings then
    // take the upgrade of older documents.
    bool isOlderVersion() const;
    // The graph that page setup and printing act on; -1 once it has been removed.
    qint64 printID = 0;
    // The print info of all the document's graphs: paper and orientation, the paper's
    // unprintable border (minimum margins, which leave the imageable area) and the margins.
    // Not part of the package and of no undo step.
    QPageLayout printInfo;

    // ---- table model
    // Recomputes tableMatrix and variables from tableData.
    void setTableData();
    // First column whose title is canonically equal to title, or -1.
    qint64 indexOfVariables(const QString& title) const;
    struct Categories {
        QStringList values;                  // distinct cells of the data rows, first occurrence first
        QVector<QVector<qint64>> rows;       // per value, its data-row indexes (0 = first row under the title)
    };
    Categories categoriesOfVariable(const QString& title) const;
    struct NumericValues {
        qint64 count = 0;                           // cells that are a number as a whole
        QVector<std::optional<double>> values;      // one per data row
    };
    NumericValues numericValuesOfVariable(const QString& title) const;

    // ---- histories (push without moving the index)
    void addTableData(const TableData& snapshot, bool isNew);
    void addColumnSettings(const ColumnSettings& snapshot, bool isNew);
    void addColumnCounter(const QVector<qint64>& snapshot, bool isNew);
    void addRowSettings(const QVariantMap& snapshot, bool isNew);
    void modifyColumnSettingWithKey(const QString& key, const QString& val, const QList<qint64>& indexes);
    // Raises (or with a negative delta lowers) the use count of a column as an analysis is
    // drawn or removed: in the field and in its current snapshot, so that undoing a table
    // edit keeps the count. Not an undo step of its own.
    void changeColumnCounter(qint64 column, qint64 delta);
    // Writes a block of cells at grid column colomnIndex (1 = first table column) and row
    // (0 = title row) and pushes the snapshots. False, with nothing pushed, for an empty
    // block or a position outside the table plus its extra row and column, and, with an
    // alert, for a table that would hold more than TableTextCodec::kMaxCells cells: the
    // caller then registers no undo step.
    bool modifyTableWithArray(const TableData& array, qint64 colomnIndex, qint64 row, bool newColumn, bool newTable);
    // Pushes a graph settings snapshot after the current one of analysis graphID.
    void addToHistoryNewSettings(const QVariantMap& settings, qint64 graphID);
    // Cuts every history to its current snapshot and removes every undo step.
    void resetUndo();

    // ---- table undo steps: register the step under menuString and move the indexes by
    // change (its undo moves them back), loading the snapshots found there.
    void setTableDataWithSettingsWithSettings(bool settings, int change, const QString& menuString);
    void setColumnSettingsWithChange(int change, const QString& menuString);
    void setRowSettingsWithChange(int change, const QString& menuString);
    // True unless the three table indexes are all 0 (the table window's edited mark).
    bool isTableEdited() const;

    UndoBridge* undoManager() { return &m_undo; }

    // ---- analyses
    // Appends one analysis to every per-analysis list; returns its graph ID.
    qint64 appendAnalysis(const QVariantMap& settings, const QString& xml, const QVariantMap& statsRecord);
    // Removes analysis graphID from every per-analysis list, window controllers included;
    // the windows subsystem closes those and renumbers the others (graphID i at element i).
    void removeAnalysis(qint64 graphID);
    // A statistics record of a new analysis: the user's default options, no results.
    QVariantMap newStatsRecord() const;

    // ---- page layout
    // The imageable rectangle of the paper, origin at the lower left (points).
    Rect imageablePageBounds() const { return PrintInfo::imageablePageBounds(printInfo); }
    // Margins that leave exactly the imageable rectangle of a paper (left, top, right, bottom).
    static QMarginsF marginsForImageable(const QSizeF& paper, const Rect& imageable);
    // A generic printer's paper with its unprintable border as margins.
    static QPageLayout defaultPageLayout();

    // ---- the platform's document interface
    bool writePackage(const QString& dirPath, SaveKind kind, QString* error) override;
    bool readPackage(const QString& dirPath, QString* error) override;
    QString readNotice() const override { return m_readNotice; }
    // A paragraph more for what the open tells, found while the windows are set up.
    void addReadNotice(const QString& paragraph)
    {
        m_readNotice += (m_readNotice.isEmpty() ? QString() : QStringLiteral("\n\n")) + paragraph;
    }
    void didSave(SaveKind kind) override;
    void commitEditing() override;
    bool isEditingText() const override;
    bool isDocumentEdited() const override { return m_undo.isEdited(); }
    bool isPristine() const override;
    void makeWindowControllers() override;
    void showWindows() override;
    void closeWindows() override;
    QWidget* mainWindow() const override;

signals:
    // tableData was replaced (tableMatrix and variables renewed); with settings the column
    // settings and counters were replaced as well.
    void tableChanged(bool settings);
    void columnSettingsChanged();
    void rowSettingsChanged();
    // The table window's edited mark.
    void tableEditedMarkChanged(bool edited);
    // resetUndo ran: the table window leaves edit mode and rebuilds its grid.
    void undoWasReset();
    // The document's edited state (change counter).
    void editedChanged(bool edited);
    // A package was written successfully.
    void saved(SaveKind kind);

private:
    // The column of a title (shared, not copied); empty when there is none.
    QStringList columnTitled(const QString& title) const;
    void moveTable(bool settings, qint64 delta);
    void moveColumnSettings(qint64 delta);
    void moveRowSettings(qint64 delta);

    AppDelegate* m_delegate;
    UndoBridge m_undo;
    QString m_readNotice;
};
