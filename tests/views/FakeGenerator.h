#pragma once
// A small graph generator for the view tests: records which steps ran, writes the extents it
// is given, and (when asked) lays out a little dot plot with known frames, paths and texts:
// a background, a graph rectangle with two axes, a category text, two scale texts, a
// turned y title, and per column a dots view with dots and a bar.
#include "app/AppDelegate.h"
#include "platform/Font72.h"
#include "views/GraphLayoutSteps.h"
#include "views/MyBaseView.h"
#include "views/MyOutputView.h"
#include "views/MyStorageItem.h"
#include "views/MyTextView.h"
#include "views/MyViewManager.h"
#include <QImage>
#include <QTextCursor>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>

// Readable failures.
inline void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << ", " << r.size.height << ")";
}
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Opaque pixels within tol of c in each channel, in area (the whole image when null).
inline int countNear(const QImage& image, const QColor& c, const QRect& area = QRect(), int tol = 40)
{
    const QRect r = area.isNull() ? image.rect() : area.intersected(image.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += qAlpha(p) > 200 && std::abs(qRed(p) - c.red()) <= tol && std::abs(qGreen(p) - c.green()) <= tol
                 && std::abs(qBlue(p) - c.blue()) <= tol;
        }
    return n;
}

// The largest difference of one colour channel between two images of one size.
inline int maxDifference(const QImage& a, const QImage& b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return most;
}

// A text in a 72-dpi DejaVu Sans of the given size and colour.
inline TextStorage* textIn(QObject* owner, const QString& text, double points, const QColor& color)
{
    auto* storage = new TextStorage(owner);
    QTextCharFormat format;
    format.setFont(Font72::font(FontSpec{"DejaVu Sans", points}));
    format.setForeground(color);
    QTextCursor(storage).insertText(text, format);
    return storage;
}

class FakeGenerator : public GraphLayoutSteps {
public:
    using Map = QVariantMap;
    using VM = MyViewManager;
    using Root = MyConfigRootItem;
    using Ix = QVector<qint64>;
    static inline const QStringList kSteps{"background", "horizontalGaps", "graphRect", "xAxis", "xTexts",
                                           "nameTags", "xTextsRect", "yAxis", "scaleTexts", "scaleTextRects",
                                           "yTitleText", "yTitleTextRect"};

    FakeGenerator()
    {
        for (int i = 0; i < kSteps.size(); ++i)
            configIndexDict.insert(kSteps[i], qint64(1) << i);
    }

    QStringList calls;
    QVariantMap lastSettings;
    qint64 lastMask = 0;
    // Extents the steps leave.
    struct Extents {
        Rect graph, x, xText, y;
        QVector<Rect> scaleTexts;
        Rect yText, yTextRequired;
    } ext;
    Size backgroundSize{400, 300};
    // Lay out views as well.
    bool makeViews = false;
    QStringList columns{"a", "b"};
    QColor textColor = Qt::black;

