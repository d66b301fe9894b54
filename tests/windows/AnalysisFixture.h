#pragma once
// A started application with one document whose main window is driven offscreen: the table
// imported through the table window, analyses built by pressing the selector outline's
// buttons and typing into its cells, alerts and questions answered from a script.
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "common/KeyWindow.h"
#include "common/OnScreen.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "graph/MyGraphGenerator.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "platform/NumberText.h"
#include "common/QtWarnings.h"
#include "platform/PropertyList.h"
#include "table/MyTableView.h"
#include "views/MyStorageItem.h"
#include "views/MyTextView.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MyOutlineModel.h"
#include "windows/MySettingController.h"
#include "windows/MyStatsTableView.h"
#include "windows/MyStepper.h"
#include "windows/MyWindowController.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPdfDocument>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
// Settings as their property-list text.
inline void PrintTo(const QVariant& v, std::ostream* os) { *os << PropertyList::toXml(QVariantMap{{"value", v}}).toStdString(); }
inline void PrintTo(const QStringList& list, std::ostream* os) { *os << "{\n  \"" << list.join("\"\n  \"").toStdString() << "\"\n}"; }

// Five rows: two data columns (one cell empty), two categorizing columns, one of text only.
inline const QByteArray kSampleTable = "Height,Weight,Sex,Site,Note\n"
                                       "170,60,M,north,a\n"
                                       "160,55,F,south,b\n"
                                       "180,80,M,north,c\n"
                                       "165,,F,east,d\n"
                                       "175,70,M,south,e\n";

// A value inside maps and lists by keys; "#n" takes the n-th element of a list.
inline QVariant dig(QVariant v, const QStringList& path)
{
    for (const QString& k : path)
        v = k.startsWith('#') ? v.toList().value(k.mid(1).toInt()) : v.toMap().value(k);
    return v;
}

// A PDF file read back: its first page rendered at two pixels a point, and its text.
struct PdfPage {
    static constexpr double kScale = 2;
    QPdfDocument pdf;
    int pages = 0;
    QSizeF size;
    QImage image;
    QString text;

    explicit PdfPage(const QString& path)
    {
        if (pdf.load(path) != QPdfDocument::Error::None || pdf.pageCount() < 1)
            return;
        pages = pdf.pageCount();
        size = pdf.pagePointSize(0);
        image = pdf.render(0, (size * kScale).toSize()).convertToFormat(QImage::Format_ARGB32);
        text = pdf.getAllText(0).text();
    }
    // Where a text is drawn (points, y down); empty when it is not there.
    QRectF whereIs(const QString& needle)
    {
        const qsizetype at = text.indexOf(needle);
        return at < 0 ? QRectF() : pdf.getSelectionAtIndex(0, int(at), int(needle.size())).boundingRectangle();
    }
    // The pixel of a point (points, y down).
    static QPoint pixel(QPointF p) { return QPoint(int(std::floor(p.x() * kScale)), int(std::floor(p.y() * kScale))); }
    QRgb colourAt(QPointF p) const { return image.pixel(pixel(p)); }
    // Ink (dark and opaque) at a point, or within reach of it across.
    bool inkAt(QPointF p, double reach = 0) const
    {
        for (double dx = -reach; dx <= reach; dx += 0.5)
            if (const QPoint px = pixel(p + QPointF(dx, 0)); image.rect().contains(px))
                if (const QRgb c = image.pixel(px); qAlpha(c) > 128 && qGray(c) < 160)
                    return true;
        return false;
    }
};

// Pixels whose colour differs clearly, out of all.
inline double differingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 differing = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            differing += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q))
                             + std::abs(qAlpha(p) - qAlpha(q))
                         > 60;
        }
    return double(differing) / (double(x.width()) * x.height());
}

class AnalysisFixture : public ::testing::Test {
protected:
    QtWarnings warnings;
    ScopedScriptedDialogs scripted;
    AppDelegate delegate;
    MyGraphGenerator generator;
    MySettingController settings;
    std::unique_ptr<DocumentController> controller;
    QTemporaryDir dir;
    Document* doc = nullptr;

