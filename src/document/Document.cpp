#include "document/Document.h"
#include "document/CellNumbers.h"
#include "document/DocumentHooks.h"
#include "document/DocumentPackage.h"
#include "document/SnapshotHistory.h"
#include "document/TableBlock.h"
#include "platform/NumberText.h"
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>

Document::Document(AppDelegate* delegate, QObject* parent)
    : QObject(parent)
    , m_delegate(delegate)
{
    Q_ASSERT(m_delegate);
    historyOfColumnSettings = {ColumnSettings{}};
    historyOfColumnCounter = {QVector<qint64>{}};
    ourAlert = &m_delegate->alert;
    tableRowSettings = m_delegate->defaultTableRowSettings;
    historyOfTableRowSettings = {tableRowSettings};
    docVersion = m_delegate->curVersion();
    printInfo = defaultPageLayout();
    connect(&m_undo, &UndoBridge::editedChanged, this, &Document::editedChanged);
    connect(&m_undo, &UndoBridge::changed, this, [this] { noteChange(); });
}

Document::~Document()
{
    // Child objects (the window controllers) read the document while they close their
    // windows: they go while it is still whole, not after its members.
    while (!children().isEmpty())
        delete children().constFirst();
}

DocumentController::Factory Document::factory(AppDelegate* delegate)
{
    return [delegate]() -> std::unique_ptr<DocumentInterface> {
        return std::make_unique<Document>(delegate ? delegate : AppDelegate::shared());
    };
}

// ---- table model

void Document::setTableData()
{
    tableMatrix.column = tableData.size();
    tableMatrix.row = tableData.isEmpty() ? 0 : tableData.first().size();
    variables.clear();
    variables.reserve(tableData.size());
    for (const QStringList& column : tableData)
        variables.append(column.value(0));
}

qint64 Document::indexOfVariables(const QString& title) const
{
    const QString key = TableBlock::canonical(title);
    for (qsizetype i = 0; i < variables.size(); ++i)
        if (variables.at(i) == title || TableBlock::canonical(variables.at(i)) == key)
            return i;
    return -1;
}

QStringList Document::columnTitled(const QString& title) const
{
    const qint64 c = indexOfVariables(title);
    return c >= 0 && c < tableData.size() ? tableData.at(c) : QStringList();
}

Document::Categories Document::categoriesOfVariable(const QString& title) const
{
    Categories result;
    const QStringList column = columnTitled(title);
    QHash<QString, qsizetype> position;
    for (qsizetype k = 1; k < column.size(); ++k) {
        const QString key = TableBlock::canonical(column.at(k));
        auto it = position.constFind(key);
        if (it == position.constEnd()) {
            it = position.insert(key, result.values.size());
            result.values.append(column.at(k));
            result.rows.append(QVector<qint64>());
        }
        result.rows[*it].append(k - 1);
    }
    return result;
}

Document::NumericValues Document::numericValuesOfVariable(const QString& title) const
{
    NumericValues result;
    const qint64 c = indexOfVariables(title);
    if (c >= 0 && c < tableData.size())
        result.values = CellNumbers::numbers(tableData.at(c), 1, &result.count);
    return result;
}

// ---- histories

void Document::addTableData(const TableData& snapshot, bool isNew)
{
    historyOfTableData.push(snapshot, tableDataIndex, isNew);
}

void Document::addColumnSettings(const ColumnSettings& snapshot, bool isNew)
{
    SnapshotHistory::push(historyOfColumnSettings, columnSettingsIndex, snapshot, isNew);
}

void Document::addColumnCounter(const QVector<qint64>& snapshot, bool isNew)
{
    SnapshotHistory::push(historyOfColumnCounter, columnCounterIndex, snapshot, isNew);
}

void Document::addRowSettings(const QVariantMap& snapshot, bool isNew)
{
    SnapshotHistory::push(historyOfTableRowSettings, tableRowSettingIndex, snapshot, isNew);
}