    void backgroundWithSettings(const Map& s, VM* vm) override
    {
        note("background", s);
        const Rect frame(0, 0, backgroundSize.width, backgroundSize.height);
        if (MyView* bg = vm->viewDict.value(VM::kBackground))
            bg->setFrame(frame);
        else
            vm->viewDict.insert(VM::kBackground, new MyOutputView(frame, {0, 0}, VM::kBackground, VM::kRootView, vm));
        vm->viewColors.insert(VM::kBackground, {QColor(255, 255, 240), QColor(255, 255, 240)});
        vm->viewBeziers.insert(VM::kBackground, {{BezierPath::bezierPathWithRect(frame)}, {}});
        if (auto* root = dynamic_cast<MyBaseView*>(vm->viewDict.value(VM::kRootView))) {
            root->myFrame = frame;
            root->setFrame(frame);
        }
    }
    void horizontalGapsWithSettings(const Map& s, VM*) override { note("horizontalGaps", s); }
    void graphRectWithSettings(const Map& s, VM* vm) override
    {
        note("graphRect", s);
        vm->rGraphRect = ext.graph;
        if (makeViews) {
            vm->graphRect = Rect(0, 0, 200, 100);
            container(vm, VM::kGraphRect, vm->graphRect, VM::kGraphView);
            vm->viewColors.insert(VM::kGraphRect, {QColor(230, 230, 230), Qt::black});
            vm->viewBeziers.insert(VM::kGraphRect, {{BezierPath::bezierPathWithRect(vm->graphRect)}, {}});
        }
    }
    void xAxisWithSettings(const Map& s, VM* vm) override
    {
        note("xAxis", s);
        vm->rXRect = ext.x;
        if (makeViews)
            axis(vm, VM::kXAxis, Rect(-1, -6, 202, 7), {0, 0}, {200, 0});
    }
    void xTextsWithSetIndex(qint64 mask, const Map& s, Root*, VM* vm, const Ix&) override
    {
        note("xTexts", s);
        lastMask = mask;
        if (makeViews && !vm->storageItemDict.contains("c_x\talpha"))
            vm->storageItemDict.insert("c_x\talpha", text(vm, "alpha", "c_x\talpha", Rect(60, -30, 80, 20)));
    }
    void nameTagsWithSetttings(const Map& s, VM* vm) override
    {
        note("nameTags", s);
        if (makeViews)
            vm->nameTags = columns;
    }
    void xTextsRectWithSetttings(const Map& s, VM* vm) override { note("xTextsRect", s); vm->xTextRect = ext.xText; }
    void yAxisWithSettings(const Map& s, VM* vm) override
    {
        note("yAxis", s);
        vm->rYRect = ext.y;
        if (makeViews)
            axis(vm, VM::kYAxis, Rect(-6, -1, 7, 102), {0, 0}, {0, 100});
    }
    void scaleTextsWithSettings(const Map& s, Root*, VM* vm, const QStringList&, const Ix&) override
    {
        note("scaleTexts", s);
        if (makeViews && vm->scalesStorageItem.isEmpty())
            for (const int y : {-6, 94})
                vm->scalesStorageItem << text(vm, y < 0 ? "0" : "10", VM::kScaleText, Rect(-24, y, 18, 12));
    }
    void scaleTextRectsWithSettings(const Map& s, Root*, VM* vm) override
    {
        note("scaleTextRects", s);
        vm->scaleTextRects = ext.scaleTexts;
    }
    void yTitleTextWithSettings(const Map& s, Root*, VM* vm) override
    {
        note("yTitleText", s);
        const QString title = "graphProperties\tyAxis\tyTitle";
        if (makeViews && !vm->storageItemDict.contains(title))
            vm->storageItemDict.insert(title, text(vm, "Value", title, Rect(-30, 20, 60, 20)));
    }
    void yTitleTextRectWithSettings(const Map& s, VM* vm) override
    {
        note("yTitleTextRect", s);
        vm->yTextRect = ext.yText;
        vm->yTextRequiredRect = ext.yTextRequired;
        if (const auto item = vm->storageItemDict.value("graphProperties\tyAxis\tyTitle"); item && makeViews)
            for (MySimpleTextView* v : item->textStorage->textViews())
                v->setFrameRotation(90);
    }
    void setScatterWithSetIndex(qint64 mask, const QStringList&, const Ix&, const Map& s, Root*, VM* vm) override
    {
        note("scatter", s);
        lastMask = mask;
        if (makeViews)
            dots(vm);
    }
    void setBoxWithSetIndex(qint64 mask, const QStringList&, const Ix&, const Map& s, Root*, VM*) override
    {
        note("box", s);
        lastMask = mask;
    }

