// Removal of cells at the top of the grid and shedding of the lateral root cap.
#include <gtest/gtest.h>

#include <string>

#include "growth_tissue.h"
#include "rootsim.h"
#include "test_support.h"

using namespace growthtest;
using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

constexpr int TOP = NROWS - 2;  // the culling row

class OverflowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        out.UseAsOutput();
        ClearGrid();
        leftsize = rightsize = 1067;
        totalrootcellnrL = totalrootcellnrR = 21;
        // Epidermis (5) over columns 23..29 and cortex (6) over 31..40 sharing
        // wall column 30; below them one more cell of each file.
        AddMirroredRectCell(23, 29, 1850, 1878, 5);
        AddMirroredRectCell(31, 40, 1850, 1883, 6);
        AddMirroredRectCell(23, 29, 1880, TOP, 5);
        AddMirroredRectCell(31, 40, 1885, TOP, 6);
        Renumber();
        for (int x = 0; x < actcells; x++) PP[x] = CellMinI[x] * 10000 + CellMinJ[x];
    }
    StateGuard guard;
    TempDir out;
};

TEST_F(OverflowFixture, CellsReachingTheCullingRowGoWithTheirCounts) {
    const int cells = actcells;
    CullOverflowCells(0);
    EXPECT_EQ(actcells, cells - 4);
    // Epidermal cells count on their side (height 19 each); cortex does not.
    EXPECT_EQ(leftsize, 1067 + 19);
    EXPECT_EQ(rightsize, 1067 + 19);
    EXPECT_EQ(totalrootcellnrL, 22);
    EXPECT_EQ(totalrootcellnrR, 22);
    for (int j = 1880; j < NROWS; j++) {
        ASSERT_EQ(Tc[25][j], TC_OUTSIDE);
        ASSERT_EQ(Cell[25][j], -1);
        ASSERT_EQ(Caux1[25][j], -10.0);
        ASSERT_EQ(Tct[35][j], j >= 1885 ? 0 : (j == 1884 ? 20 : 6));
    }
    // The lower walls stay as the new tops of the files.
    EXPECT_EQ(Tc[25][1879], TC_WALL);
    EXPECT_EQ(Tc[35][1884], TC_WALL);
    // The shared wall column went with the second removal.
    EXPECT_EQ(Tc[30][1890], TC_OUTSIDE);
    EXPECT_EQ(Tc[30][1879], TC_WALL);
    // Remaining cells kept their values.
    for (int x = 0; x < actcells; x++) EXPECT_EQ(PP[x], CellMinI[x] * 10000 + CellMinJ[x]);
    EXPECT_EQ(CheckCellRegions(), "");
    EXPECT_EQ(CheckMirrorSymmetry(), "");
}

TEST_F(OverflowFixture, SharedWallStaysAtTheFirstRemoval) {
    // Only the epidermal cell reaches the row: the wall it shares with the
    // cortex stays wherever a cortical cell is beside it at r or r - 1 (the
    // lower one up to 1883, the upper one from 1885 up to its top at 1897),
    // and goes only in row 1899.
    for (int i = 31; i <= 40; i++) {
        Tc[i][TOP] = Tc[MIRRORSUM - i][TOP] = TC_WALL;
        Tc[i][TOP - 1] = Tc[MIRRORSUM - i][TOP - 1] = TC_MEMBRANE;
    }
    Renumber();
    CullOverflowCells(0);
    for (int j = 1880; j <= TOP; j++) EXPECT_EQ(Tc[30][j], TC_WALL) << j;
    EXPECT_EQ(Tc[30][NROWS - 1], TC_OUTSIDE);
    EXPECT_EQ(Tc[29][NROWS - 1], TC_OUTSIDE);
    EXPECT_EQ(Tc[25][1885], TC_OUTSIDE);
    EXPECT_EQ(Tc[35][1890], TC_CYTO);
    EXPECT_EQ(totalrootcellnrL, 22);
    EXPECT_EQ(CheckCellRegions(), "");
}

TEST_F(OverflowFixture, AWallPointInTheCullingRowRemovesNothing) {
    for (int i = 23; i <= 40; i++) {
        Tc[i][TOP] = Tc[MIRRORSUM - i][TOP] = TC_WALL;
        if (i != 30) Tc[i][TOP - 1] = Tc[MIRRORSUM - i][TOP - 1] = TC_MEMBRANE;
    }
    Renumber();
    const int cells = actcells;
    CullOverflowCells(0);
    EXPECT_EQ(actcells, cells);
    EXPECT_EQ(leftsize, 1067);
}

TEST(OverflowByGrowth, GrowingToTheCullingRowRemovesTheCellInTheSameCall) {
    StateGuard guard;
    TempDir out;
    out.UseAsOutput();
    ClearGrid();
    leftsize = rightsize = 1067;
    totalrootcellnrL = totalrootcellnrR = 21;
    AddMirroredRectCell(23, 29, 1860, TOP - 1, 5);
    Renumber();
    int c = CellByCorner(23, 1860);
    const int cells = actcells;
    GrowCell(100, c, 1);
    EXPECT_EQ(actcells, cells - 1);
    EXPECT_EQ(leftsize, 1067 + 39);  // the height it had when removed
    EXPECT_EQ(Tc[25][1870], TC_OUTSIDE);
    EXPECT_EQ(CheckCellRegions(), "");
}

