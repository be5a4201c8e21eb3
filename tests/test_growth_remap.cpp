// Carrying per-cell values across renumbering, and the cell-tracking log.
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

// A distinct value of carried array number a for the cell with this corner.
double Tag(int a, int mini, int minj) { return a * 100000.0 + mini * 1000.0 + minj; }

TEST(Remap, EmptySlotsGetTheirMarkers) {
    StateGuard guard;
    for (int s = 0; s < MAXCELLS; s++) {
        TimePrevGrowth[s] = 7;
        ARRpassed[s] = 0;
        Plts[s] = 3.0;
        TempdivTF[s] = 3.0;
        CellMinI[s] = 5;
        CellMinJ[s] = 6;
    }
    StoreOldSituation(2);
    EXPECT_EQ(OldSit[1].cell, 1);
    EXPECT_EQ(OldSit[1].mini, 5);
    EXPECT_EQ(OldTimePrevGrowth[1], 7);
    EXPECT_EQ(OldSit[2].cell, -1);
    EXPECT_EQ(OldSit[2].mini, -1);
    EXPECT_EQ(OldTimePrevGrowth[2], -1);
    EXPECT_EQ(OldCellDivNr[2], -1);
    EXPECT_EQ(OldARRpassed[2], 1);
    EXPECT_EQ(OldAuxminpassed[2], 1);
    EXPECT_EQ(OldPlts[2], -1.0);
    EXPECT_EQ(TempOlddivTF[2], -1.0);
    EXPECT_EQ(OldARRpassed[1], 0);
}

// Every one of the carried arrays follows its cell when a cell below the
// others disappears and all numbers shift.
TEST(Remap, AllCarriedArraysFollowTheirCellsAcrossRenumbering) {
    StateGuard guard;
    ClearGrid();
    const int heights[] = {10, 12, 14, 9};
    AddMirroredFile(40, 57, 150, heights, 4, 6);
    AddMirroredRectCell(59, 70, 155, 190, 7);
    Renumber();
    int a;
    for (int x = 0; x < actcells; x++) {
        a = 0;
#define SET_INT(n, o) n[x] = static_cast<int>(Tag(a++, CellMinI[x], CellMinJ[x]));
#define SET_DBL(n, o) n[x] = Tag(a++, CellMinI[x], CellMinJ[x]) + 0.25;
#define SET_FLG(n, o) n[x] = static_cast<unsigned char>((CellMinJ[x] + a++) % 2);
        ROOTSIM_CELL_INT_CARRIED(SET_INT)
        ROOTSIM_CELL_DOUBLE_CARRIED(SET_DBL)
        ROOTSIM_CELL_FLAG_CARRIED(SET_FLG)
#undef SET_INT
#undef SET_DBL
#undef SET_FLG
    }
    EXPECT_EQ(a, 36);
    // Remove the lowest left cell of the file (rows 150..159): every later
    // number moves down by one.
    const int old = actcells;
    for (int i = 40; i <= 57; i++)
        for (int j = 150; j <= 159; j++) Tc[i][j] = TC_OUTSIDE;
    StoreOldSituation(old);
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    MapOldToNewSituation(old);
    ASSERT_EQ(actcells, old - 1);
    for (int x = 0; x < actcells; x++) {
        ASSERT_GE(MapCellNrs[x], 0);
        a = 0;
#define CHK_INT(n, o) EXPECT_EQ(n[x], static_cast<int>(Tag(a++, CellMinI[x], CellMinJ[x]))) << #n << " cell " << x;
#define CHK_DBL(n, o) EXPECT_EQ(n[x], Tag(a++, CellMinI[x], CellMinJ[x]) + 0.25) << #n << " cell " << x;
#define CHK_FLG(n, o) EXPECT_EQ(n[x], (CellMinJ[x] + a++) % 2) << #n << " cell " << x;
        ROOTSIM_CELL_INT_CARRIED(CHK_INT)
        ROOTSIM_CELL_DOUBLE_CARRIED(CHK_DBL)
        ROOTSIM_CELL_FLAG_CARRIED(CHK_FLG)
#undef CHK_INT
#undef CHK_DBL
#undef CHK_FLG
    }
}

