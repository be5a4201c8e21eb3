// Time series and spatial profiles on small hand-made plant states: exact
// file names, columns, separators, decimals, append versus rewrite.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "measure_fixtures.h"
#include "rootsim.h"
#include "test_support.h"

using measurefix::AddCell;
using measurefix::AddWall;
using measurefix::ClearToOutside;
using measurefix::Fields;
using measurefix::Lines;
using testsupport::FileExists;
using testsupport::ListDir;
using testsupport::ReadFile;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

// Gives cell k values that show which table a column came from.
void SetCellValues(int k) {
    MeanCells[k] = 100 + k + 0.5;
    ARF[k] = 1.25 + k;
    AA[k] = 2.5 + k;
    BB[k] = 3.75 + k;
    CC[k] = 4.125 + k;
    DD[k] = 0.0625 + k;  // below ARF: the min column shows DD
    Plts[k] = 5.5 + k;
    Pltsexpr[k] = 6.25 + k;
    Diff[k] = 7.5 + k;
    ARR1[k] = 8.75 + k;
    ARR12[k] = 9.125 + k;
    Yuc3[k] = 10.5 + k;
}

std::string ProbeLine(int t, int k) {
    char buf[512];
    snprintf(buf, sizeof buf, "%d\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\n",
             t, 100 + k + 0.5, 1.25 + k, 2.5 + k, 3.75 + k, 4.125 + k, 0.0625 + k, 0.0625 + k, 5.5 + k,
             6.25 + k, 7.5 + k, 8.75 + k, 9.125 + k, 10.5 + k);
    return buf;
}

class Measure : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.UseAsOutput();
        ClearToOutside();
    }
    std::string Path(const std::string& name) const { return dir_.path() + "/" + name; }
    std::string Read(const std::string& name) const { return ReadFile(Path(name)); }

    StateGuard guard_;
    TempDir dir_;
};

// ---------------------------------------------------------------------------
// Time series

TEST_F(Measure, TotalAuxinAppendsSumAndGridMean) {
    Caux1[0][0] = 1.5;
    Caux1[NCOLS - 1][NROWS - 1] = 2.25;
    Caux1[40][1000] = 0.0625;
    SaveTotAuxin(20);
    Caux1[40][1000] = 427500.0 - 3.75;  // total 427500: mean 1
    SaveTotAuxin(40);
    EXPECT_EQ(Read("Totalauxin"), "20\t3.812500\t0.000009\n40\t427500.000000\t1.000000\n");
}

TEST_F(Measure, TotalAuxinSumsColumnByColumn) {
    // Summed column by column the 1 is lost against 1e16 (exactly 0 in the
    // end); row by row it would survive (1).
    Caux1[0][0] = 1e16;
    Caux1[0][1] = 1.0;
    Caux1[1][0] = -1e16;
    SaveTotAuxin(3);
    EXPECT_EQ(Read("Totalauxin"), "3\t0.000000\t0.000000\n");
}

TEST_F(Measure, TotalPltsOverActiveCellsAndEmptyPlant) {
    actcells = 10;
    for (int k = 0; k < 10; k++) Plts[k] = k < 5 ? 2.0 : 3.0;  // 25 in all
    Plts[10] = 1000.0;  // beyond actcells: not counted
    SaveTotPlts(100);
    actcells = 0;
    SaveTotPlts(120);
    EXPECT_EQ(Read("Totalplts"), "100\t25.000000\t2.500000\n120\t0.000000\tnan\n");
}

TEST_F(Measure, RootTotalsGoToTwoFiles) {
    leftsize = 1067;
    rightsize = 1100;
    totalrootcellnrL = 21;
    totalrootcellnrR = 23;
    Tracktotalmeasures(600);
    leftsize = 1200;
    Tracktotalmeasures(1200);
    EXPECT_EQ(Read("Tracktotalrootsize"), "600\t1067\t1100\n1200\t1200\t1100\n");
    EXPECT_EQ(Read("Tracktotalrootnumber"), "600\t21\t23\n1200\t21\t23\n");
}

TEST_F(Measure, ProbePointOnACellWritesItsState) {
    AddCell(4, 5, 90, 96, 140, 160);
    SetCellValues(4);
    SaveTemp(3600, 93, 149);
    SaveTemp(7200, 93, 149);
    EXPECT_EQ(Read("TemporalDynamicsPoint93_149"), ProbeLine(3600, 4) + ProbeLine(7200, 4));
}