void Document::modifyColumnSettingWithKey(const QString& key, const QString& val, const QList<qint64>& indexes)
{
    ColumnSettings changed = columnSettings;
    for (qint64 i : indexes)
        if (i >= 0 && i < changed.size())
            changed[i].insert(key, val);
    addColumnSettings(changed, false);
}

void Document::changeColumnCounter(qint64 column, qint64 delta)
{
    if (column >= 0 && column < columnCounter.size())
        columnCounter[column] += delta;
    if (columnCounterIndex >= 0 && columnCounterIndex < historyOfColumnCounter.size()) {
        QVector<qint64>& snapshot = historyOfColumnCounter[columnCounterIndex];
        if (column >= 0 && column < snapshot.size())
            snapshot[column] += delta;
    }
}

bool Document::modifyTableWithArray(const TableData& array, qint64 colomnIndex, qint64 row, bool newColumn, bool newTable)
{
    const auto result = TableBlock::write(tableData, array, colomnIndex - 1, row, newColumn);
    if (!result)
        return false;
    if (result->tooLarge) {
        ourAlert->setMessageText(TableTextCodec::tooManyCells(QStringLiteral("The table"), result->rows, result->columns));
        ourAlert->runModal();
        return false;
    }
    if (newColumn) {
        ColumnSettings settings = columnSettings;
        QVector<qint64> counter = columnCounter;
        for (qsizetype j = 0; j < result->addedColumns; ++j) {
            settings.append(m_delegate->defaultColumnSettings);
            counter.append(0);
        }
        addColumnSettings(settings, newTable);
        addColumnCounter(counter, newTable);
    }
    addTableData(result->table, newTable);
    return true;
}

void Document::addToHistoryNewSettings(const QVariantMap& settings, qint64 graphID)
{
    if (graphID < 0 || graphID >= historyOfGraphSettings.size() || graphID >= graphSettingsIndex.size())
        return;
    SnapshotHistory::push(historyOfGraphSettings[graphID], graphSettingsIndex[graphID], settings, false);
}

void Document::resetUndo()
{
    historyOfTableData.cut(tableDataIndex);
    SnapshotHistory::cut(historyOfColumnSettings, columnSettingsIndex);
    SnapshotHistory::cut(historyOfTableRowSettings, tableRowSettingIndex);
    SnapshotHistory::cut(historyOfColumnCounter, columnCounterIndex);
    const qsizetype graphs = qMin(graphSettingsIndex.size(), historyOfGraphSettings.size());
    for (qsizetype g = 0; g < graphs; ++g)
        SnapshotHistory::cut(historyOfGraphSettings[g], graphSettingsIndex[g]);
    m_undo.clear();
    emit undoWasReset();
}

// ---- table undo steps

bool Document::isTableEdited() const
{
    return tableDataIndex > 0 || columnSettingsIndex > 0 || tableRowSettingIndex > 0;
}

namespace {

// Moves a history's index by delta and loads the snapshot found there; false when that
// would leave the history.
template <class T>
bool load(const QVector<T>& history, qint64& index, T& field, qint64 delta)
{
    if (!SnapshotHistory::canMove(history, index, delta))
        return false;
    index += delta;
    field = history.at(index);
    return true;
}

} // namespace

void Document::moveTable(bool settings, qint64 delta)
{
    const qint64 to = tableDataIndex + delta;
    if (to < 0 || to >= historyOfTableData.size())
        return;
    if (settings && (!SnapshotHistory::canMove(historyOfColumnSettings, columnSettingsIndex, delta)
                     || !SnapshotHistory::canMove(historyOfColumnCounter, columnCounterIndex, delta)))
        return;
    tableDataIndex = to;
    tableData = historyOfTableData.at(to);
    setTableData();
    if (settings) {
        load(historyOfColumnSettings, columnSettingsIndex, columnSettings, delta);
        load(historyOfColumnCounter, columnCounterIndex, columnCounter, delta);
    }
    emit tableChanged(settings);
    emit tableEditedMarkChanged(isTableEdited());
}

