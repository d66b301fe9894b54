// The libFuzzer program of one target (VLB_FUZZ_TARGET names it).
#include "FuzzTargets.h"
#include "common/TemporaryHome.h"
#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {
const fuzz::Target* target = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own messages on every odd input would drown libFuzzer's report.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            std::abort();
        }
    });
    // A static: its folder goes when libFuzzer exits.
    static const TemporaryHome home(QStringLiteral(VLB_TEST_HOME));
    // Never destroyed: libFuzzer ends the process with exit(), after which Qt can no longer
    // tear windows down.
    new QApplication(*argc, *argv);
    QApplication::setApplicationName(QStringLiteral("VlbFuzz"));
    QApplication::setOrganizationName(QStringLiteral("Vlb"));
    fuzz::setUp();
    target = fuzz::findTarget(QStringLiteral(VLB_FUZZ_TARGET));
    if (!target) {
        std::fprintf(stderr, "no fuzz target named %s\n", VLB_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    target->run(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
