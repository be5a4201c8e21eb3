// The b family's initial roots (rootsim_b2, shared by b1 and b4, and
// rootsim_b3) on the 141 x 873 grid: what the plan (variants/plan.h) and the
// issue require of them, checked on the built grid.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bfamily.h"
#include "plan.h"
#include "bfamily.h"

using namespace bplan;

namespace {

struct Program {
    const char* name;
    bfamily::Rules (*rules)();
    int meristemBands;
    int meristemTopRow;
    int bodyTopRow;
    int lrcTopRow;
    int radialCentreRow;  // where the tip's radial lines meet (the tip's frame below)
    bool cornersLateral;  // b3 gives the corners of straight cells to the lateral sides
    int cells;            // cells of the initial root
};

const Program kB2{"b2", bfamily::B2Rules, MERISTEM_BANDS, MERISTEM_TOP_ROW, BODY_TOP_ROW,
                  LRC_TOP_ROW, RADIAL_CENTRE_ROW, false, 410};
const Program kB3{"b3", bfamily::B3Rules, B3_MERISTEM_BANDS, B3_MERISTEM_TOP_ROW, B3_BODY_TOP_ROW,
                  B3_LRC_TOP_ROW, B3_RADIAL_CENTRE_ROW, true, 456};

class BRoot : public ::testing::TestWithParam<const Program*> {
protected:
    void SetUp() override {
        bfamily::Install(P().rules());
        MakeArrays();
        testing::internal::CaptureStdout();
        InitPlant();
        printed_ = testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        FreeArrays();
        bfamily::Install(bfamily::B2Rules());
    }
    const Program& P() const { return *GetParam(); }
    std::string printed_;
};

bool IsCellPoint(int i, int j) { return Tc[i][j] == TC_CYTO || Tc[i][j] == TC_MEMBRANE; }
bool IsWall(int i, int j) { return Tc[i][j] == TC_WALL; }

// The cell SaveTemp probes for (column, row): the point itself, then
// (column, row+1), (column+1, row+1), (column-1, row), (column-1, row-1).
int ProbedCell(int col, int row, int* pc, int* pr) {
    const int tries[5][2] = {{0, 0}, {0, 1}, {1, 1}, {-1, 0}, {-1, -1}};
    for (const auto& t : tries)
        if (Cell[col + t[0]][row + t[1]] >= 0) {
            *pc = col + t[0];
            *pr = row + t[1];
            return Cell[*pc][*pr];
        }
    return -1;
}

// Tissue codes met walking along a row from column 1 to the axis, walls and
// outside skipped, each run once.
std::vector<int> TissuesToAxis(int r) {
    std::vector<int> seq;
    for (int c = 1; c < AXIS; c++) {
        if (!IsCellPoint(c, r)) continue;
        if (seq.empty() || seq.back() != Tct[c][r]) seq.push_back(Tct[c][r]);
    }
    return seq;
}

std::string Str(const std::vector<int>& v) {
    std::string s;
    for (int t : v) s += std::to_string(t) + " ";
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// The grid

TEST_P(BRoot, IsMirrorSymmetricAboutColumn70) {
    for (int i = 0; i < AXIS; i++)
        for (int j = 0; j < NROWS; j++) {
            ASSERT_EQ(Tc[i][j], Tc[MIRRORSUM - i][j]) << i << "," << j;
            ASSERT_EQ(Tct[i][j], Tct[MIRRORSUM - i][j]) << i << "," << j;
            ASSERT_EQ(Tmt[i][j], Tmt[MIRRORSUM - i][j]) << i << "," << j;
        }
    EXPECT_EQ(printed_.find("something is wrong"), std::string::npos) << printed_;
    EXPECT_EQ(printed_, "");
}

TEST_P(BRoot, LeavesTheGridEdgesOutside) {
    for (int j = 0; j < NROWS; j++)
        for (int i : {0, MIRRORSUM}) {
            ASSERT_EQ(Tc[i][j], TC_OUTSIDE) << i << "," << j;
            ASSERT_EQ(Cell[i][j], -1);
        }
    for (int i = 0; i < NCOLS; i++)
        for (int j : {0, LAST_ROW}) {
            ASSERT_EQ(Tc[i][j], TC_OUTSIDE) << i << "," << j;
            ASSERT_EQ(Cell[i][j], -1);
        }
    // The root: rows 8..body top, the axis a wall all along it.
    for (int j = 0; j < NROWS; j++) {
        bool inRoot = j >= TIP_FIRST_ROW && j <= P().bodyTopRow;
        EXPECT_EQ(Tc[AXIS][j], inRoot ? TC_WALL : TC_OUTSIDE) << j;
    }
}

TEST_P(BRoot, EveryRegionIsOneNumberedCell) {
    // 4-connected regions of cell points.
    std::vector<std::vector<int>> region(NCOLS, std::vector<int>(NROWS, -1));
    std::map<int, int> numberOfRegion;
    std::set<int> numbers;
    int regions = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            if (!IsCellPoint(i, j)) {
                ASSERT_EQ(Cell[i][j], -1) << i << "," << j;
                continue;
            }
            if (region[i][j] >= 0) continue;
            const int id = regions++;
            const int number = Cell[i][j];
            ASSERT_GE(number, 0);
            EXPECT_TRUE(numbers.insert(number).second) << "cell " << number << " spans two regions";
            std::vector<std::pair<int, int>> stack{{i, j}};
            region[i][j] = id;
            while (!stack.empty()) {
                auto [x, y] = stack.back();
                stack.pop_back();
                ASSERT_EQ(Cell[x][y], number) << "region of cell " << number << " holds " << Cell[x][y] << " at "
                                              << x << "," << y;
                const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                for (const auto& s : d) {
                    int u = x + s[0], v = y + s[1];
                    if (IsCellPoint(u, v) && region[u][v] < 0) {
                        region[u][v] = id;
                        stack.push_back({u, v});
                    }
                }
            }
        }
    EXPECT_EQ(regions, actcells);
    EXPECT_EQ(static_cast<int>(numbers.size()), actcells);
    if (!numbers.empty()) {
        EXPECT_EQ(*numbers.rbegin(), actcells - 1);
    }
    EXPECT_EQ(actcells, P().cells);
    // Geometry tables agree with the grid.
    for (int x = 0; x < actcells; x++) {
        EXPECT_EQ(CellWidth[x], CellMaxI[x] - CellMinI[x] + 1);
        EXPECT_EQ(CellHeight[x], CellMaxJ[x] - CellMinJ[x] + 1);
        EXPECT_DOUBLE_EQ(InvCellSizes[x], 1.0 / CellSizes[x]);
    }
}

// No cell is a sliver cut off where curves and lines meet: every cell has
// cytoplasm inside its membrane (the smallest, the stele's tip cells and the
// endodermis initial of b2, have 4 to 6 points of it; rootsim's 40 and more).
TEST_P(BRoot, EveryCellHasCytoplasm) {
    std::vector<int> cyto(actcells, 0);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] == TC_CYTO) cyto[Cell[i][j]]++;
    for (int x = 0; x < actcells; x++)
        EXPECT_GE(cyto[x], 4) << "cell " << x << " columns " << CellMinI[x] << ".." << CellMaxI[x] << " rows "
                              << CellMinJ[x] << ".." << CellMaxJ[x];
}