void Document::moveColumnSettings(qint64 delta)
{
    if (!load(historyOfColumnSettings, columnSettingsIndex, columnSettings, delta))
        return;
    emit columnSettingsChanged();
    emit tableEditedMarkChanged(isTableEdited());
}

void Document::moveRowSettings(qint64 delta)
{
    if (!load(historyOfTableRowSettings, tableRowSettingIndex, tableRowSettings, delta))
        return;
    emit rowSettingsChanged();
    emit tableEditedMarkChanged(isTableEdited());
}

void Document::setTableDataWithSettingsWithSettings(bool settings, int change, const QString& menuString)
{
    m_undo.push(menuString, [this, settings, change](int step) { moveTable(settings, qint64(change) * step); });
}

void Document::setColumnSettingsWithChange(int change, const QString& menuString)
{
    m_undo.push(menuString, [this, change](int step) { moveColumnSettings(qint64(change) * step); });
}

void Document::setRowSettingsWithChange(int change, const QString& menuString)
{
    m_undo.push(menuString, [this, change](int step) { moveRowSettings(qint64(change) * step); });
}

// ---- analyses

qint64 Document::appendAnalysis(const QVariantMap& settings, const QString& xml, const QVariantMap& statsRecord)
{
    graphSettings.append(settings);
    historyOfGraphSettings.append(QVector<QVariantMap>{settings});
    graphSettingsIndex.append(0);
    graphXMLs.append(xml);
    stats.append(statsRecord);
    return graphSettings.size() - 1;
}

void Document::removeAnalysis(qint64 graphID)
{
    auto drop = [graphID](auto& list) {
        if (graphID >= 0 && graphID < list.size())
            list.removeAt(graphID);
    };
    MyWindowController* graphCont = graphWindowConts.value(graphID, nullptr);
    MyWindowController* statsCont = statsWindowConts.value(graphID, nullptr);
    // Page setup and printing stay with their graph as the others move up, and act on none
    // once it has gone.
    if (graphID >= 0 && graphID < graphSettings.size()) {
        if (printID == graphID)
            printID = -1;
        else if (printID > graphID)
            --printID;
    }
    drop(graphSettings);
    drop(historyOfGraphSettings);
    drop(graphSettingsIndex);
    drop(graphXMLs);
    drop(stats);
    drop(graphWindowConts);
    drop(statsWindowConts);
    if (const auto& removed = DocumentHooks::shared().analysisRemoved)
        removed(*this, graphCont, statsCont);
}

QVariantMap Document::newStatsRecord() const
{
    return QVariantMap{{QStringLiteral("settings"), m_delegate->defaultStats},
                       {QStringLiteral("stats"), QVariantMap{}},
                       {QStringLiteral("logStats"), QVariantMap{}}};
}

// ---- page layout

QMarginsF Document::marginsForImageable(const QSizeF& paper, const Rect& imageable)
{
    const double x = imageable.origin.x, y = imageable.origin.y;
    const double w = imageable.size.width, h = imageable.size.height;
    return QMarginsF(x, paper.height() - h - y, paper.width() - w - x, y);
}

QPageLayout Document::defaultPageLayout()
{
    // A generic printer's paper for the user's measurement system, with its usual
    // unprintable border of a quarter inch; no printer is asked for at document creation.
    const bool us = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    const QPageSize paper(us ? QPageSize::Letter : QPageSize::A4);
    const QSizeF size = paper.size(QPageSize::Point);
    const Rect imageable(18, 18, size.width() - 36, size.height() - 36);
    const QMarginsF margins = marginsForImageable(size, imageable);
    return QPageLayout(paper, QPageLayout::Portrait, margins, QPageLayout::Point, margins);
}

// ---- the platform's document interface

bool Document::writePackage(const QString& dirPath, SaveKind kind, QString* error)
{
    Q_UNUSED(kind);
    if (!DocumentPackage::write(*this, dirPath, error))
        return false;
    docVersion = m_delegate->curVersion();
    return true;
}

