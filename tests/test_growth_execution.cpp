// Growth by one row and division of a cell on hand-made tissues.
#include <gtest/gtest.h>

#include "growth_tissue.h"
#include "rootsim.h"
#include "test_support.h"

using namespace growthtest;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

// Left half: a file over columns 40..57 with cells of 10, 12 and 20 rows from
// row 150, and an axis-side neighbour file over columns 59..76 holding one cell
// of rows 150..170; the wall column 58 is shared.  Mirrored on the right.
class GrowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        out.UseAsOutput();
        ClearGrid();
        const int heights[] = {10, 12, 20};
        AddMirroredFile(40, 57, 150, heights, 3, 6);
        AddMirroredRectCell(59, 76, 150, 170, 7);
        Renumber();
        // Distinct auxin per row and a row marker in the prepattern, so that
        // every move is visible.
        for (int i = 30; i <= MIRRORSUM - 30; i++)
            for (int j = 140; j < 260; j++) {
                Caux1[i][j] = j + 0.5;
                PinPrePat[i][j] = j;
            }
        grower = CellByCorner(40, 150);
        above = CellByCorner(40, 161);
        ASSERT_GE(grower, 0);
        ASSERT_GE(above, 0);
    }
    StateGuard guard;
    TempDir out;
    int grower = -1, above = -1;
};

double Dilution(int H) { return (H - 16) * 0.8888888888888888 + 16; }

TEST_F(GrowFixture, GrowthAddsOneRowAndMovesTheFileAbove) {
    const int cells = actcells;
    GrowCell(1000, grower, 0);
    EXPECT_EQ(actcells, cells);
    EXPECT_EQ(CellMinJ[grower], 150);
    EXPECT_EQ(CellMaxJ[grower], 160);
    EXPECT_EQ(CellHeight[grower], 11);
    EXPECT_EQ(CellSizes[grower], 18 * 11);
    EXPECT_EQ(CellMinJ[above], 162);
    EXPECT_EQ(CellMaxJ[above], 173);
    EXPECT_EQ(TimePrevGrowth[grower], 1000);
    // New top membrane one row higher, cytoplasm below it, wall above it.
    EXPECT_EQ(Tc[45][160], TC_MEMBRANE);
    EXPECT_EQ(Tmt[45][160], 1);
    EXPECT_EQ(Tc[45][159], TC_CYTO);
    EXPECT_EQ(Tc[45][158], TC_CYTO);
    EXPECT_EQ(Tc[45][161], TC_WALL);
    // Side membranes continue through the new rows.
    EXPECT_EQ(Tc[40][159], TC_MEMBRANE);
    EXPECT_EQ(Tmt[40][159], 4);
    EXPECT_EQ(Tmt[57][159], 3);
    // The mirror file has not moved.
    EXPECT_EQ(Tc[MIRRORSUM - 45][160], TC_WALL);
    EXPECT_EQ(CompareWithFullGeometry(), "");
    EXPECT_EQ(CheckCellRegions(), "");
}

TEST_F(GrowFixture, AuxinOfTheTopRowsAndItsDilution) {
    GrowCell(1000, grower, 0);
    const double l = Dilution(10);
    const double f = l / (l + 1);
    // Rows maxJ-2 .. maxJ hold the old row maxJ-2, except the auxin of row maxJ
    // which is the old row maxJ-1; rows above moved up by one.  Rows minJ ..
    // maxJ+1 (new numbering) are diluted.
    EXPECT_EQ(Caux1[45][150], 150.5 * f);
    EXPECT_EQ(Caux1[45][157], 157.5 * f);
    EXPECT_EQ(Caux1[45][158], 157.5 * f);
    EXPECT_EQ(Caux1[45][159], 158.5 * f);
    EXPECT_EQ(Caux1[45][160], 159.5 * f);
    EXPECT_EQ(Caux1[45][161], 160.5);
    EXPECT_EQ(Caux1[45][190], 189.5);
    EXPECT_EQ(Caux1[45][200], 200.5);  // above the file's old top (194 -> 195)
    // The outer wall column (39) moves and is diluted with the cell.
    EXPECT_EQ(Caux1[39][160], 159.5 * f);
    EXPECT_EQ(PinPrePat[39][190], 189.0);
    // Columns outside the file do not move.
    EXPECT_EQ(Caux1[38][200], 200.5);
    EXPECT_EQ(Caux1[60][160], 160.5);
}

