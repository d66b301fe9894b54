#pragma once
// A small graph generator for the view tests: records which steps ran, writes the extents it
// is given, and (when asked) lays out a little dot plot with known frames, paths and texts:
// a background, a graph rectangle with two axes, a category text, two scale texts, a
// turned y title, and per column a dots view with dots and a bar.
#include "platform/Font72.h"
#include "views/GraphLayoutSteps.h"
#include "views/MyBaseView.h"
#include "views/MyOutputView.h"
#include "views/MyStorageItem.h"
#include "views/MyTextView.h"
#include "views/MyViewManager.h"
#include <QTextCursor>
#include <ostream>

// Readable failures.
inline void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << ", " << r.size.height << ")";
}
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class FakeGenerator : public GraphLayoutSteps {
public:
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
    Rect rGraphRect, rXRect, xTextRect, rYRect, yTextRect, yTextRequiredRect;
    QVector<Rect> scaleTextRects;
    Size backgroundSize{400, 300};
    // Lay out views as well.
    bool makeViews = false;
    QStringList columns{"a", "b"};
    QColor textColor = Qt::black;

    void backgroundWithSettings(const QVariantMap& settings, MyViewManager* vm) override
    {
        note("background", settings);
        const Rect frame(0, 0, backgroundSize.width, backgroundSize.height);
        MyView* bg = vm->viewDict.value(MyViewManager::kBackground);
        if (bg)
            bg->setFrame(frame);
        else
            vm->viewDict.insert(MyViewManager::kBackground, bg = new MyOutputView(frame, {0, 0}, MyViewManager::kBackground,
                                                                                 MyViewManager::kRootView, vm));
        vm->viewColors.insert(MyViewManager::kBackground, {QColor(255, 255, 240), QColor(255, 255, 240)});
        vm->viewBeziers.insert(MyViewManager::kBackground, {{BezierPath::bezierPathWithRect(frame)}, {}});
        if (auto* root = dynamic_cast<MyBaseView*>(vm->viewDict.value(MyViewManager::kRootView))) {
            root->myFrame = frame;
            root->setFrame(frame);
        }
    }
    void horizontalGapsWithSettings(const QVariantMap& settings, MyViewManager*) override { note("horizontalGaps", settings); }
    void graphRectWithSettings(const QVariantMap& settings, MyViewManager* vm) override
    {
        note("graphRect", settings);
        vm->rGraphRect = rGraphRect;
        if (makeViews) {
            vm->graphRect = Rect(0, 0, 200, 100);
            container(vm, MyViewManager::kGraphRect, vm->graphRect, MyViewManager::kGraphView);
            vm->viewColors.insert(MyViewManager::kGraphRect, {QColor(230, 230, 230), Qt::black});
            vm->viewBeziers.insert(MyViewManager::kGraphRect, {{BezierPath::bezierPathWithRect(vm->graphRect)}, {}});
        }
    }
    void xAxisWithSettings(const QVariantMap& settings, MyViewManager* vm) override
    {
        note("xAxis", settings);
        vm->rXRect = rXRect;
        if (makeViews)
            axis(vm, MyViewManager::kXAxis, Rect(-1, -6, 202, 7), {0, 0}, {200, 0});
    }
    void xTextsWithSetIndex(qint64 setIndex, const QVariantMap& settings, MyConfigRootItem*, MyViewManager* vm,
                            const QVector<qint64>&) override
    {
        note("xTexts", settings);
        lastMask = setIndex;
        if (makeViews && !vm->storageItemDict.contains("c_x\talpha"))
            vm->storageItemDict.insert("c_x\talpha", text(vm, "alpha", "c_x\talpha", Rect(60, -30, 80, 20)));
    }
    void nameTagsWithSetttings(const QVariantMap& settings, MyViewManager* vm) override
    {
        note("nameTags", settings);
        if (makeViews)
            vm->nameTags = columns;
    }
    void xTextsRectWithSetttings(const QVariantMap& settings, MyViewManager* vm) override
    {
        note("xTextsRect", settings);
        vm->xTextRect = xTextRect;
    }
    void yAxisWithSettings(const QVariantMap& settings, MyViewManager* vm) override
    {
        note("yAxis", settings);
        vm->rYRect = rYRect;
        if (makeViews)
            axis(vm, MyViewManager::kYAxis, Rect(-6, -1, 7, 102), {0, 0}, {0, 100});
    }
    void scaleTextsWithSettings(const QVariantMap& settings, MyConfigRootItem*, MyViewManager* vm,
                                const QStringList&, const QVector<qint64>&) override
    {
        note("scaleTexts", settings);
        if (makeViews && vm->scalesStorageItem.isEmpty())
            for (const QString& label : {"0", "10"})
                vm->scalesStorageItem << text(vm, label, "graphProperties\tyAxis\tscaleText",
                                              Rect(-24, label == "0" ? -6 : 94, 18, 12));
    }
    void scaleTextRectsWithSettings(const QVariantMap& settings, MyConfigRootItem*, MyViewManager* vm) override
    {
        note("scaleTextRects", settings);
        vm->scaleTextRects = scaleTextRects;
    }
    void yTitleTextWithSettings(const QVariantMap& settings, MyConfigRootItem*, MyViewManager* vm) override
    {
        note("yTitleText", settings);
        if (makeViews && !vm->storageItemDict.contains("graphProperties\tyAxis\tyTitle"))
            vm->storageItemDict.insert("graphProperties\tyAxis\tyTitle",
                                       text(vm, "Value", "graphProperties\tyAxis\tyTitle", Rect(-30, 20, 60, 20)));
    }
    void yTitleTextRectWithSettings(const QVariantMap& settings, MyViewManager* vm) override
    {
        note("yTitleTextRect", settings);
        vm->yTextRect = yTextRect;
        vm->yTextRequiredRect = yTextRequiredRect;
        if (makeViews)
            if (const auto item = vm->storageItemDict.value("graphProperties\tyAxis\tyTitle"))
                for (MySimpleTextView* v : item->textStorage->textViews())
                    v->setFrameRotation(90);
    }
    void setScatterWithSetIndex(qint64 setIndex, const QStringList&, const QVector<qint64>&, const QVariantMap& settings,
                                MyConfigRootItem*, MyViewManager* vm) override
    {
        note("scatter", settings);
        lastMask = setIndex;
        if (makeViews)
            dots(vm);
    }
    void setBoxWithSetIndex(qint64 setIndex, const QStringList&, const QVector<qint64>&, const QVariantMap& settings,
                            MyConfigRootItem*, MyViewManager*) override
    {
        note("box", settings);
        lastMask = setIndex;
    }

    // The dots of each column: three red dots and a blue bar over them.
    void dots(MyViewManager* vm)
    {
        if (vm->viewsDict.contains("dot\tv"))
            return;
        vm->viewBezier.insert("dot\tv", BezierPath::bezierPathWithOvalInRect(Rect(-3, -3, 6, 6)));
        vm->viewColors.insert("dot\tv", {Qt::red, Qt::red});
        BezierPath bar;
        bar.moveToPoint({-20, 0});
        bar.lineToPoint({20, 0});
        bar.setLineWidth(2);
        vm->viewBezier.insert(MyViewManager::kBars, bar);
        vm->viewColors.insert(MyViewManager::kBars, {Qt::blue, Qt::blue});
        for (int c = 0; c < columns.size(); ++c) {
            const QString column = MyViewManager::columnViewName(columns[c]);
            container(vm, column, Rect(100.0 * c, 0, 100, 100), MyViewManager::kGraphRect, Point{-50, 0});
            for (int i = 0; i < 3; ++i)
                vm->viewsDict["dot\tv"] << new MySimpleView("dot\tv", column, vm, Rect(-4, 20.0 + 25 * i, 8, 8), {-4, -4});
            vm->viewsDict[MyViewManager::kBars] << new MySimpleView(MyViewManager::kBars, column, vm,
                                                                    Rect(-25, 44, 50, 2), {-25, -1});
        }
        vm->viewVisible.insert("dot\tv", true);
        vm->viewSelected.insert("dot\tv", false);
        vm->viewVisible.insert(MyViewManager::kBars, true);
        vm->viewSelected.insert(MyViewManager::kBars, false);
    }

private:
    void note(const QString& step, const QVariantMap& settings)
    {
        calls << step;
        lastSettings = settings;
    }
    static MyView* container(MyViewManager* vm, const QString& name, const Rect& frame, const QString& superview,
                             Point origin = {0, 0})
    {
        MyView* v = vm->viewDict.value(name);
        if (!v)
            vm->viewDict.insert(name, v = new MyView(frame, origin, name, superview, vm));
        vm->viewBeziers[name];
        if (!vm->viewColors.contains(name))
            vm->viewColors.insert(name, {QColor(0, 0, 0, 0), QColor(0, 0, 0, 0)});
        return v;
    }
    static void axis(MyViewManager* vm, const QString& name, const Rect& frame, Point from, Point to)
    {
        container(vm, name, frame, MyViewManager::kGraphView, frame.origin);
        BezierPath line;
        line.moveToPoint(from);
        line.lineToPoint(to);
        vm->viewBeziers.insert(name, {{}, {line}});
        vm->viewColors.insert(name, {Qt::black, Qt::black});
    }
    std::shared_ptr<MyStorageItem> text(MyViewManager* vm, const QString& s, const QString& name, const Rect& frame)
    {
        auto* storage = new TextStorage(vm);
        QTextCharFormat format;
        format.setFont(Font72::font(FontSpec{"DejaVu Sans", 12}));
        format.setForeground(textColor);
        QTextCursor(storage).insertText(s, format);
        new MyTextView(frame, storage, name, MyViewManager::kGraphView, vm);
        return std::make_shared<MyStorageItem>(storage, nullptr, nullptr);
    }
};
