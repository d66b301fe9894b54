#include "FuzzTargets.h"
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "views/MyViewManager.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MySettingController.h"
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

FailureHandler& handler()
{
    static FailureHandler h;
    return h;
}

// Answers as a person pressing the default button would, and keeps nothing: a run of
// millions of inputs must not collect their alerts.
class SilentDialogs : public Dialogs {
public:
    void alert(const QString&, const QString&) override {}
    int question(const QString&, const QString&, const QStringList&) override { return 0; }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString openDirectory(const QString&, const QString&) override { return {}; }
    std::optional<FontSpec> chooseFont(const FontSpec&) override { return std::nullopt; }
    std::optional<Color> chooseColor(const Color&) override { return std::nullopt; }
};

} // namespace

const std::vector<Target>& targets()
{
    static const std::vector<Target> all{
        {"table_text", runTableText, tableTextSeeds},
        {"property_list", runPropertyList, propertyListSeeds},
        {"keyed_archive", runKeyedArchive, keyedArchiveSeeds},
        {"analysis_xml", runAnalysisXml, analysisXmlSeeds},
        {"settings_tree", runSettingsTree, settingsTreeSeeds},
        {"settings_clipboard", runSettingsClipboard, settingsClipboardSeeds},
        {"package", runPackage, packageSeeds},
    };
    return all;
}

const Target* findTarget(const QString& name)
{
    for (const Target& t : targets())
        if (name == QLatin1String(t.name))
            return &t;
    return nullptr;
}

void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Never a modal loop: it would stop the run.
    static SilentDialogs dialogs;
    Dialogs::setCurrent(&dialogs);
    // The application as its start-up makes it, windows included, so that an opened package
    // or a paste lays out and draws its graphs.
    static AppDelegate* delegate = AppDelegate::shared();
    if (!delegate) {
        delegate = new AppDelegate();
        // The user's own defaults would make runs differ between machines.
        delegate->defaultsSource = DefaultsStore();
        static MyGraphGenerator generator;
        delegate->ourGraphGenerator = &generator;
        check(delegate->finishLaunching(), "the application starts");
        generator.setConfigIndexDict(delegate->configIndexDict);
        static MySettingController settingCont;
        settingCont.ourDelegate = delegate;
        delegate->settingCont = &settingCont;
        delegate->mainscreenFrame = Rect(0, 0, 1280, 1024);
    }
    MyDocumentAnalyses::registerHooks();
    MyViewManager::registerHooks();
    MyDocumentWindows::install();
}

DocumentController& documents()
{
    setUp();
    static DocumentController* controller = new DocumentController(Document::factory(AppDelegate::shared()));
    return *controller;
}

void closeAll()
{
    DocumentController& controller = documents();
    const std::vector<DocumentInterface*> open = [&] {
        std::vector<DocumentInterface*> list;
        for (const auto& doc : controller.documents())
            list.push_back(doc.get());
        return list;
    }();
    for (DocumentInterface* doc : open)
        controller.removeDocument(doc);
    // Documents go first; their windows are deleted later in turn.
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void setFailureHandler(FailureHandler h)
{
    handler() = std::move(h);
}

void fail(const char* what)
{
    if (handler()) {
        handler()(what);
        return;
    }
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

QByteArray fixture(const QString& relativePath)
{
    QFile file(QStringLiteral(VLB_TEST_DATA "/") + relativePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace fuzz