TEST_F(GrowFixture, AxisSideWallMovesOnlyAboveTheShorterNeighbourFile) {
    GrowCell(1000, grower, 0);
    // Column 58 is shared with the neighbour file whose top wall is row 171:
    // it is copied at row r only where column 59 is outside at r + 1.
    // Row maxJ (159) takes row maxJ - 1 in every column of the cell and its walls.
    for (int r = 150; r <= 171; r++) EXPECT_EQ(PinPrePat[58][r], r == 159 ? 158 : r) << "row " << r;
    for (int r = 172; r <= 195; r++) EXPECT_EQ(PinPrePat[58][r], r - 1) << "row " << r;
    // Above the old top of the file (wall row 194, now 195) nothing moved.
    for (int r = 196; r < 255; r++) EXPECT_EQ(PinPrePat[58][r], r) << "row " << r;
    // The neighbour file itself is untouched.
    int nb = CellByCorner(59, 150);
    ASSERT_GE(nb, 0);
    EXPECT_EQ(CellMaxJ[nb], 170);
    EXPECT_EQ(CompareWithFullGeometry(), "");
}

TEST_F(GrowFixture, RightHalfMirrorsTheSideWallRule) {
    GrowCell(1000, grower, 0);
    int mirror = CellByCorner(MIRRORSUM - 57, 150);
    ASSERT_GE(mirror, 0);
    GrowCell(1000, mirror, 0);
    EXPECT_EQ(CheckMirrorSymmetry(), "");
    for (int r = 140; r < 260; r++) {
        ASSERT_EQ(PinPrePat[MIRRORSUM - 58][r], PinPrePat[58][r]) << "row " << r;
        ASSERT_EQ(Caux1[MIRRORSUM - 45][r], Caux1[45][r]) << "row " << r;
    }
    EXPECT_EQ(CompareWithFullGeometry(), "");
}

TEST_F(GrowFixture, DividingGrowthDilutesCellLevelsElongationDoesNot) {
    auto setLevels = [](int c) {
        AA[c] = BB[c] = CC[c] = DD[c] = 9.0;
        Plts[c] = ARR1[c] = ARR1RGA[c] = ARR12[c] = 9.0;
        divTF[c] = elongTF[c] = Yuc3[c] = Gh317[c] = Gh33[c] = Aux1[c] = 9.0;
        ARF[c] = Pin[c] = Pin2[c] = MeanCells[c] = 9.0;
    };
    setLevels(grower);
    const double l = Dilution(10);
    const double cf = l / (l + 0.8888888888888888);
    GrowCell(1000, grower, 0);
    for (double* x : {AA, BB, CC, DD, Plts, ARR1, ARR1RGA, ARR12, divTF, elongTF, Yuc3, Gh317, Gh33, Aux1})
        EXPECT_EQ(x[grower], 9.0 * cf);
    for (double* x : {ARF, Pin, Pin2, MeanCells}) EXPECT_EQ(x[grower], 9.0);

    // Elongation: levels stay, grid auxin is still diluted (now H = 11).
    setLevels(grower);
    const double l11 = Dilution(11);
    const double before = Caux1[45][152];
    GrowCell(1002, grower, 1);
    for (double* x : {AA, Plts, ARR12, divTF, Aux1, ARF}) EXPECT_EQ(x[grower], 9.0);
    EXPECT_EQ(Caux1[45][152], before * (l11 / (l11 + 1)));
    EXPECT_EQ(CellHeight[grower], 12);
}

TEST(GrowthDilution, SixteenRowCellFactors) {
    StateGuard guard;
    TempDir out;
    out.UseAsOutput();
    ClearGrid();
    AddMirroredRectCell(40, 57, 150, 165, 6);
    Renumber();
    int c = CellByCorner(40, 150);
    for (int j = 150; j <= 166; j++) Caux1[45][j] = 17.0;
    Plts[c] = 16.0 + 0.8888888888888888;
    GrowCell(5, c, 0);
    // l = 16: grid factor 16/17, level factor 16/(16 + 8/9).
    EXPECT_EQ(Caux1[45][150], 17.0 * (16.0 / 17.0));
    EXPECT_EQ(Plts[c], (16.0 + 0.8888888888888888) * (16.0 / (16.0 + 0.8888888888888888)));
    EXPECT_NEAR(Caux1[45][150], 16.0, 1e-12);
    EXPECT_NEAR(Plts[c], 16.0, 1e-12);
}

