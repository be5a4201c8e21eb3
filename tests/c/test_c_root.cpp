// The c root on its 251 x 1782 grid: the initial layout, membrane sides,
// numbering and the transporter pre-pattern.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "InitPlant.h"
#include "plan.h"
#include "state.h"

using namespace croot;

namespace {

std::string initOutput;  // what InitPlant printed

class CRootEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        AllocateState();
        ::testing::internal::CaptureStdout();
        InitPlant();
        initOutput = ::testing::internal::GetCapturedStdout();
    }
    void TearDown() override { ReleaseState(); }
};

const ::testing::Environment* const env = ::testing::AddGlobalTestEnvironment(new CRootEnvironment);

bool IsCellPoint(int i, int j) { return Tc[i][j] == TC_CYTO || Tc[i][j] == TC_MEMBRANE; }

// Tissue code at a cell's centre, the way the program types cells.
int CentreType(int x) { return Tct[(CellMinI[x] + CellMaxI[x]) / 2][(CellMinJ[x] + CellMaxJ[x]) / 2]; }

// ---------------------------------------------------------------------------
// Layout

TEST(CRootLayout, MirrorSymmetricWithOutsideEdges) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            const int m = MIRRORSUM - i;
            ASSERT_EQ(Tc[i][j], Tc[m][j]) << i << " " << j;
            ASSERT_EQ(Tct[i][j], Tct[m][j]) << i << " " << j;
            ASSERT_EQ(Tmt[i][j], Tmt[m][j]) << i << " " << j;
            ASSERT_EQ(Cell[i][j] >= 0, Cell[m][j] >= 0) << i << " " << j;
        }
    for (int j = 0; j < NROWS; j++) {
        EXPECT_EQ(Tc[0][j], TC_OUTSIDE);
        EXPECT_EQ(Tc[NCOLS - 1][j], TC_OUTSIDE);
    }
    for (int i = 0; i < NCOLS; i++)
        for (int j : {0, kTipBottomRow - 1, kBodyTopRow + 1, NROWS - 1}) EXPECT_EQ(Tc[i][j], TC_OUTSIDE);
    // The axis is a wall along the whole root.
    for (int j = kTipBottomRow; j <= kBodyTopRow; j++) EXPECT_EQ(Tc[AXIS][j], TC_WALL) << j;
    EXPECT_EQ(initOutput.find("something is wrong in tissue layout"), std::string::npos) << initOutput;
}

// Codes of every point; membranes are the cell points beside a wall, and
// each has a side.
TEST(CRootLayout, CodesWallsAndMembranes) {
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = 1; j < NROWS - 1; j++) {
            const int tc = Tc[i][j], t = Tct[i][j];
            if (tc == TC_OUTSIDE || tc == TC_WALL) {
                ASSERT_EQ(t, tc == TC_WALL ? TCT_WALL : TCT_NONE) << i << " " << j;
                ASSERT_EQ(Tmt[i][j], 0) << i << " " << j;
                continue;
            }
            ASSERT_TRUE(t >= TCT_LRC1 && t <= TCT_COLUMELLA_STEM) << i << " " << j << " type " << t;
            const bool touchesWall = Tc[i + 1][j] == TC_WALL || Tc[i - 1][j] == TC_WALL ||
                                     Tc[i][j + 1] == TC_WALL || Tc[i][j - 1] == TC_WALL;
            ASSERT_EQ(tc == TC_MEMBRANE, touchesWall) << i << " " << j;
            if (tc == TC_MEMBRANE)
                ASSERT_TRUE(Tmt[i][j] >= 1 && Tmt[i][j] <= 4) << i << " " << j << " side " << Tmt[i][j];
            else
                ASSERT_EQ(Tmt[i][j], 0) << i << " " << j;
            // A cell never borders the outside without a wall between.
            ASSERT_FALSE(Tc[i + 1][j] == TC_OUTSIDE || Tc[i - 1][j] == TC_OUTSIDE ||
                         Tc[i][j + 1] == TC_OUTSIDE || Tc[i][j - 1] == TC_OUTSIDE)
                << i << " " << j;
        }
}

