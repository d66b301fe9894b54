#include "common/TemporaryHome.h"
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const TemporaryHome home(QStringLiteral(VLB_TEST_HOME));
    QApplication app(argc, argv);
    QApplication::setApplicationName("VlbTests");
    QApplication::setOrganizationName("Vlb");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