    // The dots of each column: three red dots and a blue bar over them.
    void dots(VM* vm)
    {
        if (vm->viewsDict.contains("dot\tv"))
            return;
        vm->viewBezier.insert("dot\tv", BezierPath::bezierPathWithOvalInRect(Rect(-3, -3, 6, 6)));
        vm->viewColors.insert("dot\tv", {Qt::red, Qt::red});
        BezierPath bar;
        bar.moveToPoint({-20, 0});
        bar.lineToPoint({20, 0});
        bar.setLineWidth(2);
        vm->viewBezier.insert(VM::kBars, bar);
        vm->viewColors.insert(VM::kBars, {Qt::blue, Qt::blue});
        for (int c = 0; c < columns.size(); ++c) {
            const QString column = VM::columnViewName(columns[c]);
            container(vm, column, Rect(100.0 * c, 0, 100, 100), VM::kGraphRect, Point{-50, 0});
            for (int y : {20, 45, 70})
                vm->viewsDict["dot\tv"] << new MySimpleView("dot\tv", column, vm, Rect(-4, y, 8, 8), {-4, -4});
            vm->viewsDict[VM::kBars] << new MySimpleView(VM::kBars, column, vm, Rect(-25, 44, 50, 2), {-25, -1});
        }
        for (const QString& name : {QStringLiteral("dot\tv"), VM::kBars}) {
            vm->viewVisible.insert(name, true);
            vm->viewSelected.insert(name, false);
        }
    }

private:
    void note(const QString& step, const Map& settings) { calls << step; lastSettings = settings; }
    static void container(VM* vm, const QString& name, const Rect& frame, const QString& superview, Point origin = {})
    {
        if (!vm->viewDict.contains(name))
            vm->viewDict.insert(name, new MyView(frame, origin, name, superview, vm));
        vm->viewBeziers[name];
        if (!vm->viewColors.contains(name))
            vm->viewColors.insert(name, {QColor(0, 0, 0, 0), QColor(0, 0, 0, 0)});
    }
    static void axis(VM* vm, const QString& name, const Rect& frame, Point from, Point to)
    {
        container(vm, name, frame, VM::kGraphView, frame.origin);
        BezierPath line;
        line.moveToPoint(from);
        line.lineToPoint(to);
        vm->viewBeziers.insert(name, {{}, {line}});
        vm->viewColors.insert(name, {Qt::black, Qt::black});
    }
    std::shared_ptr<MyStorageItem> text(VM* vm, const QString& s, const QString& name, const Rect& frame)
    {
        TextStorage* storage = textIn(vm, s, 12, textColor);
        new MyTextView(frame, storage, name, VM::kGraphView, vm);
        return std::make_shared<MyStorageItem>(storage, nullptr, nullptr);
    }
};

// A dot plot of the given columns laid out whole by the fake generator, its background in
// the base view as a graph window has it.
struct FakeGraph {
    AppDelegate delegate;
    FakeGenerator g;
    std::unique_ptr<MyViewManager> vm;

    explicit FakeGraph(const QStringList& columns = {"a", "b"})
    {
        g.makeViews = true;
        g.columns = columns;
        g.ext = {Rect(0, 0, 200, 100), Rect(-1, -6, 202, 7), Rect(60, -30, 80, 20), Rect(-6, -1, 7, 102),
                 {Rect(-20, -6, 14, 12), Rect(-20, 94, 14, 12)}, Rect(-30, 20, 20, 60), Rect(-50, 20, 20, 60)};
        delegate.ourGraphGenerator = &g;
        MyAnalysisData data;
        data.graphType = "scatter";
        vm = std::make_unique<MyViewManager>(data, nullptr, nullptr);
        vm->installRootView(new MyBaseView);
        vm->runLayout(-1, {}, {}, {}, nullptr);
        vm->viewDict.value(MyViewManager::kRootView)->addSubview(vm->viewDict.value(MyViewManager::kBackground));
        vm->placeContainers();
    }
    MyOutputView* output(const QString& name) { return dynamic_cast<MyOutputView*>(vm->viewDict.value(name)); }
};
