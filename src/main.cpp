#include "analysis/MyDocumentAnalyses.h"
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "graph/MyGraphGenerator.h"
#include "platform/Dialogs.h"
#include "platform/DocumentController.h"
#include "views/MyViewManager.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MySettingController.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vlb");
    QApplication::setOrganizationName("Vlb");

    AppDelegate delegate;
    // The one graph generator, beside the engines; its step table comes with the settings
    // descriptions, before any document opens.
    MyGraphGenerator graphGenerator;
    delegate.ourGraphGenerator = &graphGenerator;
    // A failed start-up has told the user why through the shared alert.
    if (!delegate.finishLaunching())
        return 1;
    graphGenerator.setConfigIndexDict(delegate.configIndexDict);

    // After launching: the one controller of the column-width and row-height dialogs.
    MySettingController settingCont;
    settingCont.ourDelegate = &delegate;
    delegate.settingCont = &settingCont;

    // Packages read their analyses and regenerate lost graph settings through these.
    MyDocumentAnalyses::registerHooks();
    MyViewManager::registerHooks();
    MyDocumentWindows::install();
    DocumentController documents(Document::factory(&delegate));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        QString error;
        if (!documents.openDocument(arguments.at(1), &error)) {
            Dialogs::current().alert(error);
            documents.newDocument();
        }
    } else {
        documents.newDocument();
    }
    return app.exec();
}
