// Growth in the b family, driven directly: b1's and b3's own cell growth and
// culling at the top against b2's.
#include <gtest/gtest.h>

#include "bfamily_support.h"
#include "plan.h"

using btest::CellWithCorner;
using btest::ProgramGuard;

namespace {

// Moves the whole root up by `rows` rows and keeps only its body (the cells
// above the meristem's top wall), numbered anew.
void ShiftBodyUp(int rows) {
    for (int i = 0; i < NCOLS; i++) {
        for (int j = NROWS - 1; j >= rows; j--) {
            Tc[i][j] = Tc[i][j - rows];
            Tct[i][j] = Tct[i][j - rows];
            Tmt[i][j] = Tmt[i][j - rows];
            Cell[i][j] = Cell[i][j - rows];
            Caux1[i][j] = Caux1[i][j - rows];
            for (const TissueField& f : TissueFields()) (*f.field)[i][j] = (*f.field)[i][j - rows];
        }
        for (int j = 0; j < rows; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Tct[i][j] = Tmt[i][j] = 0;
            Cell[i][j] = -1;
        }
    }
    const int bodyFloor = bfamily::Installed().meristemTopRow + rows;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < bodyFloor; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Tct[i][j] = Tmt[i][j] = 0;
            Cell[i][j] = -1;
        }
    NumberCells();
    FindCellCorners();
    FindCellSizes();
}

// The body of the root moved up until its top cells end one row under the
// cull row (by *shift rows), and its top epidermal cell of the left half.
int RootUnderTheCullRow(int* shift) {
    InitPlant();
    *shift = bplan::CULL_ROW - bfamily::Installed().bodyTopRow;
    ShiftBodyUp(*shift);
    int top = -1;
    for (int x = 0; x < actcells; x++)
        if (CellMaxJ[x] == bplan::CULL_ROW - 1 && CellMinI[x] == bplan::EPIDERMIS_FIRST_COL) top = x;
    return top;
}

int HighestCellRow() {
    int h = -1;
    for (int x = 0; x < actcells; x++)
        if (CellMaxJ[x] > h) h = CellMaxJ[x];
    return h;
}

}  // namespace

TEST(GrowthB1, GrowsWithoutDilutingLevelsAndDilutesAuxinByTheHeightRatio) {
    for (const bfamily::Rules& rules : {bfamily::B1Rules(), bfamily::B2Rules()}) {
        ProgramGuard guard(rules);
        InitPlant();
        const int x = CellWithCorner(bplan::CORTEX_FIRST_COL, 146);
        ASSERT_GE(x, 0);
        const int H = CellHeight[x], top = CellMaxJ[x];
        const int mid = (CellMinJ[x] + CellMaxJ[x]) / 2;
        const double auxin = Caux1[bplan::CORTEX_FIRST_COL + 3][mid];
        const double plts = Plts[x];
        rules.GrowCell(500, x, 0);
        EXPECT_EQ(CellMaxJ[x], top + 1);
        EXPECT_EQ(CellHeight[x], H + 1);
        EXPECT_EQ(TimePrevGrowth[x], 500);
        const double l = (H - 16) * 0.8888888888888888 + 16;  // rootsim's effective length
        if (rules.GrowCell == b1::GrowCell) {
            EXPECT_EQ(Plts[x], plts);
            EXPECT_EQ(Caux1[bplan::CORTEX_FIRST_COL + 3][mid], auxin * (H / (H + 1.0)));
        } else {
            EXPECT_EQ(Plts[x], plts * (l / (l + 0.8888888888888888)));
            EXPECT_EQ(Caux1[bplan::CORTEX_FIRST_COL + 3][mid], auxin * (l / (l + 1)));
        }
    }
}