TEST_F(Measure, ProbeFallsBackInFixedOrderAndKeepsTheRequestedName) {
    // (50, 100) is a wall; the point above it holds cell 0.
    AddCell(0, 5, 45, 55, 101, 110);
    AddCell(1, 5, 45, 55, 90, 99);
    SetCellValues(0);
    SetCellValues(1);
    ASSERT_EQ(Tc[50][100], TC_WALL);
    SaveTemp(10, 50, 100);
    EXPECT_EQ(Read("TemporalDynamicsPoint50_100"), ProbeLine(10, 0));

    // Only (column + 1, row + 1) and (column - 1, row) have cells: the first wins.
    ClearToOutside();
    AddCell(2, 5, 61, 65, 201, 205);  // holds (61, 201)
    AddCell(3, 5, 55, 59, 196, 200);  // holds (59, 200)
    SetCellValues(2);
    SetCellValues(3);
    SaveTemp(20, 60, 200);
    EXPECT_EQ(Read("TemporalDynamicsPoint60_200"), ProbeLine(20, 2));

    // Only (column - 1, row - 1) has a cell.
    ClearToOutside();
    AddCell(3, 5, 55, 59, 196, 199);  // holds (59, 199) but not (59, 200)
    SaveTemp(30, 60, 200);
    EXPECT_EQ(Read("TemporalDynamicsPoint60_200"), ProbeLine(20, 2) + ProbeLine(30, 3));
}

TEST_F(Measure, ProbeWithoutCellReportsAndWritesNothing) {
    testing::internal::CaptureStdout();
    SaveTemp(40, 93, 356);
    SaveTemp(40, 0, 0);                  // grid corner: neighbours off the grid
    SaveTemp(40, NCOLS - 1, NROWS - 1);  // the other corner
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    const std::string msg = "cell wall has more than 1 height? Or reached beyond some threshold\n";
    EXPECT_EQ(out, msg + msg + msg);
    EXPECT_TRUE(ListDir(dir_.path()).empty());
}

TEST_F(Measure, QuiescentCentreFileFollowsTheLowestQCRow) {
    AddCell(7, 12, 105, 119, 60, 70);
    SetCellValues(7);
    SaveTempQC(3600);
    // The QC has moved up by ten rows.
    ClearToOutside();
    AddCell(8, 12, 105, 119, 70, 80);
    SetCellValues(8);
    SaveTempQC(7200);
    EXPECT_EQ(Read("TemporalDynamicsQC109_60"), ProbeLine(3600, 7));
    EXPECT_EQ(Read("TemporalDynamicsQC109_70"), ProbeLine(7200, 8));

    // No QC at all: a diagnostic, no file.
    ClearToOutside();
    testing::internal::CaptureStdout();
    SaveTempQC(10800);
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("no quiescent centre"), std::string::npos) << out;
    EXPECT_EQ(ListDir(dir_.path()).size(), 2u);
}

TEST_F(Measure, UnwritableFilesAreReportedAndTheCallReturns) {
    // A directory that does not exist: the open fails.
    std::string missing = dir_.path() + "/no_such_dir";
    snprintf(dirname, sizeof dirname, "%s", missing.c_str());
    testing::internal::CaptureStderr();
    SaveTotAuxin(20);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot write " + missing + "/Totalauxin: cannot open it"), std::string::npos) << err;

    // A file on a full device: the write fails when the data are flushed.
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    dir_.UseAsOutput();
    ASSERT_EQ(symlink("/dev/full", Path("Totalplts").c_str()), 0);
    testing::internal::CaptureStderr();
    SaveTotPlts(20);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot write " + Path("Totalplts") + ": No space left on device"), std::string::npos) << err;
}

// ---------------------------------------------------------------------------
// Grid-resolution profiles