// Every 4-connected region of cell points is exactly one cell, with a number
// of its own, and the numbers run from 0 to actcells - 1.
TEST(CRootLayout, EveryRegionIsOneNumberedCell) {
    std::vector<int> region(static_cast<size_t>(NCOLS) * NROWS, -1);
    std::vector<int> numberOfRegion;
    std::vector<int> regionOfNumber(MAXCELLS, -1);
    for (int i0 = 0; i0 < NCOLS; i0++)
        for (int j0 = 0; j0 < NROWS; j0++) {
            if (!IsCellPoint(i0, j0) || region[i0 * NROWS + j0] >= 0) continue;
            const int id = static_cast<int>(numberOfRegion.size());
            const int number = Cell[i0][j0];
            ASSERT_GE(number, 0) << i0 << " " << j0;
            ASSERT_LT(number, actcells);
            ASSERT_EQ(regionOfNumber[number], -1) << "cell " << number << " has two regions";
            regionOfNumber[number] = id;
            numberOfRegion.push_back(number);
            std::vector<std::pair<int, int>> stack{{i0, j0}};
            region[i0 * NROWS + j0] = id;
            while (!stack.empty()) {
                auto [i, j] = stack.back();
                stack.pop_back();
                ASSERT_EQ(Cell[i][j], number) << "region of cell " << number << " at " << i << " " << j;
                const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
                for (int q = 0; q < 4; q++) {
                    const int a = i + di[q], b = j + dj[q];
                    if (IsCellPoint(a, b) && region[a * NROWS + b] < 0) {
                        region[a * NROWS + b] = id;
                        stack.push_back({a, b});
                    }
                }
            }
        }
    EXPECT_EQ(static_cast<int>(numberOfRegion.size()), actcells);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (!IsCellPoint(i, j)) {
                ASSERT_EQ(Cell[i][j], -1) << i << " " << j;
            }
}

// The walls form one network joined through their four neighbours, so that
// auxin can move along every wall of the root.
TEST(CRootLayout, WallsFormOneFourConnectedNetwork) {
    std::vector<char> seen(static_cast<size_t>(NCOLS) * NROWS, 0);
    int walls = 0, reached = 0;
    std::vector<std::pair<int, int>> stack;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] == TC_WALL) {
                walls++;
                if (stack.empty() && reached == 0) {
                    stack.push_back({i, j});
                    seen[i * NROWS + j] = 1;
                    reached = 1;
                }
            }
    while (!stack.empty()) {
        auto [i, j] = stack.back();
        stack.pop_back();
        const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
        for (int q = 0; q < 4; q++) {
            const int a = i + di[q], b = j + dj[q];
            if (Tc[a][b] == TC_WALL && !seen[a * NROWS + b]) {
                seen[a * NROWS + b] = 1;
                reached++;
                stack.push_back({a, b});
            }
        }
    }
    EXPECT_EQ(reached, walls);
}

// Cell counts: per half, each of the seven straight files has the meristem
// bands and the body cells, the cap beside them its own cells, and the tip
// its cells by tissue.
TEST(CRootLayout, CellCounts) {
    const std::map<int, int> tipPerHalf = {{1, 3},  {2, 2},  {3, 1},  {4, 1},  {5, 3},  {6, 4},
                                           {7, 2},  {8, 1},  {10, 1}, {11, 1}, {12, 1}, {13, 2},
                                           {14, 2}, {15, 2}, {16, 2}, {17, 2}};
    std::map<int, int> tip;
    int straightLeft = 0, left = 0;
    for (int x = 0; x < actcells; x++) {
        if (CellMaxI[x] >= AXIS) continue;  // right half: mirrored
        left++;
        if (CellMaxJ[x] < kTipTopRow)
            tip[CentreType(x)]++;
        else
            straightLeft++;
    }
    EXPECT_EQ(2 * left, actcells);
    EXPECT_EQ(tip, tipPerHalf);
    EXPECT_EQ(straightLeft, 7 * (kMeristemBands + kBodyCells) + kCapWallCount);
    EXPECT_EQ(actcells, 616);
}

