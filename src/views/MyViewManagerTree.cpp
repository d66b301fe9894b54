// The view tree: attaching and detaching element and text views by name after a layout.
#include "views/GraphLayoutSteps.h"
#include "views/MyStorageItem.h"
#include "views/MyTextView.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"

namespace {
// Adds view on top of the container its superviewName names. A name missing from viewDict
// leaves the view detached.
template <typename View>
void attach(MyViewManager& vm, View* view)
{
    if (MyView* container = vm.viewDict.value(view->superviewName))
        container->addSubview(view);
}

template <typename View>
void attachAll(MyViewManager& vm, const QList<View*>& views)
{
    // Members come container by container: each container is looked up once.
    const QString* name = nullptr;
    MyView* container = nullptr;
    for (View* view : views) {
        if (!name || view->superviewName != *name) {
            name = &view->superviewName;
            container = vm.viewDict.value(*name);
        }
        if (container)
            container->addSubview(view);
    }
}

template <typename View>
void detachAll(const QList<View*>& views)
{
    for (View* view : views)
        view->removeFromSuperview();
}

template <typename View>
bool firstAttached(const QList<View*>& views)
{
    return !views.isEmpty() && views.first()->superview() != nullptr;
}

QList<MySimpleTextView*> textViewsOf(const MyViewManager& vm, const MyStorageItem& item)
{
    if (!item.textStorage)
        return {};
    if (vm.ourGraphGenerator)
        return vm.ourGraphGenerator->containersAndViewsWithTextStorage(item.textStorage).views;
    return item.textStorage->textViews();
}

// One text record: shown and detached -> attach all its views; hidden and attached -> detach.
void syncText(MyViewManager& vm, const MyStorageItem& item)
{
    const QList<MySimpleTextView*> views = textViewsOf(vm, item);
    const bool attached = firstAttached(views);
    if (item.visible && !attached)
        attachAll(vm, views);
    else if (!item.visible && attached)
        detachAll(views);
}
}

void MyViewManager::setViews()
{
    // 1. Element groups, bars and median lines excepted when they are to be shown.
    for (const auto& [group, shown] : viewVisible) {
        const QVector<MySimpleView*>* members = viewsDict.find(group);
        if (!members || members->isEmpty())
            continue;
        const bool attached = firstAttached(*members);
        if (shown && !attached) {
            if (group != kBars && group != kMedian)
                attachAll(*this, *members);
        } else if (!shown && attached) {
            detachAll(*members);
        }
    }
    // 2. and 3. Texts, then scale texts.
    for (const auto& [name, item] : storageItemDict)
        if (item)
            syncText(*this, *item);
    for (const auto& item : scalesStorageItem)
        if (item)
            syncText(*this, *item);
    // 4. Bars, each by itself, so they go above everything attached before them.
    if (const QVector<MySimpleView*>* bars = viewsDict.find(kBars)) {
        const bool shown = viewVisible.value(kBars, false);
        for (MySimpleView* bar : *bars) {
            if (shown && !bar->superview())
                attach(*this, bar);
            else if (!shown && bar->superview())
                bar->removeFromSuperview();
        }
    }
    // 5. Median lines are always shown.
    if (const QVector<MySimpleView*>* medians = viewsDict.find(kMedian))
        for (MySimpleView* median : *medians)
            if (!median->superview())
                attach(*this, median);
}

void MyViewManager::placeContainers()
{
    auto place = [this](const QString& name, const QString& containerName) {
        MyView* view = viewDict.value(name);
        MyView* container = viewDict.value(containerName);
        if (view && container)
            container->addSubview(view);
    };
    place(kGraphView, kBackground);
    place(kGraphRect, kGraphView);
    place(kXAxis, kGraphView);
    place(kYAxis, kGraphView);
    for (const QString& tag : nameTags)
        place(columnViewName(tag), kGraphRect);
}
