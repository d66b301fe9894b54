#pragma once
// What the dot-plot and boxplot steps share: reading their numbers from the settings, the
// step bits, and finding the element views of a column without scanning every view.
#include "views/MyView.h"
#include "views/MyViewManager.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

class MyConfigItem;

namespace PlotSteps {

// A number stored as a decimal string (its leading number, 0 when none) or as a number.
double number(const QVariant& value);
// The integer of a number or of a decimal string, truncated toward zero.
qint64 integer(const QVariant& value);
// True for a number object (not a string, not a switch).
bool isNumber(const QVariant& value);
// A step runs when its bit and the pass's mask share a set bit (a signed test).
inline bool selected(qint64 setIndex, qint64 bits) { return (setIndex & bits) > 0; }
// The dictionary under key, empty when there is none.
QVariantMap map(const QVariantMap& dict, const QString& key);
// The origName of every represent of the innermost category level: the series names, in
// series order; none for a represent without a name (its series is skipped).
QVector<std::optional<QString>> seriesNames(const QVariantMap& settings);

// The settings row of series `index` under the root's row `listTitle`, or none.
MyConfigItem* seriesRow(MyConfigItem* rootItem, const QString& listTitle, qsizetype index);
// A row's child with the title, or none (also for no row).
MyConfigItem* child(MyConfigItem* row, const QString& title);
// The groups of columns: a series has one column in each group of `series` name tags; no
// group at all when there is no series (a category level without values).
inline qsizetype groupCount(qsizetype nameTagCount, qsizetype series)
{
    return series > 0 ? nameTagCount / series : 0;
}

// The views of a list grouped by the container they belong to, each group in list order
// (creation order), found by the container's name.
template <class View>
class ColumnIndex {
public:
    ColumnIndex() = default;
    explicit ColumnIndex(const QVector<View*>& views)
    {
        // Views of one column are made together, so one lookup per run of views serves.
        QVector<View*>* run = nullptr;
        const QString* runName = nullptr;
        for (View* v : views) {
            if (!runName || v->superviewName != *runName) {
                run = &m_columns[v->superviewName];
                runName = &v->superviewName;
            }
            run->append(v);
        }
    }
    const QVector<View*>& of(const QString& superviewName) const
    {
        const auto it = m_columns.constFind(superviewName);
        return it == m_columns.cend() ? m_none : *it;
    }
    void add(View* v) { m_columns[v->superviewName].append(v); }

private:
    QHash<QString, QVector<View*>> m_columns;
    QVector<View*> m_none;
};

// Calls place(tag, columnRect, baseX) for the column of series `index` in every group, when
// the column has a rectangle and a base x.
template <class Place>
void forEachPlacedColumn(const MyViewManager* vm, qsizetype series, qsizetype index, Place place)
{
    const qsizetype groups = groupCount(vm->nameTags.size(), series);
    for (qsizetype g = 0; g < groups; ++g) {
        const qsizetype k = series * g + index;
        const QString& tag = vm->nameTags[k];
        if (const Rect* column = vm->columnRects.find(tag); column && k < vm->baseXs.size())
            place(tag, *column, vm->baseXs[k]);
    }
}

// The container of a column or box, named after its name tag, in the graph rectangle: made
// with clear colours and no paths the first time, moved (and redrawn when asked) after.
void placeContainer(MyViewManager* vm, const QString& tag, const Rect& frame, const Point& boundsOrigin,
                    const QColor& clear, bool redraw);

// Views added to a group that is already in the view tree join their containers now: the
// tree assembly judges a whole group by its first member.
template <class View>
void joinGroup(MyViewManager* vm, const QVector<View*>& group, const QVector<View*>& added)
{
    if (group.isEmpty() || !group.first()->superview())
        return;
    for (View* v : added)
        if (MyView* container = vm->viewDict.value(v->superviewName))
            container->addSubview(v);
}

} // namespace PlotSteps
