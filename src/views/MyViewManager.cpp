#include "views/MyViewManager.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "views/GraphItem.h"
#include "views/MyBaseView.h"
#include "views/MyOutputView.h"
#include "views/MyStorageItem.h"
#include "windows/MyWindowController.h"
#include <algorithm>

const QString MyViewManager::kRootView = QStringLiteral("rootView");
const QString MyViewManager::kGraphView = QStringLiteral("graphView");
const QString MyViewManager::kBackground = QStringLiteral("graphProperties\tbackground");
const QString MyViewManager::kGraphRect = QStringLiteral("graphProperties\tgraphRect");
const QString MyViewManager::kXAxis = QStringLiteral("graphProperties\txAxis");
const QString MyViewManager::kYAxis = QStringLiteral("graphProperties\tyAxis");
const QString MyViewManager::kBars = QStringLiteral("graphProperties\tbars");
const QString MyViewManager::kMedian = QStringLiteral("graphProperties\tboxes\tmedian");
const QString MyViewManager::kScaleText = QStringLiteral("graphProperties\tyAxis\tscaleText");

namespace {
AppDelegate* delegateOf(Document* doc) { return doc ? doc->ourDelegate() : AppDelegate::shared(); }
GraphLayoutSteps* generatorOf(Document* doc)
{
    AppDelegate* delegate = delegateOf(doc);
    return delegate ? delegate->ourGraphGenerator : nullptr;
}
}

MyViewManager::MyViewManager(const QString& graphType, const QHash<QString, std::vector<double>>& values,
                             const QHash<QString, BoxValuesDict>& graphDescriptives,
                             const QHash<QString, std::vector<double>>& outliers,
                             const QHash<QString, BoxValuesDict>& graphLogDescriptives,
                             const QHash<QString, std::vector<double>>& logOutliers,
                             const QHash<QString, qint64>& numbers, const QHash<QString, DescriptivesDict>& descriptives,
                             const QHash<QString, DescriptivesDict>& logDescriptives, const QStringList& singleTags,
                             const std::vector<double>& minMax, MyWindowController* myWindowCont, Document* myDoc)
    : QObject(myWindowCont), graphType(graphType), values(values), graphDescriptives(graphDescriptives),
      graphLogDescriptives(graphLogDescriptives), minMax(minMax), outliers(outliers), logOutliers(logOutliers),
      numbers(numbers), descriptives(descriptives), logDescriptives(logDescriptives), singleTags(singleTags),
      ourDelegate(delegateOf(myDoc)), ourGraphGenerator(generatorOf(myDoc)), myDoc(myDoc), myWindowCont(myWindowCont)
{
    // The two fixed containers draw nothing of their own.
    const QColor clear = QColor::fromRgbF(1, 1, 1, 0);
    viewColors.insert(kRootView, {clear, clear});
    viewColors.insert(kGraphView, {clear, clear});
    viewBeziers.insert(kRootView, {});
    viewBeziers.insert(kGraphView, {});
    // Views are few hundred containers and many small element views: an index costs more
    // than it saves.
    m_scene.setItemIndexMethod(QGraphicsScene::NoIndex);
}

MyViewManager::MyViewManager(const MyAnalysisData& d, MyWindowController* myWindowCont, Document* myDoc)
    : MyViewManager(d.graphType, d.values, d.graphDescriptives, d.outliers, d.graphLogDescriptives, d.logOutliers,
                    d.numbers, d.descriptives, d.logDescriptives, d.singleTags, d.minMax, myWindowCont, myDoc)
{
    tagTexts = d.tagTexts;
}

MyViewManager::~MyViewManager()
{
    // Qt takes an item off a scene or out of a container by searching a list of them all:
    // views taken down one by one would cost time quadratic in the dots. Qt's own teardown
    // is linear: clearing the scene empties its item list first and then deletes the top
    // of each tree, and a deleted item deletes its children from the front of their list.
    // So every tree is deleted through its top: the scene's trees by the scene, detached
    // trees here, views held by an item that is not ours first let go.
    std::vector<GraphItem*> views;
    views.swap(m_ownedViews);
    for (GraphItem* view : views) {
        view->m_owner = nullptr;
        view->m_tearingDown = true;
    }
    std::vector<GraphItem*> tops;
    for (GraphItem* view : views) {
        QGraphicsItem* top = view->topLevelItem();
        if (top->scene() == &m_scene)
            continue;
        if (top == view) {
            tops.push_back(view);
        } else if (auto* owner = dynamic_cast<GraphItem*>(top); !owner || !owner->m_tearingDown) {
            view->setParentItem(nullptr);
            tops.push_back(view);
        }
    }
    m_scene.clear();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        delete *it;
}

QString MyViewManager::columnViewName(const QString& nameTag) { return QStringLiteral("column\t") + nameTag; }

void MyViewManager::adoptView(GraphItem* view)
{
    if (!view || view->m_owner == this)
        return;
    view->m_owner = this;
    m_ownedViews.push_back(view);
}

void MyViewManager::forgetView(GraphItem* view)
{
    const auto it = std::find(m_ownedViews.rbegin(), m_ownedViews.rend(), view);
    if (it != m_ownedViews.rend())
        m_ownedViews.erase(std::next(it).base());
}

MyViewManager::ElementStyle MyViewManager::elementStyle(const QString& name)
{
    const quint64 pass = GraphItem::renderPass();
    if (pass && pass == m_stylePass && name == m_styleName)
        return m_style;
    m_style = {viewColors.find(name), viewBezier.find(name), viewSelected.value(name, false)};
    m_stylePass = pass;
    m_styleName = name;
    return m_style;
}

void MyViewManager::installRootView(MyBaseView* root)
{
    if (!root)
        return;
    root->name = kRootView;
    root->viewManager = this;
    adoptView(root);
    viewDict.insert(kRootView, root);
    if (root->scene() != &m_scene) {
        root->removeFromSuperview();
        m_scene.addItem(root);
    }
}

void MyViewManager::selectView(const QStringList& names)
{
    for (auto& [name, view] : viewDict) {
        if (!view)
            continue;
        if (names.contains(name)) {
            if (!view->selected) {
                view->selected = true;
                view->setNeedsDisplay(true);
            }
        } else if (selectedViews.contains(name) && view->selected) {
            view->selected = false;
            view->setNeedsDisplay(true);
        }
    }
    for (auto& [name, flag] : viewSelected) {
        const bool wanted = names.contains(name);
        if (wanted == flag)
            continue;
        flag = wanted;
        if (const auto* members = viewsDict.find(name))
            for (MySimpleView* member : *members)
                member->setNeedsDisplay(true);
    }
    selectedViews = names;
}