// Along every row of the straight files the tissues follow one another from
// the outside to the axis in one order; along the column beside the axis the
// tip's layers follow one another from the tip upward.
TEST(CRootLayout, TissueOrder) {
    const std::vector<int> order = {TCT_LRC1,       TCT_EPIDERMIS,   TCT_CORTEX,     TCT_ENDODERMIS,
                                    TCT_PERICYCLE, TCT_VASC_OUTER, TCT_VASC_MIDDLE, TCT_VASC_CENTRAL};
    for (int j = kTipTopRow + 1; j < kBodyTopRow; j++) {
        std::vector<int> seen;
        for (int i = 0; i < AXIS; i++)
            if (IsCellPoint(i, j) && (seen.empty() || seen.back() != Tct[i][j])) seen.push_back(Tct[i][j]);
        if (Tc[kCortexFirstCol + 1][j] == TC_WALL) continue;  // a row of cross walls
        const std::vector<int> want(order.begin() + (j < kCapTopRow ? 0 : 1), order.end());
        ASSERT_EQ(seen, want) << "row " << j;
    }
    std::vector<int> upward;
    for (int j = 0; j < kTipTopRow; j++) {
        const int t = Tct[AXIS - 1][j];
        if (IsCellPoint(AXIS - 1, j) && (upward.empty() || upward.back() != t)) upward.push_back(t);
    }
    EXPECT_EQ(upward, (std::vector<int>{13, 14, 15, 16, TCT_COLUMELLA_STEM, TCT_QC, TCT_PERICYCLE,
                                        TCT_VASC_CENTRAL}));
}

// Measurement points of the plan lie in the tissues they are meant for.
TEST(CRootLayout, PlanPointsInTheirTissues) {
    for (int col : {kSampleLeftCol, kSampleRightCol}) {
        const int x = Cell[col][kSampleRow];
        ASSERT_GE(x, 0);
        EXPECT_EQ(Tct[col][kSampleRow], TCT_LRC1);
        EXPECT_EQ(CellMaxJ[x], kCapTopRow - 1) << "the topmost cap cell";
    }
    const std::pair<int, int> files[] = {
        {kProfileEpidermisCol, TCT_EPIDERMIS},      {kProfileCortexCol, TCT_CORTEX},
        {kProfileEndodermisCol, TCT_ENDODERMIS},    {kPericycleFirstCol, TCT_PERICYCLE},
        {kProfileVascCol, TCT_VASC_OUTER},          {kCellProfileEpidermisCol, TCT_EPIDERMIS},
        {kCellProfileCortexCol, TCT_CORTEX},        {kCellProfileEndodermisCol, TCT_ENDODERMIS},
        {kCellProfileVascCol, TCT_VASC_OUTER},      {kFactorSourceCol, TCT_VASC_OUTER},
        {kEpidermisProbeCol, TCT_EPIDERMIS},        {kCapProbeCol, TCT_LRC1}};
    for (auto [col, t] : files)
        for (int j : {kTipTopRow + 5, 300, kBodyTopRow - 5}) {
            if (t == TCT_LRC1 && j > kCapTopRow) continue;
            EXPECT_EQ(Tct[col][j], t) << "column " << col << " row " << j;
            EXPECT_EQ(Tct[MIRRORSUM - col][j], t) << "column " << MIRRORSUM - col << " row " << j;
        }
}

// ---------------------------------------------------------------------------
// Membrane sides