TEST_F(Measure, GridProfilesWriteSixteenFilesWithBothSections) {
    // An epidermal cell on each side in rows 100..101, mirror images of each
    // other, and a cortex cell on the left only at rows 300..301.
    AddCell(0, 5, 30, 40, 100, 101);
    AddCell(1, 5, MIRRORSUM - 40, MIRRORSUM - 30, 100, 101);
    AddCell(2, 6, 49, 60, 300, 301);
    Caux1[31][100] = 1.5;
    Cpin1M[31][100] = 0.25;
    Aux1M[31][100] = 0.125;
    Caux1[193][101] = 2.5;
    Caux1[30][100] = 3.5;
    Caux1[194][100] = 4.5;
    Plts[0] = 11;
    ARR1[0] = 12;
    ARR12[0] = 13;
    Plts[1] = 21;
    ARR1[1] = 22;
    ARR12[1] = 23;
    SaveGradGridRes(3600);

    const char* kinds[] = {"RC1", "Epi", "Cort", "Endo", "Peri", "Vasc1", "Vasc2", "Vasc3"};
    for (const char* k : kinds) {
        EXPECT_TRUE(FileExists(Path(std::string("GridResolutionL_") + k + "_time3600"))) << k;
        EXPECT_TRUE(FileExists(Path(std::string("GridResolutionR_") + k + "_time3600"))) << k;
    }
    EXPECT_EQ(ListDir(dir_.path()).size(), 16u);

    // Tip section: the tissue's first column is 30, so column 31 is sampled
    // up to the wall at 41; then the body section at the fixed column 30.
    EXPECT_EQ(Read("GridResolutionL_Epi_time3600"),
              "31\t41\t100\t1.500000\t0.250000\t0.125000\t11.000000\t12.000000\t13.000000\n"
              "31\t41\t101\t0.000000\t0.000000\t0.000000\t11.000000\t12.000000\t13.000000\n"
              "30\t41\t100\t3.500000\t0.000000\t0.000000\n"
              "30\t41\t101\t0.000000\t0.000000\t0.000000\n");
    EXPECT_EQ(Read("GridResolutionR_Epi_time3600"),
              "183\t193\t100\t0.000000\t0.000000\t0.000000\t21.000000\t22.000000\t23.000000\n"
              "183\t193\t101\t2.500000\t0.000000\t0.000000\t21.000000\t22.000000\t23.000000\n"
              "183\t194\t100\t4.500000\t0.000000\t0.000000\n"
              "183\t194\t101\t0.000000\t0.000000\t0.000000\n");

    // The cortex cell lies above row 148: body lines only.  Its mirror point
    // is outside, which the body section reports as it is.
    EXPECT_EQ(Read("GridResolutionL_Cort_time3600"),
              "49\t61\t300\t0.000000\t0.000000\t0.000000\n"
              "49\t61\t301\t0.000000\t0.000000\t0.000000\n");
    EXPECT_EQ(Read("GridResolutionR_Cort_time3600"),
              "163\t175\t300\t0.000000\t0.000000\t0.000000\n"
              "163\t175\t301\t0.000000\t0.000000\t0.000000\n");
    EXPECT_EQ(Read("GridResolutionL_Vasc1_time3600"), "");
    EXPECT_EQ(Read("GridResolutionR_Peri_time3600"), "");
}

TEST_F(Measure, GridProfileTipSectionSkipsMirrorWithoutCell) {
    // A lateral root cap cell on the left only: the left tip lines are
    // written, the right ones are skipped since the mirror point has no cell.
    AddCell(0, 1, 10, 20, 50, 50);
    Plts[0] = 1;
    SaveGradGridRes(7200);
    EXPECT_EQ(Read("GridResolutionL_RC1_time7200"),
              "11\t21\t50\t0.000000\t0.000000\t0.000000\t1.000000\t0.000000\t0.000000\n");
    EXPECT_EQ(Read("GridResolutionR_RC1_time7200"), "");

    // A second call of the same time rewrites the files.
    ClearToOutside();
    SaveGradGridRes(7200);
    EXPECT_EQ(Read("GridResolutionL_RC1_time7200"), "");
}

// ---------------------------------------------------------------------------
// Cell-resolution profiles

