// The statistics window of an analysis: its table of statistics per row, the eight switches
// that choose rows, sample or population forms and normality tests, tests run on demand,
// and copy of its rows or columns as text.
#include "analysis/MyDocumentAnalyses.h"
#include "analysis/NormalityResults.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "views/MyViewManager.h"
#include "windows/MyDataSourceModel.h"
#include "windows/MyStatsTableView.h"
#include "windows/MyWindow.h"
#include "windows/MyWindowController.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QStyle>
#include <algorithm>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// The switches: tag, outlet, flag in the record's "settings", and the flag that enables it
// (none: left as it is).
struct Switch {
    int tag;
    QAbstractButton* MyWindowController::*outlet;
    const char* name;
    const char* key;
    const char* enabledBy;
};
#define VLB_SWITCH(tag, outlet, key, enabledBy) {tag, &MyWindowController::outlet, #outlet, key, enabledBy}
const Switch kSwitches[] = {
    VLB_SWITCH(1, buUnbiased, "unbiased", nullptr),
    VLB_SWITCH(2, buStats, "stats", ""),
    VLB_SWITCH(10, buShowSingle, "showSingle", nullptr),
    VLB_SWITCH(11, buSingleUnbiased, "singleUnbiased", "showSingle"),
    VLB_SWITCH(12, buSingleStats, "singleStats", "showSingle"),
    VLB_SWITCH(20, buShowAll, "showAll", nullptr),
    VLB_SWITCH(21, buAllUnbiased, "allUnbiased", "showAll"),
    VLB_SWITCH(22, buAllStats, "allStats", "showAll"),
};
#undef VLB_SWITCH

const Switch* switchOf(int tag)
{
    for (const Switch& s : kSwitches)
        if (s.tag == tag)
            return &s;
    return nullptr;
}

} // namespace

void MyWindowController::setUpStatsWindow()
{
    subTitle = QStringLiteral("Stats - ");
    auto* table = new MyStatsTableView(m_window);
    table->setObjectName("docTV");
    docTV = table;
    m_docModel = new MyDataSourceModel(this, MyViewManager::statsColumnIdentifiers(), table);
    m_docModel->setHeaderTitles(MyViewManager::statsColumnTitles());
    m_docModel->displayText = [](const QVariant& value, int column) { return MyViewManager::statsShownText(value, column); };
    table->setModel(m_docModel);
    noteStatsShown();
    if (viewManager)
        m_statsRowKeys = viewManager->statsRowKeys();
    m_window->setCentralWidget(table);
    // The view manager belongs to the graph window, which may go first when the document
    // closes: the table then has nothing to show.
    if (viewManager)
        connect(viewManager, &QObject::destroyed, this, [this] {
            viewManager = nullptr;
            if (m_docModel)
                m_docModel->reloadData();
        });

    // Its least size is what the switches need, whatever the font and style make of them.
    QWidget* content = makeDrawer(QSize(320, 260), true);
    auto* layout = new QVBoxLayout(content);
    const struct {
        const char* title;
        int tags[3];
    } groups[] = {{"Categories", {1, 2, 0}}, {"Single", {10, 11, 12}}, {"All Data", {20, 21, 22}}};
    const char* titles[] = {"Show", "Unbiased", "Normality test"};
    for (const auto& g : groups) {
        auto* box = new QGroupBox(tr(g.title), content);
        auto* inner = new QVBoxLayout(box);
        for (int tag : g.tags) {
            const Switch* s = switchOf(tag);
            if (!s)
                continue;
            auto* button = new QCheckBox(tr(titles[tag % 10]), box);
            button->setObjectName(QLatin1String(s->name));
            button->setProperty("tag", tag);
            this->*(s->outlet) = button;
            connect(button, &QCheckBox::clicked, this, [this, tag](bool on) { changeStats(tag, on); });
            inner->addWidget(button);
        }
        layout->addWidget(box);
    }
    layout->addStretch();

    // Wide enough for every column beside the open drawer and tall enough for the rows, as
    // far as the screen lets it when the window is placed; beyond that the table scrolls.
    // Never lower than the drawer's switches, however few the rows.
    table->fitColumns();
    const int separator = m_window->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, m_window);
    m_window->resize(table->fullWidth() + separator + drawer->sizeHint().width(),
                     m_window->menuBar()->sizeHint().height()
                         + std::max(drawer->minimumSizeHint().height(),
                                    std::min(table->fullHeight(kStatsRowsShown), kStatsHeights[1])));
    m_shouldCloseDocument = false;
}

