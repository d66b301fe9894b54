// Every input kept in fuzz/regressions/<target>/ (inputs that once crashed a reader or
// broke one of its checks), and every seed, runs through its target's entry cleanly.
#include "FuzzTargets.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct Broken : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class FuzzInputs : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        fuzz::setFailureHandler([](const char* what) { throw Broken(what); });
        fuzz::setUp();
        target = fuzz::findTarget(QString::fromStdString(GetParam()));
        ASSERT_NE(target, nullptr);
    }
    void TearDown() override { fuzz::setFailureHandler({}); }

    void runOne(const QByteArray& data, const std::string& label)
    {
        try {
            target->run(data);
        } catch (const Broken& broken) {
            ADD_FAILURE() << label << ": " << broken.what();
        }
    }

    const fuzz::Target* target = nullptr;
};

TEST_P(FuzzInputs, KeptRegressionsRunClean)
{
    const QDir dir(QStringLiteral(VLB_FUZZ_REGRESSIONS "/") + QString::fromStdString(GetParam()));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        runOne(file.readAll(), name.toStdString());
    }
}

TEST_P(FuzzInputs, SeedsRunClean)
{
    const QList<QByteArray> seeds = target->seeds();
    EXPECT_FALSE(seeds.isEmpty());
    for (qsizetype i = 0; i < seeds.size(); ++i)
        runOne(seeds[i], "seed " + std::to_string(i));
}

std::vector<std::string> targetNames()
{
    std::vector<std::string> names;
    for (const fuzz::Target& t : fuzz::targets())
        names.emplace_back(t.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs, ::testing::ValuesIn(targetNames()),
                         [](const auto& info) { return info.param; });

} // namespace