TEST_F(Measure, CellProfilesMarkOutsideAndSkipWalls) {
    AddCell(3, 5, 35, 40, 500, 502);  // column 38 rows 500..502, walls at 499 and 503
    SetCellValues(3);
    SaveGradCellularRes(3600);
    EXPECT_EQ(ListDir(dir_.path()).size(), 8u);

    auto lines = Lines(Read("Spatialdynamics_epiL_time3600"));
    ASSERT_EQ(lines.size(), static_cast<size_t>(NROWS - 2));  // the two wall rows are absent
    EXPECT_EQ(lines[0], "0\t-10.000000\t-10.000000\t-10.000000\t-10.000000\t-10.000000\t"
                        "-10.000000\t-10.000000\t-10.000000\t-10.000000\t-10");
    EXPECT_EQ(lines[498].substr(0, 4), "498\t");
    EXPECT_EQ(lines[499], "500\t103.500000\t4.250000\t5.500000\t6.750000\t7.125000\t3.062500\t"
                          "8.500000\t9.250000\t10.500000\t3");
    EXPECT_EQ(lines[501].substr(0, 4), "502\t");
    EXPECT_EQ(lines[502].substr(0, 4), "504\t");
    EXPECT_EQ(Read("Spatialdynamics_epiL_time3600").back(), '\n');

    // The mirror column is all outside.
    auto right = Lines(Read("Spatialdynamics_epiR_time3600"));
    EXPECT_EQ(right.size(), static_cast<size_t>(NROWS));
    for (const char* n : {"cortexL", "cortexR", "endoL", "endoR", "vascL", "vascR"})
        EXPECT_TRUE(FileExists(Path(std::string("Spatialdynamics_") + n + "_time3600"))) << n;
}

// ---------------------------------------------------------------------------
// Extra measurements

class Extra : public Measure {
protected:
    void SetUp() override {
        Measure::SetUp();
        // Lateral root cap, layer 1, in column 21: top wall at row 61.
        AddCell(0, 1, 18, 24, 50, 60);
        MeanCells[0] = 33.25;
        // Column 92: cells stacked around row 212 (a wall row there).
        AddCell(1, 10, 90, 95, 190, 203);  // D2: 14 rows
        AddCell(2, 10, 90, 95, 205, 211);  // D1: 7 rows
        AddCell(3, 10, 90, 95, 213, 222);  // U1: 10 rows
        AddCell(4, 10, 90, 95, 224, 229);  // U2: 6 rows
        AddCell(5, 10, 90, 95, 231, 240);  // U3: 10 rows, outside above its wall
        // Rootward membrane points of column 49; only the one with a full
        // PIN weight counts.
        Tmt[49][300] = 2;
        PinPrePat[49][300] = 1.0;
        Tmt[49][400] = 2;
        PinPrePat[49][400] = 0.5;
        Tmt[49][500] = 1;
        Pin2PrePat[49][500] = 1.0;
    }
};

TEST_F(Extra, HeightsAroundRow212AndCapTop) {
    ExtraMeasurements(3600);
    // Column 83 meets no cell: all sixteen heights are -1.
    std::string col83 = "\t-1.000000\t-1.000000\t-1.000000\t-1.000000\t-1.000000\t-1.000000\t-1.000000"
                        "\t-1.000000\t-1.000000\t-1.000000\t-1.000000\t-1.000000\t-1.000000";
    // Column 92: U = 10, 6, 10 and D = 7, 14, the rest -1.
    std::string col92 = "\t10.000000\t8.500000\t9.250000\t5.500000\t2.250000"
                        "\t10.000000\t8.000000\t6.250000\t2.625000"
                        "\t7.000000\t10.500000\t4.750000\t1.875000";
    EXPECT_EQ(Read("ExtraMeasurements"), "3600\t60\t11\t33.250000\t300" + col83 + col92 + "\n");
    // Row 212 of column 92 is a wall: the second file is opened but empty.
    EXPECT_TRUE(FileExists(Path("ExtraMeasurements2")));
    EXPECT_EQ(Read("ExtraMeasurements2"), "");
    EXPECT_EQ(Fields(Lines(Read("ExtraMeasurements"))[0]).size(), 31u);
}

TEST_F(Extra, DivisionProbeAndMissingPinRow) {
    ClearToOutside();
    AddCell(0, 1, 18, 24, 50, 60);
    AddCell(9, 10, 90, 95, 210, 215);  // holds (92, 212), walls above and below
    CellDivNr[9] = 3;
    CellTimeLastDiv[9] = 3500;
    ExtraMeasurements(3600);
    ExtraMeasurements(7200);
    EXPECT_EQ(Read("ExtraMeasurements2"), "3600\t9\t3\t3500\n7200\t9\t3\t3500\n");
    auto f = Fields(Lines(Read("ExtraMeasurements"))[1]);
    ASSERT_EQ(f.size(), 31u);
    EXPECT_EQ(f[4], "-1");  // no rootward membrane point with weight 1
    EXPECT_EQ(f[23], "6.000000");  // U1 of column 92
    EXPECT_EQ(f[27], "-1.000000");  // D1: the walk stops at the wall below
}