int MyWindowController::statsRowCount() const
{
    return viewManager ? int(viewManager->statsRowCount()) : 0;
}

QVariant MyWindowController::statsObjectValue(const QString& columnIdentifier, int row) const
{
    if (!viewManager)
        return {};
    const MyViewManager::StatsOptions o = viewManager->statsOptions(row);
    return viewManager->representedValue(o.tag, columnIdentifier, o.unbiased, o.showStats, viewManager->isLogarithmic());
}

void MyWindowController::setStats()
{
    if (m_windowNibName != QLatin1String("StatsWindowD") || !viewManager)
        return;
    const QVariantMap settings = viewManager->statsRecord().value("settings").toMap();
    for (const Switch& s : kSwitches) {
        QAbstractButton* button = this->*(s.outlet);
        if (!button)
            continue;
        const QSignalBlocker quiet(button);
        button->setChecked(settings.value(s.key).toBool());
        if (s.enabledBy)
            button->setEnabled(!*s.enabledBy || settings.value(s.enabledBy).toBool());
    }
    reloadStats(true);
}

bool MyWindowController::noteStatsShown()
{
    if (!viewManager)
        return false;
    const bool logarithmic = viewManager->isLogarithmic();
    if (logarithmic == m_statsLogarithmic && viewManager->nameTags == m_statsTags)
        return false;
    m_statsLogarithmic = logarithmic;
    m_statsTags = viewManager->nameTags;
    return true;
}

void MyWindowController::reloadStats(bool rowsChanged)
{
    if (!noteStatsShown() && !rowsChanged)
        return;
    auto* table = qobject_cast<MyStatsTableView*>(docTV);
    if (!m_docModel || !table || !viewManager)
        return;
    QStringList keys = viewManager->statsRowKeys();
    // The same number of rows keeps the table's rows; their cells are read again.
    const bool whole = rowsChanged || keys.size() != m_statsRowKeys.size();
    table->reloadKeeping(m_statsRowKeys, keys, [this, whole] { whole ? m_docModel->reloadData() : m_docModel->reloadCells(); });
    m_statsRowKeys = std::move(keys);
}

void MyWindowController::graphSettingsChanged()
{
    // The table reads the axis and the categories when it draws a cell, but nothing redraws
    // it: a settings change made in the graph window would show only once the table is
    // touched. Only the axis' mode and the order of the categories (a represent moved)
    // change what it shows; other changes leave it alone.
    if (m_windowNibName == QLatin1String("StatsWindowD") && m_docModel)
        reloadStats(false);
}

void MyWindowController::changeStats(int tag, bool on)
{
    const Switch* s = switchOf(tag);
    if (m_windowNibName != QLatin1String("StatsWindowD") || !s || !myDoc || !viewManager || graphID < 0
        || graphID >= myDoc->stats.size())
        return;
    const QVariantMap record = myDoc->stats.at(graphID);
    QVariantMap settings = record.value("settings").toMap();
    QVariantMap stats = record.value("stats").toMap();
    QVariantMap logStats = record.value("logStats").toMap();
    const bool changed = settings.value(s->key).toBool() != on;
    settings.insert(s->key, on);

    bool computed = false;
    bool registered = false;
    AppDelegate* app = myDoc->ourDelegate();
    if (tag % 10 == 2 && on && app) {
        const QStringList tags = tag == 2 ? viewManager->nameTags : tag == 12 ? viewManager->singleTags : QStringList{QString()};
        const bool logarithmic = viewManager->isLogarithmic();
        QVariantMap& target = logarithmic ? logStats : stats;
        // A tag tested once keeps its result; turning a switch off and on costs nothing.
        for (const QString& t : tags) {
            if (target.contains(t))
                continue;
            target.insert(t, NormalityResults::tested(*app, viewManager->values.value(t), logarithmic));
            computed = true;
        }
        if (computed && !myDoc->isDocumentEdited()) {
            MyDocumentAnalyses::fixedEditStatus(*myDoc);
            registered = true;
        }
    }
    myDoc->stats[graphID] = QVariantMap{{"settings", settings}, {"stats", stats}, {"logStats", logStats}};
    // The record is saved with the document: a changed switch or new results must not be
    // lost on closing without a prompt, also where no undo step marks the change.
    if ((changed || computed) && !registered)
        myDoc->undoManager()->changeDone();
    setStats();
}

void MyWindowController::copyStats()
{
    auto* table = qobject_cast<MyStatsTableView*>(docTV);
    if (viewManager && table)
        viewManager->copyStatsWithSelectedRowIndexes(table->selectedRowIndexes(), table->selectedColumnIndexes());
}
