// The range alert as a person meets it: the application starts with its untitled document,
// File > Open… (by its key, on the untitled document's main window) opens a package whose dot
// plot reaches outside its graph rectangle, "Graph" shows it, and a change that moves dots
// outside is undone and redone from the Edit menu. Every alert runs an event loop of its
// own, as a real modal one does, in which the untitled document gives way.
#include "windows/AnalysisFixture.h"
#include <QEventLoop>
#include <QTimer>

namespace {
const QString kRange = QStringLiteral("Some objects (dots or bars) are outside the rectangle of the graph.");
}

class RangeAlertStory : public AnalysisFixture {
protected:
    const QStringList max{"valueSettings", "max"}, min{"valueSettings", "min"},
        dotSize{"dotsProperties", "#0", "dotSize"};

    // The alerts shown since the last call, each with the window it was shown over.
    QList<std::pair<QString, QWidget*>> shown()
    {
        QList<std::pair<QString, QWidget*>> out;
        for (qsizetype i = 0; i < scripted.dialogs.alerts.size(); ++i)
            out.append({scripted.dialogs.alerts[i], scripted.dialogs.alertWindows.value(i).data()});
        scripted.dialogs.alerts.clear();
        scripted.dialogs.alertWindows.clear();
        return out;
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void give(MyWindowController* c, const QString& text)
    {
        front(c);
        QAction* a = command(c, text);
        ASSERT_TRUE(a && a->isEnabled()) << text.toStdString();
        a->trigger();
        settle();
    }
};

// Heights 160 to 180 on an axis from 100 to 200: dots 5 points wide lie inside the graph,
// dots 300 points wide reach outside it.
// The alert comes once per layout that leaves dots outside, never before the graph window
// is on screen and always over it; fifty times over, with the untitled document giving way
// each time.
TEST_F(RangeAlertStory, TheRangeAlertComesOnceOverItsGraphWindow)
{
    import(kSampleTable);
    makeAnalysis("Heights", {"Height"}, {"Sex"});
    MyWindowController* g = doc->graphWindowConts.value(0);
    ASSERT_TRUE(g);
    ASSERT_TRUE(typeInSettings(g, min, "100"));
    ASSERT_TRUE(typeInSettings(g, max, "200"));
    ASSERT_TRUE(typeInSettings(g, dotSize, "300"));
    settle();
    ASSERT_EQ(dig(doc->graphSettings[0], min).toString(), "100");
    ASSERT_EQ(dig(doc->graphSettings[0], max).toString(), "200");
    ASSERT_EQ(settingsRow(g, dotSize)->message, "300");
    const QString path = dir.filePath("Heights.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, path));
    ASSERT_TRUE(controller->closeDocument(doc));
    settle();
    doc = static_cast<Document*>(controller->newDocument());
    shown();

    scripted.dialogs.whileAlertOpen = [] {
        QEventLoop modal;
        QTimer::singleShot(0, &modal, &QEventLoop::quit);
        modal.exec();
    };
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(doc->fileName().isEmpty());
        scripted.dialogs.files.push_back(path);
        front(main());
        QTest::keyClick(main()->window(), Qt::Key_O, Qt::ControlModifier);
        settle();
        ASSERT_EQ(controller->documents().size(), 1u);
        doc = static_cast<Document*>(controller->documents().front().get());
        ASSERT_EQ(doc->fileName(), path);
        EXPECT_TRUE(shown().isEmpty()) << "an alert before the graph window";

        press(analysis(0), 4);   // "Graph"
        settle();
        g = doc->graphWindowConts.value(0);
        ASSERT_TRUE(g && g->window()->isVisible());
        using Shown = QList<std::pair<QString, QWidget*>>;
        EXPECT_EQ(shown(), (Shown{{kRange, g->window()}}));
        press(analysis(0), 4);   // shown again: nothing more to say
        settle();
        EXPECT_TRUE(shown().isEmpty());

        ASSERT_TRUE(typeInSettings(g, dotSize, "5"));
        settle();
        EXPECT_TRUE(shown().isEmpty());
        ASSERT_TRUE(typeInSettings(g, dotSize, "300"));
        settle();
        EXPECT_EQ(shown(), (Shown{{kRange, g->window()}}));
        give(g, "Undo Change Type");
        EXPECT_EQ(settingsRow(g, dotSize)->message, "5");
        EXPECT_TRUE(shown().isEmpty());
        give(g, "Redo Change Type");
        EXPECT_EQ(settingsRow(g, dotSize)->message, "300");
        EXPECT_EQ(shown(), (Shown{{kRange, g->window()}}));

        // Closed: what the autosaves have not written yet goes into its package without a
        // question; the application goes on with a new untitled document.
        const qsizetype questions = scripted.dialogs.questions.size();
        ASSERT_TRUE(controller->closeDocument(doc));
        EXPECT_EQ(scripted.dialogs.questions.size(), questions);
        settle();
        doc = static_cast<Document*>(controller->newDocument());
    }
}
