// The graph as PDF: the package's graph PDF, copy and export, read back with QtPdf.
#include "FakeGenerator.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "platform/Dialogs.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPdfDocument>
#include <QProcess>
#include <QTemporaryDir>

namespace {
struct ReadBack {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QPdfDocument pdf;
    explicit ReadBack(const QByteArray& data) : bytes(data)
    {
        buffer.open(QIODevice::ReadOnly);
        pdf.load(&buffer);
    }
    QSizeF pageSize() { return pdf.pagePointSize(0); }
    // The text poppler reads from the page.
    QString text()
    {
        QProcess reader;
        reader.start("pdftotext", {"-", "-"});
        reader.write(bytes);
        reader.closeWriteChannel();
        reader.waitForFinished();
        return QString::fromUtf8(reader.readAllStandardOutput());
    }
    QImage image() { return pdf.render(0, pageSize().toSize()); }
};

int cyanPixels(const QImage& image) { return countNear(image, QColor(0, 255, 255), QRect(), 55); }
int redPixels(const QImage& image) { return countNear(image, QColor(255, 0, 0), QRect(), 55); }

// Locks the folder against new entries (chmod; for root the immutable flag) or opens it
// again; whether it refuses one now.
bool lock(const QString& dir, bool on)
{
    const auto owner = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    QFile::setPermissions(dir, on ? owner : owner | QFileDevice::WriteOwner);
    QProcess::execute("chattr", {on ? "+i" : "-i", dir});
    QFile probe(dir + "/probe");
    const bool writable = probe.open(QIODevice::WriteOnly);
    probe.remove();
    return !writable;
}
}

// The package's graph PDF: one page of the background's size, every text once and as text,
// dots drawn, no selection frame, and the selection back as it was afterwards.
TEST(GraphOutput, GraphPdfIsTheBackgroundWithoutSelection)
{
    FakeGraph graph;
    const QStringList selection{"graphView", "dot\tv", MyViewManager::kYAxis};
    graph.vm->selectView(selection);
    ASSERT_GT(cyanPixels(GraphItem::image(graph.output(MyViewManager::kBackground))), 0);

    ReadBack pdf(graph.vm->graphPDF());
    ASSERT_EQ(pdf.pdf.pageCount(), 1);
    EXPECT_EQ(pdf.pageSize(), QSizeF(400, 300));
    const QString text = pdf.text();
    for (const char* word : {"alpha", "Value", "10"})
        EXPECT_EQ(text.count(QLatin1String(word)), 1) << word << " in " << text.toStdString();
    const QImage image = pdf.image();
    EXPECT_EQ(cyanPixels(image), 0);
    EXPECT_GT(redPixels(image), 6 * 20) << "six dots";

    EXPECT_EQ(graph.vm->selectedViews, selection);
    EXPECT_TRUE(graph.vm->viewSelected.value("dot\tv"));
    EXPECT_TRUE(graph.vm->viewDict.value(MyViewManager::kYAxis)->selected);
    EXPECT_TRUE(graph.vm->viewDict.value(MyViewManager::kGraphView)->selected);
}

// The package asks the document's hook for graph i's PDF: the graph window's view manager
// draws it; no window, or a graph not laid out yet (fewer than two views), gives none.
TEST(GraphOutput, TheDocumentHookGivesEachGraphsPdf)
{
    FakeGraph graph;
    MyViewManager bare(MyAnalysisData(), nullptr, nullptr);
    bare.installRootView(new MyBaseView);
    Document doc(&graph.delegate);
    MyWindowController laidOut(QStringLiteral("GraphWindowD")), empty(QStringLiteral("GraphWindowD"));
    laidOut.viewManager = graph.vm.get();
    empty.viewManager = &bare;
    doc.graphWindowConts = {&laidOut, &empty, nullptr};
    const DocumentHooks saved = DocumentHooks::shared();
    MyViewManager::registerHooks();
    const auto& hook = DocumentHooks::shared().graphPDF;
    EXPECT_EQ(ReadBack(hook(doc, 0)).pageSize(), QSizeF(400, 300));
    for (int id : {1, 2, 3, -1})
        EXPECT_TRUE(hook(doc, id).isEmpty()) << id;
    DocumentHooks::shared() = saved;
}

// Copy puts only the PDF of "graphView" on the clipboard, from either output view.
TEST(GraphOutput, CopyPutsTheGraphViewOnTheClipboard)
{
    FakeGraph graph;
    const Rect frame = graph.vm->viewDict.value(MyViewManager::kGraphView)->frame();
    for (const QString& from : {MyViewManager::kBackground, MyViewManager::kGraphView}) {
        QApplication::clipboard()->setText("before");
        graph.output(from)->copy();
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        ASSERT_TRUE(mime);
        EXPECT_EQ(mime->formats(), QStringList{"application/pdf"});
        ReadBack pdf(mime->data("application/pdf"));
        EXPECT_NEAR(pdf.pageSize().width(), frame.width(), 1.0);
        EXPECT_NEAR(pdf.pageSize().height(), frame.height(), 1.0);
        EXPECT_EQ(pdf.text().count("alpha"), 1);
    }
}

// Export through the save panel: the whole view it is sent to; cancelling writes nothing;
// a folder that refuses the file gets an alert naming it and keeps the old file.
TEST(GraphOutput, ExportWritesSafelyOrSaysWhy)
{
    FakeGraph graph;
    QTemporaryDir dir;
    ScopedScriptedDialogs scripted;
    ScriptedDialogs& dialogs = scripted.dialogs;

    dialogs.files = {dir.filePath("graph")};
    EXPECT_TRUE(graph.output(MyViewManager::kBackground)->exportPDF());
    EXPECT_EQ(dialogs.savePanels, QStringList{"Export a PDF File|Export As:|pdf"});
    QFile written(dir.filePath("graph.pdf"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadBack(written.readAll()).pageSize(), QSizeF(400, 300));

    dialogs.files = {QString()};
    EXPECT_FALSE(graph.output(MyViewManager::kGraphView)->exportPDF());

    const QString locked = dir.filePath("locked");
    QDir().mkpath(locked);
    const QString old = locked + "/old.pdf";
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the old file");
    }
    if (!lock(locked, true)) {
        lock(locked, false);
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    dialogs.files = {old};
    const bool exported = graph.output(MyViewManager::kGraphView)->exportPDF();
    lock(locked, false);
    EXPECT_FALSE(exported);
    ASSERT_EQ(dialogs.alerts.size(), 1);
    EXPECT_TRUE(dialogs.alerts.first().contains("old.pdf")) << dialogs.alerts.first().toStdString();
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "the old file");
}
