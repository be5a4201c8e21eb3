// The real growth step driven over many growth steps on the real initial
// root: after every step the grid and the cell tables must stay consistent.
#include <gtest/gtest.h>

#include "growth_drive.h"
#include "growth_tissue.h"
#include "rootsim.h"
#include "test_support.h"

using namespace growthtest;
using testsupport::StateGuard;
using testsupport::TempDir;

TEST(GrowthInvariants, GrowthDivisionAndSheddingKeepTheTissueConsistent) {
    StateGuard guard;
    TempDir out;
    out.UseAsOutput();
    PrepareGrowingRoot(600);
    ASSERT_EQ(actcells, 364);
    ASSERT_EQ(CheckMirrorSymmetry(), "");
    // Steps of 2000 time units: each cell is decided once per step, so the
    // meristem cells grow and divide within few steps.
    DriveResult r = DriveGrowth(35, 58000, 2000, true);
    EXPECT_EQ(r.failure, "");
    EXPECT_GT(r.divisions, 10);
    EXPECT_GT(r.grownCells, 200);
    EXPECT_NE(testsupport::ReadFile(out.path() + "/Lateralrootcapculling"), "");
    EXPECT_EQ(leftsize, rightsize);
}