TEST_F(Extra, MisplacedCapTopEndsTheRun) {
    ClearToOutside();
    AddCell(0, 5, 18, 24, 50, 60);  // epidermis where the cap should be
    EXPECT_EXIT(
        {
            dup2(2, 1);
            ExtraMeasurements(3600);
        },
        testing::ExitedWithCode(1), "something is wrong in finding top lrc");
    ClearToOutside();  // nothing at all in column 21
    EXPECT_EXIT(
        {
            dup2(2, 1);
            ExtraMeasurements(3600);
        },
        testing::ExitedWithCode(1), "something is wrong in finding top lrc");
}

}  // namespace

// ---------------------------------------------------------------------------
// On the initial root

class InitialRoot : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.UseAsOutput();
        InitPlant();
    }
    std::string Read(const std::string& name) const { return ReadFile(dir_.path() + "/" + name); }

    StateGuard guard_;
    TempDir dir_;
};

TEST_F(InitialRoot, QuiescentCentreProbe) {
    // The QC cell lies on rows 130..139 next to the axis.
    SaveTempQC(3600);
    auto names = ListDir(dir_.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "TemporalDynamicsQC109_130");
    auto lines = Lines(Read(names[0]));
    ASSERT_EQ(lines.size(), 1u);
    auto f = Fields(lines[0]);
    ASSERT_EQ(f.size(), 14u);
    EXPECT_EQ(f[0], "3600");
    int qc = Cell[109][130];
    ASSERT_GE(qc, 0);
    char mean[64];
    snprintf(mean, sizeof mean, "%f", MeanCells[qc]);
    EXPECT_EQ(f[1], mean);
}

TEST_F(InitialRoot, GridProfilesAreMirrorImages) {
    SaveGradGridRes(3600);
    const char* kinds[] = {"RC1", "Epi", "Cort", "Endo", "Peri", "Vasc1", "Vasc2", "Vasc3"};
    for (const char* kind : kinds) {
        auto left = Lines(Read(std::string("GridResolutionL_") + kind + "_time3600"));
        auto right = Lines(Read(std::string("GridResolutionR_") + kind + "_time3600"));
        ASSERT_EQ(left.size(), right.size()) << kind;
        bool vascular = kind[0] == 'V';
        size_t tipLines = 0;
        for (size_t n = 0; n < left.size(); n++) {
            auto l = Fields(left[n]);
            auto r = Fields(right[n]);
            ASSERT_EQ(l.size(), r.size()) << kind << " line " << n;
            if (l.size() == 9) {
                // Tip lines come first and lie in rows 0..148.
                ASSERT_EQ(tipLines, n) << kind;
                tipLines++;
                EXPECT_LE(std::stoi(l[2]), 148);
            } else {
                ASSERT_EQ(l.size(), 6u) << kind;
            }
            // Columns mirrored about the axis, same row, same values.
            EXPECT_EQ(std::stoi(r[0]), MIRRORSUM - std::stoi(l[1])) << kind << " line " << n;
            EXPECT_EQ(std::stoi(r[1]), MIRRORSUM - std::stoi(l[0])) << kind << " line " << n;
            for (size_t k = 2; k < l.size(); k++) EXPECT_EQ(r[k], l[k]) << kind << " line " << n;
        }
        if (vascular) EXPECT_EQ(tipLines, 0u) << kind;
        else EXPECT_GT(tipLines, 0u) << kind;
        // Column 1 of the cap pair lies outside the initial root.
        if (std::string(kind) == "RC1") EXPECT_EQ(left.size(), tipLines);
        else EXPECT_GT(left.size(), tipLines) << kind;
    }
}

TEST_F(InitialRoot, EpidermisTrackMeetsEachCellOnce) {
    TrackAuxSpaceTime(600);
    // The tip epidermal cell at row 141, the seven 8-row cells from row 150
    // and the fourteen body cells of 60 rows between walls 61 rows apart;
    // every cell starts with a mean auxin level of 100.
    std::string want;
    auto add = [&](int r) { want += "600\t" + std::to_string(r) + "\t100.000000\n"; };
    add(141);
    for (int r = 150; r <= 204; r += 9) add(r);
    for (int r = 213; r <= 1006; r += 61) add(r);
    EXPECT_EQ(Read("TrackAuxinSpaceTime"), want + "\n");
    EXPECT_EQ(Lines(Read("TrackAuxinSpaceTime")).size(), 23u);
}
