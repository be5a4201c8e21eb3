// Space-time tracks on a small hand-made left half: the row walk, the file
// scans (one line per cell at its lowest row met, guard columns), the inner
// averages and the closing empty line of every block.
#include <gtest/gtest.h>

#include <string>

#include "measure_fixtures.h"
#include "rootsim.h"
#include "test_support.h"

using measurefix::AddCell;
using measurefix::AddWall;
using measurefix::ClearToOutside;
using testsupport::ListDir;
using testsupport::ReadFile;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

// Cells numbered in the order a raster scan from the tip meets them:
//   0 epidermis  rows 142..148  columns 30..40
//   1 outer vasc rows 142..160  columns 42..50
//   2 cortex     rows 142..199  columns 52..60
//   3 middle vasc rows 142..199 columns 62..70
//   4 outer vasc rows 142..199  columns 92..100
//   5 epidermis  rows 150..170  columns 30..40
//   6 outer vasc rows 162..199  columns 42..50
//   7 epidermis  rows 172..199  columns 30..40
// Row 141 is a wall row under all of them; column 30 is outside above 200.
class Tracks : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.UseAsOutput();
        ClearToOutside();
        AddWall(29, 101, 141, 141);
        AddCell(0, 5, 30, 40, 142, 148);
        AddCell(1, 9, 42, 50, 142, 160);
        AddCell(2, 6, 52, 60, 142, 199);
        AddCell(3, 10, 62, 70, 142, 199);
        AddCell(4, 9, 92, 100, 142, 199);
        AddCell(5, 5, 30, 40, 150, 170);
        AddCell(6, 9, 42, 50, 162, 199);
        AddCell(7, 5, 30, 40, 172, 199);
        for (int k = 0; k < 8; k++) {
            MeanCells[k] = 10 + k;
            Plts[k] = 1 + 2 * k;
            Pltsexpr[k] = 0.5 * k;
            ARR1[k] = 100 + k;
            ARR12[k] = 200 + k;
            ARR1RGA[k] = 0.25 + k;
            divTF[k] = 0.125 * k;
            elongTF[k] = 3 + k;
            CellZonationState[k] = 30 + k;
        }
    }
    std::string Read(const std::string& name) const { return ReadFile(dir_.path() + "/" + name); }

    StateGuard guard_;
    TempDir dir_;
};

TEST_F(Tracks, AuxinScansWriteEachCellOnceAtItsLowestRow) {
    TrackAuxSpaceTime(600);
    EXPECT_EQ(Read("TrackAuxinSpaceTime"),
              "600\t142\t10.000000\n600\t150\t15.000000\n600\t172\t17.000000\n\n");
    EXPECT_EQ(Read("TrackAuxCorinSpaceTime"), "600\t142\t12.000000\n\n");
    // The middle file's line of a low row also goes to the outer file, after
    // the outer file's own line of that row.  In the wall row 161 between
    // cells 1 and 6 the scan goes on to the next outer vascular cell, 4.
    EXPECT_EQ(Read("TrackAuxsidevascinSpaceTime"),
              "600\t142\t11.000000\n600\t142\t13.000000\n600\t161\t14.000000\n"
              "600\t162\t16.000000\n\n");
    EXPECT_EQ(Read("TrackAuxmidvascinSpaceTime"), "600\t142\t13.000000\n\n");
    EXPECT_EQ(Read("TrackAuxendoinSpaceTime"), "\n");
    EXPECT_EQ(Read("TrackAuxperiinSpaceTime"), "\n");

    // A second call appends its block.
    TrackAuxSpaceTime(1200);
    EXPECT_EQ(Read("TrackAuxCorinSpaceTime"), "600\t142\t12.000000\n\n1200\t142\t12.000000\n\n");
}

TEST_F(Tracks, GuardColumnSkipsRows) {
    // Column 28 holds epidermis in rows 150..155: those rows are skipped by the
    // epidermis scans, so cell 5 is first met at row 156.
    for (int r = 150; r <= 155; r++) Tct[28][r] = 5;
    TrackAuxSpaceTime(600);
    EXPECT_EQ(Read("TrackAuxinSpaceTime"),
              "600\t142\t10.000000\n600\t156\t15.000000\n600\t172\t17.000000\n\n");
}

TEST_F(Tracks, OutsideStartWritesOnlyEmptyLines) {
    ClearToOutside();
    TrackAuxSpaceTime(600);
    TrackPltsSpaceTime(600);
    TrackCellTypeSpaceTime(600);
    auto names = ListDir(dir_.path());
    EXPECT_EQ(names.size(), 6u + 8u + 6u + 5u);
    for (const auto& n : names) EXPECT_EQ(Read(n), "\n") << n;
}