    void SetUp() override
    {
        delegate.defaultsSource = DefaultsStore();
        delegate.ourGraphGenerator = &generator;
        ASSERT_TRUE(delegate.finishLaunching());
        generator.setConfigIndexDict(delegate.configIndexDict);
        // As the application records it at launch.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        delegate.mainscreenFrame = Rect(0, 0, screen.width(), screen.height());
        delegate.settingCont = &settings;
        MyDocumentAnalyses::registerHooks();
        MyViewManager::registerHooks();
        MyDocumentWindows::install();
        controller = std::make_unique<DocumentController>(Document::factory(&delegate));
        doc = static_cast<Document*>(controller->newDocument());
    }
    void TearDown() override
    {
        controller.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DocumentHooks::shared() = DocumentHooks();
        MySelectorRootItem::hooks() = MySelectorRootItem::Hooks();
        MyDocumentAnalyses::makeGraphWindows() = nullptr;
        EXPECT_EQ(warnings.take(), QStringList()) << "Qt warned";
    }

    // A file of the temporary folder with these bytes; its path.
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
        f.write(bytes);
        return f.fileName();
    }
    // The table of a CSV text, imported through the table window.
    void import(const QByteArray& csv)
    {
        doc->baseWindowCont->editDataTableTapped(1);
        scripted.dialogs.files.push_back(write("table.csv", csv));
        doc->tableWindowCont->importTable();
    }

    MyWindowController* main() const { return doc->baseWindowCont; }
    // Brings a window to the front as the key window.
    static void front(MyWindowController* c) { ASSERT_TRUE(makeKeyWindow(c->window())); }
    // A command of a window's menus by its text; nullptr when there is none.
    static QAction* command(MyWindowController* c, const QString& text)
    {
        for (QAction* menu : c->window()->menuBar()->actions())
            for (QAction* a : menu->menu() ? menu->menu()->actions() : QList<QAction*>())
                if (a->text() == text)
                    return a;
        return nullptr;
    }
    QTreeView* outline() const { return main()->docOlV; }
    MyOutlineModel* model() const { return qobject_cast<MyOutlineModel*>(outline()->model()); }
    MySelectorRootItem* root() const { return static_cast<MySelectorRootItem*>(main()->rootItem); }
    MySelectorItem* analysis(int i) const { return root()->selectorChildAt(i); }
    // The row below an analysis at the child positions given.
    static MySelectorItem* at(MySelectorItem* item, std::initializer_list<int> path)
    {
        for (int p : path)
            item = item ? item->selectorChildAt(p) : nullptr;
        return item;
    }
    // Where a cell of an outline shows, scrolled to; the rows above up to top expanded first.
    static QPoint centreIn(QTreeView* view, MyOutlineItem* item, int column, MyOutlineItem* top = nullptr)
    {
        auto* m = qobject_cast<MyOutlineModel*>(view->model());
        for (MyOutlineItem* up = item->parentItem(); top && up && up != top; up = up->parentItem())
            view->expand(m->indexOf(up));
        const QModelIndex index = m->indexOf(item, column);
        view->scrollTo(index);
        return view->visualRect(index).center();
    }
    QPoint centre(MyOutlineItem* item, int column) const { return centreIn(outline(), item, column); }
    // Far enough from the last click not to make a double click with it.
    static int apart() { return QApplication::doubleClickInterval() + 50; }
    // A click on a cell: presses its button or check box.
    void press(MyOutlineItem* item, int column)
    {
        QTest::mouseClick(outline()->viewport(), Qt::LeftButton, {}, centre(item, column), apart());
        QCoreApplication::processEvents();
    }
    // Double-clicks a text cell and types into its editor; false when no editor opened.
    bool type(MyOutlineItem* item, int column, const QString& text) { return typeAt(outline(), centre(item, column), text); }
    // The same in any outline, at a point of its viewport.
    static bool typeAt(QTreeView* outline, const QPoint& at, const QString& text)
    {
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, at, apart());
        QTest::mouseDClick(outline->viewport(), Qt::LeftButton, {}, at, apart());
        auto* editor = outline->viewport()->findChild<QLineEdit*>();
        if (!editor || !editor->isVisible())
            return false;
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits from a queued call, which hands the text on in another.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    }

    // A row of a graph window's settings outline by titles; "#n" takes the n-th element.
    static MyConfigItem* settingsRow(MyWindowController* g, const QStringList& path)
    {
        MyConfigItem* r = static_cast<MyConfigRootItem*>(g->rootItem);
        for (const QString& step : path)
            r = r ? (step.startsWith('#') ? r->configChildAt(step.mid(1).toInt()) : r->childTitle(step)) : nullptr;
        EXPECT_TRUE(r) << path.join('/').toStdString();
        return r;
    }
    // Double-clicks the value cell of a settings row and types; false when no editor opens.
    static bool typeInSettings(MyWindowController* g, const QStringList& path, const QString& text)
    {
        return typeAt(g->configOlv, centreIn(g->configOlv, settingsRow(g, path), 1, g->rootItem), text);
    }
    // The text view that shows a scale label of a graph.
    static MyTextView* labelView(MyViewManager* vm, MyConfigItem* label)
    {
        for (const auto& record : vm->scalesStorageItem)
            if (record->textItem == label)
                return dynamic_cast<MyTextView*>(record->textStorage->textViews().value(0));
        return nullptr;
    }
    void newAnalysis() { main()->window()->findChild<QPushButton*>("buNewAnalysis")->click(); }
    // Selects a title in the main window's column list, then at once presses "Add a column"
    // of a group: the first click on the button acts.
    void addColumn(MySelectorItem* group, const QString& title)
    {
        QTableView* list = main()->docTV;
        const QModelIndex index = list->model()->index(int(doc->variables.indexOf(title)), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QTest::mouseClick(outline()->viewport(), Qt::LeftButton, {}, centre(group, 2));
        QCoreApplication::processEvents();
    }
    // An analysis made through the outline: its data and categorizing columns, then "Graph".
    MySelectorItem* makeAnalysis(const QString& title, const QStringList& data, const QStringList& categorizing,
                                 const QString& graphType = "scatter")
    {
        newAnalysis();
        MySelectorItem* a = analysis(root()->childCount() - 1);
        type(a, 0, title);
        if (graphType != "scatter")
            type(at(a, {0}), 1, graphType);
        for (const QString& d : data)
            addColumn(at(a, {1}), d);
        for (const QString& c : categorizing)
            addColumn(at(a, {2}), c);
        press(a, 4);
        return a;
    }

    // Every row of the outline as "<indent><column 0> | <column 1>", check state appended at
    // level 3.
    QStringList rows() const
    {
        QStringList out;
        std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent, int level) {
            for (int r = 0; r < model()->rowCount(parent); ++r) {
                const QModelIndex i = model()->index(r, 0, parent);
                QString line = QString(level * 2, ' ') + i.data().toString() + " | " + i.siblingAtColumn(1).data().toString();
                if (level >= 3)
                    line += i.siblingAtColumn(3).data(MyOutlineModel::ValueRole).toBool() ? " [x]" : " [ ]";
                out << line;
                walk(i, level + 1);
            }
        };
        walk(QModelIndex(), 0);
        return out;
    }
    // The dressing of columns 2 to 5: "<title>+" (enabled) or "<title>-" (disabled) for a
    // button or check box that shows, "." for an empty cell.
    QString look(MyOutlineItem* item) const
    {
        QStringList cells;
        for (int c = 2; c <= 5; ++c) {
            const OutlineCell cell = main()->outlineViewWillDisplayCell(outline(), QString::number(c), item);
            const bool shows = cell.kind == OutlineCell::Button ? cell.bordered : !cell.transparent;
            cells << (shows ? cell.title + (cell.enabled ? "+" : "-") : QString("."));
        }
        return cells.join(' ');
    }
    QVector<qint64> counters() const { return doc->columnCounter; }
    int steps() const { return doc->undoManager()->stack()->count(); }
    // The alerts shown, without the graph's range alert: a dot at an end of the value axis
    // reaches half outside the graph, which the graph tests check on their own.
    QStringList alerts() const
    {
        QStringList shown = scripted.dialogs.alerts;
        shown.removeAll(QStringLiteral("Some objects (dots or bars) are outside the rectangle of the graph."));
        return shown;
    }
};
