#pragma once
// The application as the window benchmarks need it: delegate, graph generator, the hooks of
// the document and its windows, a document controller, scripted dialogs and a scratch folder.
#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "views/MyViewManager.h"
#include "windows/MyDocumentWindows.h"
#include <QTemporaryDir>
#include <memory>

struct BenchApp {
    ScopedScriptedDialogs scripted;
    AppDelegate delegate;
    MyGraphGenerator generator;
    std::unique_ptr<DocumentController> controller;
    QTemporaryDir dir;

    BenchApp()
    {
        delegate.defaultsSource = DefaultsStore();
        delegate.ourGraphGenerator = &generator;
        delegate.finishLaunching();
        generator.setConfigIndexDict(delegate.configIndexDict);
        MyDocumentAnalyses::registerHooks();
        MyViewManager::registerHooks();
        MyDocumentWindows::install();
        controller = std::make_unique<DocumentController>(Document::factory(&delegate));
    }
};