// Cells of the straight files: shootward on the top row, rootward on the
// bottom row, inner toward the axis, outer away from it.
TEST(CRootSides, StraightCellsByTheirBox) {
    int checked = 0;
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = kTipTopRow + 1; j <= kBodyTopRow; j++) {
            if (Tc[i][j] != TC_MEMBRANE) continue;
            const int x = Cell[i][j];
            const bool left = i < AXIS;
            int want;
            if (j == CellMaxJ[x])
                want = 1;
            else if (j == CellMinJ[x])
                want = 2;
            else if (Tc[left ? i + 1 : i - 1][j] == TC_WALL)
                want = 3;
            else
                want = 4;
            ASSERT_EQ(Tmt[i][j], want) << i << " " << j;
            checked++;
        }
    EXPECT_GT(checked, 10000);
}

// Cells of the tip: lateral membranes follow the layers around the centre of
// the tip, inner ones nearer to it than outer ones; shootward and rootward
// membranes follow the radial walls, rootward ones nearer the axis.
TEST(CRootSides, TipCellsAroundTheCentre) {
    struct Sums {
        double r[5] = {0, 0, 0, 0, 0}, a[5] = {0, 0, 0, 0, 0};
        int n[5] = {0, 0, 0, 0, 0};
    };
    std::map<int, Sums> cells;
    for (int i = 1; i < AXIS; i++)
        for (int j = kTipBottomRow; j < kTipTopRow - 1; j++) {
            if (Tc[i][j] != TC_MEMBRANE) continue;
            const double dk = AXIS - i, dr = kRadialCentreRow - j;
            Sums& s = cells[Cell[i][j]];
            const int side = Tmt[i][j];
            s.r[side] += std::sqrt(dk * dk + dr * dr);
            s.a[side] += std::atan2(dk, dr);
            s.n[side]++;
        }
    int lateral = 0, radial = 0;
    for (auto& [x, s] : cells) {
        if (CellMaxJ[x] >= kTipTopRow) continue;
        const int t = CentreType(x);
        if (t >= TCT_VASC_OUTER && t <= TCT_VASC_CENTRAL) continue;  // straight walls, by their box
        if (s.n[3] > 0 && s.n[4] > 0) {
            EXPECT_LT(s.r[3] / s.n[3], s.r[4] / s.n[4]) << "cell " << x << " type " << t;
            lateral++;
        }
        if (s.n[1] > 0 && s.n[2] > 0) {
            EXPECT_LT(s.a[2] / s.n[2], s.a[1] / s.n[1]) << "cell " << x << " type " << t;
            radial++;
        }
    }
    EXPECT_GE(lateral, 20);
    EXPECT_GE(radial, 20);
}

// ---------------------------------------------------------------------------
// Transporter pre-pattern

TEST(CRootPrePattern, MirrorSymmetricOnMembranesOnlyAndNoAux1) {
    int carrying = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            ASSERT_EQ(PinPrePat[i][j], PinPrePat[MIRRORSUM - i][j]) << i << " " << j;
            if (Tc[i][j] != TC_MEMBRANE) {
                ASSERT_EQ(PinPrePat[i][j], 0.0) << i << " " << j;
            }
            if (PinPrePat[i][j] != 0) carrying++;
            ASSERT_EQ(Aux1PrePat[i][j], 0.0) << i << " " << j;
        }
    EXPECT_GT(carrying, 5000);

    // Building it again clears whatever AUX1 pattern there was.
    Aux1PrePat[30][300] = 1;
    Aux1PrePat[MIRRORSUM - 30][300] = 1;
    SetUpPrePattern();
    EXPECT_EQ(Aux1PrePat[30][300], 0.0);
    EXPECT_EQ(Aux1PrePat[MIRRORSUM - 30][300], 0.0);
}

