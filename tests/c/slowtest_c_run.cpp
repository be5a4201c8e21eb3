// A short real run of rootsim_c, once with one thread and once with two: it
// ends with status 0 and no diagnostic, writes the files of its schedule, and
// every file is the same bit for bit whatever the number of threads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "c_support.h"

using ctest::ListDir;
using ctest::ReadFile;
using ctest::RunCommand;
using ctest::ShellQuote;
using ctest::TempDir;

namespace {

// 1800 steps: growth from the tenth step on (the tall cap cells divide at
// once), and the first set of profiles and pictures at time 360.
constexpr int kSteps = 1800;

TEST(CRun, SameFilesWithOneAndTwoThreads) {
    TempDir one, two;
    const std::string bin = ROOTSIM_C_BIN;
    ctest::CommandResult r1 =
        RunCommand(bin + " --steps " + std::to_string(kSteps) + " --threads 1 " + ShellQuote(one.path()));
    ctest::CommandResult r2 =
        RunCommand(bin + " --steps " + std::to_string(kSteps) + " --threads 2 " + ShellQuote(two.path()));
    ASSERT_EQ(r1.status, 0) << r1.out << r1.err;
    ASSERT_EQ(r2.status, 0) << r2.out << r2.err;
    // No diagnostic: standard output stays empty.
    EXPECT_EQ(r1.out, "");
    EXPECT_EQ(r2.out, "");

    const std::vector<std::string> names = ListDir(one.path());
    const std::vector<std::string> expected = {
        "Aux1mem_00000360.png",
        "Aux_00000000.png",
        "Aux_00000360.png",
        "EpidermalGradLeft_time360",
        "EpidermalGradRight_time360",
        "GridResolution_cortexL_time360",
        "GridResolution_cortexR_time360",
        "GridResolution_endoL_time360",
        "GridResolution_endoR_time360",
        "GridResolution_epiL_time360",
        "GridResolution_epiR_time360",
        "GridResolution_j167_time360",
        "GridResolution_j288_time360",
        "GridResolution_j700_time360",
        "GridResolution_vascL_time360",
        "GridResolution_vascR_time360",
        "PINmem_00000360.png",
        "PltsExpression_00000360.png",
        "Plts_00000360.png",
        "Spatialdynamics_cortexL_time360",
        "Spatialdynamics_cortexR_time360",
        "Spatialdynamics_endoL_time360",
        "Spatialdynamics_endoR_time360",
        "Spatialdynamics_epiL_time360",
        "Spatialdynamics_epiR_time360",
        "Spatialdynamics_vascL_time360",
        "Spatialdynamics_vascR_time360",
        "TemporalDynamicsPoint12_288",
        "TemporalDynamicsPoint238_288",
        "Tissue_00000360.png",
        "Totalauxin",
        "run.json",
    };
    EXPECT_EQ(names, expected);
    ASSERT_EQ(ListDir(two.path()), names);
    for (const std::string& n : names) {
        if (n == "run.json") continue;  // the run record holds wall times
        EXPECT_TRUE(ReadFile(one.path() + "/" + n) == ReadFile(two.path() + "/" + n)) << n;
    }
    // Totals every 100 steps.
    const std::string totals = ReadFile(one.path() + "/Totalauxin");
    size_t lines = 0;
    for (char ch : totals) lines += ch == '\n';
    EXPECT_EQ(lines, static_cast<size_t>(kSteps / 100));
}

// A run resumed from its checkpoint at step 200 (its steps after it done
// again) writes the files of a run that went straight on: the state a
// resumed run steps from is the whole state.
TEST(CRun, ResumedRunWritesTheFilesOfAStraightOne) {
    TempDir straight, resumed;
    const std::string bin = ROOTSIM_C_BIN;
    ctest::CommandResult r = RunCommand(bin + " --steps 400 --checkpoint-every 0 " + ShellQuote(straight.path()));
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunCommand(bin + " --steps 400 --checkpoint-every 200 " + ShellQuote(resumed.path()));
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunCommand(bin + " --resume " + ShellQuote(resumed.path()));
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names = ListDir(straight.path());
    std::vector<std::string> kept;
    for (const std::string& n : ListDir(resumed.path()))
        if (n != "checkpoint") kept.push_back(n);
    ASSERT_EQ(kept, names);
    for (const std::string& n : names) {
        if (n == "run.json") continue;
        EXPECT_TRUE(ReadFile(straight.path() + "/" + n) == ReadFile(resumed.path() + "/" + n)) << n;
    }
}

}  // namespace
