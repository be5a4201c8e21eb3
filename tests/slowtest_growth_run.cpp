// Longer driven growth on the real root: the root reaches the top of the grid
// and is culled there, cells are tracked, and the cost of a growth step is
// measured at the real pace of one step per two time units.
#include <gtest/gtest.h>

#include <cstdio>

#include "growth_drive.h"
#include "growth_tissue.h"
#include "rootsim.h"
#include "test_support.h"

using namespace growthtest;
using testsupport::FileExists;
using testsupport::StateGuard;
using testsupport::TempDir;

TEST(GrowthRun, RootReachesTheTopAndIsCulledConsistently) {
    StateGuard guard;
    TempDir out;
    out.UseAsOutput();
    PrepareGrowingRoot(900);
    DriveResult r = DriveGrowth(70, 58000, 2000, true);
    ASSERT_EQ(r.failure, "");
    EXPECT_GT(r.divisions, 40);
    // Epidermal cells left at the top on both sides alike.
    EXPECT_GT(leftsize, 1067);
    EXPECT_GT(totalrootcellnrL, 21);
    EXPECT_EQ(leftsize, rightsize);
    EXPECT_EQ(totalrootcellnrL, totalrootcellnrR);
    EXPECT_GT(idcounter, 1);
    EXPECT_TRUE(FileExists(out.path() + "/TrackCell_1"));
    printf("cells %d (max %d), divisions %d, leftsize %d, epidermal cells culled per side %d, identities %d\n",
           actcells, r.maxCells, r.divisions, leftsize, totalrootcellnrL - 21, idcounter);
}

TEST(GrowthRun, CostOfAGrowthStepAtTheRealPace) {
    StateGuard guard;
    TempDir out;
    out.UseAsOutput();
    PrepareGrowingRoot(900);
    // One growth step every 2 time units from 57602 to 80000.
    DriveResult r = DriveGrowth(11200, 57602, 2, false);
    EXPECT_GT(r.grownCells, 1000);
    printf("%d growth steps: %.3f ms per step on average; %d growth events, %d cells added, %d cells at the end\n",
           11200, 1000.0 * r.growthSeconds / 11200, r.grownCells, r.divisions, actcells);
}