TEST_P(BRoot, WallsCarryTheWallCodeAndSeparateCytoplasm) {
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = 1; j < NROWS - 1; j++) {
            if (IsWall(i, j)) {
                ASSERT_EQ(Tct[i][j], TCT_WALL) << i << "," << j;
                continue;
            }
            const bool touches = IsWall(i + 1, j) || IsWall(i - 1, j) || IsWall(i, j + 1) || IsWall(i, j - 1);
            if (Tc[i][j] == TC_CYTO) {
                ASSERT_FALSE(touches) << "cytoplasm at a wall " << i << "," << j;
            } else if (Tc[i][j] == TC_MEMBRANE) {
                ASSERT_TRUE(touches) << "membrane off the walls " << i << "," << j;
            }
        }
}

// ---------------------------------------------------------------------------
// Membrane sides

TEST_P(BRoot, EveryMembranePointHasASide) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] == TC_MEMBRANE)
                ASSERT_TRUE(Tmt[i][j] >= 1 && Tmt[i][j] <= 4) << i << "," << j << " side " << Tmt[i][j];
            else
                ASSERT_EQ(Tmt[i][j], 0) << i << "," << j;
        }
}

// Straight cells (all above the base wall): shootward on the top row,
// rootward on the bottom row, inner toward the axis, outer away from it; the
// corners take the vertical side (b2) or the lateral one (b3).
TEST_P(BRoot, StraightCellsHaveTheirSidesFromTheirBox) {
    int checked = 0;
    for (int x = 0; x < actcells; x++) {
        if (CellMinJ[x] <= MERISTEM_BASE_ROW) continue;
        ASSERT_EQ(CellSizes[x], CellWidth[x] * CellHeight[x]) << "straight cell " << x << " is a rectangle";
        const bool left = CellMaxI[x] < AXIS;
        for (int i = CellMinI[x]; i <= CellMaxI[x]; i++)
            for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++) {
                const bool top = j == CellMaxJ[x], bottom = j == CellMinJ[x];
                const bool axisSide = left ? i == CellMaxI[x] : i == CellMinI[x];
                const bool outerSide = left ? i == CellMinI[x] : i == CellMaxI[x];
                const int vertical = top ? 1 : (bottom ? 2 : 0);
                const int lateral = axisSide ? 3 : (outerSide ? 4 : 0);
                int want = P().cornersLateral ? (lateral ? lateral : vertical) : (vertical ? vertical : lateral);
                ASSERT_EQ(Tmt[i][j], want) << "cell " << x << " at " << i << "," << j;
                checked++;
            }
    }
    EXPECT_GT(checked, 10000);
}