namespace {

// A package may lack a value in each of thousands of series: the message names the first few
// settings and counts the rest, so that it stays a message one can read.
QString firstNamed(const QStringList& settings)
{
    constexpr qsizetype kNamed = 10;
    QStringList named = settings.mid(0, kNamed);
    if (settings.size() > kNamed)
        named << QStringLiteral("and %1 more").arg(QLocale(QLocale::English).toString(settings.size() - kNamed));
    return named.join(QStringLiteral(", "));
}

} // namespace

bool Document::readPackage(const QString& dirPath, QString* error)
{
    // Everything that can refuse the package is read before anything of this document
    // changes.
    auto table = DocumentPackage::readTable(dirPath, *m_delegate, error);
    if (!table)
        return false;
    docVersion = table->version;
    tableData = table->table;
    columnSettings = table->columnSettings;
    tableRowSettings = table->rowSettings;
    columnCounter = QVector<qint64>(tableData.size(), 0);
    setTableData();
    historyOfTableData.reset(tableData);
    historyOfColumnSettings = {columnSettings};
    historyOfTableRowSettings = {tableRowSettings};
    historyOfColumnCounter = {columnCounter};
    tableDataIndex = columnSettingsIndex = tableRowSettingIndex = columnCounterIndex = 0;
    graphSettings.clear();
    historyOfGraphSettings.clear();
    graphSettingsIndex.clear();
    graphXMLs.clear();
    stats.clear();

    // Each analysis goes into every list or into none, so the lists stay in step. One that
    // cannot be read is named to the user, so that the next save does not lose it unseen;
    // so is one whose settings had to be mended, whose columns are gone from the table, or
    // whose text is cut off.
    const Rect page = imageablePageBounds();
    const DocumentHooks& hooks = DocumentHooks::shared();
    QStringList unreadable, cutOff, rebuilt, repaired, missing;
    for (const auto& analysis : DocumentPackage::readAnalyses(dirPath)) {
        const QString entry = DocumentPackage::xmlName(analysis.index);
        std::optional<QVariantMap> settings;
        std::optional<DocumentHooks::StoredAnalysis> stored;
        if (analysis.xml) {
            // The window set-up counts the analysis's columns; counting here too would leave
            // them in use after the analysis is gone.
            const QVector<qint64> counters = columnCounter;
            stored = hooks.inspectAnalysis ? hooks.inspectAnalysis(*this, *analysis.xml)
                                           : std::optional<DocumentHooks::StoredAnalysis>(DocumentHooks::StoredAnalysis{});
            std::optional<std::optional<QVariantMap>> made;
            auto fresh = [&]() -> std::optional<QVariantMap> {
                if (!made)
                    made = hooks.regenerateGraphSettings
                               ? hooks.regenerateGraphSettings(*this, *analysis.xml, page.width(), page.height())
                               : std::nullopt;
                return *made;
            };
            if (stored && stored->drawable) {
                settings = analysis.settings;
                if (!settings) {
                    settings = fresh();
                } else if (hooks.checkGraphSettings) {
                    const QString name = QStringLiteral("“%1”").arg(stored->title);
                    const auto checked = hooks.checkGraphSettings(*this, *settings, stored->graphType, fresh);
                    settings = checked ? std::optional<QVariantMap>(checked->settings) : std::nullopt;
                    if (checked && !checked->rebuilt.isEmpty())
                        rebuilt << name;
                    else if (checked && !checked->repaired.isEmpty())
                        repaired << QStringLiteral("%1 (%2)").arg(name, firstNamed(checked->repaired));
                }
            }
            columnCounter = counters;
        }
        const bool named = stored && !stored->title.isEmpty();
        if (stored && !stored->missingColumns.isEmpty())
            (settings ? missing : unreadable)
                << QStringLiteral("“%1” (%2%3: %4)")
                       .arg(stored->title, settings ? QString() : entry + QStringLiteral("; "),
                            stored->missingColumns.size() == 1 ? QStringLiteral("column") : QStringLiteral("columns"),
                            stored->missingColumns.join(QStringLiteral(", ")));
        else if (!settings)
            unreadable << (named ? QStringLiteral("“%1” (%2)").arg(stored->title, entry) : entry);
        if (!settings)
            continue;
        // Kept as far as it reads and written back unchanged, so that nothing more of it is
        // lost; named, since it shows only part of what was stored.
        if (stored && stored->cutOff)
            cutOff << (named ? QStringLiteral("“%1” (%2)").arg(stored->title, entry) : entry);
        appendAnalysis(*settings, *analysis.xml, analysis.stats ? *analysis.stats : newStatsRecord());
    }
    // One message for the whole open, a paragraph for each kind of trouble.
    const QString name = QFileInfo(dirPath).fileName();
    auto paragraph = [&](const QStringList& analyses, const QString& one, const QString& several) {
        return analyses.isEmpty() ? QString()
                                  : (analyses.size() == 1 ? one : several).arg(name, analyses.join(QStringLiteral(", ")));
    };
    QStringList notice{
        paragraph(unreadable, QStringLiteral("This analysis of the document “%1” could not be read and was left out: %2."),
                  QStringLiteral("These analyses of the document “%1” could not be read and were left out: %2.")),
        paragraph(cutOff, QStringLiteral("This analysis of the document “%1” is cut off and was kept as it could be read: %2."),
                  QStringLiteral("These analyses of the document “%1” are cut off and were kept as they could be read: %2.")),
        paragraph(rebuilt,
                  QStringLiteral("The graph settings of this analysis of the document “%1” were damaged and were made anew "
                                 "from the analysis: %2."),
                  QStringLiteral("The graph settings of these analyses of the document “%1” were damaged and were made anew "
                                 "from their analyses: %2.")),
        paragraph(repaired,
                  QStringLiteral("Settings of this analysis of the document “%1” were missing or could not be used, and were "
                                 "set to their defaults: %2."),
                  QStringLiteral("Settings of these analyses of the document “%1” were missing or could not be used, and were "
                                 "set to their defaults: %2.")),
        paragraph(missing,
                  QStringLiteral("This analysis of the document “%1” names columns that are not in its table, and shows no "
                                 "values for them: %2."),
                  QStringLiteral("These analyses of the document “%1” name columns that are not in its table, and show no "
                                 "values for them: %2."))};
    notice.removeAll(QString());
    m_readNotice = notice.join(QStringLiteral("\n\n"));
    m_undo.clear();
    m_undo.markSaved();
    emit tableChanged(true);
    return true;
}

