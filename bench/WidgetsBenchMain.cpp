// The main of the benchmarks that need widgets: headless unless a platform is asked for.
#include "WidgetsBenchMain.h"
#include "common/TemporaryHome.h"
#include <QApplication>
#include <benchmark/benchmark.h>

std::function<void()>& beforeApplicationExit()
{
    static std::function<void()> hook;
    return hook;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const TemporaryHome home(QStringLiteral(VLB_TEST_HOME));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeApplicationExit())
        beforeApplicationExit()();
    return 0;
}