TEST_F(Tracks, PltsScansAndInnerAverages) {
    TrackPltsSpaceTime(1800);
    EXPECT_EQ(Read("TrackPltsinSpaceTime"),
              "1800\t142\t1.000000\n1800\t150\t11.000000\n1800\t172\t15.000000\n\n");
    EXPECT_EQ(Read("TrackPltsexpinSpaceTime"),
              "1800\t142\t0.000000\n1800\t150\t2.500000\n1800\t172\t3.500000\n\n");
    EXPECT_EQ(Read("TrackPltscorinSpaceTime"), "1800\t142\t5.000000\n\n");
    EXPECT_EQ(Read("TrackPltscorexpinSpaceTime"), "1800\t142\t1.000000\n\n");

    // Row 141 (a wall at column 30) is not averaged.  Row 142 takes cells
    // 0..4; the vascular mean the outer files 1 and 4 and the middle file 3
    // (a low row).  Rows 150 and 172 take only the new epidermal cell, since
    // cells numbered below the last included one are passed over for the
    // whole call: their vascular mean is of no values.
    EXPECT_EQ(Read("TrackPltsvascinSpaceTime"),
              "1800\t142\t6.333333\n1800\t150\tnan\n1800\t172\tnan\n\n");
    EXPECT_EQ(Read("TrackPltsvascexpinSpaceTime"),
              "1800\t142\t1.333333\n1800\t150\tnan\n1800\t172\tnan\n\n");
    EXPECT_EQ(Read("TrackPltsaverageinSpaceTime"),
              "1800\t142\t5.000000\n1800\t150\t11.000000\n1800\t172\t15.000000\n\n");
    EXPECT_EQ(Read("TrackPltsaverageexpinSpaceTime"),
              "1800\t142\t1.000000\n1800\t150\t2.500000\n1800\t172\t3.500000\n\n");
}

TEST_F(Tracks, ArrScanAndOuterVascularAverage) {
    TrackARRsSpaceTime(600);
    EXPECT_EQ(Read("TrackARR1sexpinSpaceTime"),
              "600\t142\t100.000000\n600\t150\t105.000000\n600\t172\t107.000000\n\n");
    EXPECT_EQ(Read("TrackARR12sexpinSpaceTime"),
              "600\t142\t200.000000\n600\t150\t205.000000\n600\t172\t207.000000\n\n");
    EXPECT_EQ(Read("TrackARR1seffinSpaceTime"),
              "600\t142\t0.250000\n600\t150\t5.250000\n600\t172\t7.250000\n\n");
    // Only outer vascular points count: cells 1 and 4 in row 142.
    EXPECT_EQ(Read("TrackARR1vascexpinSpaceTime"),
              "600\t142\t102.500000\n600\t150\tnan\n600\t172\tnan\n\n");
    EXPECT_EQ(Read("TrackARR12vascexpinSpaceTime"),
              "600\t142\t202.500000\n600\t150\tnan\n600\t172\tnan\n\n");
    EXPECT_EQ(Read("TrackARR1vasceffinSpaceTime"),
              "600\t142\t2.750000\n600\t150\tnan\n600\t172\tnan\n\n");
}

TEST_F(Tracks, CellTypeTrackWritesZonationAndFactors) {
    TrackCellTypeSpaceTime(3000);
    // It runs the regulator tracks first.
    EXPECT_EQ(Read("TrackARR1sexpinSpaceTime"),
              "3000\t142\t100.000000\n3000\t150\t105.000000\n3000\t172\t107.000000\n\n");
    EXPECT_EQ(Read("TrackCellTypeinSpaceTime"), "3000\t142\t30\n3000\t150\t35\n3000\t172\t37\n\n");
    EXPECT_EQ(Read("TrackdivTFinSpaceTime"),
              "3000\t142\t0.000000\n3000\t150\t0.625000\n3000\t172\t0.875000\n\n");
    EXPECT_EQ(Read("TrackelongTFinSpaceTime"),
              "3000\t142\t3.000000\n3000\t150\t8.000000\n3000\t172\t10.000000\n\n");
    // The outer vascular scan starts at column 92: cell 4.
    EXPECT_EQ(Read("TrackdivTFvascinSpaceTime"), "3000\t142\t0.500000\n\n");
    EXPECT_EQ(Read("TrackelongTFvascinSpaceTime"), "3000\t142\t7.000000\n\n");
}

}  // namespace