// The pericycle's threshold row in column d is trunc(5 d - 421).  The cup of
// pericycle under the vasculature crosses it: in column 119 (threshold 174)
// its lower, outer lateral membrane lies on the threshold and its upper,
// inner lateral one above it.
TEST(CRootPrePattern, PericycleThreshold) {
    struct Point {
        int col, row, side;
        double share;
    };
    const Point cup[] = {
        {119, 174, 4, 1.0},  // outer lateral at the threshold: carries
        {119, 179, 3, 0.1},  // inner lateral above it
        {120, 174, 4, 1.0},  // threshold 179: both at or below
        {120, 179, 3, 0.0},
        {118, 174, 4, 0.0},  // threshold 169: both above
        {118, 179, 3, 0.1},
        {124, 176, 2, 0.0},  // beside the axis: rootward, below the threshold
    };
    for (const Point& p : cup) {
        for (int col : {p.col, MIRRORSUM - p.col}) {
            ASSERT_EQ(Tct[col][p.row], TCT_PERICYCLE) << col << " " << p.row;
            ASSERT_EQ(Tmt[col][p.row], p.side) << col << " " << p.row;
            EXPECT_EQ(PinPrePat[col][p.row], p.share) << col << " " << p.row;
        }
    }
    // Column 90, threshold 29: in the root all its pericycle lies far above
    // (its outer membranes carry nothing, the cells' lowest rows carry 1) ...
    int outer = 0, rootward = 0;
    for (int j = kTipTopRow + 1; j < kMeristemTopRow; j++) {
        if (Tct[90][j] != TCT_PERICYCLE || Tc[90][j] != TC_MEMBRANE) continue;
        const double want = Tmt[90][j] == 2 ? 1.0 : 0.0;
        EXPECT_EQ(PinPrePat[90][j], want) << j;
        outer += Tmt[90][j] == 4;
        rootward += Tmt[90][j] == 2;
    }
    EXPECT_GT(outer, 100);
    EXPECT_EQ(rootward, kMeristemBands);
    // ... and the rule on both sides of it.
    EXPECT_EQ(PrePatternPinShare(TCT_PERICYCLE, 4, 90, 29), 1.0);
    EXPECT_EQ(PrePatternPinShare(TCT_PERICYCLE, 4, 90, 30), 0.0);
    EXPECT_EQ(PrePatternPinShare(TCT_PERICYCLE, 2, 90, 29), 0.0);
    EXPECT_EQ(PrePatternPinShare(TCT_PERICYCLE, 2, 90, 30), 1.0);
    EXPECT_EQ(PrePatternPinShare(TCT_PERICYCLE, 3, 90, 29), 0.0);
    EXPECT_EQ(PrePatternPinShare(TCT_PERICYCLE, 3, 90, 30), 0.1);
    EXPECT_EQ(PrePatternPinShare(TCT_PERICYCLE, 1, 90, 30), 0.0);
}

// Cortex: rootward PIN up to row 465, shootward PIN above row 466, which is the
// wall closing the meristem.
TEST(CRootPrePattern, CortexAroundTheMeristemTop) {
    const int col = kCortexFirstCol + 5;
    ASSERT_EQ(Tc[col][kMeristemTopRow], TC_WALL);
    // The last meristem cell, rows 458..465, and the first body cell, 467..538.
    EXPECT_EQ(Tmt[col][kMeristemTopRow - 8], 2);
    EXPECT_EQ(PinPrePat[col][kMeristemTopRow - 8], 1.0);
    EXPECT_EQ(Tmt[col][kMeristemTopRow - 1], 1);
    EXPECT_EQ(PinPrePat[col][kMeristemTopRow - 1], 0.0);
    EXPECT_EQ(Tmt[col][kMeristemTopRow + 1], 2);
    EXPECT_EQ(PinPrePat[col][kMeristemTopRow + 1], 0.0);
    EXPECT_EQ(Tmt[col][kMeristemTopRow + kBodyPeriod - 1], 1);
    EXPECT_EQ(PinPrePat[col][kMeristemTopRow + kBodyPeriod - 1], 1.0);
    EXPECT_EQ(PinPrePat[kCortexFirstCol][300], 0.0);   // outer lateral
    EXPECT_EQ(PinPrePat[kCortexLastCol][300], 0.1);    // inner lateral
    // The rows themselves, for a cell that would straddle them.
    EXPECT_EQ(PrePatternPinShare(TCT_CORTEX, 2, col, 465), 1.0);
    EXPECT_EQ(PrePatternPinShare(TCT_CORTEX, 2, col, 466), 0.0);
    EXPECT_EQ(PrePatternPinShare(TCT_CORTEX, 1, col, 466), 0.0);
    EXPECT_EQ(PrePatternPinShare(TCT_CORTEX, 1, col, 467), 1.0);
}

