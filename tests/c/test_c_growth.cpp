// Growth on the c root: the shared growth rules with the c root's landmarks
// (growth zone from the tip-top wall, epidermal file, factor source, cap
// columns, stem daughter row, cull row), and shedding without a log.
#include <gtest/gtest.h>

#include <string>

#include "plan.h"
#include "rootsim_c.h"
#include "c_support.h"

using namespace croot;
using ctest::FileExists;
using ctest::StateGuard;
using ctest::TempDir;

namespace {

struct CRoot {
    StateGuard guard;
    TempDir out;
    CRoot() {
        out.UseAsOutput();
        maxmzheight = kMeristemTopRow;
        InitPlant();
    }
};

int CentreType(int x) { return Tct[(CellMinI[x] + CellMaxI[x]) / 2][(CellMinJ[x] + CellMaxJ[x]) / 2]; }

// Every cell above the tip-top wall finds an epidermal cell beside it (the
// lookup ends the run when it does not), on its own side.
TEST(CGrowth, EveryCellAboveTheTipHasItsEpidermalCell) {
    CRoot root;
    int checked = 0;
    for (int x = 0; x < actcells; x++) {
        if (CellMinJ[x] <= kGrowthBaseRow) continue;
        const int e = epidermalcell(x);
        EXPECT_EQ(CentreType(e), TCT_EPIDERMIS) << x;
        EXPECT_EQ(CellMinI[e] < AXIS, CellMinI[x] < AXIS) << x;
        checked++;
    }
    EXPECT_EQ(checked, 2 * (7 * (kMeristemBands + kBodyCells) + kCapWallCount));
}

// The first growth step: the cap cells beside the meristem that are taller
// than 24 rows and start in its lower third divide; everything else grows
// when due.  The growth zone starts at the tip-top wall.
TEST(CGrowth, FirstGrowthStepDividesTheTallCapCellsOnly) {
    CRoot root;
    const int cells = actcells;
    const int capA = Cell[15][230], capB = Cell[15][260];
    ASSERT_EQ(CellHeight[capA], 26);
    ASSERT_EQ(CellHeight[capB], 39);
    const int wallA = CellMinJ[capA] + CellHeight[capA] / 2, wallB = CellMinJ[capB] + CellHeight[capB] / 2;
    UpdateGeneExpression(2);
    Growth(2);
    EXPECT_EQ(actcells, cells + 4);
    for (int col : {15, MIRRORSUM - 15}) {
        EXPECT_EQ(Tc[col][wallA], TC_WALL) << col;
        EXPECT_EQ(Tc[col][wallB], TC_WALL) << col;
    }
    // Tip cells are in the tip state, meristem cells divide, body cells stay
    // mature.
    EXPECT_EQ(CellZonationState[Cell[AXIS - 3][20]], Z_TIP);
    EXPECT_EQ(CellZonationState[Cell[60][300]], Z_DIVIDING);
    EXPECT_EQ(CellZonationState[Cell[60][600]], Z_MATURE);
    // The meristem top: two rows under the lowest epidermal cell beyond the
    // transition state, the first body cell.
    EXPECT_EQ(maxmzheight, kMeristemTopRow + 1 - 2);
    // No shedding log in this program.
    EXPECT_FALSE(FileExists(root.out.path() + "/Lateralrootcapculling"));
}

// A cell of the first meristem band grown to 17 rows divides at the next
// growth step; its lower daughter, starting on the row above the tip-top
// wall, keeps a division count of 0.
TEST(CGrowth, DivisionAtSeventeenRowsAndTheStemDaughter) {
    CRoot root;
    UpdateGeneExpression(2);
    Growth(2);
    int x = Cell[60][kTipTopRow + 1];
    ASSERT_EQ(CellMinJ[x], kStemDaughterRow);
    ASSERT_EQ(CellDivNr[x], 0);
    for (int k = 0; k < 8; k++) GrowCell(4, Cell[60][kTipTopRow + 1], 1);
    x = Cell[60][kTipTopRow + 1];
    ASSERT_EQ(CellHeight[x], 16);
    Growth(4);
    EXPECT_EQ(CellHeight[Cell[60][kTipTopRow + 1]], 16);  // 16 rows do not divide
    GrowCell(6, Cell[60][kTipTopRow + 1], 1);
    ASSERT_EQ(CellHeight[Cell[60][kTipTopRow + 1]], 17);
    const int cells = actcells;
    Growth(8);
    EXPECT_EQ(actcells, cells + 1);
    const int lower = Cell[60][kTipTopRow + 1];
    const int upper = Cell[60][kTipTopRow + 1 + 8 + 1];
    EXPECT_EQ(CellHeight[lower], 8);
    EXPECT_EQ(CellMinJ[lower], kStemDaughterRow);
    EXPECT_EQ(CellDivNr[lower], 0);
    EXPECT_EQ(CellDivNr[upper], 1);
    EXPECT_EQ(CellTimeLastDiv[lower], 8);
    EXPECT_EQ(CellTimeLastDiv[upper], 8);
}

// The topmost cap cell beside an elongating epidermal cell, with one at
// least in transition below, is shed with everything above it in its
// columns; the epidermis stays.
TEST(CGrowth, ShedsTheTopCapCellBesideElongatingEpidermis) {
    CRoot root;
    const int cap = Cell[15][260];
    const int capMinJ = CellMinJ[cap];
    const int m = (CellMinJ[cap] + CellMaxJ[cap]) / 2;
    for (int col : {kEpidermisFirstCol, MIRRORSUM - kEpidermisFirstCol}) {
        CellZonationState[Cell[col][m]] = Z_ELONGATING;
        for (int r = capMinJ - 20; r < capMinJ; r++)
            if (Cell[col][r] >= 0) CellZonationState[Cell[col][r]] = Z_TRANSITION;
    }
    const int cells = actcells;
    CullLateralRootcap(100);
    EXPECT_EQ(actcells, cells - 2);
    for (int side = 0; side < 2; side++) {
        for (int c = kCapFirstCol; c <= kCapLastCol; c++) {
            const int col = side == 0 ? c : MIRRORSUM - c;
            EXPECT_EQ(Tc[col][capMinJ], TC_OUTSIDE) << col;
            EXPECT_EQ(Tc[col][kCapTopRow], TC_OUTSIDE) << col;
            EXPECT_EQ(PinPrePat[col][capMinJ], 0.0) << col;
        }
        const int outerWall = side == 0 ? kWallCapCol : MIRRORSUM - kWallCapCol;
        EXPECT_EQ(Tc[outerWall][capMinJ + 1], TC_OUTSIDE);
        const int epi = side == 0 ? kEpidermisFirstCol : MIRRORSUM - kEpidermisFirstCol;
        EXPECT_EQ(Tct[epi][m], TCT_EPIDERMIS);
    }
    // The cap cell below stays.
    EXPECT_NE(Cell[15][capMinJ - 3], -1);
    EXPECT_FALSE(FileExists(root.out.path() + "/Lateralrootcapculling"));
}

// A cell pushed up to the cull row leaves the domain at once; an epidermal
// one counts in its side's root length.
TEST(CGrowth, CellsReachingTheCullRowAreRemoved) {
    CRoot root;
    rightsize = leftsize = kInitialRootLength;
    totalrootcellnrL = totalrootcellnrR = kInitialEpidermisCells;
    const int top = Cell[35][kBodyTopRow - 1];
    const int topHeight = CellHeight[top];
    ASSERT_EQ(CellMaxJ[top], kBodyTopRow - 1);
    const int cells = actcells;
    // Growing a meristem cell of the left epidermal file pushes the file up;
    // one row short of the cull row nothing is removed, at it the top cell is.
    const int rows = kCullRow - (kBodyTopRow - 1);
    for (int k = 0; k < rows - 1; k++) GrowCell(2, Cell[35][300], 1);
    EXPECT_EQ(actcells, cells);
    EXPECT_EQ(CellMaxJ[Cell[35][kCullRow - 1]], kCullRow - 1);
    GrowCell(2, Cell[35][300], 1);
    EXPECT_EQ(actcells, cells - 1);
    for (int i = 0; i < NCOLS; i++) EXPECT_EQ(Cell[i][kCullRow], -1) << i;
    EXPECT_EQ(leftsize, kInitialRootLength + topHeight);
    EXPECT_EQ(totalrootcellnrL, kInitialEpidermisCells + 1);
    EXPECT_EQ(rightsize, kInitialRootLength);
    EXPECT_EQ(totalrootcellnrR, kInitialEpidermisCells);
}

}  // namespace
