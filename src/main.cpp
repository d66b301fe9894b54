#include "app/AppDelegate.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vlb");
    QApplication::setOrganizationName("Vlb");

    AppDelegate delegate;
    // A failed start-up has told the user why through the shared alert.
    if (!delegate.finishLaunching())
        return 1;

    QTextStream(stdout) << "Vlb: the windows are not built yet; nothing to show.\n";
    return 0;
}