// Tip cells: seen from the point where the tip's radial lines meet, a
// shootward membrane has a wall of its cell farther from the axis in angle, a
// rootward one nearer (or the axis itself), an inner one a wall nearer to
// that point, an outer one a wall farther away (the files of the tip run from
// the axis outward; the layers are nested around that point).
TEST_P(BRoot, TipMembraneSidesFaceTheirWalls) {
    const double rc = P().radialCentreRow;
    auto angle = [&](int c, int r) { return std::atan2(std::abs(AXIS - c), rc - r); };
    auto radius = [&](int c, int r) { return std::hypot(AXIS - c, rc - r); };
    int checked = 0;
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = TIP_FIRST_ROW; j <= TIP_TOP_ROW; j++) {
            if (Tc[i][j] != TC_MEMBRANE || CellMinJ[Cell[i][j]] > MERISTEM_BASE_ROW) continue;
            const int side = Tmt[i][j];
            bool faces = false;
            const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& s : d) {
                const int u = i + s[0], v = j + s[1];
                if (!IsWall(u, v)) continue;
                if (side == 1) faces |= angle(u, v) > angle(i, j);
                if (side == 2) faces |= u == AXIS || angle(u, v) < angle(i, j);
                if (side == 3) faces |= radius(u, v) < radius(i, j);
                if (side == 4) faces |= radius(u, v) > radius(i, j);
            }
            EXPECT_TRUE(faces) << "side " << side << " at " << i << "," << j << " tissue " << Tct[i][j];
            checked++;
        }
    EXPECT_GT(checked, 1000);
}

// ---------------------------------------------------------------------------
// Tissues

TEST_P(BRoot, HasEveryTissueOfRootsim) {
    std::set<int> seen;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (IsCellPoint(i, j)) seen.insert(Tct[i][j]);
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
    // The majority tissue of the cells: every code is the tissue of some cell.
    std::set<int> cellTissues;
    for (int x = 0; x < actcells; x++) {
        std::map<int, int> n;
        for (int i = CellMinI[x]; i <= CellMaxI[x]; i++)
            for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++)
                if (Cell[i][j] == x) n[Tct[i][j]]++;
        int best = 0, most = 0;
        for (auto& kv : n)
            if (kv.second > most) best = kv.first, most = kv.second;
        cellTissues.insert(best);
    }
    EXPECT_EQ(cellTissues, seen);
}

