// The membrane pictures' distance map against a plain search of the whole box.
#include <gtest/gtest.h>

#include <string>

#include "graphics_support.h"
#include "rootsim.h"
#include "test_support.h"

using graphicstest::BuildPlainDistanceMap;
using graphicstest::ClearToOutside;
using graphicstest::CompareDistanceMaps;
using graphicstest::IrregularTissue;
using graphicstest::MeasureCell;

namespace {

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
