// The membrane pictures' distance map against a plain search of the whole box.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics_support.h"
#include "rootsim.h"
#include "test_support.h"

using graphicstest::BuildPlainDistanceMap;
using graphicstest::ClearToOutside;
using graphicstest::CompareDistanceMaps;
using graphicstest::MeasureCell;

namespace {

// An irregular tissue: cells around scattered seeds (each point belongs to its
// nearest seed), one-point walls between them, membrane on every cell point
// next to a wall or to the outside.  Seeds are dense in some bands and sparse
// in others, so that there are narrow cells and cells too wide for their
// interior to see any membrane.  Some cells are then joined into non-convex or
// split cells, and one cell loses its membrane.
void IrregularTissue(uint32_t seed) {
    ClearToOutside();
    const int i0 = 8, i1 = 200, j0 = 20, j1 = 330;
    uint32_t state = seed;
    auto next = [&](int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
    };
    std::vector<std::array<int, 2>> seeds;
    for (int k = 0; k < 120; k++) seeds.push_back({i0 + next(i1 - i0 + 1), j0 + next(120)});
    for (int k = 0; k < 50; k++) seeds.push_back({i0 + next(i1 - i0 + 1), 140 + next(60)});
    for (int k = 0; k < 3; k++) seeds.push_back({i0 + next(i1 - i0 + 1), 200 + next(131)});
    std::vector<int> owner(static_cast<size_t>(NCOLS) * NROWS, -1);
    auto own = [&](int i, int j) -> int& { return owner[static_cast<size_t>(i) * NROWS + j]; };
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++) {
            int best = -1;
            long bd = 0;
            for (size_t s = 0; s < seeds.size(); s++) {
                long di = i - seeds[s][0], dj = j - seeds[s][1];
                long d = di * di + 3 * dj * dj / 2;  // cells a little taller than wide
                if (best < 0 || d < bd) {
                    best = static_cast<int>(s);
                    bd = d;
                }
            }
            own(i, j) = best;
        }
    // Joined cells: a few cells take the number of another one.
    for (int k = 0; k < 8; k++) {
        int from = next(static_cast<int>(seeds.size())), to = next(static_cast<int>(seeds.size()));
        for (int& o : owner)
            if (o == from) o = to;
    }
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++) {
            bool wall = (i < i1 && own(i + 1, j) != own(i, j)) || (j < j1 && own(i, j + 1) != own(i, j));
            if (wall) {
                Tc[i][j] = TC_WALL;
                Tct[i][j] = 20;
            } else {
                Tc[i][j] = TC_CYTO;
                Cell[i][j] = own(i, j);
                Tct[i][j] = 1 + own(i, j) % 17;
            }
        }
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            const int nb[4][2] = {{i + 1, j}, {i - 1, j}, {i, j + 1}, {i, j - 1}};
            for (const auto& p : nb)
                if (Tc[p[0]][p[1]] == TC_WALL || Tc[p[0]][p[1]] == TC_OUTSIDE) Tc[i][j] = TC_MEMBRANE;
        }
    // A cell without membrane.
    const int bare = own(100, 60);
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++)
            if (Cell[i][j] == bare) Tc[i][j] = TC_CYTO;
    actcells = static_cast<int>(seeds.size());
    for (int c = 0; c < actcells; c++) MeasureCell(c);
}

void ExpectSameMap(const char* what, long minInBand) {
    graphicstest::PlainDistanceMap plain = BuildPlainDistanceMap();
    testing::internal::CaptureStdout();
    BuildMembraneDistanceMap();
    fflush(stdout);
    std::string report = testing::internal::GetCapturedStdout();
    long inBand = 0;
    EXPECT_EQ(CompareDistanceMaps(plain, &inBand), "") << what;
    EXPECT_EQ(report, plain.report) << what;
    // The tissue exercises both the band and the report.
    EXPECT_GE(inBand, minInBand) << what;
    EXPECT_NE(plain.report, "") << what;
}

}  // namespace

TEST(DistanceMap, IrregularTissuesAgreeWithPlainSearch) {
    testsupport::StateGuard guard;
    IrregularTissue(12345u);
    ExpectSameMap("tissue 1", 5000);
    IrregularTissue(987654321u);
    ExpectSameMap("tissue 2", 5000);
    // Narrow and short cells double their distances.
    int narrow = 0;
    for (int c = 0; c < actcells; c++)
        if (CellWidth[c] <= 7 || CellHeight[c] <= 8) narrow++;
    EXPECT_GT(narrow, 0);
}

TEST(DistanceMap, ReportAtTheEdgeOfTheSearchBox) {
    testsupport::StateGuard guard;
    ClearToOutside();
    // A membrane point and cytoplasm points 30 and 31 rows, columns, or
    // both, away from it; the grid's edges clip the box.
    const int mi = 2, mj = 40;
    Tc[mi][mj] = TC_MEMBRANE;
    Cell[mi][mj] = 0;
    const int pts[][2] = {{mi, mj + 30}, {mi, mj + 31}, {mi + 30, mj - 30}, {mi + 31, mj},
                          {mi + 30, mj + 31}, {0, mj - 30}, {0, 0}};
    for (const auto& p : pts) {
        Tc[p[0]][p[1]] = TC_CYTO;
        Cell[p[0]][p[1]] = 0;
    }
    MeasureCell(0);
    actcells = 1;
    ExpectSameMap("edge of the box", 0);
}