TEST(GrowthB3, InsertsTheNewRowAtTheMiddleOfTheCell) {
    ProgramGuard guard(bfamily::B3Rules());
    InitPlant();
    const int col = bplan::PERICYCLE_FIRST_COL;
    const int x = CellWithCorner(col, 146);
    ASSERT_GE(x, 0);
    const int minJ = CellMinJ[x], maxJ = CellMaxJ[x], H = CellHeight[x];
    const int mid = minJ + H / 2;
    for (int j = minJ; j <= maxJ; j++) Caux1[col + 1][j] = 10 + j;  // rows told apart by their auxin
    const int above = Cell[col + 1][maxJ + 2];
    const int aboveMin = CellMinJ[above];
    const double plts = Plts[x];
    b3::GrowCell(600, x, 0);
    const double f = H / (H + 1.0);
    EXPECT_EQ(CellHeight[x], H + 1);
    EXPECT_EQ(CellMinJ[above], aboveMin + 1);
    // Rows below the middle stay, the middle row is there twice, the rows
    // above it moved up by one; all diluted by H / (H + 1), as are the levels.
    EXPECT_EQ(Caux1[col + 1][mid - 1], (10 + mid - 1) * f);
    EXPECT_EQ(Caux1[col + 1][mid], (10 + mid) * f);
    EXPECT_EQ(Caux1[col + 1][mid + 1], (10 + mid) * f);
    EXPECT_EQ(Caux1[col + 1][maxJ + 1], (10 + maxJ) * f);
    EXPECT_EQ(Tmt[col + 1][maxJ + 1], TMT_SHOOTWARD);
    EXPECT_EQ(Plts[x], plts * f);
}

// The tissue is its own mirror image: point classes, tissue types and which
// points hold a cell.
bool MirrorSymmetric() {
    for (int i = 0; i < AXIS; i++)
        for (int j = 0; j < NROWS; j++) {
            const int m = MIRRORSUM - i;
            if (Tc[i][j] != Tc[m][j] || Tct[i][j] != Tct[m][j] || (Cell[i][j] < 0) != (Cell[m][j] < 0)) return false;
        }
    return true;
}

TEST(CullAtTheTop, B2RemovesTheCellB1CutsTheRootAcrossB3CropsTheCell) {
    for (const bfamily::Rules& rules : {bfamily::B2Rules(), bfamily::B1Rules(), bfamily::B3Rules()}) {
        ProgramGuard guard(rules);
        int shift = 0;
        const int top = RootUnderTheCullRow(&shift);
        ASSERT_GE(top, 0);
        ASSERT_TRUE(MirrorSymmetric());
        const int cells = actcells;
        const int topMinJ = CellMinJ[top], topH = CellHeight[top];
        const int size = leftsize;
        // One more row of the epidermal files pushes their top cells into the
        // cull row, the left file's first and then its mirror, as the growth
        // step grows a cell and its mirror cell; the other files stay one row
        // below.
        const int col = bplan::EPIDERMIS_FIRST_COL, row = rules.meristemTopRow + 1 + shift;
        ASSERT_GE(CellWithCorner(col, row), 0);
        rules.GrowCell(700, CellWithCorner(col, row), 1);
        ASSERT_GE(Cell[MIRRORSUM - col][row + 1], 0);
        rules.GrowCell(700, Cell[MIRRORSUM - col][row + 1], 1);
        EXPECT_TRUE(MirrorSymmetric()) << rules.name;
        if (rules.CullOverflowCells == ::CullOverflowCells) {
            EXPECT_EQ(actcells, cells - 2);
            EXPECT_EQ(HighestCellRow(), bplan::CULL_ROW - 1);
            EXPECT_EQ(leftsize, size + topH);
            EXPECT_EQ(rightsize, leftsize);
        } else if (rules.CullOverflowCells == b1::CullOverflowCells) {
            // Every file loses its top cell: nothing reaches the culled
            // cells' lowest row any more.
            EXPECT_EQ(actcells, cells - 14);
            EXPECT_LT(HighestCellRow(), topMinJ + 1);
        } else {
            // The cells stay, cut to their lower half under a new top wall.
            EXPECT_EQ(actcells, cells);
            const int x = CellWithCorner(col, topMinJ + 1);
            ASSERT_GE(x, 0);
            const int w = topMinJ + 1 + topH / 2;
            EXPECT_EQ(CellMaxJ[x], w - 1);
            EXPECT_EQ(Tc[col + 2][w], TC_WALL);
            EXPECT_EQ(Tmt[col + 2][w - 1], TMT_SHOOTWARD);
            EXPECT_EQ(Tc[col + 2][w + 1], TC_OUTSIDE);
            EXPECT_EQ(HighestCellRow(), bplan::CULL_ROW - 1);  // the other files
        }
    }
}
