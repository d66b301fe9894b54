#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vlb");
    QApplication::setOrganizationName("Vlb");
    QTextStream(stdout) << "Vlb: the windows are not built yet; nothing to show.\n";
    return 0;
}