void Document::commitEditing()
{
    if (const auto& commit = DocumentHooks::shared().commitEditing)
        commit(*this);
}

bool Document::isEditingText() const
{
    const auto& editing = DocumentHooks::shared().isEditingText;
    return editing && editing(*this);
}

void Document::didSave(SaveKind kind)
{
    // A copy written elsewhere leaves this document as it was: still edited, undo intact.
    if (kind == SaveKind::Save || kind == SaveKind::SaveAs) {
        resetUndo();
        m_undo.markSaved();
        emit tableEditedMarkChanged(false);
    }
    emit saved(kind);
}

bool Document::isPristine() const
{
    return fileName().isEmpty() && !isDocumentEdited() && tableData.isEmpty();
}

void Document::makeWindowControllers()
{
    if (auto& hook = DocumentHooks::shared().makeWindowControllers)
        hook(*this);
}

void Document::showWindows()
{
    if (auto& hook = DocumentHooks::shared().showWindows)
        hook(*this);
}

void Document::closeWindows()
{
    if (auto& hook = DocumentHooks::shared().closeWindows)
        hook(*this);
}

bool Document::isOlderVersion() const
{
    return m_delegate && NumberText::doubleValue(m_delegate->curVersion()) > NumberText::doubleValue(docVersion);
}

QWidget* Document::mainWindow() const
{
    const auto& hook = DocumentHooks::shared().mainWindow;
    return hook ? hook(*this) : nullptr;
}