// ---------------------------------------------------------------------------
// Lateral root cap

// Left side (mirrored): root cap (1) over columns 19..25 with a cell below of
// rows 130..156 and the candidate above it; epidermis (5) over columns 27..33
// with the neighbour beside the candidate and the one below it.
class ShedFixture : public ::testing::Test {
protected:
    // With upperCap, a second cap cell sits above the candidate; it would
    // qualify too (the elongating epidermal cell is both beside and below it).
    void Build(int capLow, bool upperCap) {
        out.UseAsOutput();
        ClearGrid();
        low = capLow;
        AddMirroredRectCell(19, 25, 130, capLow - 2, 1);
        AddMirroredRectCell(19, 25, capLow, capLow + 29, 1);
        if (upperCap) AddMirroredRectCell(19, 25, capLow + 31, capLow + 60, 1);
        AddMirroredRectCell(27, 33, 120, capLow + 3, 5);
        AddMirroredRectCell(27, 33, capLow + 5, capLow + 60, 5);
        Renumber();
    }
    void SetStates(int beside, int below) {
        for (int mini : {27, MIRRORSUM - 33}) {
            int b1 = CellByCorner(mini, low + 5);
            int b2 = CellByCorner(mini, 120);
            ASSERT_GE(b1, 0);
            ASSERT_GE(b2, 0);
            CellZonationState[b1] = beside;
            CellZonationState[b2] = below;
        }
    }
    std::string Log() { return ReadFile(out.path() + "/Lateralrootcapculling"); }
    StateGuard guard;
    TempDir out;
    int low = 0;
};

TEST_F(ShedFixture, ElongatingBesideAndTransitionBelowSheds) {
    Build(160, false);
    SetStates(60, 50);
    const int cells = actcells;
    CullLateralRootcap(90000);
    EXPECT_EQ(Log(), "25.000000 1\n25.000000 1\n");
    // The candidate and the cap file above it are gone on both sides, with
    // the outer wall; the inner wall shared with the epidermis stays.
    EXPECT_EQ(actcells, cells - 2);
    for (int j = 160; j < NROWS; j++) {
        ASSERT_EQ(Tc[22][j], TC_OUTSIDE);
        ASSERT_EQ(Tc[18][j], TC_OUTSIDE);
        ASSERT_EQ(Tc[MIRRORSUM - 22][j], TC_OUTSIDE);
    }
    EXPECT_EQ(Tc[26][170], TC_WALL);
    EXPECT_EQ(Tc[22][150], TC_CYTO);  // the cell below stays
    EXPECT_EQ(CheckCellRegions(), "");
    EXPECT_EQ(CheckMirrorSymmetry(), "");
    // The log is appended to, never truncated.
    CullLateralRootcap(3600);
    EXPECT_EQ(Log(), "25.000000 1\n25.000000 1\n");
}

TEST_F(ShedFixture, DividingCellBelowOrLowMembraneKeepsTheCap) {
    Build(160, false);
    SetStates(60, 30);
    const int cells = actcells;
    CullLateralRootcap(100);
    EXPECT_EQ(actcells, cells);
    EXPECT_TRUE(FileExists(out.path() + "/Lateralrootcapculling"));
    EXPECT_EQ(Log(), "");

    // Lower membrane at row 149: never shed, whatever the states.
    Build(149, false);
    SetStates(100, 100);
    const int cells2 = actcells;
    CullLateralRootcap(100);
    EXPECT_EQ(actcells, cells2);
    EXPECT_EQ(Log(), "");
}

TEST_F(ShedFixture, TheLowestQualifyingCellGoesWithTheFileAboveInOneLogLine) {
    Build(160, true);
    // Only the upper cap cell qualifies: the epidermis below the candidate divides.
    SetStates(60, 30);
    const int cells = actcells;
    CullLateralRootcap(7200);
    EXPECT_EQ(Log(), "2.000000 1\n2.000000 1\n");
    EXPECT_EQ(actcells, cells - 2);
    EXPECT_GE(CellByCorner(19, 160), 0);
    EXPECT_EQ(CellByCorner(19, 191), -1);
    // Now the candidate qualifies as well: it is shed, and with it the rest
    // of the file, in one line per side.
    Build(160, true);
    SetStates(60, 50);
    const int cells2 = actcells;
    CullLateralRootcap(7200);
    EXPECT_EQ(Log(), "2.000000 1\n2.000000 1\n2.000000 1\n2.000000 1\n");
    EXPECT_EQ(actcells, cells2 - 4);
    EXPECT_EQ(CellByCorner(19, 160), -1);
    EXPECT_GE(CellByCorner(19, 130), 0);
}

TEST_F(ShedFixture, NoCellBelowTheCandidateMeansNoShedding) {
    Build(160, false);
    SetStates(60, 50);
    // Remove the cap cell below (rows 130..158).
    for (int i = 18; i <= 26; i++)
        for (int j = 129; j <= 158; j++)
            if (i != 26) Tc[i][j] = Tc[MIRRORSUM - i][j] = TC_OUTSIDE;
    Renumber();
    SetStates(60, 50);
    const int cells = actcells;
    CullLateralRootcap(100);
    EXPECT_EQ(actcells, cells);
}

}  // namespace
