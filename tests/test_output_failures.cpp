// Writers that cannot write: each failed file reported once on standard
// error and counted; appended files keep whole records; the logs of cell
// tracking and root-cap shedding report like every other writer; a dump
// that cannot be written leaves an earlier dump of the same name whole.
// Disk-full cases use a small tmpfs where one can be mounted, /dev/full
// otherwise, and are skipped where neither works.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "growth_tissue.h"
#include "measure_fixtures.h"
#include "outputs.h"
#include "rootsim.h"
#include "test_support.h"

using testsupport::ReadFile;
using testsupport::SmallDisk;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

class Writers : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.UseAsOutput();
        ClearOutputFailures();
    }
    void TearDown() override { ClearOutputFailures(); }
    std::string Path(const std::string& name) const { return dir_.path() + "/" + name; }

    StateGuard guard_;
    TempDir dir_;
};

// A file that fails at every call is named once; every failed write counts;
// the summary names the files with their number.
TEST_F(Writers, EachFailedFileIsNamedOnceAndEveryFailureCounted) {
    ASSERT_EQ(mkdir(Path("Totalauxin").c_str(), 0700), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (int t = 20; t <= 100; t += 20) {
        SaveTotAuxin(t);
        SaveTotPlts(t);
    }
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, "rootsim: cannot write " + Path("Totalauxin") + ": cannot open it: Is a directory\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(FailedOutputFiles(), 1u);
    EXPECT_EQ(FailedOutputWrites(), 5u);
    EXPECT_EQ(Count(ReadFile(Path("Totalplts")), "\n"), 5u);

    // Twenty-five more files fail: the summary names the first twenty.
    for (int k = 1; k <= 25; k++) OutputFailed(Path("f" + std::to_string(k)), "test");
    testing::internal::CaptureStderr();
    PrintOutputFailureSummary();
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.substr(0, err.find('\n') + 1),
              "rootsim: 26 output files could not be written (30 failed writes) in " + dir_.path() + ":\n");
    EXPECT_NE(err.find("\n  Totalauxin\n  f1\n"), std::string::npos) << err;
    EXPECT_NE(err.find("\n  f19\n  ... and 6 more\n"), std::string::npos) << err;
}

// After a transiently full disk a series holds whole lines only: the record
// that was cut short is cut off again, and the next one starts a line.
TEST_F(Writers, SeriesRecordCutShortIsCutOffAgain) {
    SmallDisk disk(64 << 10);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here (a record cut short needs a real disk)";
    snprintf(dirname, sizeof dirname, "%s", disk.path().c_str());
    // Earlier lines that end 10 bytes before the end of a block.
    std::string earlier;
    while (earlier.size() + 30 <= 4096 - 10) earlier += "0\t1.000000\t0.000002\t12345678\n";
    earlier += std::string(4096 - 10 - earlier.size() - 1, '9') + "\n";
    ASSERT_EQ(earlier.size(), 4086u);
    {
        FILE* f = fopen((disk.path() + "/Totalauxin").c_str(), "w");
        ASSERT_NE(f, nullptr);
        fputs(earlier.c_str(), f);
        fclose(f);
    }
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) Caux1[i][j] = 145.0;
    disk.Fill();
    testing::internal::CaptureStderr();
    SaveTotAuxin(2760);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "rootsim: cannot write " + disk.path() + "/Totalauxin: No space left on device\n");
    EXPECT_EQ(ReadFile(disk.path() + "/Totalauxin"), earlier);
    disk.Drain();
    SaveTotAuxin(2780);
    EXPECT_EQ(ReadFile(disk.path() + "/Totalauxin"), earlier + "2780\t61987500.000000\t145.000000\n");
    EXPECT_EQ(FailedOutputFiles(), 1u);
}

// The cell-tracking log reports a write that fails, on standard error.
TEST_F(Writers, TrackCellLogFailureIsReported) {
    SmallDisk disk(64 << 10);
    if (!disk.mounted() && !testsupport::HaveDevFull()) GTEST_SKIP() << "neither a tmpfs nor /dev/full";
    const std::string dir = disk.mounted() ? disk.path() : dir_.path();
    snprintf(dirname, sizeof dirname, "%s", dir.c_str());
    growthtest::ClearGrid();
    const int heights[] = {44, 20};
    growthtest::AddMirroredFile(80, 88, 150, heights, 2, 8);
    growthtest::Renumber();
    ResetCellTracking();
    TrackCells(0);
    TrackCells(2);
    ASSERT_EQ(idcounter, 1);
    if (disk.mounted()) disk.Fill();
    else ASSERT_EQ(symlink("/dev/full", (dir + "/TrackCell_1").c_str()), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    TrackCells(100);
    TrackCells(200);
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, "rootsim: cannot write " + dir + "/TrackCell_1: No space left on device\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(FailedOutputWrites(), 2u);
    if (disk.mounted()) {
        EXPECT_EQ(ReadFile(dir + "/TrackCell_1"), "");
    }
    disk.Drain();
}

// The shedding log reports on standard error (not standard output) like
// every other writer, once however often it fails.
TEST_F(Writers, SheddingLogFailureIsReported) {
    const std::string missing = dir_.path() + "/gone";
    snprintf(dirname, sizeof dirname, "%s", missing.c_str());
    growthtest::ClearGrid();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    CullLateralRootcap(60000);
    CullLateralRootcap(60002);
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, "rootsim: cannot write " + missing +
                       "/Lateralrootcapculling: cannot open it: No such file or directory\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(FailedOutputWrites(), 2u);
}

// A dump that cannot be written leaves an earlier dump of the same name whole
// and no temporary; the failure is reported.
TEST_F(Writers, DumpOnAFullDiskKeepsTheEarlierDump) {
    SmallDisk disk(24 << 20);
    if (!disk.mounted() && !testsupport::HaveDevFull()) GTEST_SKIP() << "neither a tmpfs nor /dev/full";
    const std::string dir = disk.mounted() ? disk.path() : dir_.path();
    snprintf(dirname, sizeof dirname, "%s", dir.c_str());
    measurefix::ClearToOutside();
    measurefix::AddCell(0, 5, 30, 32, 10, 11);
    WritePlantToFile(50000);
    const std::string name = dir + "/DumpPlantStateAt0000050000";
    const std::string earlier = ReadFile(name);
    ASSERT_GT(earlier.size(), 1000000u);
    measurefix::AddCell(1, 5, 40, 42, 10, 11);
    if (disk.mounted()) disk.Fill();
    else ASSERT_EQ(symlink("/dev/full", (name + ".partial").c_str()), 0);
    testing::internal::CaptureStderr();
    WritePlantToFile(50000);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "rootsim: cannot write " + name + ": No space left on device\n");
    EXPECT_TRUE(ReadFile(name) == earlier) << "the earlier dump was changed";
    struct stat st;
    EXPECT_NE(lstat((name + ".partial").c_str(), &st), 0) << "a temporary is left";
    EXPECT_EQ(FailedOutputFiles(), 1u);
    disk.Drain();
}

}  // namespace
