// b2 and b4, driven through their real growth step, run in step until a
// division times its daughters differently.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "bfamily_support.h"
#include "plan.h"

using btest::ProgramGuard;
using btest::TempDir;

namespace {

// The gene network and the growth step of the installed program at times
// stride, 2 stride, ...: the decisions, growth, divisions and culling of the
// real growth step, at a coarser pace than a run (auxin is not moved).
struct Drive {
    std::vector<unsigned long long> sums;  // the state after each step
    std::vector<int> cells;                // cells after each step
};

Drive DriveGrowth(int steps, int stride, int dumpStep, int dumpTime) {
    Drive d;
    const bfamily::Rules& rules = bfamily::Installed();
    for (int k = 1; k <= steps; k++) {
        const int t = k * stride;
        rules.UpdateGeneExpression(t);
        rules.Growth(t);
        d.sums.push_back(btest::StateChecksum());
        d.cells.push_back(actcells);
        if (k == dumpStep) WritePlantToFile(dumpTime);
    }
    return d;
}

}  // namespace

TEST(GrowthB2B4, RunInStepUntilADivisionTimesTheDaughtersDifferently) {
    constexpr int kSteps = 600, kStride = 40, kDumpStep = 3, kDumpTime = 1000;
    SetTransportThreads(1);
    TempDir out2, out4;
    Drive b2, b4;
    {
        ProgramGuard guard(bfamily::B2Rules());
        out2.UseAsOutput();
        InitPlant();
        b2 = DriveGrowth(kSteps, kStride, kDumpStep, kDumpTime);
        WritePlantToFile(kSteps * kStride);
    }
    {
        ProgramGuard guard(bfamily::B4Rules());
        out4.UseAsOutput();
        InitPlant();
        b4 = DriveGrowth(kSteps, kStride, kDumpStep, kDumpTime);
        WritePlantToFile(kSteps * kStride);
    }
    int parted = -1;
    for (int k = 0; k < kSteps && parted < 0; k++)
        if (b2.sums[k] != b4.sums[k]) parted = k;
    ASSERT_GE(parted, 1) << "b2 and b4 never part, or part at once";
    // They part in a step in which a cell divided: until then every growth,
    // decision and division (those of the cap cells, timed alike) is the same.
    EXPECT_GT(b2.cells[parted], b2.cells[parted - 1]);
    EXPECT_GT(b2.cells[kDumpStep - 1], 410) << "the cap divides at once, in both alike";
    EXPECT_LT(kDumpStep - 1, parted);
    // The files written before they part are the same byte for byte; the
    // plants they grow afterwards are not.
    const std::string early = "/DumpPlantStateAt0000001000";
    EXPECT_EQ(btest::ReadFile(out2.path() + early), btest::ReadFile(out4.path() + early));
    EXPECT_FALSE(btest::ReadFile(out2.path() + early).empty());
    char late[64];
    snprintf(late, sizeof late, "/DumpPlantStateAt%.10d", kSteps * kStride);
    EXPECT_NE(btest::ReadFile(out2.path() + late), btest::ReadFile(out4.path() + late));
    EXPECT_NE(b2.sums.back(), b4.sums.back());
}