// A cell that finds no old self by its corner takes the values of the old cell
// that held most of its points; one on points that held no cell starts from
// neutral values.  Neither takes the empty-slot markers, and both are reported.
TEST(Remap, CellWithoutPredecessorTakesItsMainOldOwnersValuesOrNeutralOnes) {
    StateGuard guard;
    ClearGrid();
    AddMirroredRectCell(40, 57, 150, 170, 6);
    Renumber();
    for (int x = 0; x < actcells; x++) {
        Plts[x] = 5.0 + x;
        TimePrevGrowth[x] = 100 + x;
        CellDivNr[x] = 3 + x;
        CellZonationState[x] = 30;
        ARRpassed[x] = 1;
        Rgrowavg[x] = 0.5 + x;
    }
    for (int s = actcells; s < MAXCELLS; s++) Plts[s] = 99.0;  // stale values of former cells
    const int left = CellByCorner(40, 150);
    const int old = actcells;
    // The lowest rows of the left cell go, so that its corner moves up; a new
    // cell appears where there was none.
    for (int i = 39; i <= 58; i++)
        for (int j = 149; j <= 153; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Tct[i][j] = Tmt[i][j] = 0;
            Cell[i][j] = -1;
        }
    AddRectCell(100, 104, 300, 310, 9);
    currentTime = 4242;
    StoreOldSituation(old);
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    testing::internal::CaptureStdout();
    MapOldToNewSituation(old);
    std::string said = testing::internal::GetCapturedStdout();
    currentTime = 0;

    const int moved = CellByCorner(40, 154);
    ASSERT_GE(moved, 0);
    EXPECT_EQ(MapCellNrs[moved], -1);
    EXPECT_EQ(Plts[moved], 5.0 + left);
    EXPECT_EQ(TimePrevGrowth[moved], 100 + left);
    EXPECT_EQ(CellDivNr[moved], 3 + left);
    EXPECT_EQ(CellZonationState[moved], 30);
    EXPECT_EQ(ARRpassed[moved], 1);
    EXPECT_EQ(Rgrowavg[moved], 0.5 + left);

    const int fresh = CellByCorner(100, 300);
    ASSERT_GE(fresh, 0);
    EXPECT_EQ(MapCellNrs[fresh], -1);
    EXPECT_EQ(Plts[fresh], 0.0);
    EXPECT_EQ(Rgrowavg[fresh], 0.0);
    EXPECT_EQ(TimePrevGrowth[fresh], 4242);
    EXPECT_EQ(CellDivNr[fresh], 0);
    EXPECT_EQ(CellZonationState[fresh], 0);
    EXPECT_EQ(JustChecked[fresh], 0);
    EXPECT_EQ(ARRpassed[fresh], 0);
    EXPECT_EQ(Auxminpassed[fresh], 0);

    EXPECT_NE(said.find("cell " + std::to_string(moved) + " has no predecessor after renumbering\n"),
              std::string::npos) << said;
    EXPECT_NE(said.find("cell " + std::to_string(fresh) + " has no predecessor after renumbering\n"),
              std::string::npos) << said;
}

// ---------------------------------------------------------------------------
// Tracking

class TrackFixture : public ::testing::Test {
protected:
    void SetUp() override {
        out.UseAsOutput();
        ResetCellTracking();
        ClearGrid();
        // A pericycle file through the observation point (83, 166).
        const int heights[] = {44, 20};
        AddMirroredFile(80, 88, 150, heights, 2, 8);
        Renumber();
    }
    std::string Log(int s) { return ReadFile(out.path() + "/TrackCell_" + std::to_string(s)); }
    StateGuard guard;
    TempDir out;
};

