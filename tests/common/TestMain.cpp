#include "common/TemporaryHome.h"
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Tests never need a display; QT_QPA_PLATFORM=xcb runs them on one all the same.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The X display CTest gave this test ("id:<number>,slots:1"), when it gave one.
    if (const QByteArray given = qgetenv("CTEST_RESOURCE_GROUP_0_DISPLAY"); given.startsWith("id:"))
        qputenv("DISPLAY", ":" + given.mid(3).split(',').first());
    const TemporaryHome home(QStringLiteral(VLB_TEST_HOME));
    QApplication app(argc, argv);
    QApplication::setApplicationName("VlbTests");
    QApplication::setOrganizationName("Vlb");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
