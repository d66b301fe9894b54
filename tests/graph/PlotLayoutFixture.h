#pragma once
// Dot plots and boxplots laid out by the real generator over hand-made analysis data: the
// frame fixture's settings and tree, with values, statistics and outliers per column.
#include "FrameLayoutFixture.h"
#include "views/MySimpleTextView.h"
#include "views/MySimpleView.h"
#include "views/MyView.h"
#include <functional>
#include <vector>

// A dot plot whose column `tag` holds values(tag) (sorted here), with its mean and median.
std::unique_ptr<FrameLayout> dotPlot(const QList<QStringList>& levels,
                                     const std::function<std::vector<double>(const QString&)>& values);

// One box's statistics; an empty median means a box without values.
struct BoxStats { std::optional<double> median, q1, q3, boxMin, boxMax; std::vector<double> outliers; };
// A boxplot whose box `tag` has plain(tag) on a plain axis and logarithmic(tag) on a
// logarithmic one.
std::unique_ptr<FrameLayout> boxPlot(const QList<QStringList>& levels, const std::function<BoxStats(const QString&)>& plain,
                                     const std::function<BoxStats(const QString&)>& logarithmic);

// The container that holds a column's views.
MyView* containerOf(const MyViewManager& vm, const QString& tag);

// Every view's, text view's and container's frame, by view, for comparing two states.
struct Frames {
    QHash<const void*, Rect> frames;
    QHash<const void*, Point> origins;
    bool operator==(const Frames&) const = default;
    // These frames of the views of `other` alone (views it lacks come out empty).
    Frames of(const Frames& other) const;
};
Frames framesOf(const MyViewManager& vm);