// Columella tier 1 carries 0.5 on its shootward, rootward and inner membranes
// and nothing toward the tip surface; the upper tiers carry 1 everywhere.
TEST(CRootPrePattern, Columella) {
    std::map<int, std::map<int, int>> count;  // type -> side -> points checked
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = kTipBottomRow; j < kTipTopRow; j++) {
            if (Tc[i][j] != TC_MEMBRANE) continue;
            const int t = Tct[i][j], s = Tmt[i][j];
            if (t == TCT_COLUMELLA1) {
                ASSERT_EQ(PinPrePat[i][j], s == 4 ? 0.0 : 0.5) << i << " " << j;
                count[t][s]++;
            } else if (t > TCT_COLUMELLA1 && t <= TCT_COLUMELLA_STEM) {
                ASSERT_EQ(PinPrePat[i][j], 1.0) << i << " " << j;
                count[t][s]++;
            }
        }
    for (int s = 1; s <= 4; s++) EXPECT_GT(count[TCT_COLUMELLA1][s], 0) << "side " << s;
    for (int t = 14; t <= TCT_COLUMELLA_STEM; t++) EXPECT_GT(count[t][3] + count[t][4], 0) << t;
}

// ---------------------------------------------------------------------------
// Initial cell states

TEST(CRootInitialState, ByTissueAndBand) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) ASSERT_EQ(Caux1[i][j], IsCellPoint(i, j) ? 40.0 : 0.0) << i << " " << j;
    const int qc = Cell[AXIS - 3][static_cast<int>(kCortexCurve.o + kPericycleCurve.o) / 2];
    ASSERT_EQ(CentreType(qc), TCT_QC);
    EXPECT_EQ(ARF[qc], 45);
    EXPECT_EQ(Plts[qc], 125);
    EXPECT_EQ(Gh33[qc], 100);
    const int col = kEpidermisFirstCol + 5;
    const int first = Cell[col][kTipTopRow + 1], second = Cell[col][kTipTopRow + 1 + kBandPeriod];
    const int third = Cell[col][kTipTopRow + 1 + 2 * kBandPeriod], body = Cell[col][kMeristemTopRow + 1];
    EXPECT_EQ(CellDivNr[first], 0);
    EXPECT_EQ(CellDivNr[second], 1);
    EXPECT_EQ(CellDivNr[third], 3);
    EXPECT_EQ(Plts[first], 145);
    EXPECT_EQ(Plts[body], 175);
    EXPECT_EQ(Gh33[body], 0);
    // The carrier update of time 0 gives the zonation by the cell's top row:
    // tip, meristem, mature body.
    for (int x = 0; x < actcells; x++) {
        const int top = CellMaxJ[x];
        const int zone = top < kTipTopRow ? Z_TIP : (top < kMeristemTopRow ? Z_DIVIDING : Z_MATURE);
        EXPECT_EQ(CellZonationState[x], zone) << x;
        EXPECT_EQ(Diff[x], zone == Z_MATURE ? 100.0 : 0.0) << x;
    }
}

}  // namespace