// Walking from column 1 to the axis the tissues come in rootsim's order: cap
// layers from the outside in, epidermis, cortex, endodermis, pericycle,
// vascular files, and in the middle of the tip columella tiers from the
// lowest up, stem cells, quiescent centre (the codes never decrease).
TEST_P(BRoot, TissuesComeInRootsimsOrder) {
    for (int r = TIP_FIRST_ROW; r <= P().bodyTopRow; r++) {
        std::vector<int> seq = TissuesToAxis(r);
        for (size_t k = 1; k < seq.size(); k++) ASSERT_LT(seq[k - 1], seq[k]) << "row " << r << ": " << Str(seq);
    }
    const std::vector<int> meristem{1, 5, 6, 7, 8, 9, 10, 11};
    const std::vector<int> body{5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(TissuesToAxis(MERISTEM_BASE_ROW + 4), meristem);
    EXPECT_EQ(TissuesToAxis(P().meristemTopRow - 4), meristem);
    EXPECT_EQ(TissuesToAxis(P().lrcTopRow + 3), body);
    EXPECT_EQ(TissuesToAxis(P().bodyTopRow - 3), body);
    // The apex is columella; the cap's four layers over the columella lie
    // beside it lower in the tip, the stem cells and the quiescent centre
    // over it next to the axis.
    EXPECT_EQ(TissuesToAxis(TIP_FIRST_ROW + 3), (std::vector<int>{13}));
    std::set<int> capLayersBesideColumella, overColumella;
    for (int r = TIP_FIRST_ROW; r < MERISTEM_BASE_ROW; r++) {
        std::vector<int> seq = TissuesToAxis(r);
        if (seq.size() >= 2 && seq.back() >= 13 && seq.back() <= 16)
            for (int t : seq)
                if (t <= 4) capLayersBesideColumella.insert(t);
        if (!seq.empty()) overColumella.insert(seq.back());
    }
    EXPECT_EQ(capLayersBesideColumella, (std::set<int>{1, 2, 3, 4}));
    for (int t : {12, 13, 14, 15, 16, 17}) EXPECT_TRUE(overColumella.count(t)) << t;
}

// The straight files: walls and first columns of the plan.
TEST_P(BRoot, FilesLieBetweenThePlansWallColumns) {
    const int r = MERISTEM_BASE_ROW + 4;
    for (int w : {WALL_LRC, WALL_EPIDERMIS, WALL_CORTEX, WALL_ENDODERMIS, WALL_PERICYCLE, WALL_VASC_OUTER,
                  WALL_VASC_MIDDLE, WALL_VASC_CENTRAL, AXIS})
        EXPECT_TRUE(IsWall(w, r)) << w;
    const std::pair<int, int> first[] = {{LRC_FIRST_COL, 1},         {EPIDERMIS_FIRST_COL, 5},
                                         {CORTEX_FIRST_COL, 6},      {ENDODERMIS_FIRST_COL, 7},
                                         {PERICYCLE_FIRST_COL, 8},   {VASC_OUTER_FIRST_COL, 9},
                                         {VASC_MIDDLE_FIRST_COL, 10}, {VASC_CENTRAL_FIRST_COL, 11}};
    for (const auto& [col, t] : first) {
        EXPECT_EQ(Tct[col][r], t) << col;
        EXPECT_TRUE(IsWall(col - 1, r)) << col;
    }
    EXPECT_EQ(Tct[VASC_OUTER_LAST_COL][r], 9);
    EXPECT_EQ(Tct[VASC_CENTRAL_LAST_COL][r], 11);
    EXPECT_EQ(Tc[WALL_LRC - 1][r], TC_OUTSIDE);
}

// ---------------------------------------------------------------------------
// Along the root

// Meristem cells are born 8 rows high: walls at 127 + 9m up to the top wall,
// cells of 8 rows between them in every file from epidermis to the axis; the
// cap file beside them has a wall at every third band wall.
TEST_P(BRoot, MeristemBandsAreWallsEveryNineRows) {
    for (int m = 0; m <= P().meristemBands; m++) {
        const int w = MERISTEM_BASE_ROW + m * BAND_ROWS;
        for (int col = EPIDERMIS_FIRST_COL; col < AXIS; col++) ASSERT_TRUE(IsWall(col, w)) << col << "," << w;
        EXPECT_EQ(IsWall(LRC_FIRST_COL, w), m % LRC_WALL_BANDS == 0 || m == P().meristemBands) << w;
    }
    EXPECT_EQ(MERISTEM_BASE_ROW + P().meristemBands * BAND_ROWS, P().meristemTopRow);
    for (int col = EPIDERMIS_FIRST_COL; col < AXIS; col++) {
        if (IsWall(col, STEM_DAUGHTER_ROW)) continue;  // a wall between two files
        for (int j = STEM_DAUGHTER_ROW; j < P().meristemTopRow; j++) {
            if (IsWall(col, j)) {
                ASSERT_EQ((j - MERISTEM_BASE_ROW) % BAND_ROWS, 0) << col << "," << j;
                continue;
            }
            const int x = Cell[col][j];
            ASSERT_EQ(CellHeight[x], NEWBORN_ROWS) << col << "," << j;
            ASSERT_EQ((CellMinJ[x] - STEM_DAUGHTER_ROW) % BAND_ROWS, 0) << col << "," << j;
        }
    }
    // The lowest band starts at the stem daughters' row.
    EXPECT_EQ(CellMinJ[Cell[SAMPLE_COL_VASC][STEM_DAUGHTER_ROW]], STEM_DAUGHTER_ROW);
    // The body cells above: 30 rows each, up to the body's top wall.
    for (int j = P().meristemTopRow + 1; j < P().bodyTopRow; j++) {
        const int x = Cell[EPIDERMIS_FIRST_COL][j];
        if (x < 0) continue;
        EXPECT_EQ(CellHeight[x], BODY_CELL_ROWS) << j;
    }
    EXPECT_TRUE(IsWall(EPIDERMIS_FIRST_COL, P().bodyTopRow));
    EXPECT_EQ(Tc[EPIDERMIS_FIRST_COL][P().bodyTopRow + 1], TC_OUTSIDE);
    // The picture's height-mark band starts at the base wall and ends in the
    // meristem's top band.
    const bfamily::Rules& rules = bfamily::Installed();
    EXPECT_GT(rules.heightMarkLastRow, P().meristemTopRow - BAND_ROWS);
    EXPECT_LT(rules.heightMarkLastRow, P().meristemTopRow);
    EXPECT_EQ(rules.meristemTopRow, P().meristemTopRow);
}

// The schedule's sampling points: column 60 in the outer vascular file,
// column 55 in the pericycle, at the first row (127: the base wall, sampled
// one row up; b3: 102, its stele initials), in the meristem bands, in the
// first body cell (287) and in the second and third (317, 357), as rootsim's
// 230, 284 and 356.
TEST_P(BRoot, SamplingPointsLieInTheFilesRootsimSamples) {
    std::vector<int> rows{bfamily::Installed().firstSampleRow};
    for (int k = 0; k < SAMPLE_BAND_COUNT; k++) rows.push_back(SAMPLE_BAND_FIRST_ROW + k * SAMPLE_BAND_STEP);
    rows.push_back(SAMPLE_BODY_ROW_1);
    rows.push_back(SAMPLE_BODY_ROW_2);
    for (auto [col, tissue] : {std::pair<int, int>{SAMPLE_COL_VASC, 9}, {SAMPLE_COL_PERICYCLE, 8}}) {
        std::vector<int> cells;
        for (int r : rows) {
            int pc = 0, pr = 0;
            const int x = ProbedCell(col, r, &pc, &pr);
            ASSERT_GE(x, 0) << col << "," << r;
            EXPECT_EQ(Tct[pc][pr], tissue) << col << "," << r;
            cells.push_back(x);
        }
        // The first row samples the lowest cell of the file.
        EXPECT_EQ(CellMinJ[cells[0]], bfamily::Installed().firstSampleRow == MERISTEM_BASE_ROW
                                          ? STEM_DAUGHTER_ROW
                                          : B3_STELE_BOTTOM_ROW + 1);
        // Above the meristem's band rows the samples lie in successive body
        // cells: 287, 317 and 357 in the first three of b2 (as rootsim's 230,
        // 284 and 356 in its first three); b3's taller meristem holds 287.
        std::set<int> bodyCells;
        for (size_t k = 0; k < rows.size(); k++) {
            const int r = rows[k], x = cells[k];
            if (r < MERISTEM_BASE_ROW) continue;  // b3's stele initial
            if (r <= P().meristemTopRow) {
                EXPECT_LE(CellHeight[x], NEWBORN_ROWS) << r;
                continue;
            }
            EXPECT_EQ(CellHeight[x], BODY_CELL_ROWS) << r;
            EXPECT_EQ(CellMinJ[x], P().meristemTopRow + 1 + (r - P().meristemTopRow - 1) / (BODY_CELL_ROWS + 1) *
                                                            (BODY_CELL_ROWS + 1));
            bodyCells.insert(x);
        }
        EXPECT_EQ(bodyCells.size(), GetParam() == &kB2 ? 3u : 2u);
    }
}

// Profiles, cell-resolution profiles, ExtraMeasurements and tracking sample
// the tissues rootsim's do.
TEST_P(BRoot, MeasurementColumnsLieInTheirTissues) {
    for (int r : {MERISTEM_BASE_ROW + 4, P().meristemTopRow + 10}) {
        EXPECT_EQ(Tct[PROFILE_COL_EPI][r], 5);
        EXPECT_EQ(Tct[PROFILE_COL_CORT][r], 6);
        EXPECT_EQ(Tct[PROFILE_COL_ENDO][r], 7);
        EXPECT_EQ(Tct[PROFILE_COL_PERI][r], 8);
        EXPECT_EQ(Tct[PROFILE_COL_VASC1][r], 9);
        EXPECT_EQ(Tc[PROFILE_COL_VASC2][r], TC_WALL);
        EXPECT_EQ(Tct[PROFILE_COL_VASC3][r], 11);
        EXPECT_EQ(Tc[PROFILE_COL_RC1][r], TC_OUTSIDE);
        EXPECT_EQ(Tct[CELLULAR_COL_EPI][r], 5);
        EXPECT_EQ(Tct[CELLULAR_COL_CORTEX][r], 6);
        EXPECT_EQ(Tct[CELLULAR_COL_ENDO][r], 7);
        EXPECT_EQ(Tct[CELLULAR_COL_VASC][r], 9);
    }
    EXPECT_LT(PROFILE_LAST_ROW, CULL_ROW);
    // ExtraMeasurements: the top of the cap file lies in column 22, its row
    // just below is cap; the height row is the meristem's top wall with cells
    // of both files above and below; column 37 is cortex.
    int top = LAST_ROW;
    while (top > 0 && Tc[EXTRA_TOP_LRC_COL][top] == TC_OUTSIDE) top--;
    EXPECT_EQ(top, P().lrcTopRow);
    EXPECT_EQ(Tct[EXTRA_TOP_LRC_COL][top - 1], 1);
    const int h = bfamily::Installed().extraHeightRow;
    for (int col : {EXTRA_COL_A, EXTRA_COL_B}) {
        EXPECT_TRUE(IsWall(col, h)) << col;
        EXPECT_GE(Cell[col][h + 1], 0);
        EXPECT_GE(Cell[col][h - 1], 0);
    }
    EXPECT_EQ(Tct[EXTRA_COL_A][h + 1], 8);
    EXPECT_EQ(Tct[EXTRA_COL_B][h + 1], 9);
    EXPECT_EQ(Tct[EXTRA_PIN_COL][h + 1], 6);
    // Tracking: the observation point in the pericycle above the base wall;
    // growth probes in the epidermis, outer vascular file and cap file.
    EXPECT_EQ(Tct[TRACK_COL][TRACK_ROW], 8);
    EXPECT_GE(Cell[TRACK_COL][TRACK_ROW], 0);
    EXPECT_EQ(Tct[GROWTH_EPI_COL][GROWTH_FIRST_ROW + 1], 5);
    EXPECT_EQ(Tct[GROWTH_SOURCE_COL][GROWTH_FIRST_ROW + 1], 9);
    EXPECT_EQ(Tct[GROWTH_LRC_COL][GROWTH_FIRST_ROW + 1], 1);
    EXPECT_EQ(Tct[SHED_COL][GROWTH_FIRST_ROW + 1], 1);
}

// ---------------------------------------------------------------------------
// Initial conditions

TEST_P(BRoot, InitialConditionsFollowTheBandsAndTissues) {
    const bool b3 = GetParam() == &kB3;
    auto at = [](int col, int row) { return Cell[col][row]; };
    EXPECT_EQ(CellDivNr[at(EPIDERMIS_FIRST_COL, STEM_DAUGHTER_ROW)], 0);
    EXPECT_EQ(CellDivNr[at(EPIDERMIS_FIRST_COL, SECOND_BAND_FIRST_ROW)], 1);
    EXPECT_EQ(CellDivNr[at(EPIDERMIS_FIRST_COL, THIRD_BAND_FIRST_ROW)], b3 ? 2 : 3);
    EXPECT_EQ(CellDivNr[at(EPIDERMIS_FIRST_COL, P().meristemTopRow - 2)], b3 ? 2 : 3);
    const int body = at(EPIDERMIS_FIRST_COL, P().meristemTopRow + 5);
    EXPECT_EQ(Plts[body], 175);
    EXPECT_EQ(Gh33[body], 0);
    const int meristemEpi = at(EPIDERMIS_FIRST_COL, STEM_DAUGHTER_ROW);
    EXPECT_EQ(Plts[meristemEpi], 145);
    EXPECT_EQ(Gh33[meristemEpi], 100);
    // The quiescent centre (next to the axis, its own tissue) and the apex.
    int qc = -1;
    for (int j = TIP_FIRST_ROW; j < MERISTEM_BASE_ROW && qc < 0; j++)
        if (Tct[AXIS - 1][j] == TCT_QC) qc = at(AXIS - 1, j);
    ASSERT_GE(qc, 0);
    EXPECT_EQ(ARF[qc], 45);
    EXPECT_EQ(Plts[qc], 125);
    const int apex = at(AXIS - 1, TIP_FIRST_ROW + 3);
    EXPECT_EQ(Plts[apex], 75);
    EXPECT_EQ(CellZonationState[apex], 0);
    // Auxin: 40 on every cell point; walls 0 (b2) or 40 (b3).
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            double want = IsCellPoint(i, j) ? 40 : (IsWall(i, j) && b3 ? 40 : 0);
            ASSERT_EQ(Caux1[i][j], want) << i << "," << j;
        }
    // No plasmodesmata pattern in the b family.
    for (int x = 0; x < MAXCELLS; x++)
        for (int s = 0; s < 4; s++) ASSERT_EQ(Plasmodesmatapattern[x][s], 1.0);
}