// A file whose top already lies in the last row: the shift stops at the grid
// edge instead of writing into the next column's first rows.
TEST(GrowthAtTheEdge, ShiftNeverWritesBeyondTheLastRow) {
    StateGuard guard;
    TempDir out;
    out.UseAsOutput();
    ClearGrid();
    AddMirroredRectCell(40, 57, 150, 170, 6);
    for (int i = 39; i <= 58; i++) {
        Tc[i][NROWS - 1] = Tc[MIRRORSUM - i][NROWS - 1] = TC_WALL;
        Tct[i][NROWS - 1] = Tct[MIRRORSUM - i][NROWS - 1] = 20;
    }
    Renumber();
    for (int i = 38; i <= 60; i++) {
        Tc[i][0] = 7;  // markers in the first row of each column
        Caux1[i][0] = 123.0;
    }
    int c = CellByCorner(40, 150);
    GrowCell(10, c, 0);
    EXPECT_EQ(CellHeight[c], 22);
    for (int i = 38; i <= 60; i++) {
        EXPECT_EQ(Tc[i][0], 7) << "column " << i;
        EXPECT_EQ(Caux1[i][0], 123.0) << "column " << i;
    }
}

// ---------------------------------------------------------------------------
// Division

class DivideFixture : public ::testing::Test {
protected:
    void SetUp() override {
        out.UseAsOutput();
        ClearGrid();
        // Left: a 17-row cell at row 150, an 18-row cell above it, a 9-row top cell.
        const int heights[] = {17, 18, 9};
        AddMirroredFile(40, 57, 150, heights, 3, 6);
        Renumber();
        // Each cell's values mark the cell, and its membrane rows carry
        // prepattern values that tell bottom from top.
        for (int x = 0; x < actcells; x++) {
            PP[x] = 1000 + x;
            Plts[x] = 50 + x;
            CellDivNr[x] = 2;
            Rdiv[x] = 1e-5 * (x + 1);
            JustChecked[x] = 1;
            CellZonationState[x] = 30;
            ARRpassed[x] = 1;
            TempdivTF[x] = 77;
            for (int i = CellMinI[x]; i <= CellMaxI[x]; i++) {
                PinPrePat[i][CellMinJ[x]] = 2.0;
                PinPrePat[i][CellMaxJ[x]] = 1.0;
                Aux1PrePat[i][CellMinJ[x]] = 20.0;
                Aux1PrePat[i][CellMaxJ[x]] = 10.0;
            }
        }
    }
    StateGuard guard;
    TempDir out;
};

TEST_F(DivideFixture, SeventeenRowsGiveTwoEightRowDaughtersWithAWall) {
    const int cells = actcells;
    int mother = CellByCorner(40, 150);
    const double motherPlts = Plts[mother];
    const double motherPP = PP[mother];
    DivideCell(4000, mother);
    EXPECT_EQ(actcells, cells + 1);
    int L = CellByCorner(40, 150);
    int U = CellByCorner(40, 159);
    ASSERT_GE(L, 0);
    ASSERT_GE(U, 0);
    EXPECT_EQ(CellHeight[L], 8);
    EXPECT_EQ(CellHeight[U], 8);
    for (int i = 40; i <= 57; i++) {
        EXPECT_EQ(Tc[i][158], TC_WALL);
        EXPECT_EQ(Tct[i][158], 20);
        EXPECT_EQ(Tmt[i][157], 1);
        EXPECT_EQ(Tmt[i][159], 2);
        // The new membranes take the mother's top and bottom prepatterns.
        EXPECT_EQ(PinPrePat[i][157], 1.0);
        EXPECT_EQ(PinPrePat[i][159], 2.0);
        EXPECT_EQ(Aux1PrePat[i][159], 20.0);
    }
    // Lower daughter starting at row 150 keeps a stem cell's count.
    EXPECT_EQ(CellDivNr[L], 0);
    EXPECT_EQ(CellDivNr[U], 3);
    for (int d : {L, U}) {
        EXPECT_EQ(TimePrevGrowth[d], 4000);
        EXPECT_EQ(CellTimeLastDiv[d], 4000);
        EXPECT_EQ(Plts[d], motherPlts);
        EXPECT_EQ(PP[d], motherPP);
        EXPECT_EQ(JustChecked[d], 1);
        EXPECT_EQ(CellZonationState[d], 30);
        EXPECT_EQ(ARRpassed[d], 1);
        EXPECT_EQ(TempdivTF[d], 77.0);
    }
    EXPECT_EQ(CheckCellRegions(), "");
    EXPECT_EQ(CompareWithFullGeometry(), "");
}

