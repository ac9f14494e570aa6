// Progress lines: a large package reports rising percentages, a small one
// builds without a word.
#include "packsetup_test_support.h"

#include "packsetup/package_writer.h"

#include <sstream>

using namespace packsetup;
using namespace packsetup_test;

namespace {

class Progress : public PackageFixture {
protected:
    // The lines a build of `plan` reports, or the builder's message.
    static std::string Report(const PackagePlan& plan, uint64_t threshold) {
        std::ostringstream report;
        ProgressSettings progress;
        progress.out = &report;
        progress.threshold = threshold;
        std::string error;
        return BuildPackage(plan, error, progress) ? report.str() : "refused: " + error;
    }
};

TEST_F(Progress, ReportsRisingPercentagesForAPackageOverTheThreshold) {
    PackagePlan plan = BasePlan();
    plan.entries = {Entry("a.bin", "a.bin", SampleBytes(600000, 6)),
                    Entry("b.bin", "b.bin", SampleBytes(600000, 7), true)};
    const std::string report = Report(plan, 1000);
    ASSERT_NE(report.rfind("refused: ", 0), 0u) << report;
    std::istringstream lines(report);
    std::string line;
    int last = 0, count = 0;
    while (std::getline(lines, line)) {
        SCOPED_TRACE(line);
        int percent = std::stoi(line.substr(line.find(": ") + 2));
        EXPECT_GE(percent, last + 5);
        last = percent;
        ++count;
    }
    EXPECT_EQ(last, 100);
    EXPECT_GE(count, 2);
    EXPECT_LE(count, 20);
}

TEST_F(Progress, StaysQuietForAPackageUnderTheThreshold) {
    EXPECT_EQ(Report(OneFilePlan(), kDefaultProgressThreshold), "");
}

} // namespace