INSTANTIATE_TEST_SUITE_P(BFamily, BRoot, ::testing::Values(&kB2, &kB3),
                         [](const testing::TestParamInfo<const Program*>& info) { return info.param->name; });

// ---------------------------------------------------------------------------
// What only one of the roots has

TEST(BRootB3, HasSteleInitialsOverTheQuiescentCentre) {
    bfamily::Install(bfamily::B3Rules());
    MakeArrays();
    InitPlant();
    // One initial per stele file, rows 101..126, on a flat wall at row 100.
    for (int col : {PERICYCLE_FIRST_COL, VASC_OUTER_FIRST_COL, VASC_MIDDLE_FIRST_COL, VASC_CENTRAL_FIRST_COL}) {
        const int x = Cell[col][B3_STELE_BOTTOM_ROW + 1];
        ASSERT_GE(x, 0);
        EXPECT_EQ(CellMinJ[x], B3_STELE_BOTTOM_ROW + 1);
        EXPECT_EQ(CellMaxJ[x], TIP_TOP_ROW);
        EXPECT_TRUE(IsWall(col, B3_STELE_BOTTOM_ROW));
    }
    // The quiescent centre right under it, next to the axis.
    EXPECT_EQ(Tct[AXIS - 1][B3_STELE_BOTTOM_ROW - 1], TCT_QC);
    FreeArrays();
    bfamily::Install(bfamily::B2Rules());
}

TEST(BRootB2, SteleEndsInCurvedTipCellsOverTheQuiescentCentre) {
    MakeArrays();
    InitPlant();
    // The stele's tip cells reach down to row 120 next to the axis; the
    // quiescent centre lies under them.
    EXPECT_EQ(Tct[AXIS - 1][STELE_TIP_BOTTOM_ROW], TCT_VASC_CENTRAL);
    EXPECT_EQ(Tc[AXIS - 1][STELE_TIP_BOTTOM_ROW - 1], TC_WALL);
    EXPECT_EQ(Tct[AXIS - 1][STELE_TIP_BOTTOM_ROW - 2], TCT_QC);
    EXPECT_EQ(Tct[AXIS - 1][QC_BOTTOM_ROW], TCT_QC);
    EXPECT_NE(Tct[AXIS - 1][QC_BOTTOM_ROW - 2], TCT_QC);
    FreeArrays();
}