TEST_F(DivideFixture, EvenHeightAboveRow150CountsUpAndOtherCellsKeepTheirValues) {
    int mother = CellByCorner(40, 168);  // 18 rows: 168..185
    ASSERT_GE(mother, 0);
    // Values of every other cell by its corner, to compare after renumbering.
    std::vector<std::pair<std::pair<int, int>, double>> others;
    for (int x = 0; x < actcells; x++)
        if (x != mother) others.push_back({{CellMinI[x], CellMinJ[x]}, PP[x]});
    DivideCell(4000, mother);
    int L = CellByCorner(40, 168);
    int U = CellByCorner(40, 178);  // wall at 168 + 9 = 177
    ASSERT_GE(L, 0);
    ASSERT_GE(U, 0);
    EXPECT_EQ(CellHeight[L], 9);   // H/2
    EXPECT_EQ(CellHeight[U], 8);   // H - H/2 - 1
    EXPECT_EQ(CellDivNr[L], 3);
    EXPECT_EQ(CellDivNr[U], 3);
    // The upper daughter gets the mother's rates until they are recomputed.
    EXPECT_EQ(Rdiv[U], Rdiv[L]);
    for (auto& o : others) {
        int x = CellByCorner(o.first.first, o.first.second);
        ASSERT_GE(x, 0);
        EXPECT_EQ(PP[x], o.second);
    }
    EXPECT_EQ(CheckCellRegions(), "");
}

// A mother whose leftmost columns exist only in its upper half: the lower
// daughter's corner is not the mother's, yet it continues the mother.
TEST(DivideShape, LowerDaughterOfANonRectangularMotherKeepsItsValues) {
    StateGuard guard;
    ClearGrid();
    AddRectCell(40, 57, 150, 170, 6);
    for (int i = 35; i <= 39; i++)
        for (int j = 164; j <= 171; j++) {
            bool edge = i == 35 || j == 164 || j == 171;
            Tc[i][j] = edge ? TC_WALL : TC_CYTO;
            Tct[i][j] = edge ? 20 : 6;
        }
    Renumber();
    ASSERT_EQ(actcells, 1);
    ASSERT_EQ(CellMinI[0], 36);
    Plts[0] = 4.5;
    CellDivNr[0] = 1;
    testing::internal::CaptureStdout();
    DivideCell(300, 0);
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(said, "");
    ASSERT_EQ(actcells, 2);
    int L = Cell[45][155], U = Cell[45][165];
    EXPECT_EQ(CellMinI[L], 40);
    EXPECT_EQ(CellMinI[U], 36);
    EXPECT_EQ(MapCellNrs[L], 0);
    EXPECT_EQ(Plts[L], 4.5);
    EXPECT_EQ(Plts[U], 4.5);
    EXPECT_EQ(CellDivNr[L], 0);  // starts at row 150
    EXPECT_EQ(CellDivNr[U], 2);
}

TEST(DivideCapacity, FullCellTablesSkipTheDivision) {
    StateGuard guard;
    ClearGrid();
    AddMirroredRectCell(40, 57, 150, 170, 6);
    Renumber();
    int c = CellByCorner(40, 150);
    const int realCells = actcells;
    actcells = MAXCELLS;  // pretend the tables are full
    testing::internal::CaptureStdout();
    EXPECT_FALSE(TryDivideCell(10, c));
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("capacity"), std::string::npos);
    actcells = realCells;
    EXPECT_EQ(Tc[45][160], TC_CYTO);  // no wall was drawn
}

}  // namespace