TEST_F(TrackFixture, FirstCallOnlyInitialisesSecondTakesTheObservedCell) {
    idcounter = 5;
    memid = 3;
    TrackCells(0);
    EXPECT_EQ(idcounter, 0);
    EXPECT_EQ(memid, -1);
    for (int s = 0; s < MAXTRACKED; s++) ASSERT_EQ(idlist[s], -1);
    EXPECT_FALSE(FileExists(out.path() + "/TrackCell_1"));
    TrackCells(2);
    int c = Cell[83][166];
    EXPECT_EQ(idcounter, 1);
    EXPECT_EQ(idlist[1], c);
    EXPECT_EQ(memid, c);
    // Seen again: no new identity.
    TrackCells(4);
    EXPECT_EQ(idcounter, 1);
}

TEST_F(TrackFixture, LogLineWithHalfIntegerMiddleRow) {
    TrackCells(0);
    int c = Cell[83][166];
    ASSERT_EQ(CellMinJ[c], 150);
    ASSERT_EQ(CellMaxJ[c], 193);
    MeanCells[c] = 12.5;
    CellDivNr[c] = 2;
    CellTimeLastDiv[c] = 6000;
    TrackCells(98);
    EXPECT_FALSE(FileExists(out.path() + "/TrackCell_1"));
    TrackCells(100);
    EXPECT_EQ(Log(1), "100\t" + std::to_string(c) + "\t12.500000\t0.000000\t44\t171.500000\t2\t6000\n");
    TrackCells(200);
    const std::string tail = "\t" + std::to_string(c) + "\t12.500000\t0.000000\t44\t171.500000\t2\t6000\n";
    EXPECT_EQ(Log(1), "100" + tail + "200" + tail);
}

TEST_F(TrackFixture, IdentitiesFollowDivisionReplacementAndRemoval) {
    TrackCells(0);
    TrackCells(2);
    int observed = Cell[83][166];
    // Divide the observed cell (44 rows: wall at 172): the lower daughter keeps
    // the corner and the identity.
    DivideCell(10, observed);
    int L = Cell[83][166];
    EXPECT_EQ(CellMinJ[L], 150);
    EXPECT_EQ(idlist[1], L);
    EXPECT_EQ(memid, L);
    TrackCells(12);
    EXPECT_EQ(idcounter, 1);

    // The lower daughter goes and a new cell takes the observation point.
    for (int i = 79; i <= 89; i++)
        for (int j = 149; j <= 171; j++) {
            Tc[i][j] = Tc[MIRRORSUM - i][j] = TC_OUTSIDE;
            Tct[i][j] = Tct[MIRRORSUM - i][j] = 0;
        }
    AddMirroredRectCell(80, 88, 160, 170, 8);
    const int old = actcells;
    StoreOldSituation(old);
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    testing::internal::CaptureStdout();
    MapOldToNewSituation(old);
    testing::internal::GetCapturedStdout();
    // The removed lower daughter's identity and memid are gone.
    EXPECT_EQ(idlist[1], -1);
    EXPECT_EQ(memid, -1);
    TrackCells(14);
    EXPECT_EQ(idcounter, 2);
    EXPECT_EQ(idlist[2], Cell[83][166]);
    // A gone identity writes no line and opens no file.
    TrackCells(100);
    EXPECT_FALSE(FileExists(out.path() + "/TrackCell_1"));
    EXPECT_TRUE(FileExists(out.path() + "/TrackCell_2"));
}

TEST_F(TrackFixture, MoreThan2999IdentitiesAreCountedAndReported) {
    TrackCells(0);
    idcounter = 2999;
    memid = -1;
    testing::internal::CaptureStdout();
    TrackCells(2);
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(idcounter, 3000);
    EXPECT_EQ(said, "idcounter is groter dan 3000\n");
    EXPECT_EQ(idlist[2999], -1);
}

}  // namespace
